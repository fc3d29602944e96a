#include <gtest/gtest.h>

#include "toolbars/BdsToolBarService.h"
#include "tests/support/OddSinks.h"
#include "tests/support/ToolBarFixture.h"

using namespace testing_support;

namespace {

class ToolBarServiceTest : public ToolBarFixture {};

constexpr Integer Button = 1;
constexpr Integer EditableComboBox = 2;
constexpr Integer ListComboBox = 3;
constexpr Integer PopUp = 4;

rtl::ComPtr<IBdsToolBar> Find(IBdsToolBarService* service, const rtl::String& name) {
    rtl::ComPtr<IBdsToolBar> found;
    EXPECT_EQ(service->FindToolBar(Bstr(name), found.Put()), S_OK);
    return found;
}

TEST_F(ToolBarServiceTest, ServiceSlotsAreInContractOrder) {
    rtl::ComPtr<IBdsToolBarService> again;
    ASSERT_EQ(Hub()->Get_BdsToolBarService(again.Put()), S_OK);
    EXPECT_EQ(again.Get(), service.Get()) << "one service";

    IBdsToolBar* added = nullptr;
    ASSERT_EQ(CallSlot(service.Get(), 4, Bstr(u"SlotBar"), Bstr(u"Slots"), &added), S_OK);  // AddToolBar
    ASSERT_TRUE(added);
    const auto toolBar = rtl::ComPtr<IBdsToolBar>::Adopt(added);
    IBdsToolBar* found = nullptr;
    ASSERT_EQ(CallSlot(service.Get(), 3, Bstr(u"SlotBar"), &found), S_OK);  // FindToolBar
    EXPECT_EQ(found, added);
    found->Release();
    EXPECT_EQ(CallSlot(service.Get(), 5, static_cast<IBdsToolBar*>(added)), S_OK);  // RemoveToolBar
    EXPECT_EQ(Native(u"SlotBar"), nullptr);

    AddToolBar(u"ClearedBar");
    EXPECT_EQ(CallSlot(service.Get(), 6), S_OK);  // Clear
    EXPECT_FALSE(Find(service.Get(), u"ClearedBar"));
}

TEST_F(ToolBarServiceTest, NewNameMakesAHiddenAutoSizedToolBarWithTheTitle) {
    const size_t before = Layout().ToolBars().size();
    const auto toolBar = AddToolBar(u"PackageToolBar", u"Package Tools");
    ASSERT_EQ(Layout().ToolBars().size(), before + 1);
    vcl::TToolBar* native = Native(u"PackageToolBar");
    ASSERT_TRUE(native);
    EXPECT_FALSE(native->Visible());
    EXPECT_TRUE(native->AutoSize());
    EXPECT_EQ(native->Caption(), u"Package Tools");
    EXPECT_EQ(TextOf(toolBar.Get(), &IBdsToolBar::Get_name), u"PackageToolBar");
    EXPECT_EQ(TextOf(toolBar.Get(), &IBdsToolBar::Get_Caption), u"Package Tools");
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Visible), 0);

    EXPECT_EQ(toolBar->Set_Visible(1), S_OK);
    EXPECT_TRUE(native->Visible());
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Visible), -1);
    EXPECT_EQ(toolBar->Set_Caption(Bstr(u"Renamed")), S_OK);
    EXPECT_EQ(native->Caption(), u"Renamed");
    EXPECT_EQ(toolBar->Set_name(Bstr(u"OtherName")), S_OK);
    EXPECT_EQ(native->Name(), u"OtherName");
    EXPECT_EQ(toolBar->Set_name(Bstr(u"not a name")), E_FAIL);
    EXPECT_EQ(native->Name(), u"OtherName");
}

