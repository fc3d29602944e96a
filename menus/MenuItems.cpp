#include "menus/MenuItems.h"

#include <algorithm>

#include "menus/BdsMenuItem.h"

namespace korvel {

TMenuItems::~TMenuItems() { Clear(); }

TBdsMenuItem* TMenuItems::GetMenuItem(const String& Name) const {
    if (Name.empty()) return nullptr;
    return FindInBucket(Name, [](const vcl::TMenuItem* item) { return item != nullptr; });
}

TBdsMenuItem* TMenuItems::WrapperOf(const vcl::TMenuItem* item) const {
    if (!item) return nullptr;
    return FindInBucket(item->Name(), [item](const vcl::TMenuItem* wrapped) { return wrapped == item; });
}

template <class Accept>
TBdsMenuItem* TMenuItems::FindInBucket(const String& name, Accept&& accept) const {
    std::lock_guard<std::mutex> lock(FIndexLock);
    const auto found = FByName.find(rtl::LowerCase(name));
    if (found == FByName.end()) return nullptr;
    for (const Slot& slot : found->second)
        if (accept(FEntries.at(slot.second).item.Get())) return slot.second;
    return nullptr;
}

void TMenuItems::Add(TBdsMenuItem* item) {
    vcl::TMenuItem* menuItem = item->MenuItem();
    {
        std::lock_guard<std::mutex> lock(FIndexLock);
        Entry entry{FNextOrder++, rtl::LowerCase(menuItem->Name()), menuItem, 0};
        entry.nameListener = menuItem->AddNameChangeListener(
            [this, item](vcl::TMenuItem* renamed) { Renamed(item, renamed->Name()); });
        FByName[entry.key].emplace_back(entry.order, item);
        FEntries.emplace(item, std::move(entry));
    }
    FList.Add(item);
}

void TMenuItems::Remove(TBdsMenuItem* item) {
    FList.Remove(item);
    std::lock_guard<std::mutex> lock(FIndexLock);
    const auto found = FEntries.find(item);
    if (found == FEntries.end()) return;
    Unindex(item, found->second);
    Forget(found->second);
    FEntries.erase(found);
}

void TMenuItems::Clear() {
    FList.Clear();
    std::lock_guard<std::mutex> lock(FIndexLock);
    for (const auto& entry : FEntries) Forget(entry.second);
    FEntries.clear();
    FByName.clear();
}

void TMenuItems::Renamed(TBdsMenuItem* wrapper, const String& name) {
    std::lock_guard<std::mutex> lock(FIndexLock);
    const auto found = FEntries.find(wrapper);
    if (found == FEntries.end()) return;
    Entry& entry = found->second;
    Unindex(wrapper, entry);
    entry.key = rtl::LowerCase(name);
    std::vector<Slot>& slots = FByName[entry.key];
    slots.insert(std::lower_bound(slots.begin(), slots.end(), Slot(entry.order, wrapper)), Slot(entry.order, wrapper));
}

void TMenuItems::Unindex(TBdsMenuItem* wrapper, const Entry& entry) {
    const auto found = FByName.find(entry.key);
    if (found == FByName.end()) return;
    std::vector<Slot>& slots = found->second;
    slots.erase(std::remove(slots.begin(), slots.end(), Slot(entry.order, wrapper)), slots.end());
    if (slots.empty()) FByName.erase(found);
}

void TMenuItems::Forget(const Entry& entry) {
    if (vcl::TMenuItem* item = entry.item.Get()) item->RemoveNameChangeListener(entry.nameListener);
}

}  // namespace korvel
