// One running IDE, built from the platform's pieces: the application object and its message
// loop, the services object and what hangs off it. Creating it makes it the process's IDE;
// destroying it puts back what was there before. One at a time. A program that runs many
// short sessions (the fuzzer) resets one IDE between them instead of building a new one.
#pragma once

#include <deque>
#include <memory>

#include "platform/rtl/ComPtr.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"
#include "sim/EditorArea.h"
#include "sim/FormDesigner.h"
#include "sim/IdeServices.h"
#include "sim/MainMenuLayout.h"
#include "sim/PristineState.h"
#include "sim/Recorder.h"
#include "sim/SplashAbout.h"
#include "sim/ToolWindowDesktop.h"

namespace sim {

class SimulatedIde {
public:
    SimulatedIde();
    ~SimulatedIde();
    SimulatedIde(const SimulatedIde&) = delete;
    SimulatedIde& operator=(const SimulatedIde&) = delete;

    // Back to the IDE as it started, to whoever looks at it: what the last session opened,
    // registered and added is gone and the IDE's own menus, actions and toolbars are as they
    // were. The menu and the action list are put back rather than built again.
    void Reset();

    Recorder& Record() { return recorder_; }
    vcl::TApplication& Application() { return *application_; }
    IdeServices& Services() { return *services_.Get(); }
    HWND MainWindow() const { return mainWindow_; }
    FormDesigners& Designers() { return *designers_; }
    ToolWindowDesktop& Desktop() { return *desktop_; }
    EditorArea& Editors() { return *editors_.Get(); }
    // The Object Inspector's window, which the application owns with the inspector inside.
    vcl::TCustomForm* ObjectInspectorForm() const { return objectInspector_.Get(); }

    // The message loop: each queued message is offered to Application.OnMessage and
    // dispatched only when not handled.
    void PostMessage(const MSG& msg);
    // Returns how many messages were dispatched.
    int ProcessMessages();
    const std::vector<MSG>& DispatchedMessages() const { return dispatched_; }

    SplashScreen& Splash() { return *splashScreen_.Get(); }
    AboutBox& About() { return *aboutBox_.Get(); }
    // A key combination pressed in the IDE's main window: the modifiers are held down in the
    // thread's keyboard state while the key's WM_KEYDOWN goes through the message loop; if no
    // one handled it, the main menu runs the enabled item with that shortcut, as the main
    // form does. True when the message was handled before dispatch.
    bool PressKey(vcl::TShortCut shortCut);

    // The IDE loads its toolbars after its experts and tells every registered toolbar
    // notifier about each one.
    void LoadToolbars();

private:
    // Each anew, in place of one that cannot be put back.
    void BuildActionList();
    void BuildMainMenu();
    // What each session starts with afresh: cheap to make.
    void StartSession();
    // A package's shortcut that an IDE command has already gets a warning.
    void WarnOfTakenShortCut(const vcl::TMenuItem& item);

    Recorder recorder_;
    std::unique_ptr<vcl::TApplication> application_;
    rtl::ComPtr<IdeServices> services_;
    HWND mainWindow_ = nullptr;
    std::deque<MSG> queue_;
    std::vector<MSG> dispatched_;

    win32::MessageBoxHook previousMessageBoxHook_;
    win32::ShellExecuteHook previousShellHook_;
    win32::DebugOutputHook previousDebugHook_;
    vcl::DialogHook previousDialogHook_;
    vcl::TApplication* previousApplication_;
    ide::IBorlandIDEServices* previousServices_;
    // What the main menu's own commands do; the menu's items point here.
    MenuCommandHandler menuCommand_;
    rtl::ComPtr<SplashScreen> splashScreen_;
    rtl::ComPtr<AboutBox> aboutBox_;
    ide::IOTASplashScreenServices* previousSplashScreen_ = nullptr;
    std::unique_ptr<FormDesigners> designers_;
    std::unique_ptr<ToolWindowDesktop> desktop_;
    rtl::ComPtr<EditorArea> editors_;
    vcl::ComponentPtr<vcl::TCustomForm> objectInspector_;
    vcl::ComponentPtr<vcl::TActionList> actionList_;
    vcl::ComponentPtr<vcl::TMainMenu> mainMenu_;
    std::unique_ptr<PristineMainMenu> pristineMenu_;
    std::unique_ptr<PristineActionList> pristineActions_;
};

}  // namespace sim
