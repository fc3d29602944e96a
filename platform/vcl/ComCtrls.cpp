#include "platform/vcl/ComCtrls.h"

#include <algorithm>

namespace vcl {

TToolButton::TToolButton(TComponent* owner) : TControl(owner) { SetBounds(0, 0, DefaultWidth, DefaultHeight); }

int TToolButton::Index() const {
    const auto* toolBar = dynamic_cast<const TToolBar*>(Parent());
    return toolBar ? toolBar->IndexOfButton(this) : -1;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 29); }

TControl* TToolBar::Buttons(int index) const {
    if (index < 0 || index >= ButtonCount()) rtl::RaiseListIndexError(index);
    return buttons_[static_cast<size_t>(index)];
}

int TToolBar::IndexOfButton(const TControl* control) const {
    const auto found = std::find(buttons_.begin(), buttons_.end(), control);
    return found == buttons_.end() ? -1 : static_cast<int>(found - buttons_.begin());
}

void TToolBar::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    ArrangeButtons();
}

void TToolBar::ControlInserted(TControl* control) {
    buttons_.insert(buttons_.begin() + static_cast<std::ptrdiff_t>(PositionFor(*control)), control);
    ArrangeButtons();
}

// A control leaves even when the rest cannot be laid out (it may be on its way out of its
// destructor): a row too wide for the integers keeps the places it had.
void TToolBar::ControlRemoved(TControl* control) {
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), control), buttons_.end());
    try {
        ArrangeButtons();
    } catch (const rtl::EIntOverflow&) {
    }
}

void TToolBar::ControlChanged(TControl* control, bool moved) {
    if (moved) {
        buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), control), buttons_.end());
        buttons_.insert(buttons_.begin() + static_cast<std::ptrdiff_t>(PositionFor(*control)), control);
    }
    ArrangeButtons();
}

size_t TToolBar::PositionFor(const TControl& control) const {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const TControl* button = buttons_[i];
        if (button->Visible() && control.Left() < button->Left() + button->Width() / 2) return i;
    }
    return buttons_.size();
}

void TToolBar::ArrangeButtons() {
    // Every position is worked out before any is given: an overflow leaves the row as it was.
    std::vector<int> lefts;
    lefts.reserve(buttons_.size());
    int left = 0;
    for (const TControl* button : buttons_) {
        lefts.push_back(left);
        if (button->Visible()) left = rtl::AddChecked(left, button->Width());
    }
    for (size_t i = 0; i < buttons_.size(); ++i) PlaceChild(*buttons_[i], lefts[i], 0);
    if (autoSize_) SetWidth(left);
}

}  // namespace vcl
