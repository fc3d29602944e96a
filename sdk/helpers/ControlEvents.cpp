#include "korvel/ControlEvents.h"

namespace korvel::sdk {

HRESULT ControlEvents::OnExecute() { return Run(&ControlHandlers::onExecute); }

HRESULT ControlEvents::OnChange() { return Run(&ControlHandlers::onChange); }

HRESULT ControlEvents::Run(std::function<void()> ControlHandlers::*handler) {
    return Guarded([&] {
        // The package may release its last reference to this sink while it handles the event.
        const ComRef<ControlEvents> keepAlive(this);
        const ControlHandlers handlers = Current();
        if (handlers.*handler) (handlers.*handler)();
        return S_OK;
    });
}

}  // namespace korvel::sdk
