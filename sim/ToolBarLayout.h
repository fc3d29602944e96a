// The IDE's toolbars: the standard ones with their buttons, docked in one dock control, and
// the image list they all share. The IDE finds a toolbar by name ignoring case.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/ComCtrls.h"

namespace sim {

using rtl::String;

class IdeServices;

class ToolBarLayout {
public:
    static constexpr int DockWidth = 1200;

    ToolBarLayout();
    ~ToolBarLayout();
    ToolBarLayout(const ToolBarLayout&) = delete;
    ToolBarLayout& operator=(const ToolBarLayout&) = delete;

    vcl::TWinControl& Dock() { return *dock_; }
    vcl::TCustomImageList& Images() { return *images_; }

    // The docked toolbars, in docking order.
    std::vector<vcl::TToolBar*> ToolBars() const;
    vcl::TToolBar* Find(const String& name) const;
    // A new visible toolbar in a row of its own below the others. Raises the library's
    // error for a name that is no identifier or that another toolbar has.
    vcl::TToolBar* Add(const String& name, const String& caption);

    // What the IDE does once it has loaded its toolbars: each toolbar is reported to every
    // toolbar notifier registered with `services` at that moment.
    void ReportLoaded(const IdeServices& services) const;

private:
    int BottomOfToolBars() const;

    std::unique_ptr<vcl::TWinControl> dock_;
    vcl::TImageList* images_;  // owned by the dock
};

}  // namespace sim