TEST_F(ToolBarServiceTest, IdeToolBarIsTakenOverWithItsVisibility) {
    const size_t before = Layout().ToolBars().size();
    const auto standard = AddToolBar(u"StandardToolBar");
    const auto browser = AddToolBar(u"BrowserToolBar");
    EXPECT_EQ(Layout().ToolBars().size(), before) << "no toolbar was made";
    EXPECT_EQ(ValueOf(standard.Get(), &IBdsToolBar::Get_Visible), -1);
    EXPECT_EQ(ValueOf(browser.Get(), &IBdsToolBar::Get_Visible), 0);
    EXPECT_TRUE(Native(u"StandardToolBar")->AutoSize());
    EXPECT_TRUE(Native(u"BrowserToolBar")->AutoSize());
    EXPECT_EQ(TextOf(standard.Get(), &IBdsToolBar::Get_Caption), u"Standard");
}

TEST_F(ToolBarServiceTest, FindIsCaseSensitiveAndTheLastMadeWins) {
    EXPECT_FALSE(Find(service.Get(), u"StandardToolBar")) << "IDE toolbars are found only once added";
    const auto first = AddToolBar(u"StandardToolBar");
    const auto second = AddToolBar(u"StandardToolBar");
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_EQ(TextOf(first.Get(), &IBdsToolBar::Get_name), TextOf(second.Get(), &IBdsToolBar::Get_name));
    EXPECT_EQ(Find(service.Get(), u"StandardToolBar").Get(), second.Get());
    EXPECT_FALSE(Find(service.Get(), u"standardToolBar"));
    EXPECT_EQ(service->FindToolBar(Bstr(u"x"), nullptr), E_POINTER);
}

TEST_F(ToolBarServiceTest, NameTheIdeRefusesFailsAndRegistersNothing) {
    rtl::ComPtr<IBdsToolBar> toolBar;
    EXPECT_EQ(service->AddToolBar(Bstr(u"not a name"), Bstr(u"T"), toolBar.Put()), E_FAIL);
    EXPECT_FALSE(toolBar);
    EXPECT_FALSE(Find(service.Get(), u"not a name"));
}

TEST_F(ToolBarServiceTest, RemoveToolBarDestroysEvenAnIdeToolBarAndKeepsTheCallersReference) {
    const auto toolBar = AddToolBar(u"StandardToolBar");
    EXPECT_EQ(RefCountOf(toolBar.Get()), 2u) << "the caller's and the service's";
    EXPECT_EQ(service->RemoveToolBar(toolBar.Get()), S_OK);
    EXPECT_EQ(RefCountOf(toolBar.Get()), 1u);
    EXPECT_EQ(Native(u"StandardToolBar"), nullptr);
    EXPECT_FALSE(Find(service.Get(), u"StandardToolBar"));

    EXPECT_EQ(service->RemoveToolBar(toolBar.Get()), E_UNEXPECTED) << "a second removal releases nothing";
    EXPECT_EQ(RefCountOf(toolBar.Get()), 1u);
    Integer value = 7;
    EXPECT_EQ(toolBar->Get_Left(&value), E_UNEXPECTED);
    EXPECT_EQ(value, 0);
    rtl::WideString name;
    EXPECT_EQ(toolBar->Get_name(name.Put()), E_UNEXPECTED);
    EXPECT_EQ(name.Get(), nullptr);
    EXPECT_EQ(toolBar->Set_Visible(-1), E_UNEXPECTED);
    EXPECT_EQ(toolBar->AddSeparator(), E_UNEXPECTED);
    rtl::ComPtr<IBdsToolBarControl> control;
    EXPECT_EQ(toolBar->AddControl(Button, control.Put()), E_UNEXPECTED);
    EXPECT_EQ(toolBar->Get_ControlCount(&value), E_UNEXPECTED);
    EXPECT_EQ(toolBar->Clear(), E_UNEXPECTED);
}

