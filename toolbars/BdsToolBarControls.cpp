#include "toolbars/BdsToolBarControls.h"

#include <algorithm>
#include <utility>

#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComGuard.h"
#include "services/BitmapImages.h"
#include "services/WordBool.h"
#include "toolbars/BdsToolBarService.h"

namespace korvel {
namespace {

vcl::TToolBar* ToolBarOf(const vcl::TControl& control) { return dynamic_cast<vcl::TToolBar*>(control.Parent()); }

// A divider directly before the button shows and hides with it.
void ShowDividerBefore(const vcl::TToolButton& button, bool visible) {
    vcl::TToolBar* toolBar = ToolBarOf(button);
    const int index = button.Index();
    if (!toolBar || index <= 0) return;
    auto* before = dynamic_cast<vcl::TToolButton*>(toolBar->Buttons(index - 1));
    if (before && before->Style() == vcl::TToolButtonStyle::tbsDivider) before->SetVisible(visible);
}

}  // namespace

void PlaceAfterLastControl(vcl::TControl& control, vcl::TToolBar& toolBar) {
    // The toolbar lays its visible controls out as numbers that fit, so their edges do too.
    int rowEnd = 0;
    for (int i = 0; i < toolBar.ButtonCount(); ++i) {
        const vcl::TControl& shown = *toolBar.Buttons(i);
        if (shown.Visible()) rowEnd = std::max(rowEnd, shown.Left() + shown.Width());
    }
    control.SetLeft(rowEnd);
}

// ---- TBdsToolBarControl ----

TBdsToolBarControl::TBdsToolBarControl(TBdsToolBar& ABdsToolBar) : BdsToolBar(&ABdsToolBar) {
    ABdsToolBar.RegisterControl(this);
}

TBdsToolBarControl::~TBdsToolBarControl() { LeaveToolBar(); }

void TBdsToolBarControl::LeaveToolBar() {
    if (TBdsToolBar* toolBar = BdsToolBar) {
        BdsToolBar = nullptr;
        toolBar->UnregisterControl(this);
    }
}

void TBdsToolBarControl::Detach() {
    if (FDetached) return;
    FDetached = true;
    LeaveToolBar();
    DestroyVclControls();
    // Last: releasing the sink runs package code, which may call back in.
    ReleaseEvents();
}

void TBdsToolBarControl::ReleaseEvents() {
    // Out of the field before the release, which may call back in.
    const rtl::PackageRef<IBdsToolBarControlEvents> events = std::move(FEvents);
}

vcl::TToolBar& TBdsToolBarControl::NativeToolBar() const {
    vcl::TToolBar* native = BdsToolBar ? BdsToolBar->GetNativeToolBar() : nullptr;
    if (!native) throw rtl::EInvalidOperation(u"The toolbar has no native toolbar");
    return *native;
}

template <class Body>
HRESULT TBdsToolBarControl::Guarded(Body&& body) {
    return rtl::ComGuard([&]() -> HRESULT {
        if (FDetached) return E_UNEXPECTED;
        return rtl::ResultOf(body);
    });
}

template <class Control, class Body>
HRESULT TBdsToolBarControl::On(const vcl::ComponentPtr<Control>& control, Body&& body) {
    return Guarded([&]() -> HRESULT {
        Control* target = control.Get();
        if (!target) return E_UNEXPECTED;
        return rtl::ResultOf(body, *target);
    });
}

template <class Out, class Control, class Body>
HRESULT TBdsToolBarControl::Answer(Out* out, const vcl::ComponentPtr<Control>& control, Body&& body) {
    KORVEL_CHECK_OUT(out);
    *out = Out{};
    return On(control, [&](Control& target) { *out = body(target); });
}

template <class Call>
void TBdsToolBarControl::Notify(const char* method, Call&& call) {
    if (!FEvents) return;
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    FEvents.Notify(method, std::forward<Call>(call));
}

HRESULT TBdsToolBarControl::Get_ShortCut(Integer* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return Guarded([] {});
}

HRESULT TBdsToolBarControl::Set_ShortCut(Integer) {
    return Guarded([] {});
}

HRESULT TBdsToolBarControl::RegisterEvents(IBdsToolBarControlEvents* bdsToolBarControlEvents) {
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    return Guarded([&] {
        // A sink that is not what it claims to be would be called in the wrong slot. The
        // previous sink goes last: releasing it runs package code.
        const rtl::PackageRef<IBdsToolBarControlEvents> previous =
            std::exchange(FEvents, rtl::CheckedPackageInterface(bdsToolBarControlEvents));
    });
}

// ---- TBdsToolBarButton ----

TBdsToolBarButton::TBdsToolBarButton(TBdsToolBar& ABdsToolBar) : ComObjectExtension(ABdsToolBar) {
    vcl::TToolBar& native = NativeToolBar();
    auto* button = new vcl::TToolButton(&native);
    FToolButton = button;
    button->SetStyle(vcl::TToolButtonStyle::tbsButton);
    button->SetParent(&native);
    button->OnClick = [this](vcl::TObject*) { OnButtonClick(); };
    PlaceAfterLastControl(*button, native);
}

TBdsToolBarButton::~TBdsToolBarButton() { Detach(); }

void TBdsToolBarButton::DestroyVclControls() {
    delete FToolButton.Get();
    FToolButton = nullptr;
}

void TBdsToolBarButton::OnButtonClick() {
    Notify("OnExecute", [](IBdsToolBarControlEvents& events) { return events.OnExecute(); });
}

HRESULT TBdsToolBarButton::Get_Caption(BSTR* pRetVal) {
    return Answer(pRetVal, FToolButton, [](vcl::TToolButton& button) { return rtl::AllocBstr(button.Caption()); });
}

HRESULT TBdsToolBarButton::Set_Caption(BSTR pRetVal) {
    return On(FToolButton, [&](vcl::TToolButton& button) { button.SetCaption(rtl::FromBstr(pRetVal)); });
}

HRESULT TBdsToolBarButton::Get_Enabled(WordBool* pRetVal) {
    return Answer(pRetVal, FToolButton, [](vcl::TToolButton& button) { return ToWordBool(button.Enabled()); });
}

HRESULT TBdsToolBarButton::Set_Enabled(WordBool pRetVal) {
    return On(FToolButton, [&](vcl::TToolButton& button) { button.SetEnabled(pRetVal != 0); });
}

HRESULT TBdsToolBarButton::Get_Visible(WordBool* pRetVal) {
    return Answer(pRetVal, FToolButton, [](vcl::TToolButton& button) { return ToWordBool(button.Visible()); });
}

HRESULT TBdsToolBarButton::Set_Visible(WordBool pRetVal) {
    return On(FToolButton, [&](vcl::TToolButton& button) {
        const bool visible = pRetVal != 0;
        if (visible == button.Visible()) return;
        ShowDividerBefore(button, visible);
        button.SetVisible(visible);
        if (vcl::TToolBar* toolBar = ToolBarOf(button)) toolBar->Update();
    });
}

HRESULT TBdsToolBarButton::Get_name(BSTR* pRetVal) {
    return Answer(pRetVal, FToolButton, [](vcl::TToolButton& button) { return rtl::AllocBstr(button.Name()); });
}

HRESULT TBdsToolBarButton::Set_name(BSTR pRetVal) {
    return On(FToolButton, [&](vcl::TToolButton& button) { button.SetName(rtl::FromBstr(pRetVal)); });
}

HRESULT TBdsToolBarButton::Get_ToolTip(BSTR* pRetVal) {
    return Answer(pRetVal, FToolButton, [](vcl::TToolButton& button) { return rtl::AllocBstr(button.Hint()); });
}

HRESULT TBdsToolBarButton::Set_ToolTip(BSTR pRetVal) {
    return On(FToolButton, [&](vcl::TToolButton& button) { button.SetHint(rtl::FromBstr(pRetVal)); });
}

HRESULT TBdsToolBarButton::Get_Down(WordBool* pRetVal) {
    return Answer(pRetVal, FToolButton, [](vcl::TToolButton& button) { return ToWordBool(button.Down()); });
}

HRESULT TBdsToolBarButton::Set_Down(WordBool pRetVal) {
    return On(FToolButton, [&](vcl::TToolButton& button) { button.SetDown(pRetVal != 0); });
}

HRESULT TBdsToolBarButton::SetImage(Integer imageHandle) {
    // A failure shows a modal message, during which the IDE goes on running package code.
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    return On(FToolButton, [&](vcl::TToolButton& button) {
        const vcl::TToolBar* toolBar = ToolBarOf(button);
        return AddImageFromHandle(toolBar ? toolBar->Images() : nullptr, imageHandle, u"TBdsToolBarButton.SetImage",
                                  [&](int index) { button.SetImageIndex(index); });
    });
}

// ---- TBdsToolBarComboBox ----

TBdsToolBarComboBox::TBdsToolBarComboBox(TBdsToolBar& ABdsToolBar, bool canEditText)
    : ComObjectExtension(ABdsToolBar) {
    vcl::TToolBar& native = NativeToolBar();
    auto* label = new vcl::TLabel(&native);
    FLabel = label;
    auto* comboBox = new vcl::TComboBox(&native);
    FComboBox = comboBox;
    comboBox->SetStyle(canEditText ? vcl::TComboBoxStyle::csDropDown : vcl::TComboBoxStyle::csDropDownList);
    label->SetLayout(vcl::TTextLayout::tlCenter);
    comboBox->SetParent(&native);
    comboBox->OnChange = [this](vcl::TObject*) { OnComboBoxChange(); };
    comboBox->OnClick = [this](vcl::TObject*) { OnComboBoxClick(); };
    PlaceAfterLastControl(*label, native);
    PlaceAfterLastControl(*comboBox, native);
    label->SetVisible(false);
}

TBdsToolBarComboBox::~TBdsToolBarComboBox() { Detach(); }

void TBdsToolBarComboBox::DestroyVclControls() {
    delete FLabel.Get();
    FLabel = nullptr;
    delete FComboBox.Get();
    FComboBox = nullptr;
}

void TBdsToolBarComboBox::OnComboBoxChange() {
    Notify("OnChange", [](IBdsToolBarControlEvents& events) { return events.OnChange(); });
}

void TBdsToolBarComboBox::OnComboBoxClick() {
    Notify("OnExecute", [](IBdsToolBarControlEvents& events) { return events.OnExecute(); });
}

HRESULT TBdsToolBarComboBox::Get_Caption(BSTR* pRetVal) {
    return Answer(pRetVal, FLabel, [](vcl::TLabel& label) { return rtl::AllocBstr(label.Caption()); });
}

HRESULT TBdsToolBarComboBox::Set_Caption(BSTR pRetVal) {
    return On(FLabel, [&](vcl::TLabel& label) { label.SetCaption(rtl::FromBstr(pRetVal) + u" "); });
}

HRESULT TBdsToolBarComboBox::Get_CaptionVisible(WordBool* pRetVal) {
    return Answer(pRetVal, FLabel, [](vcl::TLabel& label) { return ToWordBool(label.Visible()); });
}

HRESULT TBdsToolBarComboBox::Set_CaptionVisible(WordBool pRetVal) {
    return On(FLabel, [&](vcl::TLabel& label) { label.SetVisible(pRetVal != 0); });
}

HRESULT TBdsToolBarComboBox::Get_Enabled(WordBool* pRetVal) {
    return Answer(pRetVal, FComboBox, [](vcl::TComboBox& comboBox) { return ToWordBool(comboBox.Enabled()); });
}

HRESULT TBdsToolBarComboBox::Set_Enabled(WordBool pRetVal) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) { comboBox.SetEnabled(pRetVal != 0); });
}

