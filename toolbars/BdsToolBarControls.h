// The controls that packages put on their toolbars: a push button, an editable or list-only
// combo box, and a pop-up placeholder. Each makes the component-library controls it shows,
// owned by the native toolbar, and tells the package's sink about clicks and changes.
#pragma once

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/ComObjectExtension.h"
#include "platform/rtl/LiveObjects.h"
#include "platform/rtl/PackageDoor.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"

namespace korvel {

class TBdsToolBar;

// A Left at the right edge of the toolbar's row of visible controls, so that the toolbar puts
// the control after all the controls it has. Not the far end of the toolbar's parent: a row
// wider than the parent would take the control in at that point, even first.
void PlaceAfterLastControl(vcl::TControl& control, vcl::TToolBar& toolBar);

// The common part. A control detaches when it is destroyed while packages still hold
// references (by RemoveControl, its toolbar's Clear or Close): it leaves its toolbar,
// destroys its component-library controls and lets go of the sink; every later call answers
// E_UNEXPECTED. The memory goes with the last reference.
class TBdsToolBarControl : public rtl::ComObject<IBdsToolBarControl> {
public:
    explicit TBdsToolBarControl(TBdsToolBar& ABdsToolBar);
    ~TBdsToolBarControl() override;

    // The same for every kind: no shortcut is ever kept.
    HRESULT STDMETHODCALLTYPE Get_ShortCut(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_ShortCut(Integer pRetVal) override;
    HRESULT STDMETHODCALLTYPE RegisterEvents(IBdsToolBarControlEvents* bdsToolBarControlEvents) override;

    // The control object behind a package's interface pointer, or nil when it is none.
    static TBdsToolBarControl* FromInterface(IUnknown* control) { return rtl::LiveObject<TBdsToolBarControl>::Find(control); }

    void Detach();
    bool IsDetached() const { return FDetached; }
    // Lets go of the package's sink; the control stays as it is.
    void ReleaseEvents();
    // Its toolbar object goes away without closing: the controls stay in the IDE.
    void ForgetToolBar() { BdsToolBar = nullptr; }

protected:
    virtual void DestroyVclControls() = 0;

    // The native toolbar of the owning toolbar; raises when there is none.
    vcl::TToolBar& NativeToolBar() const;

    // A method body, guarded: E_UNEXPECTED once detached. A body without a result is S_OK.
    template <class Body>
    HRESULT Guarded(Body&& body);
    // The same, on a component-library control that must still exist.
    template <class Control, class Body>
    HRESULT On(const vcl::ComponentPtr<Control>& control, Body&& body);
    // The same for a method with an out value: cleared first, then the body's answer.
    template <class Out, class Control, class Body>
    HRESULT Answer(Out* out, const vcl::ComponentPtr<Control>& control, Body&& body);

    // Tells the package's sink, if one is registered. The sink may remove this control.
    template <class Call>
    void Notify(const char* method, Call&& call);

    TBdsToolBar* BdsToolBar;
    rtl::PackageRef<IBdsToolBarControlEvents> FEvents;

private:
    void LeaveToolBar();

    bool FDetached = false;
    const rtl::LiveObject<TBdsToolBarControl> FLive{this};
};

class TBdsToolBarButton : public rtl::ComObjectExtension<TBdsToolBarControl, IBdsToolBarButton> {
public:
    explicit TBdsToolBarButton(TBdsToolBar& ABdsToolBar);
    ~TBdsToolBarButton() override;

    // IBdsToolBarControl
    HRESULT STDMETHODCALLTYPE Get_Caption(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Caption(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Enabled(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Enabled(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_name(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_name(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_ToolTip(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_ToolTip(BSTR pRetVal) override;

    // IBdsToolBarButton
    HRESULT STDMETHODCALLTYPE Get_Down(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Down(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE SetImage(Integer imageHandle) override;

protected:
    void DestroyVclControls() override;

private:
    void OnButtonClick();

    vcl::ComponentPtr<vcl::TToolButton> FToolButton;
};

class TBdsToolBarComboBox : public rtl::ComObjectExtension<TBdsToolBarControl, IBdsToolBarComboBox> {
public:
    TBdsToolBarComboBox(TBdsToolBar& ABdsToolBar, bool canEditText);
    ~TBdsToolBarComboBox() override;

    // IBdsToolBarControl
    HRESULT STDMETHODCALLTYPE Get_Caption(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Caption(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Enabled(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Enabled(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_name(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_name(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_ToolTip(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_ToolTip(BSTR pRetVal) override;

    // IBdsToolBarComboBox
    HRESULT STDMETHODCALLTYPE Get_CaptionVisible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_CaptionVisible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Text(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Text(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Width(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Width(Integer pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_ItemCount(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_SelectedItem(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_SelectedItem(Integer pRetVal) override;
    HRESULT STDMETHODCALLTYPE GetItem(Integer index, BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE SetItem(Integer index, BSTR newItem) override;
    HRESULT STDMETHODCALLTYPE AddItem(BSTR item, Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE RemoveItem(Integer index) override;
    HRESULT STDMETHODCALLTYPE ClearItems() override;

protected:
    void DestroyVclControls() override;

private:
    void OnComboBoxChange();
    void OnComboBoxClick();

    // The caption: never given a parent, so it never shows on the toolbar.
    vcl::ComponentPtr<vcl::TLabel> FLabel;
    vcl::ComponentPtr<vcl::TComboBox> FComboBox;
};

// A placeholder without any control: enabled, invisible and nameless whatever is set.
class TBdsToolBarPopUp : public rtl::ComObjectExtension<TBdsToolBarControl, IBdsToolBarPopUp> {
public:
    using ComObjectExtension::ComObjectExtension;

    // IBdsToolBarControl
    HRESULT STDMETHODCALLTYPE Get_Caption(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Caption(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Enabled(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Enabled(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_name(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_name(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_ToolTip(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_ToolTip(BSTR pRetVal) override;

protected:
    void DestroyVclControls() override {}

private:
    HRESULT EmptyText(BSTR* pRetVal);
};

}  // namespace korvel