TEST_F(ToolBarServiceTest, ForeignObjectsAreRefusedAndNothingIsClosed) {
    const auto toolBar = AddToolBar(u"PackageToolBar");
    const auto control = AddControl(toolBar.Get(), Button);
    EXPECT_EQ(service->RemoveToolBar(nullptr), E_POINTER);
    // A control passed where a toolbar belongs: its own lookup interface is not a toolbar's.
    EXPECT_EQ(service->RemoveToolBar(reinterpret_cast<IBdsToolBar*>(control.Get())), E_NOINTERFACE);
    const auto sink = MakeSink();
    EXPECT_EQ(service->RemoveToolBar(reinterpret_cast<IBdsToolBar*>(sink.Get())), E_NOINTERFACE);
    EXPECT_EQ(RefCountOf(sink.Get()), 1u);
    EXPECT_TRUE(Native(u"PackageToolBar"));
    EXPECT_EQ(Find(service.Get(), u"PackageToolBar").Get(), toolBar.Get());
    EXPECT_EQ(ValueOf(control.Get(), &IBdsToolBarControl::Get_Enabled), -1);
}

TEST_F(ToolBarServiceTest, ServiceClearForgetsToolBarsButLeavesThemInTheIde) {
    const auto toolBar = AddToolBar(u"PackageToolBar");
    const auto button = AddControl(toolBar.Get(), Button);
    const auto sink = MakeSink();
    button->RegisterEvents(sink.Get());
    EXPECT_EQ(service->Clear(), S_OK);

    EXPECT_FALSE(Find(service.Get(), u"PackageToolBar"));
    EXPECT_EQ(RefCountOf(toolBar.Get()), 1u) << "the service gave its reference back";
    EXPECT_EQ(service->RemoveToolBar(toolBar.Get()), E_UNEXPECTED);
    EXPECT_EQ(toolBar->Set_Visible(-1), E_UNEXPECTED);
    vcl::TToolBar* native = Native(u"PackageToolBar");
    ASSERT_TRUE(native) << "not closed";
    ASSERT_EQ(native->ButtonCount(), 1);

    static_cast<vcl::TToolButton*>(native->Buttons(0))->Click();
    EXPECT_EQ(sinks->calls, (std::vector<std::string>{"OnExecute"})) << "the control still works";
    EXPECT_EQ(button->Set_Caption(Bstr(u"Still here")), S_OK);
    EXPECT_EQ(native->Buttons(0)->Caption(), u"Still here");
}

TEST_F(ToolBarServiceTest, PositionAndFloatingFollowTheNativeToolBarUntilTheIdeDestroysIt) {
    const auto toolBar = AddToolBar(u"DebugToolBar");
    vcl::TToolBar* native = Native(u"DebugToolBar");
    EXPECT_EQ(toolBar->Set_Left(40), S_OK);
    EXPECT_EQ(toolBar->Set_Top(58), S_OK);
    EXPECT_EQ(native->Left(), 40);
    EXPECT_EQ(native->Top(), 58);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Left), 40);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Top), 58);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Width), native->Width());
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Height), native->Height());
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Floating), 0);
    native->SetFloating(true);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_Floating), -1);
    EXPECT_EQ(toolBar->Set_Floating(0), E_NOTIMPL);
    EXPECT_TRUE(native->Floating());

    delete native;
    Integer value = 9;
    WordBool floating = -1;
    EXPECT_EQ(toolBar->Get_Width(&value), E_UNEXPECTED);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(toolBar->Get_Floating(&floating), E_UNEXPECTED);
    EXPECT_EQ(floating, 0);
    EXPECT_EQ(toolBar->Set_Floating(0), E_UNEXPECTED);
    EXPECT_EQ(toolBar->Set_Top(1), E_UNEXPECTED);
    EXPECT_FALSE(Find(service.Get(), u"DebugToolBar"));
    EXPECT_EQ(service->RemoveToolBar(toolBar.Get()), S_OK) << "still listed: removal gives back the reference";
    EXPECT_EQ(RefCountOf(toolBar.Get()), 1u);
}

