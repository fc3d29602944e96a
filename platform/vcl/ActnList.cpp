#include "platform/vcl/ActnList.h"

#include <algorithm>

namespace vcl {

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* list) {
    if (list == actionList_) return;
    if (actionList_) {
        auto& actions = actionList_->actions_;
        actions.erase(std::remove(actions.begin(), actions.end(), this), actions.end());
    }
    actionList_ = list;
    if (actionList_) actionList_->actions_.push_back(this);
}

void TCustomAction::SetCaption(const String& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed();
}

void TCustomAction::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed();
}

void TCustomAction::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed();
}

void TCustomAction::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed();
}

void TCustomAction::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    Changed();
}

bool TCustomAction::Execute() { return enabled_ && TContainedAction::Execute(); }

int TCustomAction::AddChangeListener(ChangeListener listener) {
    listeners_.emplace_back(nextListenerKey_, std::move(listener));
    return nextListenerKey_++;
}

void TCustomAction::RemoveChangeListener(int key) {
    listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                    [key](const auto& entry) { return entry.first == key; }),
                     listeners_.end());
}

void TCustomAction::Changed() {
    // A listener may remove itself while being told.
    const auto listeners = listeners_;
    for (const auto& entry : listeners) entry.second(this);
}

TCustomActionList::~TCustomActionList() {
    for (TContainedAction* action : std::vector<TContainedAction*>(actions_)) action->SetActionList(nullptr);
}

TContainedAction* TCustomActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount()) rtl::RaiseListIndexError(index);
    return actions_[static_cast<size_t>(index)];
}

}  // namespace vcl
