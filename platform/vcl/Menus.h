// Menus: a tree of items under a menu's root item. An item is a component (owned, like any
// other, by whoever created it) and, separately, a child of its parent item; an item takes its
// children with it when it is destroyed.
#pragma once

#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/ShortCuts.h"

namespace vcl {

class EMenuError : public rtl::Exception {
public:
    using Exception::Exception;
};

class TMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    KORVEL_VCL_CLASS(TMenuItem)

    void SetName(const String& name) override;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption) { caption_ = caption; }
    // A caption of "-" draws the item as a separator line.
    bool IsLine() const { return caption_ == u"-"; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    TShortCut ShortCut() const { return shortCut_; }
    // Tells the menu's OnChange when the shortcut changes.
    void SetShortCut(TShortCut shortCut);
    // An index into the menu's image list; -1 for none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    TBasicAction* Action() const { return action_.Get(); }
    void SetAction(TBasicAction* action) { action_ = action; }

    TNotifyEvent OnClick;
    // What choosing the item does: OnClick if there is one, else the action; nothing while
    // the item is disabled. The item may be destroyed by the handler it runs.
    virtual void Click();

    TMenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    int IndexOf(const TMenuItem* item) const;
    // The position among the parent's children; -1 without a parent. Setting it clamps to
    // the parent's range.
    int MenuIndex() const;
    void SetMenuIndex(int index);
    // Raises EMenuError for an item that already has a parent, a list-index error for an
    // index outside 0..Count.
    void Insert(int index, TMenuItem* item);
    void Add(TMenuItem* item) { Insert(Count(), item); }
    // Raises EMenuError for an item that is not a child.
    void Remove(TMenuItem* item);
    // The first child whose name matches by SameText, or nil.
    TMenuItem* FindChildByName(const String& name) const;

    // Told after the item's name changed; returns a key for RemoveNameChangeListener.
    using NameChangeListener = std::function<void(TMenuItem* item)>;
    int AddNameChangeListener(NameChangeListener listener);
    void RemoveNameChangeListener(int key);

private:
    friend class TMenu;
    void IndexChild(TMenuItem* child);
    void UnindexChild(TMenuItem* child, const String& name);

    String caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    ComponentPtr<TBasicAction> action_;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
    // Named children by LowerCase of their name, so that lookups by name do not walk them all.
    std::unordered_multimap<String, TMenuItem*> childrenByName_;
    std::vector<std::pair<int, NameChangeListener>> nameListeners_;
    int nextListenerKey_ = 1;
    TMenu* menu_ = nullptr;  // of a menu's root item
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    KORVEL_VCL_CLASS(TMenu)

    // The root item: its children are the menu's top-level items. It has no name and no parent.
    TMenuItem* Items() const { return items_; }
    TCustomImageList* Images() const { return images_.Get(); }
    void SetImages(TCustomImageList* images) { images_ = images; }

    // Told when an item of the menu changed (its shortcut); `source` is that item.
    std::function<void(TMenu* sender, TMenuItem* source)> OnChange;

private:
    TMenuItem* items_;
    ComponentPtr<TCustomImageList> images_;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    KORVEL_VCL_CLASS(TMainMenu)
};

class TPopupMenu : public TMenu {
public:
    using TMenu::TMenu;
    KORVEL_VCL_CLASS(TPopupMenu)
};

// The caption without its accelerator ampersands ("&&" stays one "&").
String StripHotkey(const String& caption);
// The first child of `parent` whose caption, accelerators aside, matches without regard to case.
TMenuItem* FindItemByCaption(const TMenuItem& parent, const String& caption);

}  // namespace vcl
