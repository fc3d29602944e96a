// What the parts of the "Korvel Sample Package" share: how it reports, and the help service
// that both its menu and its toolbar open.
#pragma once

#include <functional>

#include "Text.h"
#include "korvel/ControlEvents.h"

namespace sample {

// "Korvel Sample: <what>" in the debug output.
void SampleReport(const Text& what);

// Empty when the hub has none to give.
ComRef<IBdsHelpService> HelpServiceOf(IBdsServices& site);

// A menu item without an image right after the item `reference` (a full name), whose clicks run
// `onClick` for as long as `item` holds the subscription; nothing when the IDE refuses it.
void AddItemAfter(IBdsMenuBarService& menuBar, const Text& reference, const Text& name, const Text& caption,
                  Subscription<IBdsMenuItem>& item, std::function<void()> onClick);

}  // namespace sample
