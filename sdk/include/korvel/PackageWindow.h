// A window of the package's own, for a tool window (IBdsDockableWindow::HostControl) or a
// document over the editor (IBdsDocumentWindow::HostControl). The loader only borrows it: it
// re-parents the handle, asks IWin32Window::get_Handle afresh whenever it needs it, and never
// destroys the window; the package destroys it after the loader let go (Close, or Terminate).
#pragma once

#include "korvel/ComObject.h"
#include "korvel/Text.h"

namespace korvel::sdk {

// What HostControl takes: an IWin32Window answering `window`.
ComRef<IWin32Window> HostedWindow(HWND window);

// A plain window of a class registered for it, made on first use and destroyed with the object.
class PackageWindow {
public:
    PackageWindow(Text className, Text caption) : className_(std::move(className)), caption_(std::move(caption)) {}
    PackageWindow(const PackageWindow&) = delete;
    PackageWindow& operator=(const PackageWindow&) = delete;
    ~PackageWindow();

    // The window, made now if need be; nil when the platform refused it.
    HWND Handle();
    // What HostControl takes; empty when no window could be made.
    ComRef<IWin32Window> Control();

private:
    Text className_;
    Text caption_;
    HWND window_ = nullptr;
};

}  // namespace korvel::sdk
