#include "SampleToolBar.h"

#include <optional>

#include "SampleCommon.h"

namespace sample {
namespace {

// The kinds of control that AddControl makes.
constexpr Integer ToolButton = 1;
constexpr Integer EditableComboBox = 2;
constexpr Integer ListComboBox = 3;

void HandOverImage(IBdsToolBarButton& button, Bitmap& image) {
    if (!image.Empty() && SUCCEEDED(button.SetImage(image.AsInteger()))) image.HandedOver();
}

ComRef<IBdsToolBarComboBox> ComboBoxOf(const Subscription<IBdsToolBarControl>& control) {
    return control.Source().Query<IBdsToolBarComboBox>();
}

std::optional<Text> TextOf(const ComRef<IBdsToolBarComboBox>& comboBox) {
    Bstr text;
    if (!comboBox || !text.Received(comboBox->Get_Text(text.Put()))) return std::nullopt;
    return text.ToText();
}

}  // namespace

SampleToolBar::~SampleToolBar() {
    // The controls go with the package's references to them, but the toolbar would stay, empty.
    // One that the IDE has closed already is gone either way.
    if (toolBar_) toolBars_->RemoveToolBar(toolBar_.Get());
}

void SampleToolBar::Add(const ComRef<IBdsServices>& site, Bitmap& buttonImage) {
    site_ = site;
    if (!toolBars_.Received(site_->Get_BdsToolBarService(toolBars_.Put()))) return;
    const HRESULT added =
        toolBars_->AddToolBar(Bstr(u"KorvelSampleToolBar").Get(), Bstr(u"Korvel Sample").Get(), toolBar_.Put());
    if (toolBar_.Received(added) && SUCCEEDED(toolBar_->Set_Visible(WordTrue)) && AddRunButton(buttonImage) &&
        SUCCEEDED(toolBar_->AddSeparator()) && AddSearchComboBox())
        AddModeComboBox();
}

ComRef<IBdsToolBarControl> SampleToolBar::AddControl(Integer kind, const Text& name, const Text& caption) {
    ComRef<IBdsToolBarControl> control;
    if (!control.Received(toolBar_->AddControl(kind, control.Put())) || FAILED(control->Set_name(Bstr(name).Get())) ||
        FAILED(control->Set_Caption(Bstr(caption).Get())))
        return ComRef<IBdsToolBarControl>();
    return control;
}

ComRef<IBdsToolBarControl> SampleToolBar::AddComboBox(Integer kind, const Text& name, const Text& caption,
                                                      std::initializer_list<const char16_t*> items) {
    ComRef<IBdsToolBarControl> control = AddControl(kind, name, caption);
    const ComRef<IBdsToolBarComboBox> comboBox = control.Query<IBdsToolBarComboBox>();
    if (!comboBox) return ComRef<IBdsToolBarControl>();
    for (const char16_t* item : items) {
        Integer index = 0;
        if (FAILED(comboBox->AddItem(Bstr(item).Get(), &index))) return ComRef<IBdsToolBarControl>();
    }
    return control;
}

bool SampleToolBar::AddRunButton(Bitmap& image) {
    const ComRef<IBdsToolBarControl> control = AddControl(ToolButton, u"KorvelSampleRunButton", u"Run Sample");
    const ComRef<IBdsToolBarButton> button = control.Query<IBdsToolBarButton>();
    if (!button || FAILED(control->Set_ToolTip(Bstr(u"Run the sample").Get()))) return false;
    HandOverImage(*button.Get(), image);
    runButton_.Subscribe(control, {[this] { ToggleRunButton(); }, nullptr});
    return true;
}

bool SampleToolBar::AddSearchComboBox() {
    const ComRef<IBdsToolBarControl> control =
        AddComboBox(EditableComboBox, u"KorvelSampleSearchCombo", u"Search", {u"TButton", u"TLabel"});
    const ComRef<IBdsToolBarComboBox> comboBox = control.Query<IBdsToolBarComboBox>();
    if (!comboBox || FAILED(comboBox->Set_CaptionVisible(WordTrue))) return false;
    searchComboBox_.Subscribe(control, {[this] { ShowSearchHelp(); }, [this] { ReportSearchText(); }});
    return true;
}

void SampleToolBar::AddModeComboBox() {
    const ComRef<IBdsToolBarControl> control =
        AddComboBox(ListComboBox, u"KorvelSampleModeCombo", u"Mode", {u"Debug", u"Release"});
    const ComRef<IBdsToolBarComboBox> comboBox = control.Query<IBdsToolBarComboBox>();
    if (comboBox && SUCCEEDED(comboBox->Set_SelectedItem(0)))
        modeComboBox_.Subscribe(control, {nullptr, [this] { ReportMode(); }});
}

void SampleToolBar::ToggleRunButton() {
    const ComRef<IBdsToolBarButton> button = runButton_.Source().Query<IBdsToolBarButton>();
    WordBool down = WordFalse;
    if (!button || FAILED(button->Get_Down(&down))) return;
    const bool nowDown = down == WordFalse;
    if (FAILED(button->Set_Down(nowDown ? WordTrue : WordFalse))) return;
    SampleReport(Text(u"Run Sample clicked, down=") + (nowDown ? u"true" : u"false"));
}

void SampleToolBar::ReportSearchText() {
    if (const std::optional<Text> text = TextOf(ComboBoxOf(searchComboBox_)))
        SampleReport(u"search text " + Quoted(*text));
}

void SampleToolBar::ShowSearchHelp() {
    const std::optional<Text> keyword = TextOf(ComboBoxOf(searchComboBox_));
    const ComRef<IBdsHelpService> help = HelpServiceOf(*site_.Get());
    if (keyword && help && SUCCEEDED(help->ShowHelpByKeyword(Bstr(*keyword).Get())))
        SampleReport(u"help for " + Quoted(*keyword));
}

void SampleToolBar::ReportMode() {
    const ComRef<IBdsToolBarComboBox> comboBox = ComboBoxOf(modeComboBox_);
    const std::optional<Text> text = TextOf(comboBox);
    Integer item = -1;
    if (text && SUCCEEDED(comboBox->Get_SelectedItem(&item)))
        SampleReport(u"mode " + Quoted(*text) + u" (item " + DecimalText(item) + u")");
}

}  // namespace sample
