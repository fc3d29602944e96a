#include "platform/vcl/StdCtrls.h"

namespace vcl {

TLabel::TLabel(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 65, 13); }

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 145, 21); }

void TComboBox::CheckIndex(int index) const {
    if (index < 0 || index >= ItemCount()) rtl::RaiseListIndexError(index);
}

const String& TComboBox::Items(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)];
}

void TComboBox::SetItem(int index, const String& item) {
    CheckIndex(index);
    items_[static_cast<size_t>(index)] = item;
    if (index == itemIndex_) SetItemIndex(index);
}

int TComboBox::AddItem(const String& item) {
    items_.push_back(item);
    return ItemCount() - 1;
}

void TComboBox::DeleteItem(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    // The edit field keeps its text when the selected entry goes.
    if (index == itemIndex_)
        itemIndex_ = -1;
    else if (index < itemIndex_)
        --itemIndex_;
}

void TComboBox::Clear() {
    items_.clear();
    itemIndex_ = -1;
    TControl::SetText(String());
}

void TComboBox::SetItemIndex(int index) {
    itemIndex_ = index >= 0 && index < ItemCount() ? index : -1;
    TControl::SetText(itemIndex_ >= 0 ? items_[static_cast<size_t>(itemIndex_)] : String());
}

String TComboBox::Text() const {
    if (style_ == TComboBoxStyle::csDropDownList)
        return itemIndex_ >= 0 ? items_[static_cast<size_t>(itemIndex_)] : String();
    return TControl::Text();
}

void TComboBox::SetText(const String& text) {
    if (style_ == TComboBoxStyle::csDropDownList)
        SetItemIndex(IndexOfText(text));
    else
        TControl::SetText(text);
}

int TComboBox::IndexOfText(const String& text) const {
    for (int i = 0; i < ItemCount(); ++i)
        if (rtl::SameText(items_[static_cast<size_t>(i)], text)) return i;
    return -1;
}

bool TComboBox::UserTypes(const String& keys) {
    if (style_ == TComboBoxStyle::csDropDownList || !Enabled() || !Visible()) return false;
    const ComponentPtr<TComboBox> self(this);
    for (const char16_t key : keys) {
        if (!self) break;  // a handler destroyed it
        TControl::SetText(TControl::Text() + key);
        itemIndex_ = -1;
        RaiseEvent(OnChange, this);
    }
    return true;
}

bool TComboBox::UserPicks(int index) {
    if (index < 0 || index >= ItemCount() || !Enabled() || !Visible()) return false;
    SetItemIndex(index);
    const ComponentPtr<TComboBox> self(this);
    Click();
    if (self) RaiseEvent(OnChange, this);
    return true;
}

}  // namespace vcl
