// The frame laid over the IDE's editor to host package documents. It reports the destruction
// of its window handle (so hosted windows can be parked first) and of itself, and remembers
// the handle it last saw so that a re-created one can be told apart.
#pragma once

#include "platform/vcl/Forms.h"

namespace korvel {

using rtl::String;

class TKorvelFrame : public vcl::TFrame {
public:
    explicit TKorvelFrame(vcl::TComponent* owner) : TFrame(owner) {}
    ~TKorvelFrame() override;
    String ClassName() const override { return u"TKorvelFrame"; }

    // Records the current handle, creating it if needed.
    void UpdateHandleControl() { FPreviousHandle = Handle(); }
    bool IsHandleChanged() { return Handle() != FPreviousHandle; }

    vcl::TNotifyEvent OnDestroyWindowHandle;
    vcl::TNotifyEvent OnDestroy;

protected:
    // A handle that dies with the frame is not reported; re-creations while it lives are.
    void DestroyWindowHandle() override;

private:
    HWND FPreviousHandle = nullptr;
    bool Destroying = false;
};

}  // namespace korvel
