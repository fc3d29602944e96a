// Visual controls: a parent, bounds, visibility, texts and a click. A windowed control holds
// child controls, hears when they move or change, and destroys them with itself.
#pragma once

#include <vector>

#include "platform/vcl/Classes.h"

namespace vcl {

class TWinControl;

// Runs an event handler from a copy: the handler may destroy the control that holds it.
inline void RaiseEvent(const TNotifyEvent& event, TObject* sender) {
    if (!event) return;
    const TNotifyEvent handler = event;
    handler(sender);
}

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner) : TComponent(owner) {}
    ~TControl() override;
    KORVEL_VCL_CLASS(TControl)

    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    // Raises EIntOverflow, changing nothing, for an edge beyond the integers or a layout of
    // the parent's that would overflow.
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // The caption is the control's text.
    virtual String Text() const { return text_; }
    virtual void SetText(const String& text) { text_ = text; }
    String Caption() const { return Text(); }
    void SetCaption(const String& caption) { SetText(caption); }
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }

    TNotifyEvent OnClick;
    // Runs OnClick. The handler may destroy the control; nothing touches it afterwards.
    void Click() { RaiseEvent(OnClick, this); }

private:
    friend class TWinControl;
    void AssignBounds(int left, int top, int width, int height);

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    String text_;
    String hint_;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner) : TControl(owner) {}
    // Destroys the child controls, from the last to the first, whoever owns them.
    ~TWinControl() override;
    KORVEL_VCL_CLASS(TWinControl)

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;

    // Repaints at once; the count lets an observer see that it happened.
    void Update() { ++updateCount_; }
    int UpdateCount() const { return updateCount_; }

protected:
    virtual void ControlInserted(TControl*) {}
    virtual void ControlRemoved(TControl*) {}
    // A child's bounds or visibility changed; `moved` when its position was set.
    virtual void ControlChanged(TControl*, bool /*moved*/) {}
    // Positions a child for a layout of its own, without hearing about it.
    static void PlaceChild(TControl& child, int left, int top);

private:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    std::vector<TControl*> controls_;
    int updateCount_ = 0;
};

}  // namespace vcl
