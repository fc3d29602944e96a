#include "windows/BdsDockableWindows.h"

#include "loader/KorvelLoader.h"
#include "platform/rtl/Bstr.h"
#include "services/BitmapImages.h"
#include "services/KorvelBdsServices.h"
#include "services/WordBool.h"
#include "windows/BdsIdeUtils.h"
#include "windows/BdsWindowsService.h"

namespace korvel {
namespace {

TBdsWindowsService* ServiceOrHubs(TBdsWindowsService* service) {
    if (service) return service;
    return BdsServices ? BdsServices->BdsWindowsService() : nullptr;
}

HRESULT WriteFlag(WordBool* out, bool value) {
    KORVEL_CHECK_OUT(out);
    *out = ToWordBool(value);
    return S_OK;
}

}  // namespace

// --- TBdsCustomDockableWindow ------------------------------------------------------------------

TBdsCustomDockableWindow::TBdsCustomDockableWindow(TBdsWindowsService* service)
    : FBdsWindowsService(ServiceOrHubs(service)) {
    TakeOwnReference();
    if (FBdsWindowsService) FBdsWindowsService->RegisterDockableWindow(this);
}

TBdsCustomDockableWindow::~TBdsCustomDockableWindow() {
    if (FBdsWindowsService) FBdsWindowsService->UnregisterDockableWindow(this);
}

ULONG TBdsCustomDockableWindow::Release() {
    if (!FDetached && RefCount() <= 1) return 1;
    return ComObject::Release();
}

void TBdsCustomDockableWindow::Detach() {
    if (FDetached) return;
    if (FBdsWindowsService) FBdsWindowsService->UnregisterDockableWindow(this);
    FBdsWindowsService = nullptr;
    FDetached = true;
    // Last: releasing the sink runs package code, and the own reference may be the last one.
    rtl::PackageRef<IBdsWindowEvents> events = std::move(FEvents);
    events = nullptr;
    DropOwnReference();
}

template <class Call>
void TBdsCustomDockableWindow::NotifyEvents(const char* method, Call&& call) {
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    if (FEvents) FEvents.Notify(method, std::forward<Call>(call));
}

HRESULT TBdsCustomDockableWindow::Get_Caption(BSTR* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return S_OK;
}
HRESULT TBdsCustomDockableWindow::Set_Caption(BSTR) { return S_OK; }
HRESULT TBdsCustomDockableWindow::Get_Visible(WordBool* pRetVal) { return WriteFlag(pRetVal, false); }
HRESULT TBdsCustomDockableWindow::Set_Visible(WordBool) { return S_OK; }
HRESULT TBdsCustomDockableWindow::Get_AutoHides(WordBool* pRetVal) { return WriteFlag(pRetVal, false); }
HRESULT TBdsCustomDockableWindow::Set_AutoHides(WordBool) { return S_OK; }
HRESULT TBdsCustomDockableWindow::Get_IsFloating(WordBool* pRetVal) { return WriteFlag(pRetVal, false); }
HRESULT TBdsCustomDockableWindow::Set_IsFloating(WordBool) { return S_OK; }
HRESULT TBdsCustomDockableWindow::Get_IsActive(WordBool* pRetVal) { return WriteFlag(pRetVal, false); }
HRESULT TBdsCustomDockableWindow::SetIcon(Integer) { return S_OK; }
HRESULT TBdsCustomDockableWindow::HostControl(IUnknown*) { return S_OK; }
HRESULT TBdsCustomDockableWindow::Activate() { return S_OK; }
HRESULT TBdsCustomDockableWindow::Close() { return S_OK; }

HRESULT TBdsCustomDockableWindow::RegisterEvents(IBdsWindowEvents* events) {
    // Holding the sink calls its AddRef, which may throw. The earlier sink goes after the new
    // one is in place: releasing it runs package code.
    return Guarded(this, [&] {
        rtl::PackageRef<IBdsWindowEvents> replaced(events);
        FEvents.Swap(replaced);
        return S_OK;
    });
}

// --- TBdsDockableWindow ------------------------------------------------------------------------

TBdsDockableWindow::TBdsDockableWindow(const String& WindowName, TBdsWindowsService* service)
    : TBdsCustomDockableWindow(service) {
    InitToolWindow(WindowName);
}

void TBdsDockableWindow::InitToolWindow(const String& WindowName) {
    Destroying = false;
    FToolWindow = new TToolDockWindow(nullptr);
    FToolWindow->UpdateHandleControl();
    FToolWindow->OnActivate = [this](vcl::TObject*) { OnActivate(); };
    FToolWindow->OnShow = [this](vcl::TObject*) { OnActivate(); };
    FToolWindow->OnClose = [](vcl::TObject*, ide::TCloseAction&) {};
    FToolWindow->OnDestroy = [this](vcl::TObject*) { OnDestroy(); };
    FToolWindow->OnResize = [this](vcl::TObject*) { OnResize(); };
    FToolWindow->OnMouseActivate = [this](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int, int,
                                          ide::TMouseActivate&) { OnMouseActivate(); };
    FToolWindow->OnDestroyWindowHandle = [this](vcl::TObject*) { OnDestroyWindowHandle(); };
    FToolWindow->DeskSection = WindowName;
    TToolDockWindow::RegisterForm(&FToolWindow, WindowName);
}

void TBdsDockableWindow::Detach() {
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    Destroying = true;
    if (TToolDockWindow* form = FToolWindow) {
        // The package is not told about a close it did not ask for.
        form->OnDestroy = nullptr;
        form->Close();
        DetachHostedWindow();
        TToolDockWindow::UnRegisterForm(&FToolWindow);
        FToolWindow = nullptr;
        delete form;
    }
    rtl::PackageRef<IWin32Window> hosted = std::move(FHostedControl);
    hosted = nullptr;
    TBdsCustomDockableWindow::Detach();
}

template <class Body>
HRESULT TBdsDockableWindow::WithForm(Body&& body) {
    return Guarded(this, [&]() -> HRESULT {
        TToolDockWindow* form = FToolWindow;
        if (!form) return E_FAIL;
        return rtl::ResultOf(body, *form);
    });
}

HRESULT TBdsDockableWindow::Get_Caption(BSTR* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return WithForm([&](TToolDockWindow& form) { *pRetVal = rtl::AllocBstr(form.Caption()); });
}

HRESULT TBdsDockableWindow::Set_Caption(BSTR pRetVal) {
    return WithForm([&](TToolDockWindow& form) { form.SetCaption(rtl::FromBstr(pRetVal)); });
}

HRESULT TBdsDockableWindow::Get_Visible(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return WithForm([&](TToolDockWindow& form) { *pRetVal = ToWordBool(form.Visible()); });
}

HRESULT TBdsDockableWindow::Set_Visible(WordBool pRetVal) {
    return WithForm([&](TToolDockWindow& form) {
        form.SetVisible(pRetVal != 0);
        if (pRetVal)
            form.ForceActivate();
        else
            form.Close();
    });
}

HRESULT TBdsDockableWindow::Get_AutoHides(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return WithForm([&](TToolDockWindow&) { *pRetVal = ToWordBool(true); });
}

HRESULT TBdsDockableWindow::Get_IsFloating(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return WithForm([&](TToolDockWindow& form) { *pRetVal = ToWordBool(form.Dockable()); });
}

HRESULT TBdsDockableWindow::Set_IsFloating(WordBool pRetVal) {
    return WithForm([&](TToolDockWindow& form) { form.SetDockable(pRetVal != 0); });
}

HRESULT TBdsDockableWindow::Get_IsActive(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return WithForm([&](TToolDockWindow& form) { *pRetVal = ToWordBool(form.Active()); });
}

HRESULT TBdsDockableWindow::SetIcon(Integer imageHandle) {
    // Without a form the handle stays the package's.
    return WithForm([&](TToolDockWindow& form) {
        return UseBitmapHandle(imageHandle, u"TBdsDockableWindow.SetIcon",
                               [&](const vcl::TBitmap& bitmap) { form.SetIcon(BitmapToIcon(bitmap)); });
    });
}

HRESULT TBdsDockableWindow::HostControl(IUnknown* control) {
    const HRESULT result = Guarded(this, [&] {
        rtl::PackageRef<IWin32Window> hosted;
        if (control) hosted = rtl::PackageRef<IUnknown>(control).As<IWin32Window>();
        FHostedControl.Swap(hosted);
        InternalHostControl();
        return S_OK;
    });
    return FAILED(result) ? E_FAIL : result;
}

void TBdsDockableWindow::InternalHostControl() {
    const HWND handle = HostedHandle();
    if (!handle) return;
    TToolDockWindow* form = FToolWindow;
    if (!form) throw rtl::EInvalidOperation(u"The tool window is gone");
    SetParent(handle, form->Handle());
    SetWindowPos(handle, nullptr, 0, 0, form->ClientWidth(), form->ClientHeight(), SWP_SHOWWINDOW | SWP_NOMOVE);
}

HRESULT TBdsDockableWindow::Activate() {
    return WithForm([&](TToolDockWindow& form) { form.ForceActivate(); });
}

HRESULT TBdsDockableWindow::Close() {
    return WithForm([&](TToolDockWindow& form) { form.Close(); });
}

// The form's events come from the IDE's event dispatch: nothing escapes into it.
void TBdsDockableWindow::OnActivate() {
    rtl::Swallow([&] {
        if (FHostedControl) SendMessageW(HostedHandle(), WM_SETFOCUS, 0, 0);
        NotifyEvents("OnActivate", [](IBdsWindowEvents& events) { return events.OnActivate(); });
    });
}

void TBdsDockableWindow::OnMouseActivate() {
    NotifyEvents("OnActivate", [](IBdsWindowEvents& events) { return events.OnActivate(); });
}

void TBdsDockableWindow::OnResize() {
    rtl::Swallow([&] {
        const HWND handle = HostedHandle();
        TToolDockWindow* form = FToolWindow;
        if (!handle || !form) return;
        if (form->IsHandleChanged()) {
            SetParent(handle, form->Handle());
            ShowWindow(handle, SW_SHOW);
            form->UpdateHandleControl();
        }
        SetWindowPos(handle, nullptr, 0, 0, form->ClientWidth(), form->ClientHeight(), SWP_NOZORDER | SWP_NOMOVE);
        SetWindowPos(handle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    });
}

void TBdsDockableWindow::OnDestroyWindowHandle() {
    if (!Destroying) DetachHostedWindow();
}

void TBdsDockableWindow::DetachHostedWindow() {
    rtl::Swallow([&] {
        if (const HWND handle = HostedHandle()) {
            ShowWindow(handle, SW_HIDE);
            SetParent(handle, nullptr);
        }
    });
}

void TBdsDockableWindow::OnDestroy() {
    // The form's window takes its child windows along: the package's own window stays the
    // package's. The form's icon goes with the form.
    DetachHostedWindow();
    TToolDockWindow::UnRegisterForm(&FToolWindow);
    FToolWindow = nullptr;
    NotifyEvents("OnClose", [](IBdsWindowEvents& events) { return events.OnClose(); });
}

// --- TBdsObjectInspectorWindow -----------------------------------------------------------------

HRESULT TBdsObjectInspectorWindow::Get_Visible(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = ToWordBool(false);
    rtl::Swallow([&] {
        if (vcl::TWinControl* inspector = GetObjectInspectorWindow()) *pRetVal = ToWordBool(inspector->Visible());
    });
    return S_OK;
}

HRESULT TBdsObjectInspectorWindow::Set_Visible(WordBool pRetVal) {
    rtl::Swallow([&] {
        if (vcl::TWinControl* inspector = GetObjectInspectorWindow()) inspector->SetVisible(pRetVal != 0);
    });
    return S_OK;
}

HRESULT TBdsObjectInspectorWindow::Close() {
    rtl::Swallow([&] {
        if (vcl::TWinControl* inspector = GetObjectInspectorWindow()) inspector->Hide();
    });
    return S_OK;
}

HRESULT TBdsObjectInspectorWindow::Activate() {
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    rtl::Swallow([&] {
        ShowObjectInspector();
        if (vcl::TWinControl* inspector = GetObjectInspectorWindow()) {
            inspector->Show();
            inspector->SetFocus();
        }
    });
    return S_OK;
}

void TBdsObjectInspectorWindow::ShowObjectInspector() {
    if (!BdsServices) return;
    rtl::ComPtr<IBdsMenuBarService> menus;
    if (FAILED(BdsServices->Get_BdsMenuBarService(menus.Put())) || !menus) return;
    rtl::ComPtr<IBdsMenuItem> item;
    rtl::WideString name(u"ViewsMenu\\ViewObjInspItem");
    if (SUCCEEDED(menus->GetMenuItem(name.Get(), item.Put())) && item) item->InvokeAction();
}

}  // namespace korvel