TEST_F(ToolBarServiceTest, ControlKindsAndCount) {
    const auto toolBar = AddToolBar(u"PackageToolBar");
    rtl::ComPtr<IBdsToolBarControl> none;
    EXPECT_EQ(toolBar->AddControl(0, none.Put()), E_FAIL);
    EXPECT_EQ(toolBar->AddControl(5, none.Put()), E_FAIL);
    EXPECT_FALSE(none);
    EXPECT_EQ(toolBar->AddControl(Button, nullptr), E_POINTER);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 0);

    toolBar->AddSeparator();
    const auto button = AddControl(toolBar.Get(), Button);
    const auto editable = AddControl(toolBar.Get(), EditableComboBox);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 2) << "separators are not counted";
    const auto list = AddControl(toolBar.Get(), ListComboBox);
    const auto popUp = AddControl(toolBar.Get(), PopUp);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 4);

    EXPECT_TRUE(button.Query<IBdsToolBarButton>());
    EXPECT_FALSE(button.Query<IBdsToolBarComboBox>());
    EXPECT_TRUE(editable.Query<IBdsToolBarComboBox>());
    EXPECT_TRUE(list.Query<IBdsToolBarComboBox>());
    EXPECT_FALSE(list.Query<IBdsToolBarButton>());
    EXPECT_TRUE(popUp.Query<IBdsToolBarPopUp>());
    EXPECT_FALSE(popUp.Query<IBdsToolBarButton>());
    // Every kind answers IBdsToolBarControl and IUnknown as one object.
    EXPECT_TRUE(rtl::SameObject(button.Query<IBdsToolBarButton>().Get(), button.Get()));
    EXPECT_EQ(RefCountOf(button.Get()), 1u);
}

TEST_F(ToolBarServiceTest, ControlsAndSeparatorsGoAfterEverythingOnTheToolBar) {
    const auto toolBar = AddToolBar(u"ViewToolBar");
    vcl::TToolBar* native = Native(u"ViewToolBar");
    const int ideButtons = native->ButtonCount();
    const auto button = AddControl(toolBar.Get(), Button);
    toolBar->AddSeparator();
    const auto comboBox = AddControl(toolBar.Get(), EditableComboBox);
    ASSERT_EQ(native->ButtonCount(), ideButtons + 3);

    auto* separator = dynamic_cast<vcl::TToolButton*>(native->Buttons(ideButtons + 1));
    ASSERT_TRUE(separator);
    EXPECT_EQ(separator->Style(), vcl::TToolButtonStyle::tbsDivider);
    EXPECT_EQ(separator->Width(), vcl::TToolButton::DefaultWidth / 4);
    EXPECT_EQ(separator->Owner(), native);
    EXPECT_EQ(native->Buttons(ideButtons)->Owner(), native);
    EXPECT_TRUE(dynamic_cast<vcl::TComboBox*>(native->Buttons(ideButtons + 2)));
    for (int i = 1; i < native->ButtonCount(); ++i)
        EXPECT_GE(native->Buttons(i)->Left(), native->Buttons(i - 1)->Left()) << "in button order, left to right";
    EXPECT_EQ(native->Width(), native->Buttons(native->ButtonCount() - 1)->Left() + 145) << "sized to its controls";
}

TEST_F(ToolBarServiceTest, ControlsGoLastPastTheDocksEdgeAndOutsideAnyDock) {
    const auto toolBar = AddToolBar(u"PackageToolBar");
    vcl::TToolBar* native = Native(u"PackageToolBar");
    ASSERT_TRUE(native);
    const auto wide = AddControl(toolBar.Get(), EditableComboBox).Query<IBdsToolBarComboBox>();
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->Set_Width(3 * sim::ToolBarLayout::DockWidth), S_OK);
    const auto second = AddControl(toolBar.Get(), Button);
    second->Set_name(Bstr(u"Second"));
    EXPECT_EQ(native->Buttons(1)->Name(), u"Second") << "after a row wider than the dock";

    native->SetParent(nullptr);
    const auto third = AddControl(toolBar.Get(), Button);
    third->Set_name(Bstr(u"Third"));
    EXPECT_EQ(native->Buttons(2)->Name(), u"Third");
}

