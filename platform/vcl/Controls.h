// Visual controls: a parent, bounds, visibility, texts and a click. A windowed control holds
// child controls, hears when they move or change, and destroys them with itself.
#pragma once

#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/win32/Win32.h"

namespace vcl {

class TWinControl;
class TPopupMenu;

// How a control places itself in its parent: the parent lays out top-aligned controls
// first, then bottom-aligned ones, and gives a client-aligned one what is left.
enum class TAlign { alNone, alTop, alBottom, alClient };

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;

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
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled) { enabled_ = enabled; }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // In front of its siblings.
    virtual void BringToFront();
    TPopupMenu* PopupMenu() const;
    void SetPopupMenu(TPopupMenu* menu);

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

protected:
    // The bounds changed; a windowed control moves its window.
    virtual void BoundsChanged(bool resized) { (void)resized; }
    virtual void VisibleChanged() {}

private:
    friend class TWinControl;

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TAlign align_ = TAlign::alNone;
    ComponentPtr<TPopupMenu> popupMenu_;
    String text_;
    String hint_;
};

// A control with a window of its own. The window handle is made on demand (HandleNeeded),
// with the handles of the child controls; it goes when the control leaves its parent or is
// destroyed, and RecreateWnd replaces it while the control lives, as the library does when
// a window property changes. Every new handle is followed by a resize notification.
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
    void Refresh() { Update(); }
    int UpdateCount() const { return updateCount_; }

    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    void RecreateWnd();
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }
    // Gives the control's window the keyboard focus.
    void SetFocus();
    void SetEnabled(bool enabled) override;
    void SetText(const String& text) override;
    void BringToFront() override;

    TNotifyEvent OnResize;

protected:
    virtual void ControlInserted(TControl*) {}
    virtual void ControlRemoved(TControl*) {}
    // A child's bounds or visibility changed; `moved` when its position was set.
    virtual void ControlChanged(TControl*, bool /*moved*/) {}
    // Positions a child for a layout of its own, without hearing about it.
    static void PlaceChild(TControl& child, int left, int top);

    // A top-level control's window is a pop-up; others are children of the parent's window.
    virtual DWORD WindowStyle() const;
    virtual DWORD WindowExStyle() const { return 0; }
    // Destroys the window handle; the children's handles are gone by then.
    virtual void DestroyWindowHandle();
    void DestroyHandle();
    // Runs OnResize; the handler may replace the handle.
    virtual void Resize() { RaiseEvent(OnResize, this); }
    void BoundsChanged(bool resized) override;
    void VisibleChanged() override;

private:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void CreateHandle();
    void AlignControls();

    std::vector<TControl*> controls_;
    int updateCount_ = 0;
    HWND handle_ = nullptr;
    bool aligning_ = false;
};

}  // namespace vcl
