#include "platform/vcl/Controls.h"

#include <algorithm>

namespace vcl {

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
    if (!moved && width == width_ && height == height_) return;
    // The right and bottom edges must be numbers too; whoever lays the control out relies on it.
    rtl::AddChecked(left, width);
    rtl::AddChecked(top, height);
    const int old[] = {left_, top_, width_, height_};
    AssignBounds(left, top, width, height);
    if (!parent_) return;
    try {
        parent_->ControlChanged(this, moved);
    } catch (...) {
        // The parent cannot lay it out so: the control keeps the bounds it had.
        AssignBounds(old[0], old[1], old[2], old[3]);
        parent_->ControlChanged(this, moved);
        throw;
    }
}

void TControl::AssignBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (parent_) parent_->ControlChanged(this, false);
}

TWinControl::~TWinControl() {
    Destroying();
    while (!controls_.empty()) delete controls_.back();
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
    if (!IsDestroying()) ControlInserted(control);
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (!IsDestroying()) ControlRemoved(control);
}

}  // namespace vcl
