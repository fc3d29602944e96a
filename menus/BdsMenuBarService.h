// The menu bar service: packages find items of the IDE's main menu by the path of their
// component names, add their own items beside or under them, and remove them again. Every item
// reaches a package as a TBdsMenuItem wrapper, which the service caches by item name.
#pragma once

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "interop/InterfaceBindings.h"
#include "menus/BdsMenuItem.h"
#include "menus/MenuItems.h"
#include "platform/rtl/ComObject.h"
#include "platform/vcl/Menus.h"

namespace korvel {

using rtl::String;

// Where a new item goes relative to a reference item.
enum TItemLocation { otamlBefore = 0, otamlAfter = 1, otamlChild = 2 };

class TBdsMenuBarService : public rtl::SelfReferenced<rtl::ComObject<IBdsMenuBarService>> {
public:
    TBdsMenuBarService();
    ~TBdsMenuBarService() override;

    // IBdsMenuBarService
    HRESULT STDMETHODCALLTYPE RemoveMenuItem(BSTR FullName) override;
    HRESULT STDMETHODCALLTYPE GetMenuItem(BSTR FullName, IBdsMenuItem** pRetVal) override;
    HRESULT STDMETHODCALLTYPE AddMenuItem(BSTR ReferenceItemFullName, Integer ItemLocation, BSTR NewName,
                                          BSTR NewText, Integer bitmapHandle, IBdsMenuItem** pRetVal) override;
    HRESULT STDMETHODCALLTYPE InsertMenuItem(BSTR parentItemFullName, Integer index, BSTR newName, BSTR newText,
                                             Integer bitmapHandle, IBdsMenuItem** pRetVal) override;
    HRESULT STDMETHODCALLTYPE GetFirstMenuItem(IBdsMenuItem** pRetVal) override;

    // For the wrappers and the windows service.

    // The cached wrapper of an item of that name, or a new one, which starts with no reference.
    TBdsMenuItem* CreateBdsMenuItem(vcl::TMenuItem* MenuItem, bool IsKorvelMenu);
    // CreateBdsMenuItem, kept alive by the service from then on.
    TBdsMenuItem* GetBdsMenuItem(vcl::TMenuItem* MenuItem);
    void KeepForLife(TBdsMenuItem* BdsMenuItem);
    // Finds or makes the item NewName before, after or under the reference item. Nil when the
    // reference has no siblings to stand among, or without a main menu. Raises the library's
    // error for a name it refuses; the half-made item is then gone.
    TBdsMenuItem* InsertMenuItem(vcl::TMenuItem* ReferenceMenuItem, TItemLocation Location, const String& NewName,
                                 const String& NewText, Integer bitmapHandle);
    // A wrapper leaving the cache as it is destroyed.
    void RemoveItem(TBdsMenuItem* BdsMenuItem);
    // A wrapper whose given-back reference went some other way: its memory is going.
    void ForgetGivenBack(TBdsMenuItem* BdsMenuItem);
    // Releases what the service holds on packages' behalf: every cached wrapper's sink (a
    // package may keep a wrapper, and with it its own sink, past its release), the wrappers
    // navigation handed out and the references packages handed back by RemoveMenuItem. At
    // shut-down, once the packages are released: a package that released such a reference
    // again has done so by then, and its wrapper has already left.
    void ReleasePackageHolds();
    // Takes the wrappers whose item was destroyed out of the cache and drops the service's
    // references on them.
    void ForgetWrappersOfVanishedItems();

    // The item at a path of component names joined by "\"; the empty path is the root item.
    vcl::TMenuItem* FindItemByFullName(const String& ItemFullName) const;
    // The first child of that component name (SameText), or nil.
    static vcl::TMenuItem* FindItemByName(vcl::TMenuItem* ParentItem, const String& ItemName);
    // The text between backslashes; never empty.
    static std::vector<String> SplitFullName(const String& FullName);
    // Adds the bitmap to the main menu's image list and consumes the handle; 0 does nothing.
    HRESULT SetImage(vcl::TMenuItem* MenuItem, Integer imageHandle);

    const TMenuItems& MenuItems() const { return FMenuItems; }

private:
    // The main menu, when it has top-level items.
    vcl::TMainMenu* PopulatedMainMenu() const;
    void DropLifelongReference(TBdsMenuItem* BdsMenuItem);
    // Keeps the reference the caller of RemoveMenuItem hands back, without releasing it.
    void TakeBack(TBdsMenuItem* BdsMenuItem);

    vcl::ComponentPtr<vcl::TMainMenu> FMainMenu;
    TMenuItems FMenuItems;
    // Wrappers reached by navigation or made as group separators stay alive, as packages
    // may rely on their registered sinks; one reference each.
    std::unordered_map<TBdsMenuItem*, rtl::ComPtr<IBdsMenuItem>> FLifelongReferences;
    // Who holds what: the cache holds no reference; FLifelongReferences holds one on each
    // wrapper reached by navigation or made as a group separator, until RemoveMenuItem or
    // until its item vanishes; FGivenBack lists the wrappers whose reference a package gave
    // back by RemoveMenuItem. That reference is kept, not released, so that a package that
    // releases it again after all (against the contract) releases live memory; the wrapper
    // is detached already, so the IDE is not harmed either way. The kept references end at
    // shut-down (ReleasePackageHolds) or when the package's extra release frees the
    // wrapper, which then leaves this list.
    std::unordered_set<TBdsMenuItem*> FGivenBack;
};

}  // namespace korvel
