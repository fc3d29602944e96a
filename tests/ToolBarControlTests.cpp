#include <gtest/gtest.h>

#include <climits>

#include "tests/support/OddSinks.h"
#include "tests/support/ToolBarFixture.h"

using namespace testing_support;

namespace {

constexpr Integer Button = 1;
constexpr Integer EditableComboBox = 2;
constexpr Integer ListComboBox = 3;
constexpr Integer PopUp = 4;

using Calls = std::vector<std::string>;

HBITMAP MakeIcon() {
    std::vector<uint32_t> pixels(16 * 16, 0x00FF00FFu);
    pixels[5 * 16 + 5] = 0x00000000u;
    return CreateBitmap(16, 16, 1, 32, pixels.data());
}

Integer AsInteger(HBITMAP handle) { return static_cast<Integer>(reinterpret_cast<uintptr_t>(handle)); }

Integer AddItem(IBdsToolBarComboBox* comboBox, const rtl::String& item) {
    Integer index = -1;
    EXPECT_EQ(comboBox->AddItem(Bstr(item), &index), S_OK);
    return index;
}

bool HandleAlive(HBITMAP handle) {
    BITMAP info{};
    return GetObjectW(handle, sizeof(info), &info) == sizeof(info);
}

class ToolBarControlTest : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        if (HasFatalFailure()) return;
        toolBar = AddToolBar(u"PackageToolBar");
        native = Native(u"PackageToolBar");
        ASSERT_TRUE(native);
    }
    void TearDown() override {
        toolBar = nullptr;
        ToolBarFixture::TearDown();
    }

    vcl::TToolButton* ToolButtonAt(int index) const { return dynamic_cast<vcl::TToolButton*>(native->Buttons(index)); }
    vcl::TComboBox* ComboBoxAt(int index) const { return dynamic_cast<vcl::TComboBox*>(native->Buttons(index)); }
    vcl::TLabel* OnlyLabel() const {
        vcl::TLabel* found = nullptr;
        for (int i = 0; i < native->ComponentCount(); ++i)
            if (auto* label = dynamic_cast<vcl::TLabel*>(native->Components(i))) found = label;
        return found;
    }
    template <class I>
    rtl::ComPtr<I> AddControlAs(Integer type) {
        return AddControl(toolBar.Get(), type).Query<I>();
    }

    rtl::ComPtr<IBdsToolBar> toolBar;
    vcl::TToolBar* native = nullptr;
};

TEST_F(ToolBarControlTest, ButtonClicksReachTheSinkOnlyWhileOneIsRegistered) {
    const auto button = AddControl(toolBar.Get(), Button);
    vcl::TToolButton* toolButton = ToolButtonAt(0);
    ASSERT_TRUE(toolButton);
    toolButton->Click();
    EXPECT_TRUE(sinks->calls.empty());

    const auto sink = MakeSink();
    EXPECT_EQ(button->RegisterEvents(sink.Get()), S_OK);
    EXPECT_EQ(RefCountOf(sink.Get()), 2u);
    toolButton->Click();
    toolButton->Click();
    EXPECT_EQ(sinks->calls, (Calls{"OnExecute", "OnExecute"}));

    const auto replacement = MakeSink();
    EXPECT_EQ(button->RegisterEvents(replacement.Get()), S_OK);
    EXPECT_EQ(RefCountOf(sink.Get()), 1u) << "the previous sink was released";
    EXPECT_EQ(button->RegisterEvents(nullptr), S_OK);
    EXPECT_EQ(RefCountOf(replacement.Get()), 1u);
    toolButton->Click();
    EXPECT_EQ(sinks->calls.size(), 2u);
}

