#include "sim/PristineState.h"

#include <algorithm>

namespace sim {
namespace {

// Two passes, so that components of the IDE that swapped names get theirs back without a
// clash on the way.
template <class Entries>
void RestoreNames(const Entries& entries) {
    std::vector<const typename Entries::value_type*> renamed;
    for (const auto& entry : entries) {
        vcl::TComponent* component = entry.Component();
        if (component->Name() == entry.name) continue;
        component->SetName(u"");
        renamed.push_back(&entry);
    }
    for (const auto* entry : renamed) entry->Component()->SetName(entry->name);
}

// Components of `owner` that it did not have when it was recorded, guarded: destroying one may
// destroy others.
template <class Guarded>
void CollectAdded(const vcl::TComponent& owner, const std::unordered_set<const vcl::TComponent*>& known,
                  std::vector<Guarded>& added) {
    for (int i = 0; i < owner.ComponentCount(); ++i)
        if (!known.count(owner.Components(i))) added.emplace_back(owner.Components(i));
}

template <class Guarded>
void DestroyAll(const std::vector<Guarded>& components) {
    for (const auto& component : components) delete component.Get();
}

template <class T>
void Put(T& property, const T& value) {
    if (property != value) property = value;
}

// The components of the IDE that were destroyed are made anew, under the same owner; their
// names and properties are restored with the others'. Every address goes first: a new one may
// be where another destroyed one was.
template <class Component, class Entries>
void RemakeDestroyed(Entries& entries, vcl::TComponent* owner, std::unordered_set<const vcl::TComponent*>& known) {
    for (const auto& entry : entries)
        if (!entry.item) known.erase(entry.address);
    for (auto& entry : entries) {
        if (entry.item) continue;
        auto* component = new Component(owner);
        known.insert(component);
        entry.address = component;
        entry.item = component;
    }
}

}  // namespace

PristineMainMenu::PristineMainMenu(vcl::TMainMenu& menu)
    : menu_(&menu), images_(menu.Images()), imagesAddress_(menu.Images()), imageCount_(images_ ? images_->Count() : 0) {
    for (int i = 0; i < menu.ComponentCount(); ++i) known_.insert(menu.Components(i));
    items_.push_back(Record(menu.Items()));
    for (size_t next = 0; next < items_.size(); ++next) {
        vcl::TMenuItem* parent = items_[next].item.Get();
        for (int i = 0; i < parent->Count(); ++i) {
            items_[next].children.push_back(items_.size());
            items_.push_back(Record(parent->Items(i)));
        }
    }
}

PristineMainMenu::Item PristineMainMenu::Record(vcl::TMenuItem* item) {
    return {item, item, item->Name(), item->Caption(), item->Checked(), item->Enabled(), item->Visible(),
            item->ShortCut(), item->ImageIndex(), item->Action(), item->Tag, item->OnClick, {}};
}

bool PristineMainMenu::Restore() {
    if (!menu_ || menu_->Items() != items_.front().item.Get()) return false;
    const bool imagesKept = images_ && menu_->Images() == images_.Get() && images_->Count() == imageCount_;
    if (!imagesKept && imageCount_ > 0) return false;
    RemakeDestroyed<vcl::TMenuItem>(items_, menu_.Get(), known_);
    if (!images_) known_.erase(imagesAddress_);  // what is there now is another component
    std::vector<vcl::ComponentPtr<vcl::TComponent>> added;
    RestoreTree(added);
    CollectAdded(*menu_.Get(), known_, added);
    DestroyAll(added);
    RestoreImages();
    RestoreNames(items_);
    RestoreProperties();
    return true;
}

// Each item gets its first children back in their order; whatever else hangs below it is
// taken off, to be destroyed.
void PristineMainMenu::RestoreTree(std::vector<vcl::ComponentPtr<vcl::TComponent>>& added) {
    for (const Item& entry : items_) {
        vcl::TMenuItem* parent = entry.item.Get();
        bool same = parent->Count() == static_cast<int>(entry.children.size());
        for (int i = 0; same && i < parent->Count(); ++i) same = parent->Items(i) == items_[entry.children[i]].item.Get();
        if (same) continue;
        while (parent->Count() > 0) {
            vcl::TMenuItem* child = parent->Items(parent->Count() - 1);
            parent->Remove(child);
            if (!known_.count(child)) added.emplace_back(child);
        }
        for (size_t index : entry.children) {
            vcl::TMenuItem* child = items_[index].item.Get();
            if (vcl::TMenuItem* current = child->Parent()) current->Remove(child);
            parent->Add(child);
        }
    }
}

// A menu that started without images gets a new empty list for the one packages added to.
void PristineMainMenu::RestoreImages() {
    if (images_ && menu_->Images() == images_.Get() && images_->Count() == imageCount_) return;
    delete images_.Get();
    auto* images = new vcl::TImageList(menu_.Get());
    known_.erase(imagesAddress_);
    known_.insert(images);
    imagesAddress_ = images;
    images_ = images;
    menu_->SetImages(images);
}

void PristineMainMenu::RestoreProperties() {
    for (const Item& entry : items_) {
        vcl::TMenuItem* item = entry.item.Get();
        if (item->Caption() != entry.caption) item->SetCaption(entry.caption);
        item->SetChecked(entry.checked);
        item->SetEnabled(entry.enabled);
        item->SetVisible(entry.visible);
        item->SetShortCut(entry.shortCut);
        item->SetImageIndex(entry.imageIndex);
        if (item->Action() != entry.action.Get()) item->SetAction(entry.action.Get());
        item->Tag = entry.tag;
        item->OnClick = entry.onClick;
    }
}

PristineActionList::PristineActionList(vcl::TCustomActionList& list) : list_(&list) {
    for (int i = 0; i < list.ComponentCount(); ++i) known_.insert(list.Components(i));
    for (int i = 0; i < list.ActionCount(); ++i) {
        auto* action = dynamic_cast<vcl::TAction*>(list.Actions(i));
        if (!action) continue;
        known_.insert(action);
        actions_.push_back({action, action, action->Name(), action->Category, action->Caption(), action->Enabled(),
                            action->Visible(), action->Checked(), action->ShortCut(), action->Tag, action->OnExecute});
    }
}

bool PristineActionList::Restore() {
    if (!list_) return false;
    vcl::TCustomActionList* list = list_.Get();
    RemakeDestroyed<vcl::TAction>(actions_, list, known_);
    std::vector<vcl::ComponentPtr<vcl::TComponent>> added;
    for (int i = 0; i < list->ActionCount(); ++i)
        if (!known_.count(list->Actions(i))) added.emplace_back(list->Actions(i));
    CollectAdded(*list, known_, added);
    DestroyAll(added);

    bool inOrder = list->ActionCount() == static_cast<int>(actions_.size());
    for (size_t i = 0; inOrder && i < actions_.size(); ++i)
        inOrder = list->Actions(static_cast<int>(i)) == actions_[i].item.Get();
    if (!inOrder) {
        for (const Action& entry : actions_) entry.item->SetActionList(nullptr);
        for (const Action& entry : actions_) entry.item->SetActionList(list);
    }
    RestoreNames(actions_);
    for (const Action& entry : actions_) {
        vcl::TAction* action = entry.item.Get();
        Put(action->Category, entry.category);
        if (action->Caption() != entry.caption) action->SetCaption(entry.caption);
        if (action->Enabled() != entry.enabled) action->SetEnabled(entry.enabled);
        if (action->Visible() != entry.visible) action->SetVisible(entry.visible);
        if (action->Checked() != entry.checked) action->SetChecked(entry.checked);
        if (action->ShortCut() != entry.shortCut) action->SetShortCut(entry.shortCut);
        action->OnExecute = entry.onExecute;
        action->Tag = entry.tag;
    }
    return true;
}

}  // namespace sim