HRESULT TBdsToolBarComboBox::Get_Visible(WordBool* pRetVal) {
    return Answer(pRetVal, FComboBox, [](vcl::TComboBox& comboBox) { return ToWordBool(comboBox.Visible()); });
}

HRESULT TBdsToolBarComboBox::Set_Visible(WordBool pRetVal) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) { comboBox.SetVisible(pRetVal != 0); });
}

HRESULT TBdsToolBarComboBox::Get_name(BSTR* pRetVal) {
    return Answer(pRetVal, FComboBox, [](vcl::TComboBox& comboBox) { return rtl::AllocBstr(comboBox.Name()); });
}

HRESULT TBdsToolBarComboBox::Set_name(BSTR pRetVal) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) { comboBox.SetName(rtl::FromBstr(pRetVal)); });
}

HRESULT TBdsToolBarComboBox::Get_ToolTip(BSTR* pRetVal) {
    return Answer(pRetVal, FComboBox, [](vcl::TComboBox& comboBox) { return rtl::AllocBstr(comboBox.Hint()); });
}

HRESULT TBdsToolBarComboBox::Set_ToolTip(BSTR pRetVal) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) {
        const rtl::String hint = rtl::FromBstr(pRetVal);
        comboBox.SetHint(hint);
        if (vcl::TLabel* label = FLabel.Get()) label->SetHint(hint);
    });
}

