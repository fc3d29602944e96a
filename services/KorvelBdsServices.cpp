#include "services/KorvelBdsServices.h"

#include "designer/BdsDesignerNotifier.h"
#include "help/BdsHelpService.h"
#include "loader/KorvelLoader.h"
#include "menus/BdsMenuBarService.h"
#include "platform/ide/SplashAbout.h"
#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComGuard.h"
#include "platform/rtl/Guid.h"
#include "platform/rtl/LoaderTrace.h"
#include "services/IdeProductKey.h"
#include "services/WordBool.h"
#include "toolbars/BdsToolBarService.h"
#include "toolsapi/WrappedToolsAPI.h"
#include "windows/BdsWindowsService.h"

namespace korvel {

TBdsServices::TBdsServices() {
    // The sub-services are created here, in order: windows, toolbars, help, menu bar, then
    // the designer notifier; a service that does not exist stays nil.
    FBdsWindowsService = new TBdsWindowsService;
    FBdsToolBarService = new TBdsToolBarService;
    FBdsHelpService = new TBdsHelpService;
    FBdsMenuBarService = new TBdsMenuBarService;
    FBdsUnmanagedDesignerHelper = new TDragDropDesignerNotifier;
    if (vcl::TApplication* application = vcl::Application()) OldMessageProcessing = application->OnMessage;
    UpdateMessageProcessing();
    rtl::RetainForModuleLifetime(this, [](void* hub) { static_cast<TBdsServices*>(hub)->LetGo(); });
}

// Only the module's unloading destroys the hub. A hook that shut-down took off, or that a later
// hub replaced, stays as it is: the handler saved back then may be gone by now. The services
// go with the hub, each once no one else holds it; the IDE holds the designer notifier.
TBdsServices::~TBdsServices() {
    TDragDropDesignerNotifier* designerHelper = std::exchange(FBdsUnmanagedDesignerHelper, nullptr);
    if (HooksMessages())
        RestoreMessageProcessing();
    else
        OldMessageProcessing = nullptr;
    ReleaseCallbacks();
    FreeServices();
    FBdsWindowsService->LetGo();
    FBdsToolBarService->LetGo();
    FBdsHelpService->LetGo();
    FBdsMenuBarService->LetGo();
    designerHelper->LetGo();
}

// Runs once every package has terminated and before any is released: a callback may be part
// of its package object, without a count of its own, and must not be released after it.
void TBdsServices::ReleaseCallbacks() {
    FCallbacksReleased = true;
    // Out of the lists first: a callback's last release may call back in.
    const auto handlers = std::move(FMessageHandlers);
    FMessageHandlers.clear();
    const auto providers = std::move(FDragDropHelpers);
    FDragDropHelpers.clear();
    // The wizard is going: it keeps no reference into the IDE's module services.
    FBdsModuleServices = nullptr;
}

// Runs after the packages were released: what they handed back to the services goes now.
void TBdsServices::FreeServices() {
    if (FBdsMenuBarService) FBdsMenuBarService->ReleasePackageHolds();
    if (FBdsWindowsService) FBdsWindowsService->ReleasePackageHolds();
    if (FBdsToolBarService) FBdsToolBarService->ReleasePackageHolds();
    FBdsShortCuts.Release();
}

template <class Interface>
HRESULT TBdsServices::HandOut(Interface* service, Interface** out) {
    KORVEL_CHECK_OUT(out);
    *out = nullptr;
    if (!service) return E_NOINTERFACE;
    service->AddRef();
    *out = service;
    return S_OK;
}

HRESULT TBdsServices::Get_BdsWindowsService(IBdsWindowsService** pRetVal) {
    return HandOut<IBdsWindowsService>(FBdsWindowsService, pRetVal);
}

HRESULT TBdsServices::Get_BdsToolBarService(IBdsToolBarService** pRetVal) {
    return HandOut<IBdsToolBarService>(FBdsToolBarService, pRetVal);
}

HRESULT TBdsServices::Get_BdsHelpService(IBdsHelpService** pRetVal) {
    return HandOut<IBdsHelpService>(FBdsHelpService, pRetVal);
}

HRESULT TBdsServices::Get_BdsMenuBarService(IBdsMenuBarService** pRetVal) {
    return HandOut<IBdsMenuBarService>(FBdsMenuBarService, pRetVal);
}

HRESULT TBdsServices::Get_IsComponentRegistered(BSTR ComponentName, WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return rtl::ComGuard([&] {
        rtl::Swallow([&] {
            vcl::FindClass(rtl::FromBstr(ComponentName));
            *pRetVal = ToWordBool(true);
        });
        return S_OK;
    });
}

HRESULT TBdsServices::GetService(const GUID* Service, IUnknown** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    if (!Service) return E_POINTER;
    // After shut-down a wrapper would hold the IDE's services past the wizard's end.
    if (FCallbacksReleased) return S_OK;
    // The IDE's own service objects are never handed to packages, only the Tools API
    // wrappers around two of them.
    return rtl::ComGuard([&] {
        rtl::ComPtr<IUnknown> srv;
        if (ide::IBorlandIDEServices* services = ide::BorlandIDEServices()) services->GetService(*Service, srv.Put());
        if (!srv) return S_OK;
        const String service = rtl::GUIDToString(*Service);
        rtl::ComPtr<IUnknown> wrapper;
        if (service == IID_IOTAModuleServices70) {
            if (!FBdsModuleServices)
                FBdsModuleServices = rtl::ComPtr<IBDSModuleServices70>(
                    new TBDSModuleServicesWrapper(srv.As<ide::IOTAModuleServices70>()));
            wrapper = rtl::ComPtr<IUnknown>(FBdsModuleServices.Get());
        } else if (service == IID_IOTAEditorServices) {
            wrapper = rtl::ComPtr<IUnknown>(new TBDSEditorServicesWrapper(srv.As<ide::IOTAEditorServices>()));
        }
        *pRetVal = wrapper.Detach();
        return S_OK;
    });
}

namespace {

// Packages register handlers and providers for good. The hub keeps each with a reference
// until ReleaseCallbacks, so that one a package lets go of early is never called freed; it
// keeps the pointer the package passed, once the object has confirmed the interface. Once
// the callbacks were released at shut-down nothing would call a new one, so none is kept.
template <class Interface>
HRESULT AddCallback(std::vector<rtl::PackageRef<Interface>>& callbacks, Interface* callback, bool released) {
    if (!callback) return E_POINTER;
    return rtl::ComGuard([&] {
        rtl::PackageRef<Interface> checked = rtl::CheckedPackageInterface(callback);
        if (released) return E_UNEXPECTED;
        callbacks.push_back(std::move(checked));
        return S_OK;
    });
}

}  // namespace

HRESULT TBdsServices::AddDragDropHelper(IDragDropHelperProvider* ADragDropHelper) {
    return AddCallback(FDragDropHelpers, ADragDropHelper, FCallbacksReleased);
}

HRESULT TBdsServices::get_PackagesCount(Integer* count) {
    KORVEL_CHECK_OUT(count);
    *count = static_cast<Integer>(PackagesInfo.size());
    return S_OK;
}

HRESULT TBdsServices::GetPackageInfo(Integer index, PackageInfo* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    // The record's old Instance is the caller's to release; it is overwritten, not released.
    pRetVal->Instance = nullptr;
    if (index < 0 || index >= static_cast<Integer>(PackagesInfo.size())) return E_INVALIDARG;
    const PackageInfoEntry& entry = PackagesInfo[static_cast<size_t>(index)];
    pRetVal->Id = entry.Id;
    pRetVal->Name = rtl::W(entry.Name);
    // Last: the instance's AddRef is the package's code, which may fail or end the loader.
    return rtl::ComGuard([&] {
        entry.Instance.CopyTo(&pRetVal->Instance);
        return S_OK;
    });
}

HRESULT TBdsServices::get_BdsVersionMajor(Integer* version) {
    KORVEL_CHECK_OUT(version);
    *version = FBdsVersionMajor;
    return S_OK;
}

HRESULT TBdsServices::get_BdsVersionMinor(Integer* version) {
    KORVEL_CHECK_OUT(version);
    *version = FBdsVersionMinor;
    return S_OK;
}

String TBdsServices::RegKeyName() const { return u"SOFTWARE\\CodeGear\\BDS\\" + FBdsVersionStr; }

HRESULT TBdsServices::get_BdsEdition(BSTR* edition) {
    KORVEL_CHECK_OUT(edition);
    *edition = nullptr;
    return rtl::ComGuard([&] {
        // An empty "Edition" leaves the cache empty, so it is read again next time.
        if (FBdsEdition.empty()) FBdsEdition = ReadIdeEdition(RegKeyName());
        *edition = rtl::AllocBstr(FBdsEdition);
        return S_OK;
    });
}

HRESULT TBdsServices::get_IsPersonalityEdition(WordBool* personality) {
    KORVEL_CHECK_OUT(personality);
    return rtl::ComGuard([&] {
        if (FIsBdsPersonality < 0) FIsBdsPersonality = ReadIsPersonalityEdition(RegKeyName()) ? 1 : 0;
        *personality = ToWordBool(FIsBdsPersonality == 1);
        return S_OK;
    });
}

namespace {

// The hub's handler on the application's OnMessage: a type of its own, so that a hub can tell
// its own handler from any other.
struct MessageHook {
    TBdsServices* hub;
    void operator()(MSG& Msg, bool& Handled) const { hub->MessageProcessing(Msg, Handled); }
};

}  // namespace

void TBdsServices::UpdateMessageProcessing() {
    if (vcl::TApplication* application = vcl::Application()) application->OnMessage = MessageHook{this};
}

void TBdsServices::RestoreMessageProcessing() {
    if (vcl::TApplication* application = vcl::Application()) application->OnMessage = OldMessageProcessing;
    OldMessageProcessing = nullptr;
}

bool TBdsServices::HooksMessages() const {
    const vcl::TApplication* application = vcl::Application();
    const MessageHook* hook = application ? application->OnMessage.target<MessageHook>() : nullptr;
    return hook && hook->hub == this;
}

void TBdsServices::MessageProcessing(MSG& Msg, bool& Handled) {
    // Every message the IDE dispatches passes here: with no handler it costs one check.
    if (!FMessageHandlers.empty()) return OfferToMessageHandlers(Msg, Handled);
    if (OldMessageProcessing) OldMessageProcessing(Msg, Handled);
}

void TBdsServices::OfferToMessageHandlers(MSG& Msg, bool& Handled) {
    WordBool CallDefaultHandler = ToWordBool(true);
    // A handler registered while a message is offered sees the messages after it.
    const size_t registered = FMessageHandlers.size();
    for (size_t index = 0; index < registered && index < FMessageHandlers.size(); ++index) {
        // A handler that raises, faults or never writes its answer has not handled the message,
        // and what it wrote before raising or faulting is not its answer.
        WordBool FunctionResult = 0;
        WordBool callDefault = CallDefaultHandler;
        bool answered = false;
        FMessageHandlers[index].Notify("HandleMessage", [&](IMessageHandler& handler) {
            const HRESULT result = handler.HandleMessage(&Msg, &callDefault, &FunctionResult);
            answered = true;
            return result;
        });
        if (answered)
            CallDefaultHandler = callDefault;
        else
            FunctionResult = 0;
        Handled = FunctionResult != 0;
        if (Handled) break;
    }
    if (CallDefaultHandler && OldMessageProcessing) OldMessageProcessing(Msg, Handled);
}

HRESULT TBdsServices::AddMessageHandler(IMessageHandler* AHandler) {
    return AddCallback(FMessageHandlers, AHandler, FCallbacksReleased);
}

HRESULT TBdsServices::IsShortcut(Integer keyData, WordBool* pResult) {
    KORVEL_CHECK_OUT(pResult);
    *pResult = 0;
    return rtl::ComGuard([&] {
        // 0 is "no shortcut": it names no key, even of an action whose shortcut was removed.
        const vcl::TShortCut shortcutData = ShortCutOfKeyData(keyData);
        *pResult = ToWordBool(shortcutData != 0 && FBdsShortCuts.HasEnabledAction(shortcutData));
        return S_OK;
    });
}

HRESULT TBdsServices::AddSplashInfo(HBITMAP ABitmap, BSTR ACaption, BSTR ALicenseStatus, WordBool AIsUnRegistered,
                                    BSTR ASKUName) {
    return rtl::ComGuard([&] {
        ide::IOTASplashScreenServices* splashScreen = ide::SplashScreenServices();
        // Once the IDE's splash screen is gone there is nowhere to show the entry.
        if (!splashScreen) return E_UNEXPECTED;
        splashScreen->AddPluginBitmap(rtl::FromBstr(ACaption), ABitmap, AIsUnRegistered != 0,
                                      rtl::FromBstr(ALicenseStatus), rtl::FromBstr(ASKUName));
        return S_OK;
    });
}

HRESULT TBdsServices::AddAboutBoxInfo(HBITMAP AAboutImage, HBITMAP AProductImage, BSTR ADialogTitle,
                                      BSTR ACopyright, BSTR ATitle, BSTR ADescription, BSTR ALicenseStatus,
                                      WordBool AIsUnRegistered, BSTR ASKUName) {
    return rtl::ComGuard([&] {
        const auto aboutBox = ide::GetIDEService<ide::IOTAAboutBoxServices>(ide::IID_IOTAAboutBoxServices);
        if (!aboutBox) rtl::RaiseIntfCastError();
        aboutBox->AddProductInfo(rtl::FromBstr(ADialogTitle), rtl::FromBstr(ACopyright), rtl::FromBstr(ATitle),
                                 rtl::FromBstr(ADescription), AAboutImage, AProductImage, AIsUnRegistered != 0,
                                 rtl::FromBstr(ALicenseStatus), rtl::FromBstr(ASKUName), String(), String());
        return S_OK;
    });
}

HRESULT TBdsServices::OnDotNetServicesInitialized() {
    return rtl::ComGuard([&] {
        if (!FBdsNetServicesInitialized) {
            FBdsNetServicesInitialized = true;
            NotifyPackagesNetSerices();
        }
        return S_OK;
    });
}

void TBdsServices::OnToolBarServiceInitialized() {
    if (FToolBarServiceInitialized) return;
    FToolBarServiceInitialized = true;
    NotifyPackagesNetSerices();
}

void TBdsServices::ReleaseHandshake() {
    FHandshakeHeld = false;
    NotifyPackagesNetSerices();
}

// Each notice sets its flag before it gets here, so the body runs once: on the later notice,
// or when siting ends if both came while it was held; also when a package's Initialize sends
// a notice again.
void TBdsServices::NotifyPackagesNetSerices() {
    if (FHandshakeHeld || !FToolBarServiceInitialized || !FBdsNetServicesInitialized) return;
    InitializePackages();
    CollectShortCuts();
}

void TBdsServices::InitializePackages() {
    // A package may shut the loader down from Initialize.
    for (const auto& package : rtl::HeldCopy(Packages))
        rtl::CallTraced(rtl::PackageStep::Initialized, package, "Initialize", [](IBdsPackage& p) { return p.Initialize(); });
}

void TBdsServices::CollectShortCuts() {
    rtl::Swallow([&] {
        const auto services = ide::GetIDEService<ide::INTAServices40>(ide::IID_INTAServices40);
        if (!services) return;
        if (vcl::TCustomActionList* actionList = services->GetActionList()) FBdsShortCuts.CollectFrom(*actionList);
    });
}

}  // namespace korvel
