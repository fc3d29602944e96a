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

#ifdef _WIN32
// OutputDebugString raises these for a debugger to catch; while a hook is set we are that
// debugger, so that packages' own debug output is observed like ours.
constexpr DWORD DebugPrintAnsi = 0x40010006;
constexpr DWORD DebugPrintWide = 0x4001000A;

std::u16string AnsiText(const char* text, ULONG_PTR length) {
    const int size = static_cast<int>(length > 0 ? length - 1 : 0);
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, size, wide.data(), static_cast<int>(wide.size()));
    return rtl::FromWide(wide.c_str());
}

LONG CALLBACK CatchDebugPrint(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    const bool wide = record.ExceptionCode == DebugPrintWide;
    if ((!wide && record.ExceptionCode != DebugPrintAnsi) || record.NumberParameters < 2 || !debugOutputHook())
        return EXCEPTION_CONTINUE_SEARCH;
    const ULONG_PTR length = record.ExceptionInformation[0];
    const ULONG_PTR text = record.ExceptionInformation[1];
    try {
        debugOutputHook()(wide ? rtl::FromWide(reinterpret_cast<LPCWSTR>(text))
                               : AnsiText(reinterpret_cast<const char*>(text), length));
    } catch (...) {
        // An observer's failure must not turn a debug print into a crash of the caller.
    }
    return EXCEPTION_CONTINUE_EXECUTION;
}

void CatchDebugPrints(bool catching) {
    static PVOID handler = nullptr;
    if (catching && !handler) handler = AddVectoredExceptionHandler(1, CatchDebugPrint);
    if (!catching && handler) {
        RemoveVectoredExceptionHandler(handler);
        handler = nullptr;
    }
}
#else
void CatchDebugPrints(bool) {}
#endif

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) { return std::exchange(messageBoxHook(), std::move(hook)); }
ShellExecuteHook SetShellExecuteHook(ShellExecuteHook hook) {
    return std::exchange(shellExecuteHook(), std::move(hook));
}
DebugOutputHook SetDebugOutputHook(DebugOutputHook hook) {
    CatchDebugPrints(static_cast<bool>(hook));
    return std::exchange(debugOutputHook(), std::move(hook));
}

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
