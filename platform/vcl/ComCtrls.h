// Toolbars and their buttons. A toolbar keeps its controls in a row, in button order: a
// control placed at or beyond the end goes after the others, and the row closes up around
// hidden ones.
#pragma once

#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ImgList.h"

namespace vcl {

enum class TToolButtonStyle { tbsButton, tbsSeparator, tbsDivider };

class TToolButton : public TControl {
public:
    static constexpr int DefaultWidth = 23;
    static constexpr int DefaultHeight = 22;

    explicit TToolButton(TComponent* owner);
    KORVEL_VCL_CLASS(TToolButton)

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle style) { style_ = style; }
    bool Down() const { return down_; }
    void SetDown(bool down) { down_ = down; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    // The position on its toolbar, counting every control there; -1 off a toolbar.
    int Index() const;

private:
    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    bool down_ = false;
    int imageIndex_ = -1;
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);
    KORVEL_VCL_CLASS(TToolBar)

    // Every control on the toolbar, tool buttons or not, in button order.
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TControl* Buttons(int index) const;
    int IndexOfButton(const TControl* control) const;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TCustomImageList* Images() const { return images_.Get(); }
    void SetImages(TCustomImageList* images) { images_ = images; }
    // Whether the toolbar is undocked; the user drags it in and out of its dock.
    bool Floating() const { return floating_; }
    void SetFloating(bool floating) { floating_ = floating; }

protected:
    void ControlInserted(TControl* control) override;
    void ControlRemoved(TControl* control) override;
    void ControlChanged(TControl* control, bool moved) override;

private:
    // Before the first visible control whose middle lies beyond the control's Left.
    size_t PositionFor(const TControl& control) const;
    void ArrangeButtons();

    std::vector<TControl*> buttons_;
    bool autoSize_ = false;
    bool floating_ = false;
    ComponentPtr<TCustomImageList> images_;
};

class TStatusBar : public TWinControl {
public:
    using TWinControl::TWinControl;
    KORVEL_VCL_CLASS(TStatusBar)
};

}  // namespace vcl