TEST_F(ToolBarServiceTest, ToolBarClearRemovesEveryControlAndSeparatorEvenTheIdesOwn) {
    const auto toolBar = AddToolBar(u"DesktopToolBar");
    vcl::TToolBar* native = Native(u"DesktopToolBar");
    ASSERT_GT(native->ButtonCount(), 0);
    toolBar->AddSeparator();
    const auto button = AddControl(toolBar.Get(), Button);
    toolBar->AddSeparator();
    const auto comboBox = AddControl(toolBar.Get(), ListComboBox);
    toolBar->AddSeparator();
    const auto sink = MakeSink();
    button->RegisterEvents(sink.Get());

    EXPECT_EQ(toolBar->Clear(), S_OK);
    EXPECT_EQ(native->ButtonCount(), 0);
    EXPECT_EQ(native->ComponentCount(), 0) << "the combo box's label as well";
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 0);
    EXPECT_EQ(button->Set_Caption(Bstr(u"x")), E_UNEXPECTED);
    EXPECT_EQ(comboBox->Set_Caption(Bstr(u"x")), E_UNEXPECTED);
    EXPECT_EQ(RefCountOf(sink.Get()), 1u) << "the destroyed button let go of its sink";

    const auto after = AddControl(toolBar.Get(), Button);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 1) << "the toolbar stays open";
}

TEST_F(ToolBarServiceTest, RemoveControlDestroysAtOnceWhateverReferencesRemain) {
    const auto toolBar = AddToolBar(u"PackageToolBar");
    const auto other = AddToolBar(u"OtherToolBar");
    const auto button = AddControl(toolBar.Get(), Button);
    const auto kept = AddControl(toolBar.Get(), Button);
    const auto elsewhere = AddControl(other.Get(), EditableComboBox);
    vcl::TToolBar* native = Native(u"PackageToolBar");
    const auto extra = button;  // a second package reference

    EXPECT_EQ(toolBar->RemoveControl(button.Get()), S_OK);
    EXPECT_EQ(native->ButtonCount(), 1);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 1);
    EXPECT_EQ(button->Set_Visible(0), E_UNEXPECTED);
    EXPECT_EQ(toolBar->RemoveControl(button.Get()), E_UNEXPECTED) << "already destroyed";

    // A control of another toolbar leaves its own toolbar.
    EXPECT_EQ(toolBar->RemoveControl(elsewhere.Get()), S_OK);
    EXPECT_EQ(ValueOf(other.Get(), &IBdsToolBar::Get_ControlCount), 0);
    EXPECT_EQ(Native(u"OtherToolBar")->ButtonCount(), 0);

    EXPECT_EQ(toolBar->RemoveControl(nullptr), E_POINTER);
    EXPECT_EQ(toolBar->RemoveControl(reinterpret_cast<IBdsToolBarControl*>(other.Get())), E_NOINTERFACE);
    // An object that claims every interface is still none of the system's controls or toolbars.
    DoubleSink impostor;
    EXPECT_EQ(toolBar->RemoveControl(reinterpret_cast<IBdsToolBarControl*>(&impostor.first)), E_NOINTERFACE);
    EXPECT_EQ(service->RemoveToolBar(reinterpret_cast<IBdsToolBar*>(&impostor.first)), E_NOINTERFACE);
    EXPECT_EQ(impostor.references, 0u);
    EXPECT_EQ(ValueOf(toolBar.Get(), &IBdsToolBar::Get_ControlCount), 1);
    EXPECT_EQ(ValueOf(kept.Get(), &IBdsToolBarControl::Get_Visible), -1);
}

