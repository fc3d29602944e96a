#include "menus/BdsMenuItem.h"

#include <utility>

#include "menus/BdsMenuBarService.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComGuard.h"
#include "platform/vcl/Dialogs.h"
#include "services/WordBool.h"

namespace korvel {

void HandOut(TBdsMenuItem* wrapper, IBdsMenuItem** out) {
    *out = wrapper;
    if (wrapper) wrapper->AddRef();
}

TBdsMenuItem::TBdsMenuItem(TBdsMenuBarService* service, vcl::TMenuItem* MenuItem, bool IsKorvelMenu)
    : FService(service), FMenuItem(MenuItem), FIsKorvelMenu(IsKorvelMenu), FName(MenuItem->Name()) {}

TBdsMenuItem::~TBdsMenuItem() {
    Destroy();
    if (FGivenBack) FService->ForgetGivenBack(this);
}

void TBdsMenuItem::Destroy() {
    if (FDestroyed) return;
    if (vcl::TMenuItem* item = FMenuItem.Get()) {
        if (FIsKorvelMenu)
            delete item;  // leaves its parent and takes its children along
        else if (FEvents)
            item->OnClick = nullptr;
    }
    FMenuItem = nullptr;
    FService->RemoveItem(this);
    FDestroyed = true;
    // Released last: releasing the sink runs package code.
    const rtl::PackageRef<IBdsToolBarControlEvents> events = std::move(FEvents);
}

void TBdsMenuItem::ReleaseEvents() {
    if (!FEvents) return;
    if (vcl::TMenuItem* item = FMenuItem.Get()) item->OnClick = nullptr;
    // Out of the field before the release, which may call back in.
    const rtl::PackageRef<IBdsToolBarControlEvents> events = std::move(FEvents);
}

template <class Body>
HRESULT TBdsMenuItem::WithItem(const char16_t* warningPrefix, Body&& body) {
    return rtl::ComGuard([&] {
        // The warning is modal and the body may call out: either may release this wrapper.
        rtl::ComPtr<IUnknown> keepAlive(Unknown());
        vcl::TMenuItem* item = FMenuItem.Get();
        if (!item) {
            if (warningPrefix) vcl::MessageDlg(warningPrefix + FName, vcl::TMsgDlgType::mtWarning, vcl::mbOK, 0);
            return E_FAIL;
        }
        return body(*item);
    });
}

HRESULT TBdsMenuItem::ReadFlag(const char16_t* warningPrefix, WordBool* out, bool (vcl::TMenuItem::*read)() const) {
    KORVEL_CHECK_OUT(out);
    *out = 0;
    return WithItem(warningPrefix, [&](vcl::TMenuItem& item) {
        *out = ToWordBool((item.*read)());
        return S_OK;
    });
}

HRESULT TBdsMenuItem::WriteFlag(const char16_t* warningPrefix, WordBool value, void (vcl::TMenuItem::*write)(bool)) {
    return WithItem(warningPrefix, [&](vcl::TMenuItem& item) {
        (item.*write)(value != 0);
        return S_OK;
    });
}

bool TBdsMenuItem::IsBeginGroup(const vcl::TMenuItem& item) {
    const int index = item.MenuIndex();
    return index > 0 && item.Parent()->Items(index - 1)->IsLine();
}

HRESULT TBdsMenuItem::Get_BeginGroup(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return WithItem(nullptr, [&](vcl::TMenuItem& item) {
        *pRetVal = ToWordBool(IsBeginGroup(item));
        return S_OK;
    });
}

HRESULT TBdsMenuItem::Set_BeginGroup(WordBool pRetVal) {
    return WithItem(nullptr, [&](vcl::TMenuItem& item) {
        const bool wanted = pRetVal != 0;
        if (wanted == IsBeginGroup(item)) return S_OK;
        if (wanted) {
            TBdsMenuItem* separator = FService->InsertMenuItem(&item, otamlBefore, u"SeparatorBefore_" + FName, u"-", 0);
            if (!separator) return E_FAIL;
            FService->KeepForLife(separator);
            return S_OK;
        }
        delete item.Parent()->Items(item.MenuIndex() - 1);
        FService->ForgetWrappersOfVanishedItems();
        return S_OK;
    });
}

HRESULT TBdsMenuItem::Get_Caption(BSTR* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return WithItem(u"GetCaption for ", [&](vcl::TMenuItem& item) {
        *pRetVal = rtl::AllocBstr(item.Caption());
        return S_OK;
    });
}

HRESULT TBdsMenuItem::Set_Caption(BSTR pRetVal) {
    return WithItem(u"SetCaption for ", [&](vcl::TMenuItem& item) {
        item.SetCaption(rtl::FromBstr(pRetVal));
        return S_OK;
    });
}

HRESULT TBdsMenuItem::Get_Checked(WordBool* pRetVal) {
    return ReadFlag(u"GetChecked for ", pRetVal, &vcl::TMenuItem::Checked);
}

HRESULT TBdsMenuItem::Set_Checked(WordBool pRetVal) {
    return WriteFlag(u"SetChecked for ", pRetVal, &vcl::TMenuItem::SetChecked);
}

HRESULT TBdsMenuItem::Get_ChildCount(Integer* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return WithItem(u"GetChildCount for ", [&](vcl::TMenuItem& item) {
        *pRetVal = item.Count();
        return S_OK;
    });
}

HRESULT TBdsMenuItem::Get_Enabled(WordBool* pRetVal) {
    return ReadFlag(u"GetEnabled for ", pRetVal, &vcl::TMenuItem::Enabled);
}

HRESULT TBdsMenuItem::Set_Enabled(WordBool pRetVal) {
    return WriteFlag(u"SetEnabled for ", pRetVal, &vcl::TMenuItem::SetEnabled);
}

HRESULT TBdsMenuItem::Get_Name(BSTR* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return WithItem(u"GetName for ", [&](vcl::TMenuItem& item) {
        *pRetVal = rtl::AllocBstr(item.Name());
        return S_OK;
    });
}

TBdsMenuItem* TBdsMenuItem::GetParentMenuItem(const vcl::TMenuItem& item) {
    return item.Parent() ? FService->GetBdsMenuItem(item.Parent()) : nullptr;
}

HRESULT TBdsMenuItem::SiblingMenuItem(const vcl::TMenuItem& item, int offset, IBdsMenuItem** out) {
    TBdsMenuItem* parent = GetParentMenuItem(item);
    // Through the parent's wrapper, which the cache finds by name: it answers for its own item.
    return parent ? parent->ChildMenuItem(item.MenuIndex() + offset, out) : S_OK;
}

HRESULT TBdsMenuItem::Get_NextMenuItem(IBdsMenuItem** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return WithItem(u"NextMenuItem for ", [&](vcl::TMenuItem& item) { return SiblingMenuItem(item, 1, pRetVal); });
}

HRESULT TBdsMenuItem::Get_ParentMenuItem(IBdsMenuItem** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return WithItem(u"GetParentItem for ", [&](vcl::TMenuItem& item) {
        HandOut(GetParentMenuItem(item), pRetVal);
        return S_OK;
    });
}

HRESULT TBdsMenuItem::Get_PrevMenuItem(IBdsMenuItem** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return WithItem(nullptr, [&](vcl::TMenuItem& item) { return SiblingMenuItem(item, -1, pRetVal); });
}

HRESULT TBdsMenuItem::Get_Shortcut(Integer* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return WithItem(u"GetShortcut for ", [&](vcl::TMenuItem& item) {
        *pRetVal = item.ShortCut();
        return S_OK;
    });
}

HRESULT TBdsMenuItem::Set_Shortcut(Integer pRetVal) {
    return WithItem(u"SetShortcut for ", [&](vcl::TMenuItem& item) {
        if (pRetVal < 0 || pRetVal > 0xFFFF) rtl::RaiseRangeError();
        item.SetShortCut(static_cast<vcl::TShortCut>(pRetVal));
        return S_OK;
    });
}

HRESULT TBdsMenuItem::Get_Visible(WordBool* pRetVal) {
    return ReadFlag(u"GetVisible for ", pRetVal, &vcl::TMenuItem::Visible);
}

HRESULT TBdsMenuItem::Set_Visible(WordBool pRetVal) {
    return WriteFlag(u"SetVisible for ", pRetVal, &vcl::TMenuItem::SetVisible);
}

HRESULT TBdsMenuItem::RegisterEvents(IBdsToolBarControlEvents* BdsToolBarControlEvents) {
    return WithItem(u"RegisterEvents for ", [&](vcl::TMenuItem& item) {
        // A sink that is not what it claims to be would be called in the wrong slot.
        rtl::PackageRef<IBdsToolBarControlEvents> sink = rtl::CheckedPackageInterface(BdsToolBarControlEvents);
        // The previous sink is released last: releasing it runs package code.
        std::swap(FEvents, sink);
        if (FEvents)
            item.OnClick = [this](vcl::TObject*) { OnMenuClick(); };
        else
            item.OnClick = nullptr;
        return S_OK;
    });
}

void TBdsMenuItem::OnMenuClick() {
    // The sink may remove this item, release this wrapper or register another sink.
    rtl::ComPtr<IUnknown> keepAlive(Unknown());
    FEvents.Notify("OnExecute", [](IBdsToolBarControlEvents& events) { return events.OnExecute(); });
}

HRESULT TBdsMenuItem::ChildMenuItem(Integer index, IBdsMenuItem** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return WithItem(u"ChildMenuItem for ", [&](vcl::TMenuItem& item) {
        if (index >= 0 && index < item.Count()) HandOut(FService->GetBdsMenuItem(item.Items(index)), pRetVal);
        return S_OK;
    });
}

HRESULT TBdsMenuItem::InvokeAction() {
    return rtl::ComGuard([&] {
        // The item's handler may release this wrapper.
        rtl::ComPtr<IUnknown> keepAlive(Unknown());
        if (vcl::TMenuItem* item = FMenuItem.Get()) item->Click();
        return S_OK;
    });
}

}  // namespace korvel
