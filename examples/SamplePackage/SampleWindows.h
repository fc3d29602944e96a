// What the sample's document and tool window share: a window of the package's own that the
// loader hosts, and the sink through which the loader tells the package about its window.
#pragma once

#include <functional>

#include "Text.h"
#include "korvel/Relay.h"

namespace sample {

// A plain child-less window of the package, made on first use and destroyed with this object.
// The loader only borrows it: it re-parents the handle and never destroys it.
class PackageWindow {
public:
    PackageWindow(const char16_t* className, Text caption) : className_(className), caption_(std::move(caption)) {}
    PackageWindow(const PackageWindow&) = delete;
    PackageWindow& operator=(const PackageWindow&) = delete;
    ~PackageWindow();

    // The control to hand to HostControl; empty when no window could be made.
    ComRef<IWin32Window> Control();

private:
    const char16_t* className_;
    Text caption_;
    HWND window_ = nullptr;
};

struct WindowHandlers {
    std::function<void()> onActivate;
    std::function<void()> onClose;
    // A bitmap for the document's tab that the loader takes over, or nullptr for none yet.
    std::function<HBITMAP()> requestIcon;
};

class WindowEvents final : public ComObject<IBdsWindowEvents>, public korvel::sdk::Relay<WindowHandlers> {
public:
    using Relay::Relay;

    HRESULT STDMETHODCALLTYPE OnClose() override;
    HRESULT STDMETHODCALLTYPE OnActivate() override;
    HRESULT STDMETHODCALLTYPE RequestIcon(Integer* pRetVal) override;
};

}  // namespace sample
