#include "sim/SimulatedIde.h"

#include <algorithm>

#include "sim/ActionListLayout.h"
#include "sim/MainMenuLayout.h"

namespace sim {
namespace {

String StyleText(UINT style) { return u"style " + rtl::IntToStr(style); }

// Depth first, as the main form asks its menu; hidden or disabled items and their
// submenus do not take part.
vcl::TMenuItem* FindShortCutItem(vcl::TMenuItem* parent, vcl::TShortCut shortCut) {
    for (int i = 0; i < parent->Count(); ++i) {
        vcl::TMenuItem* item = parent->Items(i);
        if (!item->Visible() || !item->Enabled()) continue;
        if (item->Count() > 0) {
            if (vcl::TMenuItem* found = FindShortCutItem(item, shortCut)) return found;
        } else if (item->ShortCut() == shortCut) {
            return item;
        }
    }
    return nullptr;
}

// Holds the shortcut's modifier keys down in the thread's keyboard state for its lifetime.
class HeldModifiers {
public:
    explicit HeldModifiers(vcl::TShortCut shortCut) {
        GetKeyboardState(previous_);
        BYTE state[256];
        std::copy(std::begin(previous_), std::end(previous_), state);
        SetDown(state, VK_SHIFT, shortCut & vcl::scShift);
        SetDown(state, VK_CONTROL, shortCut & vcl::scCtrl);
        SetDown(state, VK_MENU, shortCut & vcl::scAlt);
        SetKeyboardState(state);
    }
    ~HeldModifiers() { SetKeyboardState(previous_); }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    static void SetDown(BYTE* state, int key, bool down) {
        state[key] = static_cast<BYTE>(down ? (state[key] | 0x80) : (state[key] & ~0x80));
    }
    BYTE previous_[256];
};

// The inspector control sits three parent levels below the window that carries it.
vcl::TCustomForm* BuildObjectInspector(vcl::TApplication* application) {
    auto* form = new vcl::TForm(application);
    form->SetName(u"PropertyInspector");
    form->SetCaption(u"Object Inspector");
    form->SetBounds(820, 0, 240, 600);
    vcl::TWinControl* parent = form;
    for (const char16_t* name : {u"InspectorPanel", u"PropertyPanel"}) {
        auto* panel = new vcl::TPanel(application);
        panel->SetName(name);
        panel->SetAlign(vcl::TAlign::alClient);
        panel->SetParent(parent);
        parent = panel;
    }
    auto* inspector = new InternalControl(application, u"TPropertyInspector");
    inspector->SetName(u"PropertyInspectorControl");
    inspector->SetAlign(vcl::TAlign::alClient);
    inspector->SetParent(parent);
    form->HandleNeeded();
    form->Show();
    return form;
}

}  // namespace

SimulatedIde::SimulatedIde()
    : application_(std::make_unique<vcl::TApplication>(nullptr)),
      services_(new IdeServices),
      previousApplication_(vcl::Application()),
      previousServices_(ide::BorlandIDEServices()),
      menuCommand_([this](const String& itemName) { recorder_.Note(u"menu command: " + itemName); }) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    mainWindow_ = GetForegroundWindow();
    application_->SetHelpSystem([this](const String& keyword) {
        recorder_.helpKeywords.push_back(keyword);
        recorder_.Note(u"help keyword: " + keyword);
        return true;
    });
    vcl::SetApplication(application_.get());
    ide::SetBorlandIDEServices(services_.Get());
    previousSplashScreen_ = ide::SplashScreenServices();
    BuildActionList();
    BuildMainMenu();
    StartSession();

    previousMessageBoxHook_ =
        win32::SetMessageBoxHook([this](HWND owner, const String& text, const String& caption, UINT style) {
            recorder_.messageBoxes.push_back({owner, text, caption, style});
            recorder_.Note(u"message box [" + caption + u", " + StyleText(style) + u"]: " + text);
            return IDOK;
        });
    previousDialogHook_ = vcl::SetDialogHook([this](const vcl::DialogRequest& request) {
        recorder_.dialogs.push_back(request);
        recorder_.Note((request.plainMessage ? u"message: " : u"dialog: ") + request.text);
        return static_cast<int>(vcl::mrOk);
    });
    previousShellHook_ = win32::SetShellExecuteHook([this](const win32::ShellLaunch& launch) {
        recorder_.shellLaunches.push_back(launch);
        // Apart, so that a program or parameters with blanks read unambiguously.
        recorder_.Note(u"launch: program \"" + launch.file + u"\", parameters \"" + launch.parameters + u"\"");
    });
    previousDebugHook_ = win32::SetDebugOutputHook([this](const String& text) {
        recorder_.debugOutput.push_back(text);
        recorder_.Note(u"debug output: " + text);
    });
}

SimulatedIde::~SimulatedIde() {
    win32::SetMessageBoxHook(std::move(previousMessageBoxHook_));
    vcl::SetDialogHook(std::move(previousDialogHook_));
    win32::SetShellExecuteHook(std::move(previousShellHook_));
    win32::SetDebugOutputHook(std::move(previousDebugHook_));
    ide::SetSplashScreenServices(previousSplashScreen_);
    ide::SetBorlandIDEServices(previousServices_);
    vcl::SetApplication(previousApplication_);
    // Whoever still holds the module services holds an IDE without modules or notifiers.
    editors_->ShutDown();
    services_ = nullptr;
    editors_ = nullptr;
    application_.reset();
    CoUninitialize();
}

