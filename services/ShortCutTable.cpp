#include "services/ShortCutTable.h"

namespace korvel {
namespace {

bool BelongsInTable(const vcl::TCustomAction& action) {
    const rtl::String& name = action.Name();
    return name.find(u"Edit") == rtl::String::npos && name.find(u"Search") == rtl::String::npos &&
           !vcl::ShortCutToText(action.ShortCut()).empty();
}

}  // namespace

vcl::TShortCut ShortCutOfKeyData(int32_t keyData) {
    vcl::TShiftState modifiers = 0;
    if (keyData & 0x10000) modifiers |= vcl::ssShift;
    if (keyData & 0x20000) modifiers |= vcl::ssCtrl;
    if (keyData & 0x40000) modifiers |= vcl::ssAlt;
    return vcl::ShortCut(static_cast<uint16_t>(keyData & 0xFFFF), modifiers);
}

ShortCutTable::ShortCutTable() : vcl::TComponent(nullptr) {}

ShortCutTable::~ShortCutTable() { Release(); }

void ShortCutTable::Release() {
    pending_ = nullptr;
    for (const auto& action : order_) {
        if (!action) continue;
        const auto found = counted_.find(action.Get());
        if (found != counted_.end()) action->RemoveChangeListener(found->second.listenerKey);
        action->RemoveFreeNotification(this);
        RemoveFreeNotification(action.Get());
    }
    order_.clear();
    counted_.clear();
    enabledCounts_.clear();
}

void ShortCutTable::CollectFrom(vcl::TCustomActionList& actionList) { pending_ = &actionList; }

void ShortCutTable::CollectPending() {
    vcl::TCustomActionList* actionList = pending_.Get();
    if (!actionList) return;
    pending_ = nullptr;
    for (int index = 0; index < actionList->ActionCount(); ++index) {
        auto* action = dynamic_cast<vcl::TCustomAction*>(actionList->Actions(index));
        if (action && BelongsInTable(*action)) Add(action);
    }
}

void ShortCutTable::Add(vcl::TCustomAction* action) {
    if (counted_.count(action)) return;
    const int listenerKey = action->AddChangeListener([this](vcl::TCustomAction* changed) { Recount(changed); });
    const Counted counted{listenerKey, action->ShortCut(), action->Enabled()};
    counted_.emplace(action, counted);
    Count(counted, +1);
    order_.emplace_back(action);
    action->FreeNotification(this);
}

void ShortCutTable::Recount(vcl::TCustomAction* action) {
    const auto found = counted_.find(action);
    if (found == counted_.end()) return;
    Counted& counted = found->second;
    Count(counted, -1);
    counted.shortCut = action->ShortCut();
    counted.enabled = action->Enabled();
    Count(counted, +1);
}

void ShortCutTable::Count(const Counted& counted, int delta) {
    if (!counted.enabled) return;
    const int count = enabledCounts_[counted.shortCut] += delta;
    if (count == 0) enabledCounts_.erase(counted.shortCut);
}

bool ShortCutTable::HasEnabledAction(vcl::TShortCut shortCut) {
    CollectPending();
    return enabledCounts_.count(shortCut) != 0;
}

std::vector<vcl::TCustomAction*> ShortCutTable::Actions() {
    CollectPending();
    std::vector<vcl::TCustomAction*> actions;
    for (const auto& action : order_)
        if (action) actions.push_back(action.Get());
    return actions;
}

void ShortCutTable::Notification(vcl::TComponent* component, vcl::TOperation operation) {
    vcl::TComponent::Notification(component, operation);
    if (operation != vcl::TOperation::opRemove) return;
    const auto found = counted_.find(component);
    if (found == counted_.end()) return;
    Count(found->second, -1);
    counted_.erase(found);
}

}  // namespace korvel
