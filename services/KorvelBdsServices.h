// The service hub: the one IBdsServices object every package receives through SetSite. It
// owns the sub-services, answers questions about the IDE and the loaded packages, routes
// messages and shortcuts, and runs the start-up handshake.
#pragma once

#include <vector>

#include "interop/InterfaceBindings.h"
#include "interop/ToolsInterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/PackageDoor.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "services/ShortCutTable.h"

namespace korvel {

using rtl::String;

class TBdsWindowsService;
class TBdsToolBarService;
class TBdsHelpService;
class TBdsMenuBarService;
class TDragDropDesignerNotifier;

class TBdsServices : public rtl::SelfReferenced<rtl::ComObject<IBdsServices>> {
public:
    TBdsServices();
    ~TBdsServices() override;

    // IBdsServices
    HRESULT STDMETHODCALLTYPE get_BdsVersionMajor(Integer* version) override;
    HRESULT STDMETHODCALLTYPE get_BdsVersionMinor(Integer* version) override;
    HRESULT STDMETHODCALLTYPE get_BdsEdition(BSTR* edition) override;
    HRESULT STDMETHODCALLTYPE get_IsPersonalityEdition(WordBool* personality) override;
    HRESULT STDMETHODCALLTYPE Get_BdsWindowsService(IBdsWindowsService** pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_BdsToolBarService(IBdsToolBarService** pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_BdsHelpService(IBdsHelpService** pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_BdsMenuBarService(IBdsMenuBarService** pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_IsComponentRegistered(BSTR ComponentName, WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE GetService(const GUID* Service, IUnknown** pRetVal) override;
    HRESULT STDMETHODCALLTYPE IsShortcut(Integer keyData, WordBool* pResult) override;
    HRESULT STDMETHODCALLTYPE AddSplashInfo(HBITMAP ABitmap, BSTR ACaption, BSTR ALicenseStatus,
                                            WordBool AIsUnRegistered, BSTR ASKUName) override;
    HRESULT STDMETHODCALLTYPE AddAboutBoxInfo(HBITMAP AAboutImage, HBITMAP AProductImage, BSTR ADialogTitle,
                                              BSTR ACopyright, BSTR ATitle, BSTR ADescription, BSTR ALicenseStatus,
                                              WordBool AIsUnRegistered, BSTR ASKUName) override;
    HRESULT STDMETHODCALLTYPE AddMessageHandler(IMessageHandler* AHandler) override;
    HRESULT STDMETHODCALLTYPE AddDragDropHelper(IDragDropHelperProvider* ADragDropHelper) override;
    HRESULT STDMETHODCALLTYPE OnDotNetServicesInitialized() override;
    HRESULT STDMETHODCALLTYPE get_PackagesCount(Integer* count) override;
    HRESULT STDMETHODCALLTYPE GetPackageInfo(Integer index, PackageInfo* pRetVal) override;

    // For the loader and the sub-services. At shut-down the loader terminates every package,
    // then releases the callbacks they registered, then the packages, then FreeServices
    // releases what the packages handed back to the services.
    void ReleaseCallbacks();
    void FreeServices();
    TBdsWindowsService* BdsWindowsService() const { return FBdsWindowsService; }
    TBdsToolBarService* BdsToolBarService() const { return FBdsToolBarService; }
    TBdsHelpService* BdsHelpService() const { return FBdsHelpService; }
    TBdsMenuBarService* BdsMenuBarService() const { return FBdsMenuBarService; }
    const std::vector<rtl::PackageRef<IDragDropHelperProvider>>& DragDropHelpers() const { return FDragDropHelpers; }

    // The message hook on the IDE application's OnMessage.
    void UpdateMessageProcessing();
    void RestoreMessageProcessing();
    void MessageProcessing(MSG& Msg, bool& Handled);
    // The IDE reports its toolbars loaded: one of the two notices that let packages initialize.
    void OnToolBarServiceInitialized();
    // While the loader sites the packages the handshake waits: no package may be initialized
    // before its SetSite, nor inside another package's. It runs, if due, when siting ends.
    void HoldHandshake() { FHandshakeHeld = true; }
    void ReleaseHandshake();
    ShortCutTable& BdsShortCuts() { return FBdsShortCuts; }

private:
    template <class Interface>
    static HRESULT HandOut(Interface* service, Interface** out);
    // The packages' handlers first, then the previous handler unless one of them declined it.
    void OfferToMessageHandlers(MSG& Msg, bool& Handled);
    void NotifyPackagesNetSerices();
    void InitializePackages();
    void CollectShortCuts();
    String RegKeyName() const;

    TBdsWindowsService* FBdsWindowsService = nullptr;
    TBdsToolBarService* FBdsToolBarService = nullptr;
    TBdsHelpService* FBdsHelpService = nullptr;
    TBdsMenuBarService* FBdsMenuBarService = nullptr;
    TDragDropDesignerNotifier* FBdsUnmanagedDesignerHelper = nullptr;
    bool FToolBarServiceInitialized = false;
    bool FBdsNetServicesInitialized = false;
    bool FHandshakeHeld = false;
    ShortCutTable FBdsShortCuts;
    // Made at the first request and handed out to every later one, until FreeServices.
    rtl::ComPtr<IBDSModuleServices70> FBdsModuleServices;
    String FBdsEdition;
    // -1 until first asked, then 0 or 1.
    int32_t FIsBdsPersonality = -1;
    const Integer FBdsVersionMajor = 9;
    const Integer FBdsVersionMinor = 0;
    const String FBdsVersionStr = rtl::IntToStr(FBdsVersionMajor) + u"." + rtl::IntToStr(FBdsVersionMinor);
    // Held until ReleaseCallbacks: a package releasing one early must not leave it called freed.
    std::vector<rtl::PackageRef<IMessageHandler>> FMessageHandlers;
    std::vector<rtl::PackageRef<IDragDropHelperProvider>> FDragDropHelpers;
    vcl::TMessageEvent OldMessageProcessing;
    bool FCallbacksReleased = false;
};

}  // namespace korvel
