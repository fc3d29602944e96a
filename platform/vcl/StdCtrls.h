// Labels and combo boxes. A combo box raises its events only for what a user does, as the
// library does: UserTypes and UserPicks are where the user's keystrokes and choices arrive.
#pragma once

#include <vector>

#include "platform/vcl/Controls.h"

namespace vcl {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner);
    KORVEL_VCL_CLASS(TLabel)

    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout) { layout_ = layout; }

private:
    TTextLayout layout_ = TTextLayout::tlTop;
};

// csDropDown takes typed text; csDropDownList only offers its list.
enum class TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    KORVEL_VCL_CLASS(TComboBox)

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style) { style_ = style; }

    // The list. An index outside it raises the list's index error.
    int ItemCount() const { return static_cast<int>(items_.size()); }
    const String& Items(int index) const;
    void SetItem(int index, const String& item);
    int AddItem(const String& item);
    void DeleteItem(int index);
    // Empties the list and the text.
    void Clear();

    // -1 when nothing is selected; an index outside the list selects nothing.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

    // A list-only combo box shows its selected entry; setting its text selects the entry
    // with that text (ignoring case), or none.
    String Text() const override;
    void SetText(const String& text) override;

    TNotifyEvent OnChange;

    // The user types `keys` into the edit field: each keystroke changes the text and raises
    // OnChange. Refused (false) by a list-only, disabled or hidden combo box.
    bool UserTypes(const String& keys);
    // The user picks entry `index` from the list: it is selected, then OnClick and OnChange
    // are raised. Refused (false) for an index outside the list or a disabled or hidden box.
    bool UserPicks(int index);

private:
    void CheckIndex(int index) const;
    int IndexOfText(const String& text) const;

    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    std::vector<String> items_;
    int itemIndex_ = -1;
};

}  // namespace vcl
