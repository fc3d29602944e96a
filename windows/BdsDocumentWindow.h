// A package document in the IDE's editor area: one package window hosted in the frame of an
// edit-window record, with the document's modified flag and its tab's identity.
//
// Who holds what: the package holds the window (it takes no reference on itself and goes
// with the package's last release); the window holds the package's sink and hosted control,
// a share of its edit-window record, and a plain pointer to the service, which the service
// clears if it is torn down first. Once the record's frame is gone (the IDE closed the edit
// window) the methods that need it answer E_FAIL and do nothing else.
#pragma once

#include "windows/BdsWindowsService.h"

namespace korvel {

class TBdsCustomDocumentWindow : public rtl::ComObject<IBdsDocumentWindow> {
public:
    int32_t DocImageIndex() const { return FDocImageIndex; }
    void SetDocImageIndex(int32_t index) { FDocImageIndex = index; }
    TBdsEditWindow* BdsEditWindow() const { return FBdsEditWindow.get(); }
    void SetBdsEditWindow(std::shared_ptr<TBdsEditWindow> record) { FBdsEditWindow = std::move(record); }
    const vcl::TObject* IdentifiedObject() const { return FIdentifiedObject; }
    void SetIdentifiedObject(const vcl::TObject* object) { FIdentifiedObject = object; }
    // The package's bitmap could not be used: its tab goes without an image.
    bool ImageRefused() const { return FImageRefused; }
    void RefuseImage() { FImageRefused = true; }

    // For the service: the frame was resized (re-host first when its handle changed), and
    // the frame's handle is about to be destroyed.
    virtual void OnResize(bool HostNeeded) = 0;
    virtual void OnFrameHandleDestroy() = 0;
    // The service's teardown: let go of everything and of the service; later calls are harmless.
    virtual void Detach() = 0;
    // The package's bitmap for the document's tab; 0 or -1 for none. The caller owns it.
    virtual int32_t GetIconHandle() = 0;

protected:
    int32_t FDocImageIndex = -1;
    std::shared_ptr<TBdsEditWindow> FBdsEditWindow;
    const vcl::TObject* FIdentifiedObject = nullptr;
    bool FImageRefused = false;
};

class TBdsDocumentWindow : public TBdsCustomDocumentWindow {
public:
    // Registers with the service as a document only when there is a module.
    TBdsDocumentWindow(TBdsWindowsService* service, ide::IOTAModule* module);
    ~TBdsDocumentWindow() override;

    // IBdsDocumentWindow
    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Modified(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Modified(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_StayOnTop(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_StayOnTop(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE RegisterEvents(IBdsWindowEvents* events) override;
    HRESULT STDMETHODCALLTYPE HostControl(IUnknown* control) override;
    HRESULT STDMETHODCALLTYPE ReHostControl() override;
    HRESULT STDMETHODCALLTYPE Activate() override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE DoResize() override;

    void OnResize(bool HostNeeded) override;
    void OnFrameHandleDestroy() override;
    void Detach() override;
    int32_t GetIconHandle() override;

private:
    TKorvelFrame* Frame() const;
    // The hosted window's handle, asked afresh; 0 when nothing is hosted or the package has none.
    HWND HostedHandle();
    void InternalHostControl();

    rtl::PackageRef<IWin32Window> FHostedControl;
    bool FModified = false;
    rtl::PackageRef<IBdsWindowEvents> FEvents;
    TBdsWindowsService* FBdsWindowsService;
};

}  // namespace korvel