TEST_F(ToolBarControlTest, NameTheLibraryRefusesChangesNothing) {
    const auto control = AddControl(toolBar.Get(), Button);
    const auto other = AddControl(toolBar.Get(), Button);
    EXPECT_EQ(control->Set_name(Bstr(u"BuildButton")), S_OK);
    EXPECT_EQ(control->Set_name(Bstr(u"1st")), E_FAIL);
    EXPECT_EQ(other->Set_name(Bstr(u"buildbutton")), E_FAIL) << "another control of the toolbar has it";
    EXPECT_EQ(TextOf(control.Get(), &IBdsToolBarControl::Get_name), u"BuildButton");
    EXPECT_EQ(TextOf(other.Get(), &IBdsToolBarControl::Get_name), u"");
}

TEST_F(ToolBarControlTest, HidingAButtonHidesOnlyTheDividerDirectlyBeforeIt) {
    const auto first = AddControl(toolBar.Get(), Button);
    toolBar->AddSeparator();
    const auto second = AddControl(toolBar.Get(), Button);
    vcl::TToolButton* divider = ToolButtonAt(1);
    const int updates = native->UpdateCount();

    EXPECT_EQ(second->Set_Visible(0), S_OK);
    EXPECT_FALSE(divider->Visible());
    EXPECT_FALSE(ToolButtonAt(2)->Visible());
    EXPECT_EQ(native->UpdateCount(), updates + 1);
    EXPECT_EQ(native->Width(), vcl::TToolButton::DefaultWidth) << "the row closes up";
    EXPECT_EQ(second->Set_Visible(-1), S_OK);
    EXPECT_TRUE(divider->Visible());
    EXPECT_EQ(second->Set_Visible(1), S_OK);
    EXPECT_EQ(native->UpdateCount(), updates + 2) << "no change, no repaint";

    EXPECT_EQ(first->Set_Visible(0), S_OK);
    EXPECT_FALSE(ToolButtonAt(0)->Visible());
    EXPECT_TRUE(divider->Visible()) << "the first button has nothing before it";

    // Only a divider goes with the button: not a plain button, nor a separator of another style.
    const auto plain = AddControl(toolBar.Get(), Button);
    const auto afterPlain = AddControl(toolBar.Get(), Button);
    EXPECT_EQ(afterPlain->Set_Visible(0), S_OK);
    EXPECT_TRUE(ToolButtonAt(3)->Visible());
    ToolButtonAt(3)->SetStyle(vcl::TToolButtonStyle::tbsSeparator);
    EXPECT_EQ(afterPlain->Set_Visible(-1), S_OK);
    EXPECT_EQ(afterPlain->Set_Visible(0), S_OK);
    EXPECT_TRUE(ToolButtonAt(3)->Visible());

    const auto comboBox = AddControl(toolBar.Get(), EditableComboBox);
    const auto third = AddControl(toolBar.Get(), Button);
    EXPECT_EQ(third->Set_Visible(0), S_OK);
    EXPECT_TRUE(ComboBoxAt(5)->Visible()) << "only a divider goes with the button";

    // A divider that comes first goes with the button after it.
    const auto other = AddToolBar(u"OtherToolBar");
    vcl::TToolBar* otherNative = Native(u"OtherToolBar");
    ASSERT_TRUE(otherNative);
    other->AddSeparator();
    const auto afterDivider = AddControl(other.Get(), Button);
    EXPECT_EQ(afterDivider->Set_Visible(0), S_OK);
    EXPECT_FALSE(otherNative->Buttons(0)->Visible());
}

TEST_F(ToolBarControlTest, SinksAreCheckedAndKeptAsThePackagePassedThem) {
    const auto button = AddControl(toolBar.Get(), Button);
    DoubleSink twice;
    EXPECT_EQ(button->RegisterEvents(&twice.second), S_OK);
    EXPECT_EQ(button->RegisterEvents(reinterpret_cast<IBdsToolBarControlEvents*>(button.Get())), E_NOINTERFACE);
    twice.throwOnQuery = true;
    EXPECT_EQ(button->RegisterEvents(&twice.first), E_FAIL);
    ToolButtonAt(0)->Click();
    EXPECT_EQ(twice.second.executed, 1) << "the very sink passed, kept through refusals";
    EXPECT_EQ(twice.first.executed, 0);
    EXPECT_EQ(button->RegisterEvents(nullptr), S_OK);
    EXPECT_EQ(twice.references, 0u);
}

