// The menu bar service's cache of menu item wrappers: in the order they were made, and found by
// the current component name of their menu item. It holds no reference on them; a wrapper
// leaves it when it is destroyed.
#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/rtl/LockedList.h"
#include "platform/vcl/Menus.h"

namespace korvel {

using rtl::String;

class TBdsMenuItem;

class TMenuItems {
public:
    TMenuItems() = default;
    TMenuItems(const TMenuItems&) = delete;
    TMenuItems& operator=(const TMenuItems&) = delete;
    ~TMenuItems();

    int Count() const { return FList.Count(); }
    // Raises a list-index error outside 0..Count-1.
    TBdsMenuItem* Items(int index) const { return FList.Items(index); }
    std::vector<TBdsMenuItem*> Snapshot() const { return FList.Snapshot(); }

    // The first wrapper, in cache order, whose menu item is currently named `Name` (SameText);
    // a wrapper whose item is gone matches no name. An empty name names no item: unnamed
    // items (separators, the root) are told apart only by WrapperOf.
    TBdsMenuItem* GetMenuItem(const String& Name) const;
    // The wrapper of that very item, or nil.
    TBdsMenuItem* WrapperOf(const vcl::TMenuItem* item) const;

    // The wrapper's menu item must exist when it enters.
    void Add(TBdsMenuItem* item);
    void Remove(TBdsMenuItem* item);
    void Clear();

private:
    struct Entry {
        uint64_t order;
        String key;
        vcl::ComponentPtr<vcl::TMenuItem> item;
        int nameListener;
    };
    using Slot = std::pair<uint64_t, TBdsMenuItem*>;

    // Names are looked up through an index by LowerCase, kept current by the items' rename
    // notices, so that a lookup costs the same however many wrappers there are.
    void Renamed(TBdsMenuItem* wrapper, const String& name);
    // The first wrapper, in cache order, among those filed under `name` whose item passes.
    template <class Accept>
    TBdsMenuItem* FindInBucket(const String& name, Accept&& accept) const;
    void Unindex(TBdsMenuItem* wrapper, const Entry& entry);
    void Forget(const Entry& entry);

    rtl::LockedList<TBdsMenuItem> FList;
    mutable std::mutex FIndexLock;
    uint64_t FNextOrder = 0;
    std::unordered_map<TBdsMenuItem*, Entry> FEntries;
    // Each list in cache order.
    std::unordered_map<String, std::vector<Slot>> FByName;
};

}  // namespace korvel
