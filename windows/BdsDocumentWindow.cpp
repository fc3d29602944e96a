#include "windows/BdsDocumentWindow.h"

#include "platform/rtl/ComGuard.h"
#include "services/WordBool.h"

namespace korvel {

TBdsDocumentWindow::TBdsDocumentWindow(TBdsWindowsService* service, ide::IOTAModule* module)
    : FBdsWindowsService(service) {
    if (service) service->RegisterDocumentWindow(this, module != nullptr);
    FIdentifiedObject = nullptr;
}

TBdsDocumentWindow::~TBdsDocumentWindow() { Detach(); }

void TBdsDocumentWindow::Detach() {
    if (TBdsWindowsService* service = std::exchange(FBdsWindowsService, nullptr))
        service->UnregisterDocumentWindow(this);
    FBdsEditWindow.reset();
    FIdentifiedObject = nullptr;
    // Out of the fields before the releases, a package's release may call back in; the sink
    // goes first.
    rtl::PackageRef<IBdsWindowEvents> events = std::move(FEvents);
    rtl::PackageRef<IWin32Window> hosted = std::move(FHostedControl);
    events.Reset();
    hosted.Reset();
}

TKorvelFrame* TBdsDocumentWindow::Frame() const { return FBdsEditWindow ? FBdsEditWindow->Frame.Get() : nullptr; }

HWND TBdsDocumentWindow::HostedHandle() { return HostedWindowHandle(FHostedControl); }

HRESULT TBdsDocumentWindow::Get_Visible(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = ToWordBool(false);
    return Guarded(this, [&] {
        if (!FHostedControl) return E_FAIL;
        TKorvelFrame* frame = Frame();
        *pRetVal = ToWordBool(frame && frame->Visible() && IsWindowVisible(HostedHandle()));
        return S_OK;
    });
}

HRESULT TBdsDocumentWindow::Set_Visible(WordBool pRetVal) {
    return Guarded(this, [&] {
        const bool visible = pRetVal != 0;
        if (!Frame()) return E_FAIL;
        if (visible && FBdsWindowsService)
            FBdsWindowsService->ShowFrame(FBdsEditWindow.get());
        else if (!visible)
            Frame()->Hide();
        // The handle first: asking for it runs package code, which may have the frame destroyed.
        const HWND handle = HostedHandle();
        TKorvelFrame* frame = Frame();
        if (!frame || !handle) return S_OK;
        if (visible)
            SetWindowPos(handle, HWND_TOP, 0, 0, frame->ClientWidth(), frame->ClientHeight(), SWP_SHOWWINDOW);
        else
            ShowWindow(handle, SW_HIDE);
        return S_OK;
    });
}

HRESULT TBdsDocumentWindow::Get_Modified(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = ToWordBool(FModified);
    return S_OK;
}

HRESULT TBdsDocumentWindow::Set_Modified(WordBool pRetVal) {
    return Guarded(this, [&] {
        FModified = pRetVal != 0;
        if (vcl::TComponent* tabSet = FBdsEditWindow ? FBdsEditWindow->TabSet.Get() : nullptr)
            TBdsWindowsService::UpdateTabSet(tabSet);
        return S_OK;
    });
}

HRESULT TBdsDocumentWindow::Get_StayOnTop(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = ToWordBool(false);
    return Guarded(this, [&] {
        TKorvelFrame* frame = Frame();
        if (!frame) return E_FAIL;
        *pRetVal = ToWordBool((GetWindowLongW(frame->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
        return S_OK;
    });
}

HRESULT TBdsDocumentWindow::Set_StayOnTop(WordBool pRetVal) {
    return Guarded(this, [&] {
        TKorvelFrame* frame = Frame();
        if (!frame) return E_FAIL;
        SetWindowPos(frame->Handle(), pRetVal ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        return S_OK;
    });
}

HRESULT TBdsDocumentWindow::RegisterEvents(IBdsWindowEvents* events) {
    // Holding the sink calls its AddRef, which may throw.
    return Guarded(this, [&] {
        rtl::PackageRef<IBdsWindowEvents> previous(events);
        FEvents.Swap(previous);
        return S_OK;
    });
}

HRESULT TBdsDocumentWindow::HostControl(IUnknown* control) {
    const HRESULT result = Guarded(this, [&] {
        rtl::PackageRef<IWin32Window> hosted;
        if (control) hosted = rtl::PackageRef<IUnknown>(control).As<IWin32Window>();
        FHostedControl.Swap(hosted);
        if (!Frame()) return E_FAIL;
        InternalHostControl();
        if (FBdsWindowsService) FBdsWindowsService->ShowFrame(FBdsEditWindow.get());
        return S_OK;
    });
    return FAILED(result) ? E_FAIL : result;
}

void TBdsDocumentWindow::InternalHostControl() {
    const HWND handle = HostedHandle();
    TKorvelFrame* frame = Frame();
    if (!handle || !frame) return;
    SetParent(handle, frame->Handle());
    SetWindowPos(handle, nullptr, 0, 0, frame->ClientWidth(), frame->ClientHeight(), SWP_SHOWWINDOW);
}

HRESULT TBdsDocumentWindow::ReHostControl() { return DoResize(); }

HRESULT TBdsDocumentWindow::DoResize() {
    return Guarded(this, [&] {
        if (!Frame()) return E_FAIL;
        OnResize(true);
        return S_OK;
    });
}

HRESULT TBdsDocumentWindow::Activate() {
    return Guarded(this, [&] {
        const HRESULT shown = Set_Visible(-1);
        if (FAILED(shown)) return shown;
        if (const HWND handle = HostedHandle()) SendMessageW(handle, WM_SETFOCUS, 0, 0);
        return S_OK;
    });
}

HRESULT TBdsDocumentWindow::Close() {
    return Guarded(this, [&] {
        TKorvelFrame* frame = Frame();
        if (!frame) return E_FAIL;
        frame->Hide();
        return S_OK;
    });
}

void TBdsDocumentWindow::OnResize(bool HostNeeded) {
    const rtl::ComPtr<TBdsDocumentWindow> keepAlive(this);
    const HWND handle = HostedHandle();
    TKorvelFrame* frame = Frame();
    if (!handle || !frame) return;
    if (HostNeeded) SetParent(handle, frame->Handle());
    // The frame's outer size; hosting and showing use its client size.
    SetWindowPos(handle, nullptr, 0, 0, frame->Width(), frame->Height(), SWP_NOZORDER);
}

void TBdsDocumentWindow::OnFrameHandleDestroy() {
    const rtl::ComPtr<TBdsDocumentWindow> keepAlive(this);
    const HWND handle = HostedHandle();
    if (handle && FBdsWindowsService) SetParent(handle, FBdsWindowsService->ShadowWindow());
}

int32_t TBdsDocumentWindow::GetIconHandle() {
    // What a call that raised or faulted left there was never handed over: it may be garbage,
    // and deleting it could delete another object's handle.
    Integer bitmap = 0;
    bool answered = false;
    FEvents.Notify("RequestIcon", [&](IBdsWindowEvents& events) {
        const HRESULT result = events.RequestIcon(&bitmap);
        answered = true;
        return result;
    });
    return answered ? bitmap : 0;
}

}  // namespace korvel
