// What the windows that host a package's own window share: asking the package for the
// handle, and guarding the package's calls into them.
#pragma once

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComGuard.h"
#include "platform/rtl/ComPtr.h"
#include "platform/rtl/PackageDoor.h"

namespace korvel {

// The hosted window's handle, asked afresh; the package's result code is ignored, and an
// absent control, or one that raised or faulted, gives 0. The control is held for the call: the
// package may host another one, or none, from inside it.
inline HWND HostedWindowHandle(const rtl::PackageRef<IWin32Window>& control) {
    HWND handle = nullptr;
    const bool answered = control.Ask("get_Handle", false, [&](IWin32Window& window) {
        window.get_Handle(&handle);
        return true;
    });
    return answered ? handle : nullptr;
}

// A package call may release the window it calls into; the window lives until the call ends,
// and nothing the body raises crosses back into the package.
template <class Window, class Body>
HRESULT Guarded(Window* window, Body&& body) {
    const rtl::ComPtr<Window> keepAlive(window);
    return rtl::ComGuard(std::forward<Body>(body));
}

}  // namespace korvel
