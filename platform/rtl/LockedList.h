// A list of plain object pointers under its own lock, one operation at a time; it holds
// no reference on its elements.
#pragma once

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/rtl/Exceptions.h"

namespace rtl {

template <class T>
class LockedList {
public:
    int Count() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(items_.size());
    }
    T* Items(int index) const {
        std::lock_guard<std::mutex> lock(mutex_);
        if (index < 0 || index >= static_cast<int>(items_.size())) RaiseListIndexError(index);
        return items_[static_cast<size_t>(index)];
    }
    void Add(T* item) {
        std::lock_guard<std::mutex> lock(mutex_);
        items_.push_back(item);
    }
    void Remove(T* item) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = std::find(items_.begin(), items_.end(), item);
        if (found != items_.end()) items_.erase(found);
    }
    bool Contains(T* item) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::find(items_.begin(), items_.end(), item) != items_.end();
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        items_.clear();
    }
    // A copy to walk while elements may leave the list.
    std::vector<T*> Snapshot() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return items_;
    }
    // The first element the predicate accepts, looked for under the lock.
    template <class Predicate>
    T* FindFirst(Predicate&& accept) const {
        std::lock_guard<std::mutex> lock(mutex_);
        for (T* item : items_)
            if (accept(item)) return item;
        return nullptr;
    }

private:
    mutable std::mutex mutex_;
    std::vector<T*> items_;
};

}  // namespace rtl