TEST_F(ToolBarControlTest, SizesAndPositionsBeyondTheIntegersAreRangeErrors) {
    const auto comboBox = AddControlAs<IBdsToolBarComboBox>(EditableComboBox);
    const auto button = AddControl(toolBar.Get(), Button);
    const int width = native->Width();
    EXPECT_EQ(comboBox->Set_Width(INT_MAX), E_INVALIDARG) << "the row of controls would overflow";
    EXPECT_EQ(ValueOf(comboBox.Get(), &IBdsToolBarComboBox::Get_Width), 145);
    EXPECT_EQ(native->Width(), width);
    const int top = native->Top();
    EXPECT_EQ(toolBar->Set_Top(INT_MAX), E_INVALIDARG);
    EXPECT_EQ(toolBar->Set_Left(INT_MAX), E_INVALIDARG);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Top), top);
}

TEST_F(ToolBarControlTest, SetImageAppendsToTheToolBarsImagesAndConsumesTheHandle) {
    const auto button = AddControl(toolBar.Get(), Button).Query<IBdsToolBarButton>();
    vcl::TCustomImageList* images = native->Images();
    ASSERT_TRUE(images);
    const int before = images->Count();
    HBITMAP icon = MakeIcon();
    EXPECT_EQ(button->SetImage(AsInteger(icon)), S_OK);
    EXPECT_EQ(ToolButtonAt(0)->ImageIndex(), before);
    EXPECT_EQ(images->Count(), before + 1);
    EXPECT_TRUE(images->Images(before).transparent[0]);
    EXPECT_FALSE(HandleAlive(icon));
    EXPECT_EQ(button->SetImage(AsInteger(MakeIcon())), S_OK);
    EXPECT_EQ(ToolButtonAt(0)->ImageIndex(), before + 1) << "indexes are not reused";
    EXPECT_TRUE(ide.Record().dialogs.empty());
}

TEST_F(ToolBarControlTest, SetImageFailuresShowTheHandleAndKeepTheImage) {
    const auto button = AddControl(toolBar.Get(), Button).Query<IBdsToolBarButton>();
    EXPECT_EQ(button->SetImage(0), E_FAIL) << "handle 0 is not special";
    ASSERT_EQ(ide.Record().dialogs.size(), 1u);
    EXPECT_TRUE(ide.Record().dialogs[0].plainMessage);
    EXPECT_EQ(ide.Record().dialogs[0].text, u"TBdsToolBarButton.SetImage 0 Bitmap image is not valid");
    EXPECT_EQ(ToolButtonAt(0)->ImageIndex(), -1);

    native->SetImages(nullptr);
    HBITMAP icon = MakeIcon();
    EXPECT_EQ(button->SetImage(AsInteger(icon)), E_FAIL);
    EXPECT_EQ(ide.Record().dialogs.back().text,
              u"TBdsToolBarButton.SetImage " + rtl::IntToStr(AsInteger(icon)) + u" No image list");
    EXPECT_TRUE(HandleAlive(icon));
    DeleteObject(icon);
}