void SimulatedIde::Reset() {
    editors_->ShutDown();
    desktop_.reset();
    designers_.reset();
    // The Object Inspector and whatever else the last session left with the application.
    std::vector<vcl::ComponentPtr<vcl::TComponent>> sessionComponents;
    for (int i = 0; i < application_->ComponentCount(); ++i) {
        vcl::TComponent* component = application_->Components(i);
        if (component != mainMenu_.Get() && component != actionList_.Get()) sessionComponents.emplace_back(component);
    }
    for (const auto& component : sessionComponents) delete component.Get();
    if (!pristineActions_->Restore()) BuildActionList();
    if (!pristineMenu_->Restore()) BuildMainMenu();
    services_->ResetToolBars();
    application_->OnMessage = nullptr;
    queue_.clear();
    dispatched_.clear();
    StartSession();
    recorder_.Clear();
}

void SimulatedIde::BuildActionList() {
    delete actionList_.Get();
    vcl::TActionList* list = BuildIdeActionList(application_.get());
    actionList_ = list;
    pristineActions_ = std::make_unique<PristineActionList>(*list);
    services_->SetActionList(list);
}

void SimulatedIde::BuildMainMenu() {
    delete mainMenu_.Get();
    vcl::TMainMenu* menu = BuildIdeMainMenu(application_.get(), menuCommand_);
    mainMenu_ = menu;
    pristineMenu_ = std::make_unique<PristineMainMenu>(*menu);
    services_->SetMainMenu(menu);
    // The IDE's own items have their shortcuts by now: what changes later is a package's doing.
    menu->OnChange = [this](vcl::TMenu*, vcl::TMenuItem* item) { WarnOfTakenShortCut(*item); };
}

void SimulatedIde::StartSession() {
    designers_ = std::make_unique<FormDesigners>(recorder_);
    desktop_ = std::make_unique<ToolWindowDesktop>(recorder_);
    splashScreen_ = rtl::ComPtr<SplashScreen>(new SplashScreen(recorder_));
    ide::SetSplashScreenServices(splashScreen_.Get());
    aboutBox_ = rtl::ComPtr<AboutBox>(new AboutBox(recorder_));
    services_->OfferService(ide::IID_IOTAAboutBoxServices, aboutBox_->Unknown());
    editors_ = rtl::ComPtr<EditorArea>(new EditorArea(recorder_));
    services_->OfferService(ide::IID_IOTAModuleServices, editors_->Unknown());
    services_->OfferService(ide::IID_IOTAModuleServices70, editors_->Unknown());
    services_->OfferService(ide::IID_IOTAEditorServices, editors_->Unknown());
    services_->OfferService(ide::IID_IOTAEditorServices80, editors_->Unknown());
    objectInspector_ = BuildObjectInspector(application_.get());
}

void SimulatedIde::PostMessage(const MSG& msg) { queue_.push_back(msg); }

void SimulatedIde::LoadToolbars() { services_->ToolBars().ReportLoaded(*services_.Get()); }

bool SimulatedIde::PressKey(vcl::TShortCut shortCut) {
    const String keyText = vcl::ShortCutToText(shortCut);
    bool handled = false;
    {
        const HeldModifiers modifiers(shortCut);
        MSG keyDown{};
        keyDown.hwnd = mainWindow_;
        keyDown.message = WM_KEYDOWN;
        keyDown.wParam = shortCut & 0xFF;
        keyDown.lParam = 1;
        PostMessage(keyDown);
        const size_t before = dispatched_.size();
        ProcessMessages();
        // Messages queued earlier go through first; only the key's own fate counts.
        handled = std::none_of(dispatched_.begin() + static_cast<std::ptrdiff_t>(before), dispatched_.end(),
                               [&](const MSG& msg) { return msg.message == WM_KEYDOWN && msg.wParam == keyDown.wParam; });
    }
    if (handled) {
        recorder_.Note(u"key " + keyText + u": handled before dispatch");
        return true;
    }
    vcl::TMainMenu* menu = services_->GetMainMenu();
    vcl::TMenuItem* item = menu ? FindShortCutItem(menu->Items(), shortCut) : nullptr;
    recorder_.Note(u"key " + keyText + (item ? u": runs " + item->Name() : String(u": no command")));
    if (item) item->Click();
    return false;
}

void SimulatedIde::WarnOfTakenShortCut(const vcl::TMenuItem& item) {
    vcl::TCustomActionList* actions = services_->GetActionList();
    if (!item.ShortCut() || !actions) return;
    for (int i = 0; i < actions->ActionCount(); ++i) {
        const auto* action = dynamic_cast<const vcl::TCustomAction*>(actions->Actions(i));
        if (!action || action->ShortCut() != item.ShortCut() || item.Action() == action) continue;
        recorder_.Note(u"warning: menu item " + item.Name() + u" takes the shortcut " +
                       vcl::ShortCutToText(item.ShortCut()) + u", which the IDE's command " + action->Name() +
                       u" has already");
        return;
    }
}

int SimulatedIde::ProcessMessages() {
    int dispatched = 0;
    while (!queue_.empty()) {
        MSG msg = queue_.front();
        queue_.pop_front();
        bool handled = false;
        if (application_->OnMessage) {
            // A handler may replace OnMessage while it runs; call a copy.
            const vcl::TMessageEvent handler = application_->OnMessage;
            handler(msg, handled);
        }
        if (!handled) {
            dispatched_.push_back(msg);
            ++dispatched;
        }
    }
    return dispatched;
}

}  // namespace sim