HRESULT TBdsToolBarComboBox::Get_Text(BSTR* pRetVal) {
    return Answer(pRetVal, FComboBox, [](vcl::TComboBox& comboBox) { return rtl::AllocBstr(comboBox.Text()); });
}

HRESULT TBdsToolBarComboBox::Set_Text(BSTR pRetVal) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) { comboBox.SetText(rtl::FromBstr(pRetVal)); });
}

HRESULT TBdsToolBarComboBox::Get_Width(Integer* pRetVal) {
    return Answer(pRetVal, FComboBox, [](vcl::TComboBox& comboBox) { return Integer{comboBox.Width()}; });
}

HRESULT TBdsToolBarComboBox::Set_Width(Integer pRetVal) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) { comboBox.SetWidth(pRetVal); });
}

HRESULT TBdsToolBarComboBox::Get_ItemCount(Integer* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    // Never fails: a combo box that cannot be read has no entries.
    rtl::Swallow([&] {
        if (const vcl::TComboBox* comboBox = FComboBox.Get()) *pRetVal = comboBox->ItemCount();
    });
    return S_OK;
}

HRESULT TBdsToolBarComboBox::Get_SelectedItem(Integer* pRetVal) {
    return Answer(pRetVal, FComboBox, [](vcl::TComboBox& comboBox) { return Integer{comboBox.ItemIndex()}; });
}

