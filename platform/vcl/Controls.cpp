#include "platform/vcl/Controls.h"

#include <algorithm>

#include "platform/rtl/Text.h"
#include "platform/vcl/Menus.h"

namespace vcl {
namespace {

constexpr char16_t ControlWindowClass[] = u"KorvelVclControl";

HINSTANCE ControlInstance() { return GetModuleHandleW(nullptr); }

void RegisterControlWindowClass() {
    WNDCLASSW existing{};
    if (GetClassInfoW(ControlInstance(), rtl::W(ControlWindowClass), &existing)) return;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = ControlInstance();
    windowClass.lpszClassName = rtl::W(ControlWindowClass);
    RegisterClassW(&windowClass);
}

}  // namespace

TControl::~TControl() {
    Destroying();
    SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw rtl::EInvalidOperation(u"A control cannot be its own parent");
    if (TWinControl* old = parent_) {
        parent_ = nullptr;
        old->RemoveControl(this);
    }
    if (parent) {
        parent_ = parent;
        parent->InsertControl(this);
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const bool moved = left != left_ || top != top_;
    const bool resized = width != width_ || height != height_;
    if (!moved && !resized) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged(resized);
    if (!parent_) return;
    if (align_ != TAlign::alNone) parent_->AlignControls();
    parent_->ControlChanged(this, moved);
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    VisibleChanged();
    if (!parent_) return;
    if (align_ != TAlign::alNone) parent_->AlignControls();
    parent_->ControlChanged(this, false);
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    if (parent_) parent_->AlignControls();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    siblings.push_back(this);
}

TPopupMenu* TControl::PopupMenu() const { return popupMenu_.Get(); }
void TControl::SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

TWinControl::~TWinControl() {
    Destroying();
    while (!controls_.empty()) delete controls_.back();
    DestroyHandle();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) rtl::RaiseListIndexError(index);
    return controls_[static_cast<size_t>(index)];
}

void TWinControl::PlaceChild(TControl& child, int left, int top) {
    child.left_ = left;
    child.top_ = top;
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    if (IsDestroying()) return;
    AlignControls();
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && handle_) windowed->HandleNeeded();
    ControlInserted(control);
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->DestroyHandle();
    if (IsDestroying()) return;
    AlignControls();
    ControlRemoved(control);
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded() {
    if (!handle_) CreateHandle();
}

DWORD TWinControl::WindowStyle() const {
    DWORD style = Parent() ? (WS_CHILD | WS_CLIPSIBLINGS) : WS_POPUP;
    if (Visible()) style |= WS_VISIBLE;
    if (!Enabled()) style |= WS_DISABLED;
    return style;
}

void TWinControl::CreateHandle() {
    if (IsDestroying()) throw rtl::EInvalidOperation(u"Control is being destroyed");
    const HWND parentWindow = Parent() ? Parent()->Handle() : nullptr;
    // Making the parent's handle made this one too.
    if (handle_) return;
    RegisterControlWindowClass();
    handle_ = CreateWindowExW(WindowExStyle(), rtl::W(ControlWindowClass), rtl::W(Text()), WindowStyle(), Left(),
                              Top(), Width(), Height(), parentWindow, nullptr, ControlInstance(), nullptr);
    if (!handle_) throw rtl::EInvalidOperation(u"Error creating window");
    // Siblings keep their stacking: the newest window goes behind those made before it.
    SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (TControl* child : std::vector<TControl*>(controls_))
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) windowed->HandleNeeded();
    Resize();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    for (TControl* child : std::vector<TControl*>(controls_))
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) windowed->DestroyHandle();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    const HWND old = std::exchange(handle_, nullptr);
    if (old) DestroyWindow(old);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

void TWinControl::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    if (handle_) EnableWindow(handle_, enabled ? TRUE : FALSE);
}

void TWinControl::SetText(const String& text) {
    TControl::SetText(text);
    if (handle_) SetWindowTextW(handle_, rtl::W(text));
}

void TWinControl::BringToFront() {
    TControl::BringToFront();
    if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::BoundsChanged(bool resized) {
    if (handle_) SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (!resized) return;
    AlignControls();
    if (handle_) Resize();
}

void TWinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOW : SW_HIDE);
}

void TWinControl::AlignControls() {
    if (aligning_) return;
    aligning_ = true;
    int top = 0;
    int bottom = ClientHeight();
    const auto place = [&](TAlign align) {
        for (TControl* child : std::vector<TControl*>(controls_)) {
            if (child->Align() != align || !child->Visible()) continue;
            if (align == TAlign::alTop) {
                child->SetBounds(0, top, ClientWidth(), child->Height());
                top += child->Height();
            } else if (align == TAlign::alBottom) {
                bottom -= child->Height();
                child->SetBounds(0, bottom, ClientWidth(), child->Height());
            } else {
                child->SetBounds(0, top, ClientWidth(), std::max(0, bottom - top));
            }
        }
    };
    place(TAlign::alTop);
    place(TAlign::alBottom);
    place(TAlign::alClient);
    aligning_ = false;
}

}  // namespace vcl
