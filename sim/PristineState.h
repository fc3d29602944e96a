// The IDE's main menu and action list as they were when the IDE started, so that an IDE that
// runs many sessions in one process can be put back as it was instead of building them again:
// every item and action of the IDE back in its place with its properties (made anew when it
// was destroyed), everything added since destroyed.
#pragma once

#include <unordered_set>
#include <vector>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Menus.h"

namespace sim {

using rtl::String;

class PristineMainMenu {
public:
    // Records the menu as it is now.
    explicit PristineMainMenu(vcl::TMainMenu& menu);
    // False, with nothing changed, when the menu itself or its image list was destroyed or
    // changed beyond an empty one: then only a new menu will do.
    bool Restore();

private:
    struct Item {
        vcl::ComponentPtr<vcl::TMenuItem> item;
        // Where the item was, to tell it from one made later at the same address.
        const vcl::TComponent* address;
        String name;
        String caption;
        bool checked;
        bool enabled;
        bool visible;
        vcl::TShortCut shortCut;
        int imageIndex;
        vcl::ComponentPtr<vcl::TBasicAction> action;
        intptr_t tag;
        vcl::TNotifyEvent onClick;
        // The item's first children, in order, as indexes of the items.
        std::vector<size_t> children;
        vcl::TComponent* Component() const { return item.Get(); }
    };

    static Item Record(vcl::TMenuItem* item);
    void RestoreTree(std::vector<vcl::ComponentPtr<vcl::TComponent>>& added);
    void RestoreImages();
    void RestoreProperties();

    vcl::ComponentPtr<vcl::TMainMenu> menu_;
    vcl::ComponentPtr<vcl::TCustomImageList> images_;
    const vcl::TComponent* imagesAddress_;
    int imageCount_;
    // Parents before their children, the root item first.
    std::vector<Item> items_;
    std::unordered_set<const vcl::TComponent*> known_;
};

class PristineActionList {
public:
    explicit PristineActionList(vcl::TCustomActionList& list);
    // False, with nothing changed, when the list itself was destroyed.
    bool Restore();

private:
    struct Action {
        vcl::ComponentPtr<vcl::TAction> item;
        const vcl::TComponent* address;
        String name;
        String category;
        String caption;
        bool enabled;
        bool visible;
        bool checked;
        vcl::TShortCut shortCut;
        intptr_t tag;
        vcl::TNotifyEvent onExecute;
        vcl::TComponent* Component() const { return item.Get(); }
    };

    vcl::ComponentPtr<vcl::TCustomActionList> list_;
    std::vector<Action> actions_;
    std::unordered_set<const vcl::TComponent*> known_;
};

}  // namespace sim
