// The sink a package registers with a menu item or a toolbar control, and the pairing of the
// two that the package keeps: subscribing registers a sink, cancelling unregisters it and
// cuts it off, so that nothing reaches the package after it has let go.
#pragma once

#include <functional>

#include "korvel/ComObject.h"
#include "korvel/Relay.h"

namespace korvel::sdk {

struct ControlHandlers {
    std::function<void()> onExecute;
    std::function<void()> onChange;
};

class ControlEvents final : public ComObject<IBdsToolBarControlEvents>, public Relay<ControlHandlers> {
public:
    explicit ControlEvents(ControlHandlers handlers) : Relay(std::move(handlers)) {}

    HRESULT STDMETHODCALLTYPE OnExecute() override;
    HRESULT STDMETHODCALLTYPE OnChange() override;
    HRESULT STDMETHODCALLTYPE OnUpdate() override { return S_OK; }

private:
    HRESULT Run(std::function<void()> ControlHandlers::*handler);
};

// `Item` is IBdsMenuItem or IBdsToolBarControl: both take a sink through RegisterEvents.
template <class Item>
class Subscription {
public:
    Subscription() = default;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { Cancel(); }

    // A source that refuses the sink is not kept: nothing will come from it.
    void Subscribe(const ComRef<Item>& source, ControlHandlers handlers) {
        Cancel();
        ComRef<ControlEvents> events(new ControlEvents(std::move(handlers)));
        if (FAILED(source->RegisterEvents(events.Get()))) {
            events->Disconnect();
            return;
        }
        source_ = source;
        events_ = std::move(events);
    }

    // An IDE object that is gone already may refuse to let go of the sink; the sink is cut
    // off all the same.
    void Cancel() {
        if (events_) events_->Disconnect();
        if (source_) source_->RegisterEvents(nullptr);
        events_.Reset();
        source_.Reset();
    }

    // Empty until a subscription was accepted.
    const ComRef<Item>& Source() const { return source_; }

private:
    ComRef<Item> source_;
    ComRef<ControlEvents> events_;
};

}  // namespace korvel::sdk
