// The simulated IDE's main menu: File to Help, with the standard items, separators and
// submenus of the IDE, and an image list for item images.
#pragma once

#include <functional>

#include "platform/vcl/Menus.h"

namespace sim {

// Told the component name of every standard command the user chooses.
using MenuCommandHandler = std::function<void(const rtl::String& itemName)>;

// A new main menu owned by `owner`; every item without children runs `onCommand` when clicked,
// which must outlive the menu.
vcl::TMainMenu* BuildIdeMainMenu(vcl::TComponent* owner, const MenuCommandHandler& onCommand);

}  // namespace sim
