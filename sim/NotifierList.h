// The IDE's registered notifiers of one kind: the index AddNotifier answers stays the
// notifier's until it is removed, and removed slots stay empty so that other indexes keep
// their meaning. The IDE holds each notifier until it is removed or the list is released.
#pragma once

#include <vector>

#include "platform/ide/ToolsAPINotifiers.h"
#include "platform/rtl/ComGuard.h"

namespace sim {

template <class Notifier>
class NotifierList {
public:
    int Add(Notifier* notifier) {
        notifiers_.emplace_back(notifier);
        return static_cast<int>(notifiers_.size()) - 1;
    }
    // An index that names no notifier (any more) is ignored.
    void Remove(int index) {
        if (index >= 0 && index < static_cast<int>(notifiers_.size())) notifiers_[static_cast<size_t>(index)] = nullptr;
    }

    // Tells each notifier in turn, from a copy: a notifier may add or remove notifiers, even
    // itself, while it is told. What a notifier raises ends the round and goes to the caller.
    template <class Call>
    void ForEach(Call&& call) const {
        const auto notifiers = notifiers_;
        for (const auto& notifier : notifiers)
            if (notifier) call(*notifier.Get());
    }
    // The notifiers that also offer `Other`.
    template <class Other, class Call>
    void ForEachOffering(Call&& call) const {
        ForEach([&](Notifier& notifier) {
            if (const auto other = rtl::ComPtr<Notifier>(&notifier).template Query<Other>()) call(*other.Get());
        });
    }

    // The watched object is going: every notifier hears Destroyed, then the list lets them go.
    void ReleaseAll() {
        const auto notifiers = std::move(notifiers_);
        notifiers_.clear();
        for (const auto& notifier : notifiers)
            if (notifier) rtl::Swallow([&] { notifier->Destroyed(); });
    }

private:
    std::vector<rtl::ComPtr<Notifier>> notifiers_;
};

}  // namespace sim
