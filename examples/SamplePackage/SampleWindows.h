// What the sample's document and tool window share: the sink through which the loader tells
// the package about its window.
#pragma once

#include <functional>

#include "Text.h"
#include "korvel/PackageWindow.h"
#include "korvel/Relay.h"

namespace sample {

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