TEST_F(ToolBarControlTest, TypingAndPickingInAnEditableComboBox) {
    const auto control = AddControl(toolBar.Get(), EditableComboBox);
    const auto comboBox = control.Query<IBdsToolBarComboBox>();
    const auto sink = MakeSink();
    control->RegisterEvents(sink.Get());
    AddItem(comboBox.Get(), u"alpha");
    Integer index = -1;
    EXPECT_EQ(comboBox->AddItem(Bstr(u"beta"), &index), S_OK);
    EXPECT_EQ(index, 1);
    vcl::TComboBox* box = ComboBoxAt(0);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Style(), vcl::TComboBoxStyle::csDropDown);

    EXPECT_TRUE(box->UserTypes(u"ab"));
    EXPECT_EQ(sinks->calls, (Calls{"OnChange", "OnChange"}));
    EXPECT_EQ(TextOf(comboBox.Get(), &IBdsToolBarComboBox::Get_Text), u"ab");
    sinks->calls.clear();
    EXPECT_TRUE(box->UserPicks(1));
    EXPECT_EQ(sinks->calls, (Calls{"OnExecute", "OnChange"}));
    EXPECT_EQ(TextOf(comboBox.Get(), &IBdsToolBarComboBox::Get_Text), u"beta");
    EXPECT_EQ(ValueOf(comboBox.Get(), &IBdsToolBarComboBox::Get_SelectedItem), 1);

    sinks->calls.clear();
    comboBox->Set_Text(Bstr(u"typed by the package"));
    comboBox->Set_SelectedItem(0);
    EXPECT_TRUE(sinks->calls.empty()) << "only the user raises events";
}

TEST_F(ToolBarControlTest, ListOnlyComboBoxRefusesTyping) {
    const auto control = AddControl(toolBar.Get(), ListComboBox);
    const auto comboBox = control.Query<IBdsToolBarComboBox>();
    const auto sink = MakeSink();
    control->RegisterEvents(sink.Get());
    AddItem(comboBox.Get(), u"Debug");
    AddItem(comboBox.Get(), u"Release");
    vcl::TComboBox* box = ComboBoxAt(0);
    EXPECT_EQ(box->Style(), vcl::TComboBoxStyle::csDropDownList);

    EXPECT_FALSE(box->UserTypes(u"x"));
    EXPECT_TRUE(sinks->calls.empty());
    EXPECT_EQ(TextOf(comboBox.Get(), &IBdsToolBarComboBox::Get_Text), u"");
    EXPECT_TRUE(box->UserPicks(1));
    EXPECT_EQ(sinks->calls, (Calls{"OnExecute", "OnChange"}));
    comboBox->Set_Text(Bstr(u"debug"));
    EXPECT_EQ(ValueOf(comboBox.Get(), &IBdsToolBarComboBox::Get_SelectedItem), 0);
    comboBox->Set_Text(Bstr(u"Profile"));
    EXPECT_EQ(ValueOf(comboBox.Get(), &IBdsToolBarComboBox::Get_SelectedItem), -1) << "not an entry";
}

TEST_F(ToolBarControlTest, ComboBoxCaptionIsALabelThatNeverShows) {
    const auto control = AddControl(toolBar.Get(), EditableComboBox);
    const auto comboBox = control.Query<IBdsToolBarComboBox>();
    vcl::TLabel* label = OnlyLabel();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Layout(), vcl::TTextLayout::tlCenter);

    control->Set_Caption(Bstr(u"Find"));
    EXPECT_EQ(label->Caption(), u"Find ");
    EXPECT_EQ(TextOf(control.Get(), &IBdsToolBarControl::Get_Caption), u"Find ");
    EXPECT_EQ(ValueOf(comboBox.Get(), &IBdsToolBarComboBox::Get_CaptionVisible), 0);
    comboBox->Set_CaptionVisible(-1);
    EXPECT_EQ(ValueOf(comboBox.Get(), &IBdsToolBarComboBox::Get_CaptionVisible), -1);
    EXPECT_EQ(label->Parent(), nullptr);
    EXPECT_EQ(native->ButtonCount(), 1) << "nothing more on the toolbar";

    control->Set_ToolTip(Bstr(u"Search text"));
    EXPECT_EQ(label->Hint(), u"Search text");
    EXPECT_EQ(ComboBoxAt(0)->Hint(), u"Search text");
    control->Set_Visible(0);
    EXPECT_FALSE(ComboBoxAt(0)->Visible());
    EXPECT_TRUE(label->Visible()) << "the label is not touched";
}

