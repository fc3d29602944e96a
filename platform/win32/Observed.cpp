#include "platform/win32/Observed.h"

#include <cstdio>
#include <utility>

#include "platform/rtl/Text.h"

namespace win32 {
namespace {

MessageBoxHook& messageBoxHook() {
    static MessageBoxHook hook;
    return hook;
}
ShellExecuteHook& shellExecuteHook() {
    static ShellExecuteHook hook;
    return hook;
}
DebugOutputHook& debugOutputHook() {
    static DebugOutputHook hook;
    return hook;
}

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) { return std::exchange(messageBoxHook(), std::move(hook)); }
ShellExecuteHook SetShellExecuteHook(ShellExecuteHook hook) {
    return std::exchange(shellExecuteHook(), std::move(hook));
}
DebugOutputHook SetDebugOutputHook(DebugOutputHook hook) { return std::exchange(debugOutputHook(), std::move(hook)); }

int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT style) {
    if (messageBoxHook()) return messageBoxHook()(owner, text, caption, style);
#ifdef _WIN32
    return MessageBoxW(owner, rtl::W(text), rtl::W(caption), style);
#else
    std::fprintf(stderr, "[message box] %s: %s\n", rtl::ToUtf8(caption).c_str(), rtl::ToUtf8(text).c_str());
    return IDOK;
#endif
}

void LaunchShell(const ShellLaunch& launch) {
    if (shellExecuteHook()) return shellExecuteHook()(launch);
#ifdef _WIN32
    ShellExecuteW(launch.owner, launch.operation.empty() ? nullptr : rtl::W(launch.operation), rtl::W(launch.file),
                  rtl::W(launch.parameters), launch.directory.empty() ? nullptr : rtl::W(launch.directory),
                  launch.showCommand);
#endif
}

void WriteDebugOutput(const std::u16string& text) {
    if (debugOutputHook()) return debugOutputHook()(text);
#ifdef _WIN32
    OutputDebugStringW(rtl::W(text));
#endif
}

}  // namespace win32