TEST_F(ToolBarServiceTest, ClosingAToolBarDetachesItsControlsAndTheirSinks) {
    const auto toolBar = AddToolBar(u"PackageToolBar");
    const auto button = AddControl(toolBar.Get(), Button);
    const auto comboBox = AddControl(toolBar.Get(), EditableComboBox);
    const auto sink = MakeSink();
    comboBox->RegisterEvents(sink.Get());
    EXPECT_EQ(RefCountOf(sink.Get()), 2u);

    EXPECT_EQ(service->RemoveToolBar(toolBar.Get()), S_OK);
    EXPECT_EQ(RefCountOf(sink.Get()), 1u);
    rtl::WideString caption;
    EXPECT_EQ(button->Get_Caption(caption.Put()), E_UNEXPECTED);
    EXPECT_EQ(comboBox->RegisterEvents(sink.Get()), E_UNEXPECTED);
    EXPECT_EQ(RefCountOf(sink.Get()), 1u) << "a detached control keeps no sink";
    EXPECT_EQ(toolBar->RemoveControl(button.Get()), E_UNEXPECTED);
}

TEST_F(ToolBarServiceTest, EveryReportedToolBarWritesOneDebugLine) {
    ide.LoadToolbars();
    std::vector<rtl::String> expected;
    for (const vcl::TToolBar* toolBar : Layout().ToolBars()) expected.push_back(u"ToolbarLoaded : " + toolBar->Name());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ide.Record().debugOutput, expected);

    ide.Record().debugOutput.clear();
    const auto removed = AddToolBar(u"StandardToolBar");
    service->RemoveToolBar(removed.Get());
    ide.LoadToolbars();
    EXPECT_EQ(ide.Record().debugOutput.size(), expected.size() - 1);
}

TEST_F(ToolBarServiceTest, NotifierLeavesTheIdeWhenTheIdeLetsGo) {
    const auto& notifiers = ide.Services().ToolbarNotifiers();
    ASSERT_EQ(notifiers.size(), 1u);
    ASSERT_TRUE(notifiers[0]);
    const auto stream = notifiers[0].Query<ide::INTAToolbarStreamNotifier>();
    ASSERT_TRUE(stream);
    ide::IOTANotifier* notifier = notifiers[0].Get();
    notifier->Destroyed();
    EXPECT_FALSE(notifiers[0]) << "unregistered";
    notifier->Destroyed();  // the IDE's reference is gone; the test's still holds it
    ide.LoadToolbars();
    EXPECT_TRUE(ide.Record().debugOutput.empty());
}

// Packages that remove things from inside their own events.

TEST_F(ToolBarServiceTest, PackageRemovesItsToolBarFromAButtonClick) {
    auto toolBar = AddToolBar(u"PackageToolBar");
    auto button = AddControl(toolBar.Get(), Button);
    auto sink = MakeSink();
    button->RegisterEvents(sink.Get());
    sink->onExecute = [&] {
        service->RemoveToolBar(toolBar.Get());
        toolBar = nullptr;
        button = nullptr;
    };
    vcl::TToolBar* native = Native(u"PackageToolBar");
    static_cast<vcl::TToolButton*>(native->Buttons(0))->Click();
    EXPECT_EQ(Native(u"PackageToolBar"), nullptr);
    EXPECT_FALSE(Find(service.Get(), u"PackageToolBar"));
    sink = nullptr;
}

TEST_F(ToolBarServiceTest, SinkReleasedDuringClearMayRemoveTheToolBar) {
    const auto toolBar = AddToolBar(u"PackageToolBar");
    const auto first = AddControl(toolBar.Get(), Button);
    const auto second = AddControl(toolBar.Get(), Button);
    {
        auto sink = MakeSink();
        sink->onRelease = [&] { service->RemoveToolBar(toolBar.Get()); };
        second->RegisterEvents(sink.Get());
    }
    EXPECT_EQ(toolBar->Clear(), S_OK);
    EXPECT_EQ(Native(u"PackageToolBar"), nullptr);
    EXPECT_EQ(first->Set_Caption(Bstr(u"x")), E_UNEXPECTED);
    EXPECT_EQ(toolBar->Clear(), E_UNEXPECTED);
}

}  // namespace
