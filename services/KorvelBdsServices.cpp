#include "services/KorvelBdsServices.h"

#include "loader/KorvelLoader.h"
#include "menus/BdsMenuBarService.h"
#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComGuard.h"

namespace korvel {

TBdsServices::TBdsServices() {
    // The sub-services are created here, in order: windows, toolbars, help, menu bar, then
    // the designer notifier; a service that does not exist stays nil.
    FBdsMenuBarService = new TBdsMenuBarService;
}

TBdsServices::~TBdsServices() { FBdsUnmanagedDesignerHelper = nullptr; }

void TBdsServices::FreeServices() {}

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
    return HandOut<IBdsWindowsService>(nullptr, pRetVal);
}

HRESULT TBdsServices::Get_BdsToolBarService(IBdsToolBarService** pRetVal) {
    return HandOut<IBdsToolBarService>(nullptr, pRetVal);
}

HRESULT TBdsServices::Get_BdsHelpService(IBdsHelpService** pRetVal) { return HandOut<IBdsHelpService>(nullptr, pRetVal); }

HRESULT TBdsServices::Get_BdsMenuBarService(IBdsMenuBarService** pRetVal) {
    return HandOut<IBdsMenuBarService>(FBdsMenuBarService, pRetVal);
}

HRESULT TBdsServices::Get_IsComponentRegistered(BSTR ComponentName, WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return rtl::ComGuard([&] {
        rtl::Swallow([&] {
            vcl::FindClass(rtl::FromBstr(ComponentName));
            *pRetVal = -1;
        });
        return S_OK;
    });
}

HRESULT TBdsServices::GetService(const GUID* Service, IUnknown** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    if (!Service) return E_POINTER;
    // The IDE's own service objects are never handed to packages; only the Tools API
    // wrappers are, once they exist.
    return S_OK;
}

HRESULT TBdsServices::AddDragDropHelper(IDragDropHelperProvider* ADragDropHelper) {
    return rtl::ComGuard([&] {
        FDragDropHelpers.push_back(ADragDropHelper);
        return S_OK;
    });
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
    entry.Instance.CopyTo(&pRetVal->Instance);
    return S_OK;
}

HRESULT TBdsServices::get_BdsVersionMajor(Integer*) { return E_NOTIMPL; }
HRESULT TBdsServices::get_BdsVersionMinor(Integer*) { return E_NOTIMPL; }
HRESULT TBdsServices::get_BdsEdition(BSTR*) { return E_NOTIMPL; }
HRESULT TBdsServices::get_IsPersonalityEdition(WordBool*) { return E_NOTIMPL; }
HRESULT TBdsServices::IsShortcut(Integer, WordBool*) { return E_NOTIMPL; }
HRESULT TBdsServices::AddSplashInfo(HBITMAP, BSTR, BSTR, WordBool, BSTR) { return E_NOTIMPL; }
HRESULT TBdsServices::AddAboutBoxInfo(HBITMAP, HBITMAP, BSTR, BSTR, BSTR, BSTR, BSTR, WordBool, BSTR) {
    return E_NOTIMPL;
}
HRESULT TBdsServices::AddMessageHandler(IMessageHandler*) { return E_NOTIMPL; }
HRESULT TBdsServices::OnDotNetServicesInitialized() { return E_NOTIMPL; }

}  // namespace korvel