TEST_F(ToolBarControlTest, ComboBoxListErrorsChangeNothing) {
    const auto comboBox = AddControlAs<IBdsToolBarComboBox>(EditableComboBox);
    for (const char16_t* item : {u"one", u"two", u"three"}) AddItem(comboBox.Get(), item);
    comboBox->Set_SelectedItem(1);
    EXPECT_EQ(comboBox->RemoveItem(0), S_OK);
    EXPECT_EQ(ValueOf(comboBox.Get(), &IBdsToolBarComboBox::Get_SelectedItem), 0) << "the selection moves along";

    rtl::WideString item;
    EXPECT_EQ(comboBox->GetItem(5, item.Put()), E_INVALIDARG);
    EXPECT_EQ(item.Get(), nullptr);
    EXPECT_EQ(comboBox->SetItem(-1, Bstr(u"x")), E_INVALIDARG);
    EXPECT_EQ(comboBox->RemoveItem(2), E_INVALIDARG);
    EXPECT_EQ(comboBox->AddItem(Bstr(u"x"), nullptr), E_POINTER);
    EXPECT_EQ(ComboBoxAt(0)->ItemCount(), 2);
    EXPECT_EQ(ComboBoxAt(0)->Items(0), u"two");
}

TEST_F(ToolBarControlTest, PopUpReportsEnabledInvisibleAndEmptyWhateverIsSet) {
    const auto popUp = AddControl(toolBar.Get(), PopUp);
    EXPECT_TRUE(popUp.Query<IBdsToolBarPopUp>());
    EXPECT_EQ(native->ComponentCount(), 0) << "no control of its own";
    popUp->Set_Caption(Bstr(u"Menu"));
    popUp->Set_Enabled(0);
    popUp->Set_Visible(-1);
    popUp->Set_name(Bstr(u"PopUp"));
    popUp->Set_ToolTip(Bstr(u"Tip"));
    popUp->Set_ShortCut(0x4041);
    EXPECT_EQ(TextOf(popUp.Get(), &IBdsToolBarControl::Get_Caption), u"");
    EXPECT_EQ(TextOf(popUp.Get(), &IBdsToolBarControl::Get_name), u"");
    EXPECT_EQ(TextOf(popUp.Get(), &IBdsToolBarControl::Get_ToolTip), u"");
    EXPECT_EQ(ValueOf(popUp.Get(), &IBdsToolBarControl::Get_Enabled), -1);
    EXPECT_EQ(ValueOf(popUp.Get(), &IBdsToolBarControl::Get_Visible), 0);
    EXPECT_EQ(ValueOf(popUp.Get(), &IBdsToolBarControl::Get_ShortCut), 0);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 1);

    EXPECT_EQ(toolBar->RemoveControl(popUp.Get()), S_OK);
    WordBool enabled = -1;
    EXPECT_EQ(popUp->Get_Enabled(&enabled), E_UNEXPECTED);
    EXPECT_EQ(enabled, 0);
}

TEST_F(ToolBarControlTest, DestroyedControlAnswersUnexpectedAndItsItemCountStaysZero) {
    const auto control = AddControl(toolBar.Get(), EditableComboBox);
    const auto comboBox = control.Query<IBdsToolBarComboBox>();
    AddItem(comboBox.Get(), u"entry");
    ASSERT_EQ(toolBar->RemoveControl(control.Get()), S_OK);
    EXPECT_EQ(native->ComponentCount(), 0) << "label and combo box destroyed";

    rtl::WideString text;
    EXPECT_EQ(comboBox->Get_Text(text.Put()), E_UNEXPECTED);
    EXPECT_EQ(text.Get(), nullptr);
    Integer count = 5;
    EXPECT_EQ(comboBox->Get_ItemCount(&count), S_OK) << "never fails";
    EXPECT_EQ(count, 0);
    EXPECT_EQ(comboBox->AddItem(Bstr(u"x"), &count), E_UNEXPECTED);
    EXPECT_EQ(control->Get_ShortCut(&count), E_UNEXPECTED);
    EXPECT_EQ(comboBox->Get_ItemCount(nullptr), E_POINTER);
    const auto sink = MakeSink();
    EXPECT_EQ(control->RegisterEvents(sink.Get()), E_UNEXPECTED);
    EXPECT_EQ(RefCountOf(sink.Get()), 1u);
}

