#include "platform/vcl/Menus.h"

#include "platform/rtl/Text.h"

#include <algorithm>
#include <iterator>

namespace vcl {

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->Remove(this);
    while (!items_.empty()) delete items_.back();
}

void TMenuItem::SetName(const String& name) {
    const String previous = Name();
    TComponent::SetName(name);
    if (Name() == previous) return;
    if (parent_) {
        parent_->UnindexChild(this, previous);
        parent_->IndexChild(this);
    }
    // A listener may remove itself while being told.
    const auto listeners = nameListeners_;
    for (const auto& entry : listeners) entry.second(this);
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (OnClick) {
        // The handler may destroy this item, and with it OnClick.
        const TNotifyEvent handler = OnClick;
        handler(this);
    } else if (TBasicAction* action = action_.Get()) {
        action->Execute();
    }
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    return items_[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    const auto found = std::find(items_.begin(), items_.end(), item);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int index) {
    if (!parent_) return;
    TMenuItem* parent = parent_;
    index = std::clamp(index, 0, parent->Count() - 1);
    if (index == MenuIndex()) return;
    parent->Remove(this);
    parent->Insert(index, this);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) throw EMenuError(u"Menu item is nil");
    if (item->parent_) throw EMenuError(u"Menu inserted twice");
    if (index < 0 || index > Count()) rtl::RaiseListIndexError(index);
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    IndexChild(item);
}

void TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index < 0) throw EMenuError(u"Sub-menu is not in menu");
    items_.erase(items_.begin() + index);
    UnindexChild(item, item->Name());
    item->parent_ = nullptr;
}

TMenuItem* TMenuItem::FindChildByName(const String& name) const {
    if (!name.empty()) {
        const auto range = childrenByName_.equal_range(rtl::LowerCase(name));
        if (range.first == range.second) return nullptr;
        if (std::next(range.first) == range.second) return range.first->second;
    }
    // Unnamed children, or children of different owners that share a name: the first one.
    for (TMenuItem* child : items_)
        if (rtl::SameText(child->Name(), name)) return child;
    return nullptr;
}

int TMenuItem::AddNameChangeListener(NameChangeListener listener) {
    nameListeners_.emplace_back(nextListenerKey_, std::move(listener));
    return nextListenerKey_++;
}

void TMenuItem::RemoveNameChangeListener(int key) {
    nameListeners_.erase(std::remove_if(nameListeners_.begin(), nameListeners_.end(),
                                        [key](const auto& entry) { return entry.first == key; }),
                         nameListeners_.end());
}

void TMenuItem::IndexChild(TMenuItem* child) {
    if (!child->Name().empty()) childrenByName_.emplace(rtl::LowerCase(child->Name()), child);
}

void TMenuItem::UnindexChild(TMenuItem* child, const String& name) {
    if (name.empty()) return;
    const auto range = childrenByName_.equal_range(rtl::LowerCase(name));
    for (auto entry = range.first; entry != range.second; ++entry)
        if (entry->second == child) {
            childrenByName_.erase(entry);
            return;
        }
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut_ == shortCut) return;
    shortCut_ = shortCut;
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    if (!root->menu_ || !root->menu_->OnChange) return;
    // The handler may replace itself.
    const auto onChange = root->menu_->OnChange;
    onChange(root->menu_, this);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) { items_->menu_ = this; }

String StripHotkey(const String& caption) {
    String stripped;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == u'&') continue;
        stripped += caption[i];
    }
    return stripped;
}

TMenuItem* FindItemByCaption(const TMenuItem& parent, const String& caption) {
    const String wanted = StripHotkey(caption);
    for (int i = 0; i < parent.Count(); ++i)
        if (rtl::SameText(StripHotkey(parent.Items(i)->Caption()), wanted)) return parent.Items(i);
    return nullptr;
}

}  // namespace vcl
