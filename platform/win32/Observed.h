// Win32 calls whose effect a user sees but a program cannot read back: the message box,
// a shell launch and debugger output. The simulated IDE hooks them to record what happens;
// without a hook they go to the platform.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/Win32.h"

namespace win32 {

struct ShellLaunch {
    HWND owner;
    std::u16string operation;
    std::u16string file;
    std::u16string parameters;
    std::u16string directory;
    int showCommand;
};

using MessageBoxHook = std::function<int(HWND owner, const std::u16string& text, const std::u16string& caption, UINT style)>;
using ShellExecuteHook = std::function<void(const ShellLaunch& launch)>;
using DebugOutputHook = std::function<void(const std::u16string& text)>;

// Each setter returns the hook it replaces, so that a caller can put it back.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
ShellExecuteHook SetShellExecuteHook(ShellExecuteHook hook);
DebugOutputHook SetDebugOutputHook(DebugOutputHook hook);

int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT style);
void LaunchShell(const ShellLaunch& launch);
void WriteDebugOutput(const std::u16string& text);

}  // namespace win32
