// TBdsMenuItem: one item of the IDE's main menu as packages see it (IBdsMenuItem). Only the
// menu bar service makes them. A wrapper whose item is gone (the wrapper was destroyed, or
// the IDE destroyed the item) stays a valid object: it warns and answers E_FAIL.
#pragma once

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/PackageDoor.h"
#include "platform/vcl/Menus.h"

namespace korvel {

using rtl::String;

class TBdsMenuBarService;

class TBdsMenuItem : public rtl::ComObject<IBdsMenuItem> {
public:
    // Starts with no reference. IsKorvelMenu: the service's insert operations made the wrapper,
    // and the item goes when the wrapper does.
    TBdsMenuItem(TBdsMenuBarService* service, vcl::TMenuItem* MenuItem, bool IsKorvelMenu);
    ~TBdsMenuItem() override;

    // IBdsMenuItem
    HRESULT STDMETHODCALLTYPE Get_BeginGroup(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_BeginGroup(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Caption(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Caption(BSTR pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Checked(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Checked(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_ChildCount(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Enabled(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Enabled(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Name(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_NextMenuItem(IBdsMenuItem** pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_ParentMenuItem(IBdsMenuItem** pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_PrevMenuItem(IBdsMenuItem** pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Shortcut(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Shortcut(Integer pRetVal) override;
    HRESULT STDMETHODCALLTYPE Get_Visible(WordBool* pRetVal) override;
    HRESULT STDMETHODCALLTYPE Set_Visible(WordBool pRetVal) override;
    HRESULT STDMETHODCALLTYPE RegisterEvents(IBdsToolBarControlEvents* BdsToolBarControlEvents) override;
    HRESULT STDMETHODCALLTYPE ChildMenuItem(Integer index, IBdsMenuItem** pRetVal) override;
    HRESULT STDMETHODCALLTYPE InvokeAction() override;

    // Nil once the wrapper is destroyed or the IDE destroyed the item.
    vcl::TMenuItem* MenuItem() const { return FMenuItem.Get(); }
    // Detaches the wrapper from its item and the service; later calls find no item. Runs when
    // the last reference goes, by RemoveMenuItem, or when the service itself goes.
    void Destroy();
    // Lets go of the package's sink; the item stays, without a click handler of the wrapper's.
    void ReleaseEvents();
    // The service keeps a reference that a package handed back (RemoveMenuItem).
    void SetGivenBack(bool givenBack) { FGivenBack = givenBack; }

private:
    // Runs `body` on the item inside the call guard; without an item the call warns with
    // `warningPrefix` (none for nil) and answers E_FAIL.
    template <class Body>
    HRESULT WithItem(const char16_t* warningPrefix, Body&& body);
    HRESULT ReadFlag(const char16_t* warningPrefix, WordBool* out, bool (vcl::TMenuItem::*read)() const);
    HRESULT WriteFlag(const char16_t* warningPrefix, WordBool value, void (vcl::TMenuItem::*write)(bool));
    static bool IsBeginGroup(const vcl::TMenuItem& item);
    TBdsMenuItem* GetParentMenuItem(const vcl::TMenuItem& item);
    // The parent wrapper's child at the item's position plus `offset`.
    HRESULT SiblingMenuItem(const vcl::TMenuItem& item, int offset, IBdsMenuItem** out);
    void OnMenuClick();

    TBdsMenuBarService* FService;
    vcl::ComponentPtr<vcl::TMenuItem> FMenuItem;
    rtl::PackageRef<IBdsToolBarControlEvents> FEvents;
    bool FIsKorvelMenu;
    bool FDestroyed = false;
    bool FGivenBack = false;
    // The item's name when the wrapper was made: for warnings and the group separator's name.
    String FName;
};

// Writes the wrapper to an out parameter with the caller's reference added; nil stays nil.
void HandOut(TBdsMenuItem* wrapper, IBdsMenuItem** out);

}  // namespace korvel
