// The "Korvel Sample Package"'s tool windows, both in the View menu: "Korvel Sample &Tools"
// shows a dockable tool window "Korvel Sample Tools" (desk section "KorvelSampleToolWindow") that
// hosts a window of the package's own, with the package's icon; "Korvel Sample Object
// &Inspector" closes the IDE's Object Inspector, or brings it up when it is closed, through the
// same interface.
#pragma once

#include "korvel/Bitmap.h"
#include "SampleWindows.h"
#include "korvel/ControlEvents.h"

namespace sample {

// Destroying it cuts the tool window's sink off and lets go of both windows; the loader keeps
// the tool window itself until the IDE ends.
class SampleToolWindow {
public:
    SampleToolWindow() = default;
    SampleToolWindow(const SampleToolWindow&) = delete;
    SampleToolWindow& operator=(const SampleToolWindow&) = delete;
    ~SampleToolWindow();

    void Add(const ComRef<IBdsServices>& site);

private:
    void ShowToolWindow();
    bool CreateToolWindow(IBdsWindowsService& windows);
    void ToggleObjectInspector();
    void ForgetToolWindow();
    void Report(const Text& what);

    ComRef<IBdsServices> site_;
    Subscription<IBdsMenuItem> toolWindowItem_;
    Subscription<IBdsMenuItem> inspectorItem_;
    PackageWindow window_{u"KorvelSampleToolWindow", u"Sample tools"};
    ComRef<WindowEvents> events_;
    ComRef<IBdsDockableWindow> toolWindow_;
    ComRef<IBdsDockableWindow> inspector_;
};

}  // namespace sample
