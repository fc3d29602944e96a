// The references a package holds on the system's objects of one interface. Each slot owns
// exactly one reference, taken from an out parameter or an explicit AddRef; the package
// never releases more than it holds. Objects stay here after the system removed them, so
// later calls reach them stale.
#pragma once

#include <algorithm>
#include <vector>

#include "fuzz/FuzzInput.h"

namespace fuzz {

template <class Interface>
class HeldReferences {
public:
    static constexpr size_t Capacity = 12;

    HeldReferences() = default;
    HeldReferences(const HeldReferences&) = delete;
    HeldReferences& operator=(const HeldReferences&) = delete;
    ~HeldReferences() { ReleaseAll(); }

    // Takes over the reference an out parameter handed back; a full list lets go of it.
    void Adopt(Interface* object) {
        if (!object) return;
        if (slots_.size() >= Capacity) {
            object->Release();
            return;
        }
        slots_.push_back(object);
    }
    // A held object, or nil when none is held.
    Interface* Pick(FuzzInput& input) const { return slots_.empty() ? nullptr : slots_[input.Choose(slots_.size())]; }
    // A second reference on one already held, as a package copying an interface does.
    void Duplicate(FuzzInput& input) {
        if (Interface* object = Pick(input)) {
            object->AddRef();
            Adopt(object);
        }
    }
    void ReleaseOne(FuzzInput& input) {
        if (slots_.empty()) return;
        const size_t index = input.Choose(slots_.size());
        Interface* object = slots_[index];
        slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(index));
        object->Release();
    }
    // Lets go of one reference on `object`, if one is held.
    void ReleaseOneOf(const void* object) {
        const auto found = std::find(slots_.begin(), slots_.end(), object);
        if (found == slots_.end()) return;
        Interface* held = *found;
        slots_.erase(found);
        held->Release();
    }
    // Drops one slot of `object` without releasing: the system took that reference over.
    void Forget(const void* object) {
        const auto found = std::find(slots_.begin(), slots_.end(), object);
        if (found != slots_.end()) slots_.erase(found);
    }
    void ReleaseAll() {
        // Out of the list first: a release may run package code that reaches this list.
        std::vector<Interface*> released;
        released.swap(slots_);
        for (Interface* object : released) object->Release();
    }
    bool Empty() const { return slots_.empty(); }

private:
    std::vector<Interface*> slots_;
};

}  // namespace fuzz
