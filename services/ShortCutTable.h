// The IDE actions whose shortcuts packages must not take over, collected once from the IDE's
// action list. Answers "does an enabled collected action have this shortcut" from a count per
// shortcut, kept current as the actions change and as the IDE destroys them.
//
// Start-up only names the list: the actions are collected when the table is first asked, so
// that a start-up whose packages never ask does not hook into every IDE action.
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

    // At the first question, appends in list order the custom actions whose shortcut has a
    // text and whose name holds neither "Edit" nor "Search" (case-sensitive): those commands
    // are left to packages. A list the IDE destroyed before that gives none.
    void CollectFrom(vcl::TCustomActionList& actionList);

    // Unhooks from every collected action and forgets them all. The hub outlives the loader;
    // the IDE's actions must not keep a listener and a notice for it once start-up is undone.
    void Release();

    bool HasEnabledAction(vcl::TShortCut shortCut);
    // In collection order, without the actions destroyed since.
    std::vector<vcl::TCustomAction*> Actions();

protected:
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

private:
    // What an action adds to the counts, as of its last change.
    struct Counted {
        int listenerKey;
        vcl::TShortCut shortCut;
        bool enabled;
    };

    // The collection CollectFrom put off; the answers below take it first.
    void CollectPending();
    void Add(vcl::TCustomAction* action);
    void Recount(vcl::TCustomAction* action);
    void Count(const Counted& counted, int delta);

    vcl::ComponentPtr<vcl::TCustomActionList> pending_;
    std::vector<vcl::ComponentPtr<vcl::TCustomAction>> order_;
    // Keyed by address only: a destroyed action is looked up, never read.
    std::unordered_map<const vcl::TComponent*, Counted> counted_;
    std::unordered_map<vcl::TShortCut, int> enabledCounts_;
};

}  // namespace korvel
