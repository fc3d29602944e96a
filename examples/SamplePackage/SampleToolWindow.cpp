#include "SampleToolWindow.h"

#include "SampleCommon.h"

namespace sample {
namespace {

constexpr uint32_t IconColour = 0x0020C060;

Text YesNo(WordBool flag) { return flag ? u"yes" : u"no"; }

}  // namespace

SampleToolWindow::~SampleToolWindow() { ForgetToolWindow(); }

void SampleToolWindow::Add(const ComRef<IBdsServices>& site) {
    site_ = site;
    ComRef<IBdsMenuBarService> menuBar;
    if (!menuBar.Received(site_->Get_BdsMenuBarService(menuBar.Put()))) return;
    AddItemAfter(*menuBar.Get(), u"ViewsMenu\\ViewMessagesItem", u"KorvelSampleToolWindowItem",
                 u"Korvel Sample &Tools", toolWindowItem_, [this] { ShowToolWindow(); });
    AddItemAfter(*menuBar.Get(), u"ViewsMenu\\KorvelSampleToolWindowItem", u"KorvelSampleInspectorItem",
                 u"Korvel Sample Object &Inspector", inspectorItem_, [this] { ToggleObjectInspector(); });
}

// Made once; shown again, wherever the user left it, while the IDE keeps its form.
void SampleToolWindow::ShowToolWindow() {
    ComRef<IBdsWindowsService> windows;
    if (!windows.Received(site_->Get_BdsWindowsService(windows.Put()))) return;
    if (!toolWindow_ && !CreateToolWindow(*windows.Get())) return;
    toolWindow_->Activate();
    Report(u"shown");
}

bool SampleToolWindow::CreateToolWindow(IBdsWindowsService& windows) {
    ComRef<IBdsDockableWindow> toolWindow;
    if (!toolWindow.Received(windows.CreateDockableWindow(Bstr(u"KorvelSampleToolWindow").Get(), toolWindow.Put())))
        return false;
    toolWindow->Set_Caption(Bstr(u"Korvel Sample Tools").Get());
    Bitmap icon = Bitmap::Square(16, IconColour, 3);
    if (SUCCEEDED(toolWindow->SetIcon(icon.AsInteger()))) icon.HandedOver();
    events_ = ComRef<WindowEvents>(new WindowEvents({[] { SampleReport(u"tool window activated"); },
                                                     [this] {
                                                         SampleReport(u"the IDE closed the tool window");
                                                         ForgetToolWindow();
                                                     },
                                                     nullptr}));
    toolWindow->RegisterEvents(events_.Get());
    if (const ComRef<IWin32Window> control = window_.Control()) toolWindow->HostControl(control.Get());
    toolWindow_ = toolWindow;
    return true;
}

void SampleToolWindow::ToggleObjectInspector() {
    ComRef<IBdsWindowsService> windows;
    if (!inspector_ && windows.Received(site_->Get_BdsWindowsService(windows.Put())))
        windows->GetStandardWindow(Bstr(u"ObjectInspector").Get(), inspector_.Put());
    if (!inspector_) return;
    WordBool visible = WordFalse;
    inspector_->Get_Visible(&visible);
    if (visible)
        inspector_->Close();
    else
        inspector_->Activate();
    inspector_->Get_Visible(&visible);
    SampleReport(u"Object Inspector " + Text(visible ? u"shown" : u"closed"));
}

// Once the IDE destroyed the form, or when the package ends, the window object is of no use.
void SampleToolWindow::ForgetToolWindow() {
    if (!toolWindow_) return;
    events_->Disconnect();
    const ComRef<IBdsDockableWindow> toolWindow = std::move(toolWindow_);
    toolWindow->RegisterEvents(nullptr);
    // The package's window is about to go: the loader must not hold on to it.
    toolWindow->HostControl(nullptr);
}

void SampleToolWindow::Report(const Text& what) {
    WordBool visible = WordFalse, active = WordFalse;
    toolWindow_->Get_Visible(&visible);
    toolWindow_->Get_IsActive(&active);
    SampleReport(u"tool window " + what + u"; visible " + YesNo(visible) + u", active " + YesNo(active));
}

}  // namespace sample
