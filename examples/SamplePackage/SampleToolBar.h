// The "Korvel Sample Package"'s toolbar: a "Run Sample" button that toggles, an editable
// "Search" combo box that opens help for the class picked, and a list-only "Mode" combo box.
#pragma once

#include <initializer_list>

#include "korvel/Bitmap.h"
#include "korvel/ControlEvents.h"
#include "Text.h"

namespace sample {

class SampleToolBar {
public:
    SampleToolBar() = default;
    SampleToolBar(const SampleToolBar&) = delete;
    SampleToolBar& operator=(const SampleToolBar&) = delete;
    // Takes the toolbar off the IDE and lets go of everything.
    ~SampleToolBar();

    // Built in order; a step the IDE refuses ends the building, since what follows would not
    // land where it belongs. The image goes to the button when the IDE takes it.
    void Add(const ComRef<IBdsServices>& site, Bitmap& buttonImage);

private:
    // A new control with its name and caption; empty when the IDE refused a step.
    ComRef<IBdsToolBarControl> AddControl(Integer kind, const Text& name, const Text& caption);
    ComRef<IBdsToolBarControl> AddComboBox(Integer kind, const Text& name, const Text& caption,
                                           std::initializer_list<const char16_t*> items);
    bool AddRunButton(Bitmap& image);
    bool AddSearchComboBox();
    void AddModeComboBox();

    void ToggleRunButton();
    void ReportSearchText();
    void ShowSearchHelp();
    void ReportMode();

    ComRef<IBdsServices> site_;
    ComRef<IBdsToolBarService> toolBars_;
    ComRef<IBdsToolBar> toolBar_;
    Subscription<IBdsToolBarControl> runButton_;
    Subscription<IBdsToolBarControl> searchComboBox_;
    Subscription<IBdsToolBarControl> modeComboBox_;
};

}  // namespace sample
