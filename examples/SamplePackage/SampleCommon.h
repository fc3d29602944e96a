// What the parts of the "Korvel Sample Package" share: how it reports, and the help service
// that both its menu and its toolbar open.
#pragma once

#include <functional>

#include "Text.h"
#include "korvel/ControlEvents.h"

namespace sample {

// The Tools API's methods return their answer directly: nothing the package throws may leave them.
template <class Result, class Body>
Result Answer(Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

template <class Body>
void Quietly(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

// A service the hub hands out by identifier (the Tools API's); empty when it has none.
template <class Interface>
ComRef<Interface> ServiceOf(IBdsServices& site, const GUID& service) {
    ComRef<IUnknown> found;
    if (!found.Received(site.GetService(&service, found.Put()))) return ComRef<Interface>();
    return found.Query<Interface>();
}

// "Korvel Sample: <what>" in the debug output.
void SampleReport(const Text& what);

// Empty when the hub has none to give.
ComRef<IBdsHelpService> HelpServiceOf(IBdsServices& site);

// A menu item without an image right after the item `reference` (a full name), whose clicks run
// `onClick` for as long as `item` holds the subscription; nothing when the IDE refuses it.
void AddItemAfter(IBdsMenuBarService& menuBar, const Text& reference, const Text& name, const Text& caption,
                  Subscription<IBdsMenuItem>& item, std::function<void()> onClick);

}  // namespace sample
