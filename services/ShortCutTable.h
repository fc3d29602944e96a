// The IDE actions whose shortcuts packages must not take over, collected once from the IDE's
// action list. Answers "does an enabled collected action have this shortcut" from a count per
// shortcut, kept current as the actions change and as the IDE destroys them.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/vcl/ActnList.h"

namespace korvel {

// The shortcut of IsShortcut's key data: bits 0-15 the key code, 16 Shift, 17 Ctrl, 18 Alt.
vcl::TShortCut ShortCutOfKeyData(int32_t keyData);

class ShortCutTable : public vcl::TComponent {
public:
    ShortCutTable();
    ~ShortCutTable() override;

    // Appends every action of the list that the table takes (see Takes), in list order.
    void CollectFrom(const vcl::TCustomActionList& actionList);
    // A custom action with a shortcut that has a name, and no "Edit" or "Search" in its name.
    static bool Takes(const vcl::TContainedAction& action);

    bool HasEnabledAction(vcl::TShortCut shortCut) const;
    // In collection order, without the actions destroyed since.
    std::vector<vcl::TCustomAction*> Actions() const;

protected:
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

private:
    // What an action adds to the counts, as of its last change.
    struct Counted {
        int listenerKey;
        vcl::TShortCut shortCut;
        bool enabled;
    };

    void Add(vcl::TCustomAction* action);
    void Recount(vcl::TCustomAction* action);
    void Count(const Counted& counted, int delta);

    std::vector<vcl::ComponentPtr<vcl::TCustomAction>> order_;
    // Keyed by address only: a destroyed action is looked up, never read.
    std::unordered_map<const vcl::TComponent*, Counted> counted_;
    std::unordered_map<vcl::TShortCut, int> enabledCounts_;
};

}  // namespace korvel
