// The simulated IDE's services object: what BorlandIDEServices answers.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/ComObject.h"
#include "sim/ToolBarLayout.h"

namespace sim {

class IdeServices : public rtl::ComObject<ide::IBorlandIDEServices, ide::INTAServices> {
public:
    IdeServices();
    ~IdeServices() override;

    // IBorlandIDEServices
    bool STDMETHODCALLTYPE SupportsService(const GUID& service) override;
    bool STDMETHODCALLTYPE GetService(const GUID& service, IUnknown** result) override;

    // INTAServices
    vcl::TMainMenu* STDMETHODCALLTYPE GetMainMenu() override { return mainMenu_; }
    vcl::TCustomActionList* STDMETHODCALLTYPE GetActionList() override { return actionList_; }
    vcl::TToolBar* STDMETHODCALLTYPE GetToolBar(const rtl::String& name) override;
    vcl::TToolBar* STDMETHODCALLTYPE NewToolbar(const rtl::String& name, const rtl::String& caption,
                                                const rtl::String& referenceToolBar, bool insertBefore) override;
    int STDMETHODCALLTYPE RegisterToolbarNotifier(ide::IOTANotifier* notifier) override;
    void STDMETHODCALLTYPE UnregisterToolbarNotifier(int index) override;

    // The simulated IDE's parts install themselves here.
    void SetMainMenu(vcl::TMainMenu* menu) { mainMenu_ = menu; }
    void SetActionList(vcl::TCustomActionList* list) { actionList_ = list; }
    // The IDE's toolbars, which GetToolBar and NewToolbar work on.
    ToolBarLayout& ToolBars() { return *toolBars_; }
    // The toolbars as the IDE starts with them, and no toolbar notifier.
    void ResetToolBars();
    // Further services (splash screen, About box, designer) offered under their GUIDs;
    // a nil service withdraws one.
    void OfferService(const GUID& service, IUnknown* object);

    // Nil entries are notifiers that were unregistered.
    const std::vector<rtl::ComPtr<ide::IOTANotifier>>& ToolbarNotifiers() const { return toolbarNotifiers_; }

private:
    vcl::TMainMenu* mainMenu_ = nullptr;
    vcl::TCustomActionList* actionList_ = nullptr;
    std::unique_ptr<ToolBarLayout> toolBars_;
    std::vector<std::pair<GUID, rtl::ComPtr<IUnknown>>> offered_;
    std::vector<rtl::ComPtr<ide::IOTANotifier>> toolbarNotifiers_;
};

}  // namespace sim
