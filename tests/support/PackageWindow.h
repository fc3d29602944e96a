// A package's own window handed over through IWin32Window; get_Handle may run a callback first.
#pragma once

#include <functional>
#include <utility>

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/Text.h"

namespace testing_support {

class PackageWindow : public rtl::ComObject<IWin32Window> {
public:
    PackageWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = rtl::W(u"KorvelTestPackageWindow");
        RegisterClassW(&windowClass);
        handle = CreateWindowExW(0, windowClass.lpszClassName, rtl::W(u"Package window"), WS_POPUP, 0, 0, 10, 10,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~PackageWindow() override {
        if (IsWindow(handle)) DestroyWindow(handle);
    }
    HRESULT STDMETHODCALLTYPE get_Handle(HWND* pRetVal) override {
        if (onHandle) std::exchange(onHandle, nullptr)();
        *pRetVal = handle;
        return S_OK;
    }
    HWND handle;
    std::function<void()> onHandle;
};

}  // namespace testing_support
