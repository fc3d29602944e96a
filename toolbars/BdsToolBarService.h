// The toolbar service: packages put toolbars into the IDE, find them again and remove them.
// Each toolbar wraps a native IDE toolbar, forwards its properties and makes the controls of
// BdsToolBarControls on it. A toolbar notifier tells the hub when the IDE has loaded its
// toolbars.
#pragma once

#include <memory>
#include <vector>

#include "interop/InterfaceBindings.h"
#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/LiveObjects.h"
#include "platform/rtl/LockedList.h"
#include "platform/vcl/ComCtrls.h"

namespace korvel {

using rtl::String;

class TBdsToolBar;
class TBdsToolBarControl;
class TBdsToolBarService;

using TToolBars = rtl::LockedList<TBdsToolBar>;
using TToolBarControls = rtl::LockedList<TBdsToolBarControl>;

// Open from construction until it is closed (RemoveToolBar) or detached (the service's
// Clear). After that it has no native toolbar and no controls, and every call answers
// E_UNEXPECTED; the memory goes with the last reference. While open, a native toolbar that
// the IDE destroyed makes the calls that need it answer E_UNEXPECTED.
class TBdsToolBar : public rtl::ComObject<IBdsToolBar> {
public:
    // Takes over the IDE's toolbar called Name, or has the IDE make a new hidden one titled
    // Title, and registers with the service.
    TBdsToolBar(const String& Name, const String& Title, TBdsToolBarService& ToolBarService);
    ~TBdsToolBar() override;

    // IBdsToolBar
    HRESULT STDMETHODCALLTYPE Get_name(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_name(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Caption(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Caption(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Left(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Left(Integer pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Top(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Top(Integer pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Width(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Height(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Floating(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Floating(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_ControlCount(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE AddSeparator() override;
    HRESULT STDMETHODCALLTYPE AddControl(Integer Type_, IBdsToolBarControl** pRetVal) override;
    HRESULT STDMETHODCALLTYPE RemoveControl(IBdsToolBarControl* bdsToolBarControl) override;
    HRESULT STDMETHODCALLTYPE Clear() override;

    vcl::TToolBar* GetNativeToolBar() const { return ToolBar.Get(); }

    // For the controls of BdsToolBarControls.
    void RegisterControl(TBdsToolBarControl* Control);
    void UnregisterControl(TBdsToolBarControl* Control);

    // For the service. Close hides and destroys the native toolbar with every control on
    // it, also when it is an IDE toolbar taken over by name. Detach leaves the service
    // without closing: the native toolbar and its controls stay in the IDE.
    void Close();
    void Detach();
    // The service's own reference on a toolbar it lists, which no package holds.
    void TakeServiceReference() { TakeOwnReference(); }
    void ReleaseServiceReference() { DropOwnReference(); }

private:
    template <class Body>
    HRESULT OnNativeToolBar(Body&& body);
    template <class Out, class Body>
    HRESULT AnswerFromNativeToolBar(Out* out, Body&& body);
    template <class Body>
    HRESULT WhileOpen(Body&& body);

    rtl::ComPtr<IBdsToolBarControl> MakeControl(Integer Type_);
    std::vector<rtl::ComPtr<TBdsToolBarControl>> HeldControls() const;

    TBdsToolBarService* BdsToolBarService = nullptr;
    vcl::ComponentPtr<vcl::TToolBar> ToolBar;
    std::unique_ptr<TToolBarControls> ToolBarControls;
    const rtl::LiveObject<TBdsToolBar> FLive{this};
};

// Every toolbar in ToolBars carries one reference that the service holds: taken by
// AddToolBar, given back by RemoveToolBar or Clear.
class TBdsToolBarService : public rtl::SelfReferenced<rtl::ComObject<IBdsToolBarService>> {
public:
    TBdsToolBarService();
    ~TBdsToolBarService() override;

    // IBdsToolBarService
    HRESULT STDMETHODCALLTYPE FindToolBar(BSTR Name, IBdsToolBar** pRetVal) override;
    HRESULT STDMETHODCALLTYPE AddToolBar(BSTR Name, BSTR Title, IBdsToolBar** pRetVal) override;
    HRESULT STDMETHODCALLTYPE RemoveToolBar(IBdsToolBar* bdsToolBar) override;
    HRESULT STDMETHODCALLTYPE Clear() override;

    // At shut-down, once the packages are released: every control, also one whose toolbar the
    // service forgot, lets go of its package's sink, so that no package object outlives the
    // run through a control the package never released.
    void ReleasePackageHolds();
    void RegisterToolBar(TBdsToolBar* BdsToolBar) { ToolBars.Add(BdsToolBar); }
    void UnregisterToolBar(TBdsToolBar* BdsToolBar) { ToolBars.Remove(BdsToolBar); }

private:
    void DetachToolBars();

    TToolBars ToolBars;
};

// Told by the IDE about its toolbars; the IDE's reference keeps it alive.
class TToolBarNotifier : public rtl::ComObject<ide::INTAToolbarStreamNotifier> {
public:
    ~TToolBarNotifier() override;

    // Registers with the IDE's toolbar notifiers, when the IDE offers them.
    void Register();

    // IOTANotifier
    void STDMETHODCALLTYPE AfterSave() override {}
    void STDMETHODCALLTYPE BeforeSave() override {}
    void STDMETHODCALLTYPE Destroyed() override;
    void STDMETHODCALLTYPE Modified() override {}
    // INTAToolbarStreamNotifier
    void STDMETHODCALLTYPE AfterSave(vcl::TWinControl*) override {}
    void STDMETHODCALLTYPE BeforeSave(vcl::TWinControl*) override {}
    void STDMETHODCALLTYPE ToolbarLoaded(vcl::TWinControl* Toolbar) override;

private:
    void Unregister();

    // The IDE's registration number, or -1.
    int FIndex = -1;
};

}  // namespace korvel
