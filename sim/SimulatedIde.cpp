#include "sim/SimulatedIde.h"

#include "sim/ActionListLayout.h"
#include "sim/MainMenuLayout.h"

namespace sim {
namespace {

String StyleText(UINT style) { return u"style " + rtl::IntToStr(style); }

}  // namespace

SimulatedIde::SimulatedIde()
    : application_(std::make_unique<vcl::TApplication>(nullptr)),
      services_(new IdeServices),
      previousApplication_(vcl::Application()),
      previousServices_(ide::BorlandIDEServices()) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    mainWindow_ = GetForegroundWindow();
    application_->SetHelpSystem([this](const String& keyword) {
        recorder_.helpKeywords.push_back(keyword);
        recorder_.Note(u"help keyword: " + keyword);
        return true;
    });
    vcl::SetApplication(application_.get());
    ide::SetBorlandIDEServices(services_.Get());
    services_->SetActionList(BuildIdeActionList(application_.get()));
    splashScreen_ = rtl::ComPtr<SplashScreen>(new SplashScreen(recorder_));
    aboutBox_ = rtl::ComPtr<AboutBox>(new AboutBox(recorder_));
    previousSplashScreen_ = ide::SplashScreenServices();
    ide::SetSplashScreenServices(splashScreen_.Get());
    services_->OfferService(ide::IID_IOTAAboutBoxServices, aboutBox_->Unknown());
    services_->SetMainMenu(BuildIdeMainMenu(application_.get(), [this](const String& itemName) {
        recorder_.Note(u"menu command: " + itemName);
    }));

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
        recorder_.Note(u"launch: " + launch.file + u" " + launch.parameters);
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
    services_ = nullptr;
    application_.reset();
    CoUninitialize();
}

void SimulatedIde::PostMessage(const MSG& msg) { queue_.push_back(msg); }

void SimulatedIde::LoadToolbars() { services_->ToolBars().ReportLoaded(*services_.Get()); }

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
