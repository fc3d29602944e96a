#include "sim/ToolBarLayout.h"

#include <algorithm>

#include "platform/vcl/StdCtrls.h"
#include "sim/IdeServices.h"

namespace sim {
namespace {

constexpr int ImageSize = 16;

// A button, or a separator when it has no name.
struct ButtonEntry {
    const char16_t* name;
    const char16_t* hint;
};

struct ToolBarEntry {
    const char16_t* name;
    const char16_t* caption;
    bool visible;
    std::vector<ButtonEntry> buttons;
};

const ButtonEntry Separator{nullptr, nullptr};

const std::vector<ToolBarEntry>& StandardToolBars() {
    static const std::vector<ToolBarEntry> toolBars = {
        {u"StandardToolBar", u"Standard", true,
         {{u"NewItemsButton", u"New Items"},
          {u"OpenButton", u"Open"},
          {u"SaveButton", u"Save"},
          {u"SaveAllButton", u"Save All"},
          Separator,
          {u"OpenProjectButton", u"Open Project"},
          {u"AddToProjectButton", u"Add to Project"},
          {u"RemoveFromProjectButton", u"Remove from Project"}}},
        {u"ViewToolBar", u"View", true,
         {{u"ViewUnitButton", u"View Unit"},
          {u"ViewFormButton", u"View Form"},
          {u"ToggleFormUnitButton", u"Toggle Form/Unit"},
          {u"NewFormButton", u"New Form"}}},
        {u"DebugToolBar", u"Debug", true,
         {{u"RunButton", u"Run"},
          {u"RunWithoutDebuggingButton", u"Run Without Debugging"},
          {u"PauseButton", u"Pause"},
          {u"ProgramResetButton", u"Program Reset"},
          Separator,
          {u"TraceIntoButton", u"Trace Into"},
          {u"StepOverButton", u"Step Over"},
          {u"RunUntilReturnButton", u"Run Until Return"}}},
        {u"DesktopToolBar", u"Desktop", true,
         {{u"SaveDesktopButton", u"Save current desktop"}, {u"SetDebugDesktopButton", u"Set debug desktop"}}},
        {u"CustomToolBar", u"Custom", true, {{u"HelpContentsButton", u"Help Contents"}}},
        {u"PersonalityToolBar", u"Personality", true, {{u"SwitchPersonalityButton", u"Switch Personality"}}},
        {u"BrowserToolBar", u"Browser", false,
         {{u"BrowserBackButton", u"Back"},
          {u"BrowserForwardButton", u"Forward"},
          {u"BrowserStopButton", u"Stop"},
          {u"BrowserRefreshButton", u"Refresh"}}},
    };
    return toolBars;
}

int ButtonImageCount() {
    int count = 0;
    for (const ToolBarEntry& toolBar : StandardToolBars())
        for (const ButtonEntry& button : toolBar.buttons) count += button.name ? 1 : 0;
    return count;
}

// One plain image per button of the standard toolbars, none of them magenta.
void AddButtonImages(vcl::TCustomImageList& images, int count) {
    const int width = ImageSize * count;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * ImageSize);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0x00204060u + static_cast<uint32_t>(i % width / ImageSize);
    HBITMAP handle = CreateBitmap(width, ImageSize, 1, 32, pixels.data());
    vcl::TBitmap bitmap;
    bitmap.SetHandle(handle);
    images.AddMasked(bitmap, vcl::clFuchsia);
    DeleteObject(handle);
}

// The desktop toolbar's list of saved desktops, as the IDE shows it before its buttons.
void AddDesktopChoice(vcl::TToolBar& toolBar) {
    auto* desktops = new vcl::TComboBox(&toolBar);
    desktops->SetName(u"DesktopComboBox");
    desktops->SetStyle(vcl::TComboBoxStyle::csDropDownList);
    for (const char16_t* desktop : {u"Default Layout", u"Debug Layout", u"Classic Undocked"}) desktops->AddItem(desktop);
    desktops->SetItemIndex(0);
    desktops->SetParent(&toolBar);
}

}  // namespace

