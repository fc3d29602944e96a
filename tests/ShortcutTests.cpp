#include <gtest/gtest.h>

#include <random>

#include "tests/support/HubFixture.h"

using namespace testing_support;

namespace {

constexpr Integer ShiftBit = 0x10000;
constexpr Integer CtrlBit = 0x20000;
constexpr Integer AltBit = 0x40000;

class ShortcutTest : public HubFixture {
protected:
    bool IsShortcut(Integer keyData) {
        WordBool result = 7;
        EXPECT_EQ(Hub()->IsShortcut(keyData, &result), S_OK);
        EXPECT_TRUE(result == 0 || result == -1);
        return result != 0;
    }
    vcl::TCustomAction* IdeAction(const rtl::String& name) {
        auto* action = dynamic_cast<vcl::TCustomAction*>(ide.Services().GetActionList()->FindComponent(name));
        EXPECT_NE(action, nullptr) << rtl::ToUtf8(name);
        return action;
    }
    // What walking the collected actions one by one answers.
    bool ScanAnswer(Integer keyData) {
        const vcl::TShortCut wanted = korvel::ShortCutOfKeyData(keyData);
        if (wanted == 0) return false;
        for (vcl::TCustomAction* action : TheHub().BdsShortCuts().Actions())
            if (action->ShortCut() == wanted && action->Enabled()) return true;
        return false;
    }
    void ExpectIndexMatchesScan() {
        for (Integer modifiers = 0; modifiers < 8; ++modifiers)
            for (Integer key = 0; key < 0x102; ++key) {
                const Integer keyData = (modifiers << 16) | key;
                ASSERT_EQ(IsShortcut(keyData), ScanAnswer(keyData)) << std::hex << keyData;
            }
    }
};

TEST_F(ShortcutTest, NothingIsAShortcutBeforeTheHandshake) {
    EnterWithOnePackage();
    EXPECT_FALSE(IsShortcut(CtrlBit | 'S'));
    EXPECT_EQ(Hub()->IsShortcut(CtrlBit | 'S', nullptr), E_POINTER);
}

TEST_F(ShortcutTest, KeyDataBitsMapToTheIdeShortcut) {
    EnterWithOnePackage();
    CompleteHandshake();
    EXPECT_TRUE(IsShortcut(0x20053)) << "Ctrl+S saves";
    EXPECT_TRUE(IsShortcut(0x20053 | 0x100000)) << "bits above 18 are ignored";
    EXPECT_TRUE(IsShortcut(CtrlBit | ShiftBit | 'S'));
    EXPECT_FALSE(IsShortcut(AltBit | 'S'));
    EXPECT_TRUE(IsShortcut(VK_F1 + 8)) << "F9 runs";
    EXPECT_TRUE(IsShortcut(AltBit | (VK_F1 + 10))) << "Alt+F11 uses a unit";
    EXPECT_FALSE(IsShortcut(CtrlBit | 0x153)) << "a key code above 0xFF is no shortcut";
    EXPECT_FALSE(IsShortcut(CtrlBit | 'C')) << "Edit commands are left to packages";
    EXPECT_FALSE(IsShortcut(CtrlBit | 'F')) << "Search commands are left to packages";
}

TEST_F(ShortcutTest, EnabledStateAndShortcutChangesAreSeen) {
    EnterWithOnePackage();
    CompleteHandshake();
    vcl::TCustomAction* save = IdeAction(u"FileSaveCommand");
    save->SetEnabled(false);
    EXPECT_FALSE(IsShortcut(0x20053));
    save->SetEnabled(true);
    EXPECT_TRUE(IsShortcut(0x20053));

    save->SetShortCut(vcl::ShortCut('Q', vcl::ssCtrl | vcl::ssAlt));
    EXPECT_FALSE(IsShortcut(0x20053));
    EXPECT_TRUE(IsShortcut(CtrlBit | AltBit | 'Q'));

    save->SetShortCut(0);
    EXPECT_FALSE(IsShortcut(0)) << "an action without a shortcut owns no key";
    EXPECT_FALSE(IsShortcut(CtrlBit | 0x153));
}

TEST_F(ShortcutTest, OneEnabledActionOfSeveralWithTheSameShortcutIsEnough) {
    EnterWithOnePackage();
    CompleteHandshake();
    vcl::TCustomAction* build = IdeAction(u"ProjectBuildCommand");
    vcl::TCustomAction* managerBuild = IdeAction(u"ProjectManagerBuildCommand");
    ASSERT_EQ(build->ShortCut(), managerBuild->ShortCut());
    const Integer shiftF9 = ShiftBit | (VK_F1 + 8);
    EXPECT_TRUE(IsShortcut(shiftF9));
    managerBuild->SetEnabled(true);
    build->SetEnabled(false);
    EXPECT_TRUE(IsShortcut(shiftF9));
    managerBuild->SetEnabled(false);
    EXPECT_FALSE(IsShortcut(shiftF9));
}

TEST_F(ShortcutTest, DestroyedActionLeavesTheTable) {
    EnterWithOnePackage();
    CompleteHandshake();
    const size_t collected = TheHub().BdsShortCuts().Actions().size();
    delete IdeAction(u"FileSaveCommand");
    EXPECT_FALSE(IsShortcut(0x20053));
    EXPECT_EQ(TheHub().BdsShortCuts().Actions().size(), collected - 1);
    EXPECT_TRUE(IsShortcut(VK_F1 + 8));
}

TEST_F(ShortcutTest, AnswersMatchAScanOfTheCollectedActionsAsTheyChange) {
    EnterWithOnePackage();
    CompleteHandshake();
    ExpectIndexMatchesScan();

    std::vector<vcl::TCustomAction*> actions = TheHub().BdsShortCuts().Actions();
    std::mt19937 random(20110901);
    const vcl::TShortCut someShortCuts[] = {0, vcl::ShortCut('S', vcl::ssCtrl), vcl::ShortCut(VK_F1 + 8, 0),
                                            vcl::ShortCut('K', vcl::ssCtrl | vcl::ssShift)};
    for (int round = 0; round < 200; ++round) {
        vcl::TCustomAction* action = actions[random() % actions.size()];
        if (random() % 2)
            action->SetEnabled(!action->Enabled());
        else
            action->SetShortCut(someShortCuts[random() % 4]);
    }
    for (int round = 0; round < 20; ++round) {
        const size_t victim = random() % actions.size();
        delete actions[victim];
        actions.erase(actions.begin() + static_cast<std::ptrdiff_t>(victim));
    }
    ExpectIndexMatchesScan();
}


TEST_F(ShortcutTest, TableIsCollectedAtTheFirstQuestionFromTheListOfTheHandshake) {
    EnterWithOnePackage();
    CompleteHandshake();
    // Between the handshake and the first question the IDE destroys its action list.
    vcl::TCustomActionList* list = ide.Services().GetActionList();
    ide.Services().SetActionList(nullptr);
    delete list;
    EXPECT_FALSE(IsShortcut(0x20053));
    EXPECT_TRUE(TheHub().BdsShortCuts().Actions().empty());
}

TEST_F(ShortcutTest, ShutDownLetsGoOfTheIdeActions) {
    EnterWithOnePackage();
    CompleteHandshake();
    korvel::TBdsServices& hub = TheHub();  // outlives the loader
    vcl::TCustomAction* save = IdeAction(u"FileSaveCommand");
    ShutDown();
    EXPECT_TRUE(hub.BdsShortCuts().Actions().empty());
    WordBool result = 7;
    EXPECT_EQ(hub.IsShortcut(0x20053, &result), S_OK);
    EXPECT_EQ(result, 0);
    save->SetEnabled(false);
    delete save;
    EXPECT_EQ(hub.IsShortcut(0x20053, &result), S_OK);
    EXPECT_EQ(result, 0);
}

}  // namespace