TEST_F(ToolBarControlTest, ControlsOutliveANativeToolBarThatTheIdeDestroys) {
    const auto button = AddControl(toolBar.Get(), Button);
    const auto comboBox = AddControl(toolBar.Get(), ListComboBox);
    const auto sink = MakeSink();
    comboBox->RegisterEvents(sink.Get());
    delete native;
    native = nullptr;

    EXPECT_EQ(button->Set_Caption(Bstr(u"x")), E_UNEXPECTED);
    EXPECT_EQ(button.Query<IBdsToolBarButton>()->SetImage(0), E_UNEXPECTED);
    EXPECT_TRUE(ide.Record().dialogs.empty());
    EXPECT_EQ(comboBox.Query<IBdsToolBarComboBox>()->ClearItems(), E_UNEXPECTED);
    EXPECT_EQ(toolBar->RemoveControl(button.Get()), S_OK);
    EXPECT_EQ(toolBar->Clear(), S_OK);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 0);
    EXPECT_EQ(RefCountOf(sink.Get()), 1u);
}

// Packages that remove a control from inside its own events.

TEST_F(ToolBarControlTest, ButtonRemovedFromItsOwnClick) {
    auto button = AddControl(toolBar.Get(), Button);
    auto sink = MakeSink();
    button->RegisterEvents(sink.Get());
    sink->onExecute = [&] {
        toolBar->RemoveControl(button.Get());
        button = nullptr;
        sink = nullptr;
    };
    ToolButtonAt(0)->Click();
    EXPECT_EQ(native->ButtonCount(), 0);
    EXPECT_EQ(sinks->calls, (Calls{"OnExecute"}));
}

TEST_F(ToolBarControlTest, ComboBoxRemovedWhileTheUserTypesOrPicks) {
    auto editable = AddControl(toolBar.Get(), EditableComboBox);
    auto sink = MakeSink();
    editable->RegisterEvents(sink.Get());
    sink->onChange = [&] { toolBar->RemoveControl(editable.Get()); };
    EXPECT_TRUE(ComboBoxAt(0)->UserTypes(u"abc"));
    EXPECT_EQ(sinks->calls, (Calls{"OnChange"})) << "the rest of the keystrokes went nowhere";
    EXPECT_EQ(native->ButtonCount(), 0);

    sinks->calls.clear();
    auto list = AddControl(toolBar.Get(), ListComboBox);
    AddItem(list.Query<IBdsToolBarComboBox>().Get(), u"only");
    list->RegisterEvents(sink.Get());
    sink->onChange = nullptr;
    sink->onExecute = [&] { service->RemoveToolBar(toolBar.Get()); };
    EXPECT_TRUE(ComboBoxAt(0)->UserPicks(0));
    EXPECT_EQ(sinks->calls, (Calls{"OnExecute"})) << "no change reported by a destroyed combo box";
    EXPECT_EQ(Native(u"PackageToolBar"), nullptr);
}

TEST_F(ToolBarControlTest, SinkThatRemovesItsControlWhenReleased) {
    const auto button = AddControl(toolBar.Get(), Button);
    {
        const auto sink = MakeSink();
        sink->onRelease = [&] { toolBar->RemoveControl(button.Get()); };
        button->RegisterEvents(sink.Get());
    }
    EXPECT_EQ(button->RegisterEvents(nullptr), S_OK);
    EXPECT_EQ(native->ButtonCount(), 0);
    EXPECT_EQ(button->Set_Caption(Bstr(u"x")), E_UNEXPECTED);
}

// Clients that know only the slot order reach the right methods.

