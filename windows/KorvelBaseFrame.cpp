#include "windows/KorvelBaseFrame.h"

#include "platform/rtl/ComGuard.h"

namespace korvel {

TKorvelFrame::~TKorvelFrame() {
    // A destructor lets nothing escape.
    rtl::Swallow([&] { vcl::RaiseEvent(OnDestroy, this); });
    Destroying = true;
}

void TKorvelFrame::DestroyWindowHandle() {
    if (!Destroying) vcl::RaiseEvent(OnDestroyWindowHandle, this);
    TFrame::DestroyWindowHandle();
}

}  // namespace korvel
