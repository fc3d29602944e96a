// The "Korvel Sample Package"'s menu items: "Korvel Sample" after Tools > Options, which
// lists the loaded packages, and "Korvel Sample Help" first in the Help menu.
#pragma once

#include "korvel/Bitmap.h"
#include "Text.h"
#include "korvel/ControlEvents.h"

namespace sample {

// Destroying it lets go of the items, their sinks and the site.
class SampleMenuItems {
public:
    // Whatever the IDE refuses is left out. The image goes to the first item when the IDE
    // takes it.
    void Add(const ComRef<IBdsServices>& site, Bitmap& image);

private:
    void AddPackagesItem(IBdsMenuBarService& menuBar, Bitmap& image);
    void AddHelpItem(IBdsMenuBarService& menuBar);
    void ListPackages();
    void OpenHelp();

    ComRef<IBdsServices> site_;
    Subscription<IBdsMenuItem> packagesItem_;
    Subscription<IBdsMenuItem> helpItem_;
};

}  // namespace sample
