// The toolbar service as a hostile package drives it: unknown kinds and extreme indexes,
// sinks that cannot be held, lie about their interfaces or throw from their last release, and
// a button whose click closes its own toolbar and clears what is left. Every call answers,
// and the system holds no reference once the controls are gone.
#include <gtest/gtest.h>

#include <climits>

#include "tests/support/RoguePackageObject.h"
#include "tests/support/ToolBarFixture.h"

using testing_support::Bstr;
using testing_support::ExpectRefusedWhileMisbehaving;
using testing_support::RoguePackageObject;

namespace {

constexpr Integer Button = 1;
constexpr Integer EditableComboBox = 2;

class ToolBarMisuseTest : public testing_support::ToolBarFixture {
protected:
    // Outlives the loader, which must have let go of it by the end.
    RoguePackageObject rogue;
};

TEST_F(ToolBarMisuseTest, OutOfRangeKindsAndIndexesAnswerWithoutHarm) {
    EXPECT_EQ(service->AddToolBar(nullptr, nullptr, nullptr), E_POINTER);
    rtl::ComPtr<IBdsToolBar> toolBar = AddToolBar(u"RogueBar");
    ASSERT_TRUE(toolBar);
    for (Integer kind : {0, -1, 5, INT_MIN, INT_MAX}) {
        IBdsToolBarControl* none = reinterpret_cast<IBdsToolBarControl*>(1);
        EXPECT_EQ(toolBar->AddControl(kind, &none), E_FAIL);
        EXPECT_EQ(none, nullptr);
    }
    EXPECT_EQ(toolBar->RemoveControl(nullptr), E_POINTER);
    EXPECT_EQ(toolBar->RemoveControl(reinterpret_cast<IBdsToolBarControl*>(static_cast<IBdsToolBarControlEvents*>(&rogue))),
              E_NOINTERFACE)
        << "a package's own object is no control of the system";
    EXPECT_EQ(service->RemoveToolBar(reinterpret_cast<IBdsToolBar*>(static_cast<IBdsWindowEvents*>(&rogue))),
              E_NOINTERFACE);

    const auto comboBox = AddControl(toolBar.Get(), EditableComboBox).Query<IBdsToolBarComboBox>();
    ASSERT_TRUE(comboBox);
    Integer index = -7;
    ASSERT_EQ(comboBox->AddItem(Bstr(u"only"), &index), S_OK);
    for (Integer bad : {-1, INT_MIN, INT_MAX}) {
        rtl::WideString text;
        EXPECT_EQ(comboBox->GetItem(bad, text.Put()), E_INVALIDARG);
        EXPECT_EQ(text.Get(), nullptr);
        EXPECT_EQ(comboBox->SetItem(bad, Bstr(u"x")), E_INVALIDARG);
        EXPECT_EQ(comboBox->RemoveItem(bad), E_INVALIDARG);
    }
    Integer count = -7;
    EXPECT_EQ(comboBox->Get_ItemCount(&count), S_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(comboBox->AddItem(nullptr, nullptr), E_POINTER);
    ShutDown();
}

TEST_F(ToolBarMisuseTest, ButtonWhoseClickClosesItsToolBarLeavesNothingHeld) {
    rtl::ComPtr<IBdsToolBar> toolBar = AddToolBar(u"RogueBar");
    const auto button = AddControl(toolBar.Get(), Button);
    const auto spare = AddControl(toolBar.Get(), Button);
    ASSERT_TRUE(button && spare);

    ExpectRefusedWhileMisbehaving(rogue, [&] { return button->RegisterEvents(&rogue); });

    // Both buttons report to the same sink, which throws from everything. The click closes
    // the toolbar, clears it, and registers again on the control it clicked.
    ASSERT_EQ(button->RegisterEvents(&rogue), S_OK);
    ASSERT_EQ(spare->RegisterEvents(&rogue), S_OK);
    rogue.throwInCallbacks = true;
    rogue.throwOnRelease = true;
    rogue.onCallback = [&] {
        EXPECT_EQ(service->RemoveToolBar(toolBar.Get()), S_OK);
        EXPECT_EQ(toolBar->Clear(), E_UNEXPECTED);
        EXPECT_EQ(button->RegisterEvents(&rogue), E_UNEXPECTED);
    };
    vcl::TToolBar* native = Native(u"RogueBar");
    ASSERT_TRUE(native);
    auto* clicked = dynamic_cast<vcl::TToolButton*>(native->Buttons(0));
    ASSERT_TRUE(clicked);
    clicked->Click();
    EXPECT_EQ(rogue.calls, 1);
    EXPECT_EQ(Native(u"RogueBar"), nullptr);
    EXPECT_EQ(rogue.references, 0) << "closing the toolbar let go of every sink";
    EXPECT_EQ(service->RemoveToolBar(toolBar.Get()), E_UNEXPECTED);
    EXPECT_EQ(spare->Set_Caption(Bstr(u"late")), E_UNEXPECTED);
    EXPECT_EQ(toolBar->RemoveControl(spare.Get()), E_UNEXPECTED);
    ShutDown();
}

}  // namespace