HRESULT TBdsToolBarComboBox::Set_SelectedItem(Integer pRetVal) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) { comboBox.SetItemIndex(pRetVal); });
}

HRESULT TBdsToolBarComboBox::GetItem(Integer index, BSTR* pRetVal) {
    return Answer(pRetVal, FComboBox,
                  [&](vcl::TComboBox& comboBox) { return rtl::AllocBstr(comboBox.Items(index)); });
}

HRESULT TBdsToolBarComboBox::SetItem(Integer index, BSTR newItem) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) { comboBox.SetItem(index, rtl::FromBstr(newItem)); });
}

HRESULT TBdsToolBarComboBox::AddItem(BSTR item, Integer* pRetVal) {
    return Answer(pRetVal, FComboBox,
                  [&](vcl::TComboBox& comboBox) { return Integer{comboBox.AddItem(rtl::FromBstr(item))}; });
}

HRESULT TBdsToolBarComboBox::RemoveItem(Integer index) {
    return On(FComboBox, [&](vcl::TComboBox& comboBox) { comboBox.DeleteItem(index); });
}

HRESULT TBdsToolBarComboBox::ClearItems() {
    return On(FComboBox, [](vcl::TComboBox& comboBox) { comboBox.Clear(); });
}

// ---- TBdsToolBarPopUp ----

HRESULT TBdsToolBarPopUp::EmptyText(BSTR* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return Guarded([&] { *pRetVal = rtl::AllocBstr(rtl::String()); });
}

HRESULT TBdsToolBarPopUp::Get_Caption(BSTR* pRetVal) { return EmptyText(pRetVal); }
HRESULT TBdsToolBarPopUp::Get_name(BSTR* pRetVal) { return EmptyText(pRetVal); }
HRESULT TBdsToolBarPopUp::Get_ToolTip(BSTR* pRetVal) { return EmptyText(pRetVal); }

HRESULT TBdsToolBarPopUp::Get_Enabled(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return Guarded([&] { *pRetVal = ToWordBool(true); });
}

HRESULT TBdsToolBarPopUp::Get_Visible(WordBool* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return Guarded([] {});
}

HRESULT TBdsToolBarPopUp::Set_Caption(BSTR) { return Guarded([] {}); }
HRESULT TBdsToolBarPopUp::Set_Enabled(WordBool) { return Guarded([] {}); }
HRESULT TBdsToolBarPopUp::Set_Visible(WordBool) { return Guarded([] {}); }
HRESULT TBdsToolBarPopUp::Set_name(BSTR) { return Guarded([] {}); }
HRESULT TBdsToolBarPopUp::Set_ToolTip(BSTR) { return Guarded([] {}); }

}  // namespace korvel
