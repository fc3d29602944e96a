// The interface through which a package hands over one of its own windows to be hosted: the
// identifier under which the .NET Framework exposes its Windows Forms IWin32Window to COM, so
// that a .NET control passed through COM interop offers it.
#pragma once

#include "platform/rtl/ComGuard.h"
#include "platform/rtl/InterfaceTraits.h"
#include "platform/win32/Win32.h"

inline constexpr GUID IID_IWin32Window = {0x458AB8A2, 0xA1EA, 0x4D7B, {0x8E, 0xBE, 0xDE, 0xE5, 0xD3, 0xD9, 0x44, 0x2C}};

struct IWin32Window : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Handle(HWND* pRetVal) = 0;
};

KORVEL_BIND_INTERFACE(IWin32Window, IUnknown, IID_IWin32Window);

namespace korvel {

// The hosted window's handle, asked afresh; the package's result code is ignored, and a
// failing or absent control gives 0.
inline HWND HostedWindowHandle(IWin32Window* control) {
    HWND handle = nullptr;
    if (control) rtl::Swallow([&] { control->get_Handle(&handle); });
    return handle;
}

// A package call may release the window it calls into; the window lives until the call ends,
// and nothing the body raises crosses back into the package.
template <class Window, class Body>
HRESULT Guarded(Window* window, Body&& body) {
    const rtl::ComPtr<Window> keepAlive(window);
    return rtl::ComGuard(std::forward<Body>(body));
}

}  // namespace korvel