TEST_F(ToolBarControlTest, ToolBarSlots) {
    void* bar = toolBar.Get();
    rtl::WideString text;
    WordBool flag = 0;
    Integer value = 0;
    EXPECT_EQ(CallSlot(bar, 4, Bstr(u"SlotName")), S_OK);
    EXPECT_EQ(native->Name(), u"SlotName");
    EXPECT_EQ(CallSlot(bar, 3, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"SlotName");
    EXPECT_EQ(CallSlot(bar, 6, Bstr(u"Slot Caption")), S_OK);
    EXPECT_EQ(native->Caption(), u"Slot Caption");
    EXPECT_EQ(CallSlot(bar, 5, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"Slot Caption");
    EXPECT_EQ(CallSlot(bar, 8, WordBool(-1)), S_OK);
    EXPECT_TRUE(native->Visible());
    EXPECT_EQ(CallSlot(bar, 7, &flag), S_OK);
    EXPECT_EQ(flag, -1);
    EXPECT_EQ(CallSlot(bar, 10, Integer(33)), S_OK);
    EXPECT_EQ(native->Left(), 33);
    EXPECT_EQ(CallSlot(bar, 9, &value), S_OK);
    EXPECT_EQ(value, 33);
    EXPECT_EQ(CallSlot(bar, 12, Integer(44)), S_OK);
    EXPECT_EQ(native->Top(), 44);
    EXPECT_EQ(CallSlot(bar, 11, &value), S_OK);
    EXPECT_EQ(value, 44);
    native->SetBounds(33, 44, 50, 27);
    EXPECT_EQ(CallSlot(bar, 13, &value), S_OK);
    EXPECT_EQ(value, 50);
    EXPECT_EQ(CallSlot(bar, 14, &value), S_OK);
    EXPECT_EQ(value, 27);
    native->SetFloating(true);
    EXPECT_EQ(CallSlot(bar, 15, &flag), S_OK);
    EXPECT_EQ(flag, -1);
    EXPECT_EQ(CallSlot(bar, 16, WordBool(0)), E_NOTIMPL);
    EXPECT_EQ(CallSlot(bar, 18), S_OK);
    EXPECT_EQ(native->ButtonCount(), 1);
    IBdsToolBarControl* control = nullptr;
    EXPECT_EQ(CallSlot(bar, 19, Integer(1), &control), S_OK);
    ASSERT_TRUE(control);
    EXPECT_EQ(CallSlot(bar, 17, &value), S_OK);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(CallSlot(bar, 20, control), S_OK);
    EXPECT_EQ(CallSlot(bar, 17, &value), S_OK);
    EXPECT_EQ(value, 0);
    control->Release();
    EXPECT_EQ(CallSlot(bar, 21), S_OK);
    EXPECT_EQ(native->ButtonCount(), 0);
}

TEST_F(ToolBarControlTest, ButtonSlots) {
    const auto control = AddControl(toolBar.Get(), Button);
    void* common = control.Get();
    vcl::TToolButton* toolButton = ToolButtonAt(0);
    rtl::WideString text;
    WordBool flag = 0;
    Integer value = 5;
    EXPECT_EQ(CallSlot(common, 4, Bstr(u"Go")), S_OK);
    EXPECT_EQ(toolButton->Caption(), u"Go");
    EXPECT_EQ(CallSlot(common, 3, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"Go");
    EXPECT_EQ(CallSlot(common, 6, WordBool(0)), S_OK);
    EXPECT_FALSE(toolButton->Enabled());
    EXPECT_EQ(CallSlot(common, 5, &flag), S_OK);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(CallSlot(common, 6, WordBool(1)), S_OK);
    EXPECT_EQ(CallSlot(common, 5, &flag), S_OK);
    EXPECT_EQ(flag, -1) << "any non-zero is true; -1 is written";
    EXPECT_EQ(CallSlot(common, 8, WordBool(0)), S_OK);
    EXPECT_FALSE(toolButton->Visible());
    flag = -1;
    EXPECT_EQ(CallSlot(common, 7, &flag), S_OK);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(CallSlot(common, 10, Bstr(u"GoButton")), S_OK);
    EXPECT_EQ(toolButton->Name(), u"GoButton");
    EXPECT_EQ(CallSlot(common, 9, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"GoButton");
    EXPECT_EQ(CallSlot(common, 12, Bstr(u"Tip")), S_OK);
    EXPECT_EQ(toolButton->Hint(), u"Tip");
    EXPECT_EQ(CallSlot(common, 11, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"Tip");
    EXPECT_EQ(CallSlot(common, 14, Integer(0x4042)), S_OK);
    EXPECT_EQ(CallSlot(common, 13, &value), S_OK);
    EXPECT_EQ(value, 0);
    const auto sink = MakeSink();
    EXPECT_EQ(CallSlot(common, 15, static_cast<IBdsToolBarControlEvents*>(sink.Get())), S_OK);
    toolButton->Click();
    EXPECT_EQ(sinks->calls, (Calls{"OnExecute"}));

    const auto button = control.Query<IBdsToolBarButton>();
    void* specific = button.Get();
    EXPECT_EQ(CallSlot(specific, 4, WordBool(-1)), S_OK);
    EXPECT_TRUE(toolButton->Down());
    EXPECT_EQ(CallSlot(specific, 3, &flag), S_OK);
    EXPECT_EQ(flag, -1);
    EXPECT_EQ(CallSlot(specific, 5, AsInteger(MakeIcon())), S_OK);
    EXPECT_EQ(toolButton->ImageIndex(), native->Images()->Count() - 1);
    EXPECT_EQ(RefCountOf(button.Get()), 2u) << "both interfaces count on one object";
    button->Set_Down(0);
}

TEST_F(ToolBarControlTest, ComboBoxSlots) {
    const auto control = AddControl(toolBar.Get(), EditableComboBox);
    const auto comboBox = control.Query<IBdsToolBarComboBox>();
    void* box = comboBox.Get();
    vcl::TComboBox* vclBox = ComboBoxAt(0);
    rtl::WideString text;
    WordBool flag = 0;
    Integer value = -5;
    EXPECT_EQ(CallSlot(box, 4, WordBool(-1)), S_OK);
    EXPECT_EQ(CallSlot(box, 3, &flag), S_OK);
    EXPECT_EQ(flag, -1);
    EXPECT_EQ(CallSlot(box, 14, Bstr(u"first"), &value), S_OK);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(CallSlot(box, 14, Bstr(u"second"), &value), S_OK);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(CallSlot(box, 9, &value), S_OK);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(CallSlot(box, 12, Integer(1), text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"second");
    EXPECT_EQ(CallSlot(box, 13, Integer(1), Bstr(u"2nd")), S_OK);
    EXPECT_EQ(vclBox->Items(1), u"2nd");
    EXPECT_EQ(CallSlot(box, 11, Integer(1)), S_OK);
    EXPECT_EQ(vclBox->ItemIndex(), 1);
    EXPECT_EQ(CallSlot(box, 10, &value), S_OK);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(CallSlot(box, 6, Bstr(u"typed")), S_OK);
    EXPECT_EQ(vclBox->Text(), u"typed");
    EXPECT_EQ(CallSlot(box, 5, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"typed");
    EXPECT_EQ(CallSlot(box, 8, Integer(180)), S_OK);
    EXPECT_EQ(vclBox->Width(), 180);
    EXPECT_EQ(CallSlot(box, 7, &value), S_OK);
    EXPECT_EQ(value, 180);
    EXPECT_EQ(CallSlot(box, 15, Integer(0)), S_OK);
    EXPECT_EQ(vclBox->ItemCount(), 1);
    EXPECT_EQ(CallSlot(box, 16), S_OK);
    EXPECT_EQ(vclBox->ItemCount(), 0);
    EXPECT_EQ(vclBox->Text(), u"");
    EXPECT_EQ(vclBox->ItemIndex(), -1);
}

}  // namespace
