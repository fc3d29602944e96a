#include "menus/BdsMenuBarService.h"

#include <memory>
#include <utility>

#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComGuard.h"
#include "services/BitmapImages.h"

namespace korvel {
namespace {

TItemLocation LocationFromInteger(Integer location) {
    switch (location) {
        case 0: return otamlBefore;
        case 1: return otamlAfter;
        default: return otamlChild;
    }
}

void PlaceItem(vcl::TMenuItem* item, vcl::TMenuItem* reference, TItemLocation location) {
    if (location == otamlChild) {
        reference->Add(item);
        return;
    }
    vcl::TMenuItem* parent = reference->Parent();
    const int position = reference->MenuIndex() + (location == otamlAfter ? 1 : 0);
    if (position < parent->Count())
        parent->Insert(position, item);
    else
        parent->Add(item);
}

}  // namespace

TBdsMenuBarService::TBdsMenuBarService() {
    if (const auto services = ide::GetIDEService<ide::INTAServices>(ide::IID_INTAServices))
        FMainMenu = services->GetMainMenu();
}

TBdsMenuBarService::~TBdsMenuBarService() {
    // Every cached wrapper is destroyed, whatever references packages hold; each stays a
    // detached object until its last reference goes.
    std::vector<rtl::ComPtr<IBdsMenuItem>> cached;
    for (TBdsMenuItem* wrapper : FMenuItems.Snapshot()) cached.emplace_back(wrapper);
    FMenuItems.Clear();
    for (const auto& wrapper : cached) static_cast<TBdsMenuItem*>(wrapper.Get())->Destroy();
    ReleasePackageHolds();
}

vcl::TMainMenu* TBdsMenuBarService::PopulatedMainMenu() const {
    vcl::TMainMenu* menu = FMainMenu.Get();
    return menu && menu->Items()->Count() > 0 ? menu : nullptr;
}

HRESULT TBdsMenuBarService::RemoveMenuItem(BSTR FullName) {
    return rtl::ComGuard([&] {
        vcl::TMenuItem* item = FindItemByFullName(rtl::FromBstr(FullName));
        TBdsMenuItem* wrapper = FMenuItems.WrapperOf(item);
        if (!wrapper) return S_OK;
        // At once, whatever other references exist: the item leaves the menu and its sink
        // is never called again.
        const rtl::ComPtr<IBdsMenuItem> keepAlive(wrapper);
        wrapper->Destroy();
        DropLifelongReference(wrapper);
        TakeBack(wrapper);
        return S_OK;
    });
}

void TBdsMenuBarService::DropLifelongReference(TBdsMenuItem* BdsMenuItem) {
    const auto kept = FLifelongReferences.find(BdsMenuItem);
    if (kept == FLifelongReferences.end()) return;
    // Out of the map before the release, which may run package code that calls back in.
    const rtl::ComPtr<IBdsMenuItem> reference = std::move(kept->second);
    FLifelongReferences.erase(kept);
}

void TBdsMenuBarService::TakeBack(TBdsMenuItem* BdsMenuItem) {
    if (!FGivenBack.insert(BdsMenuItem).second) return;
    BdsMenuItem->SetGivenBack(true);
}

void TBdsMenuBarService::ForgetGivenBack(TBdsMenuItem* BdsMenuItem) { FGivenBack.erase(BdsMenuItem); }

void TBdsMenuBarService::ReleasePackageHolds() {
    // Wrappers a package never released let go of its sinks; each is held for the loop, as a
    // sink's release may run package code that releases wrappers.
    std::vector<rtl::ComPtr<IBdsMenuItem>> cached;
    for (TBdsMenuItem* wrapper : FMenuItems.Snapshot()) cached.emplace_back(wrapper);
    for (const auto& wrapper : cached) static_cast<TBdsMenuItem*>(wrapper.Get())->ReleaseEvents();
    // Out of the map before the releases, which may run package code that calls back in.
    const auto lifelong = std::move(FLifelongReferences);
    FLifelongReferences.clear();
    while (!FGivenBack.empty()) {
        TBdsMenuItem* wrapper = *FGivenBack.begin();
        FGivenBack.erase(FGivenBack.begin());
        wrapper->SetGivenBack(false);
        wrapper->Release();
    }
}

HRESULT TBdsMenuBarService::GetMenuItem(BSTR FullName, IBdsMenuItem** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return rtl::ComGuard([&] {
        if (vcl::TMenuItem* item = FindItemByFullName(rtl::FromBstr(FullName)))
            HandOut(CreateBdsMenuItem(item, false), pRetVal);
        return S_OK;
    });
}

HRESULT TBdsMenuBarService::AddMenuItem(BSTR ReferenceItemFullName, Integer ItemLocation, BSTR NewName,
                                        BSTR NewText, Integer bitmapHandle, IBdsMenuItem** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return rtl::ComGuard([&] {
        if (!PopulatedMainMenu()) return E_FAIL;
        vcl::TMenuItem* reference = FindItemByFullName(rtl::FromBstr(ReferenceItemFullName));
        if (!reference) return E_FAIL;
        TBdsMenuItem* made = InsertMenuItem(reference, LocationFromInteger(ItemLocation), rtl::FromBstr(NewName),
                                            rtl::FromBstr(NewText), bitmapHandle);
        if (!made) return E_FAIL;
        HandOut(made, pRetVal);
        return S_OK;
    });
}

HRESULT TBdsMenuBarService::InsertMenuItem(BSTR parentItemFullName, Integer index, BSTR newName, BSTR newText,
                                           Integer bitmapHandle, IBdsMenuItem** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return rtl::ComGuard([&] {
        if (!PopulatedMainMenu() || index < 0) return S_OK;
        vcl::TMenuItem* parent = FindItemByFullName(rtl::FromBstr(parentItemFullName));
        if (!parent) return S_OK;
        vcl::TMenuItem* reference = parent;
        TItemLocation location = otamlChild;
        if (index < parent->Count()) {
            // Index 0 goes before the first child; any other lands after child `index`.
            reference = parent->Items(index);
            location = index == 0 ? otamlBefore : otamlAfter;
        }
        HandOut(InsertMenuItem(reference, location, rtl::FromBstr(newName), rtl::FromBstr(newText), bitmapHandle),
                pRetVal);
        return S_OK;
    });
}

HRESULT TBdsMenuBarService::GetFirstMenuItem(IBdsMenuItem** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return rtl::ComGuard([&] {
        if (vcl::TMainMenu* menu = PopulatedMainMenu()) HandOut(CreateBdsMenuItem(menu->Items()->Items(0), false), pRetVal);
        return S_OK;
    });
}

TBdsMenuItem* TBdsMenuBarService::CreateBdsMenuItem(vcl::TMenuItem* MenuItem, bool IsKorvelMenu) {
    if (TBdsMenuItem* cached = FMenuItems.WrapperOf(MenuItem)) return cached;
    std::unique_ptr<TBdsMenuItem> made(new TBdsMenuItem(this, MenuItem, IsKorvelMenu));
    FMenuItems.Add(made.get());
    return made.release();
}

TBdsMenuItem* TBdsMenuBarService::GetBdsMenuItem(vcl::TMenuItem* MenuItem) {
    TBdsMenuItem* wrapper = CreateBdsMenuItem(MenuItem, false);
    KeepForLife(wrapper);
    return wrapper;
}

void TBdsMenuBarService::KeepForLife(TBdsMenuItem* BdsMenuItem) {
    if (FLifelongReferences.count(BdsMenuItem) == 0)
        FLifelongReferences.emplace(BdsMenuItem, rtl::ComPtr<IBdsMenuItem>(BdsMenuItem));
}

TBdsMenuItem* TBdsMenuBarService::InsertMenuItem(vcl::TMenuItem* ReferenceMenuItem, TItemLocation Location,
                                                 const String& NewName, const String& NewText,
                                                 Integer bitmapHandle) {
    vcl::TMainMenu* menu = FMainMenu.Get();
    vcl::TMenuItem* siblingsParent = Location == otamlChild ? ReferenceMenuItem : ReferenceMenuItem->Parent();
    if (!menu || !siblingsParent) return nullptr;
    // An item found there is the IDE's (a package's own would have its wrapper cached): the
    // wrapper must never destroy it.
    if (vcl::TMenuItem* existing = FindItemByName(siblingsParent, NewName)) return CreateBdsMenuItem(existing, false);

    auto item = std::make_unique<vcl::TMenuItem>(menu);
    item->SetName(NewName);
    item->SetCaption(NewText);
    PlaceItem(item.get(), ReferenceMenuItem, Location);
    const vcl::ComponentPtr<vcl::TMenuItem> placed(item.release());
    SetImage(placed.Get(), bitmapHandle);
    // The image's error message is modal: whatever ran meanwhile may have destroyed the item.
    return placed ? CreateBdsMenuItem(placed.Get(), true) : nullptr;
}

void TBdsMenuBarService::RemoveItem(TBdsMenuItem* BdsMenuItem) { FMenuItems.Remove(BdsMenuItem); }

void TBdsMenuBarService::ForgetWrappersOfVanishedItems() {
    // Released only once the cache is consistent: a release may run package code.
    std::vector<rtl::ComPtr<IBdsMenuItem>> dropped;
    for (TBdsMenuItem* wrapper : FMenuItems.Snapshot()) {
        if (wrapper->MenuItem()) continue;
        FMenuItems.Remove(wrapper);
        const auto kept = FLifelongReferences.find(wrapper);
        if (kept == FLifelongReferences.end()) continue;
        dropped.push_back(std::move(kept->second));
        FLifelongReferences.erase(kept);
    }
}

vcl::TMenuItem* TBdsMenuBarService::FindItemByFullName(const String& ItemFullName) const {
    vcl::TMainMenu* menu = FMainMenu.Get();
    if (!menu) return nullptr;
    vcl::TMenuItem* current = menu->Items();
    if (ItemFullName.empty()) return current;
    const std::vector<String> segments = SplitFullName(ItemFullName);
    // Only a leading backslash is skipped; an empty segment elsewhere names an unnamed item.
    for (size_t i = segments.front().empty() ? 1 : 0; current && i < segments.size(); ++i)
        current = FindItemByName(current, segments[i]);
    return current;
}

vcl::TMenuItem* TBdsMenuBarService::FindItemByName(vcl::TMenuItem* ParentItem, const String& ItemName) {
    return ParentItem->FindChildByName(ItemName);
}

std::vector<String> TBdsMenuBarService::SplitFullName(const String& FullName) {
    std::vector<String> segments;
    size_t start = 0;
    for (size_t separator; (separator = FullName.find(u'\\', start)) != String::npos; start = separator + 1)
        segments.push_back(FullName.substr(start, separator - start));
    segments.push_back(FullName.substr(start));
    return segments;
}

HRESULT TBdsMenuBarService::SetImage(vcl::TMenuItem* MenuItem, Integer imageHandle) {
    if (imageHandle == 0) return S_OK;
    vcl::TMainMenu* menu = FMainMenu.Get();
    return AddImageFromHandle(menu ? menu->Images() : nullptr, imageHandle, u"TBdsMenuBarService.SetImage",
                              [&](int index) { MenuItem->SetImageIndex(index); });
}

}  // namespace korvel
