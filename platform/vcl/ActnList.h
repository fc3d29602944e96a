// Actions: named commands with a caption, a shortcut and an enabled state, held in an action
// list. Whoever caches facts about an action can ask to be told when it changes.
#pragma once

#include <functional>

#include "platform/vcl/Classes.h"
#include "platform/vcl/ShortCuts.h"

namespace vcl {

class TCustomActionList;

class TBasicAction : public TComponent {
public:
    using TComponent::TComponent;
    KORVEL_VCL_CLASS(TBasicAction)

    TNotifyEvent OnExecute;
    // Runs OnExecute; false when there is none.
    virtual bool Execute();
};

class TContainedAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    ~TContainedAction() override;
    KORVEL_VCL_CLASS(TContainedAction)

    TCustomActionList* ActionList() const { return actionList_; }
    void SetActionList(TCustomActionList* list);
    String Category;

private:
    TCustomActionList* actionList_ = nullptr;
};

class TCustomAction : public TContainedAction {
public:
    using TContainedAction::TContainedAction;
    KORVEL_VCL_CLASS(TCustomAction)

    using ChangeListener = std::function<void(TCustomAction* action)>;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);

    bool Execute() override;

    // Told after every change of a property; returns a key for RemoveChangeListener.
    int AddChangeListener(ChangeListener listener);
    void RemoveChangeListener(int key);

private:
    void Changed();

    String caption_;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    TShortCut shortCut_ = 0;
    std::vector<std::pair<int, ChangeListener>> listeners_;
    int nextListenerKey_ = 1;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    KORVEL_VCL_CLASS(TAction)
};

class TCustomActionList : public TComponent {
public:
    using TComponent::TComponent;
    ~TCustomActionList() override;
    KORVEL_VCL_CLASS(TCustomActionList)

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TContainedAction* Actions(int index) const;

private:
    friend class TContainedAction;
    std::vector<TContainedAction*> actions_;
};

class TActionList : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;
    KORVEL_VCL_CLASS(TActionList)
};

}  // namespace vcl
