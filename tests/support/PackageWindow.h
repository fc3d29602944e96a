// A package's own window handed over through IWin32Window; get_Handle may run a callback first.
// The window counts the WM_SETFOCUS messages it is sent.
#pragma once

#include <functional>
#include <map>
#include <utility>

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/Text.h"

namespace testing_support {

class PackageWindow : public rtl::ComObject<IWin32Window> {
public:
    PackageWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = rtl::W(u"KorvelTestPackageWindow");
        RegisterClassW(&windowClass);
        handle = CreateWindowExW(0, windowClass.lpszClassName, rtl::W(u"Package window"), WS_POPUP, 0, 0, 10, 10,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
        Live()[handle] = this;
    }
    ~PackageWindow() override {
        Live().erase(handle);
        if (IsWindow(handle)) DestroyWindow(handle);
    }
    HRESULT STDMETHODCALLTYPE get_Handle(HWND* pRetVal) override {
        if (onHandle) std::exchange(onHandle, nullptr)();
        *pRetVal = handle;
        return S_OK;
    }
    HWND handle;
    std::function<void()> onHandle;
    int focusMessages = 0;

private:
    static std::map<HWND, PackageWindow*>& Live() {
        static std::map<HWND, PackageWindow*> windows;
        return windows;
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETFOCUS) {
            const auto found = Live().find(window);
            if (found != Live().end()) ++found->second->focusMessages;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

}  // namespace testing_support