ToolBarLayout::ToolBarLayout() : dock_(std::make_unique<vcl::TWinControl>(nullptr)) {
    dock_->SetName(u"ControlBar1");
    dock_->SetWidth(DockWidth);
    images_ = new vcl::TImageList(dock_.get(), ImageSize, ImageSize);
    images_->SetName(u"ImageList1");
    AddButtonImages(*images_, ButtonImageCount());

    int imageIndex = 0;
    int left = 0;
    int top = 0;
    for (const ToolBarEntry& entry : StandardToolBars()) {
        auto* toolBar = new vcl::TToolBar(dock_.get());
        toolBar->SetName(entry.name);
        toolBar->SetCaption(entry.caption);
        toolBar->SetImages(images_);
        toolBar->SetAutoSize(true);
        if (entry.name == String(u"DesktopToolBar")) AddDesktopChoice(*toolBar);
        for (const ButtonEntry& buttonEntry : entry.buttons) {
            auto* button = new vcl::TToolButton(toolBar);
            if (buttonEntry.name) {
                button->SetName(buttonEntry.name);
                button->SetHint(buttonEntry.hint);
                button->SetImageIndex(imageIndex++);
            } else {
                button->SetStyle(vcl::TToolButtonStyle::tbsSeparator);
            }
            button->SetParent(toolBar);
            button->SetLeft(toolBar->Width());
        }
        if (left > 0 && left + toolBar->Width() > DockWidth) {
            left = 0;
            top += toolBar->Height();
        }
        toolBar->SetBounds(left, top, toolBar->Width(), toolBar->Height());
        left += toolBar->Width();
        toolBar->SetVisible(entry.visible);
        toolBar->SetParent(dock_.get());
    }
}

ToolBarLayout::~ToolBarLayout() = default;

std::vector<vcl::TToolBar*> ToolBarLayout::ToolBars() const {
    std::vector<vcl::TToolBar*> toolBars;
    for (int i = 0; i < dock_->ControlCount(); ++i)
        if (auto* toolBar = dynamic_cast<vcl::TToolBar*>(dock_->Controls(i))) toolBars.push_back(toolBar);
    return toolBars;
}

vcl::TToolBar* ToolBarLayout::Find(const String& name) const {
    for (vcl::TToolBar* toolBar : ToolBars())
        if (rtl::SameText(toolBar->Name(), name)) return toolBar;
    return nullptr;
}

int ToolBarLayout::BottomOfToolBars() const {
    int bottom = 0;
    for (const vcl::TToolBar* toolBar : ToolBars()) bottom = std::max(bottom, toolBar->Top() + toolBar->Height());
    return bottom;
}

vcl::TToolBar* ToolBarLayout::Add(const String& name, const String& caption) {
    auto toolBar = std::make_unique<vcl::TToolBar>(nullptr);
    toolBar->SetName(name);
    toolBar->SetCaption(caption);
    toolBar->SetImages(images_);
    toolBar->SetTop(BottomOfToolBars());
    dock_->InsertComponent(toolBar.get());  // refuses a name that another toolbar has
    toolBar->SetParent(dock_.get());
    return toolBar.release();
}

void ToolBarLayout::ReportLoaded(const IdeServices& services) const {
    std::vector<vcl::ComponentPtr<vcl::TToolBar>> toolBars;
    for (vcl::TToolBar* toolBar : ToolBars()) toolBars.emplace_back(toolBar);
    for (const auto& toolBar : toolBars) {
        // A copy: notifiers may register or leave while they are told.
        const std::vector<rtl::ComPtr<ide::IOTANotifier>> notifiers = services.ToolbarNotifiers();
        for (const auto& notifier : notifiers) {
            const auto stream = notifier.Query<ide::INTAToolbarStreamNotifier>();
            if (stream && toolBar) stream->ToolbarLoaded(toolBar.Get());
        }
    }
}

}  // namespace sim
