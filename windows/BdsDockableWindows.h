// Dockable tool windows as packages see them (IBdsDockableWindow): a package's own window
// hosted in an IDE dockable form, and the IDE's Object Inspector offered through the same
// interface.
//
// Who holds what: a dockable window holds one reference on itself from its construction, so
// it outlives every reference the package holds; the service's registry holds a plain pointer.
// The window owns its form until the IDE destroys the form (the window then answers as having
// no form). At the service's teardown the window detaches: it frees its form, leaves the
// registry, lets go of the package's sink and control and of its own reference; its memory goes
// with the package's last release, so a package that still holds it calls a harmless object.
#pragma once

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "windows/DockingWindow.h"
#include "windows/HostedWindow.h"

namespace korvel {

class TBdsWindowsService;

class TBdsCustomDockableWindow : public rtl::ComObject<IBdsDockableWindow> {
public:
    // Registers with `service`, or with the hub's windows service when it is nil.
    explicit TBdsCustomDockableWindow(TBdsWindowsService* service);
    ~TBdsCustomDockableWindow() override;

    // Releases never take the count below the window's own reference while it is attached.
    ULONG STDMETHODCALLTYPE Release() override;

    // IBdsDockableWindow: the base does nothing and answers false or empty.
    HRESULT STDMETHODCALLTYPE Get_Caption(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Caption(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_AutoHides(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_AutoHides(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_IsFloating(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_IsFloating(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_IsActive(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE RegisterEvents(IBdsWindowEvents* events) override;
    HRESULT STDMETHODCALLTYPE SetIcon(Integer imageHandle) override;
    HRESULT STDMETHODCALLTYPE HostControl(IUnknown* control) override;
    HRESULT STDMETHODCALLTYPE Activate() override;
    HRESULT STDMETHODCALLTYPE Close() override;

    TBdsWindowsService* BdsWindowsService() const { return FBdsWindowsService; }
    // The service's teardown: see the note at the top.
    virtual void Detach();

protected:
    // Calls the package's sink, if any; the sink may release this window or replace itself.
    template <class Call>
    void NotifyEvents(const char* method, Call&& call);

private:
    TBdsWindowsService* FBdsWindowsService;
    rtl::PackageRef<IBdsWindowEvents> FEvents;
    bool FDetached = false;
};

class TBdsDockableWindow : public TBdsCustomDockableWindow {
public:
    TBdsDockableWindow(const String& WindowName, TBdsWindowsService* service);

    HRESULT STDMETHODCALLTYPE Get_Caption(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Caption(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_AutoHides(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_IsFloating(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_IsFloating(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_IsActive(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE SetIcon(Integer imageHandle) override;
    HRESULT STDMETHODCALLTYPE HostControl(IUnknown* control) override;
    HRESULT STDMETHODCALLTYPE Activate() override;
    HRESULT STDMETHODCALLTYPE Close() override;

    // Nil once the IDE destroyed the form.
    TToolDockWindow* ToolWindow() const { return FToolWindow; }
    void Detach() override;

private:
    void InitToolWindow(const String& WindowName);
    void InternalHostControl();
    // Hides the package's window and takes it out of the form's window, so that it survives.
    void DetachHostedWindow();
    HWND HostedHandle() const { return HostedWindowHandle(FHostedControl); }
    // Runs `body` on the form; without one the call answers E_FAIL.
    template <class Body>
    HRESULT WithForm(Body&& body);

    void OnActivate();
    void OnMouseActivate();
    void OnResize();
    void OnDestroyWindowHandle();
    void OnDestroy();

    TToolDockWindow* FToolWindow = nullptr;
    rtl::PackageRef<IWin32Window> FHostedControl;
    bool Destroying = false;
};

// The IDE's Object Inspector; every call answers S_OK, and does nothing without an inspector.
class TBdsObjectInspectorWindow : public TBdsCustomDockableWindow {
public:
    using TBdsCustomDockableWindow::TBdsCustomDockableWindow;

    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Activate() override;
    HRESULT STDMETHODCALLTYPE Close() override;

    // The IDE's own menu command that shows the Object Inspector.
    static void ShowObjectInspector();
};

}  // namespace korvel
