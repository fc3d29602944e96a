#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "tests/support/HubFixture.h"

using namespace testing_support;

namespace {

using Calls = std::vector<std::string>;

class HandshakeTest : public HubFixture {
protected:
    void EnterWithThreePackages(PackageBehaviour second = {}) {
        EnterWith({{"A", {}}, {"B", std::move(second)}, {"C", {}}});
        journal->calls.clear();
    }
    std::vector<rtl::String> CollectedNames() const {
        std::vector<rtl::String> names;
        for (vcl::TCustomAction* action : TheHub().BdsShortCuts().Actions()) names.push_back(action->Name());
        return names;
    }
    bool Collected(const rtl::String& name) const {
        const auto names = CollectedNames();
        return std::find(names.begin(), names.end(), name) != names.end();
    }
    vcl::TAction* AddIdeAction(const rtl::String& name, vcl::TShortCut shortCut) {
        vcl::TCustomActionList* list = ide.Services().GetActionList();
        auto* action = new vcl::TAction(list);
        action->SetName(name);
        action->SetShortCut(shortCut);
        action->SetActionList(list);
        return action;
    }

    const Calls initializedInOrder{"A.Initialize", "B.Initialize", "C.Initialize"};
};

TEST_F(HandshakeTest, PackagesInitializeOnTheLaterNoticeInLoadOrder) {
    EnterWithThreePackages();
    ASSERT_EQ(Hub()->OnDotNetServicesInitialized(), S_OK);
    EXPECT_TRUE(journal->calls.empty());
    EXPECT_TRUE(CollectedNames().empty());
    TheHub().OnToolBarServiceInitialized();
    EXPECT_EQ(journal->calls, initializedInOrder);
    EXPECT_FALSE(CollectedNames().empty());
}

TEST_F(HandshakeTest, NoticesInTheOtherOrderGiveTheSameResult) {
    EnterWithThreePackages();
    TheHub().OnToolBarServiceInitialized();
    EXPECT_TRUE(journal->calls.empty());
    ASSERT_EQ(Hub()->OnDotNetServicesInitialized(), S_OK);
    EXPECT_EQ(journal->calls, initializedInOrder);
}

TEST_F(HandshakeTest, RepeatedNoticesInitializeOnce) {
    EnterWithThreePackages();
    for (int i = 0; i < 3; ++i) ASSERT_EQ(Hub()->OnDotNetServicesInitialized(), S_OK);
    TheHub().OnToolBarServiceInitialized();
    TheHub().OnToolBarServiceInitialized();
    ASSERT_EQ(Hub()->OnDotNetServicesInitialized(), S_OK);
    EXPECT_EQ(journal->calls, initializedInOrder);
}

TEST_F(HandshakeTest, NoticesSentAgainFromInitializeDoNotInitializeTwice) {
    PackageBehaviour reentrant;
    WordBool shortcutDuringInitialize = 7;
    reentrant.onInitialize = [&](IBdsServices* site) {
        site->OnDotNetServicesInitialized();
        korvel::BdsServices->OnToolBarServiceInitialized();
        site->IsShortcut(0x20053, &shortcutDuringInitialize);
    };
    EnterWithThreePackages(reentrant);
    CompleteHandshake();
    EXPECT_EQ(journal->calls, initializedInOrder);
    EXPECT_EQ(shortcutDuringInitialize, 0) << "the shortcut table is collected after the packages initialized";
}

TEST_F(HandshakeTest, FailingInitializeDoesNotStopTheOthers) {
    PackageBehaviour throwing;
    throwing.onInitialize = [](IBdsServices*) { throw std::runtime_error("package failure in Initialize"); };
    EnterWithThreePackages(throwing);
    CompleteHandshake();
    EXPECT_EQ(journal->calls, initializedInOrder);
    EXPECT_TRUE(Collected(u"FileSaveCommand"));
}

TEST_F(HandshakeTest, ShortcutTableTakesNamedShortcutsOfCommandsOtherThanEditAndSearch) {
    EnterWithOnePackage();
    AddIdeAction(u"PackageCreditsCommand", vcl::ShortCut('K', vcl::ssCtrl | vcl::ssAlt));
    AddIdeAction(u"ReSearchCommand", vcl::ShortCut('K', vcl::ssCtrl | vcl::ssShift));
    AddIdeAction(u"UnnamedKeyCommand", vcl::ShortCut(0xBF, vcl::ssCtrl));
    auto* plain = new vcl::TContainedAction(ide.Services().GetActionList());
    plain->SetName(u"PlainContainedAction");
    plain->SetActionList(ide.Services().GetActionList());
    CompleteHandshake();

    EXPECT_TRUE(Collected(u"FileSaveCommand"));
    EXPECT_TRUE(Collected(u"RunProgramResetCommand")) << "disabled actions are collected too";
    EXPECT_TRUE(Collected(u"PackageCreditsCommand")) << "lower-case \"edit\" does not count";
    EXPECT_FALSE(Collected(u"ReSearchCommand"));
    EXPECT_FALSE(Collected(u"EditCopyCommand"));
    EXPECT_FALSE(Collected(u"ViewNewEditorCommand"));
    EXPECT_FALSE(Collected(u"ToolsEditorOptionsCommand"));
    EXPECT_FALSE(Collected(u"HelpSearchCommand"));
    EXPECT_FALSE(Collected(u"FileOpenCommand")) << "no shortcut";
    EXPECT_FALSE(Collected(u"UnnamedKeyCommand")) << "a shortcut without a name";
    EXPECT_FALSE(Collected(u"PlainContainedAction"));

    const auto names = CollectedNames();
    EXPECT_EQ(names.front(), u"FileOpenProjectCommand") << "in the action list's order";
    EXPECT_EQ(names.back(), u"PackageCreditsCommand");
    EXPECT_GT(names.size(), 100u);
}

TEST_F(HandshakeTest, WithoutAnActionListNothingIsAShortcut) {
    EnterWithThreePackages();
    ide.Services().SetActionList(nullptr);
    CompleteHandshake();
    EXPECT_EQ(journal->calls, initializedInOrder);
    EXPECT_TRUE(CollectedNames().empty());
    WordBool result = 7;
    EXPECT_EQ(Hub()->IsShortcut(0x20053, &result), S_OK);
    EXPECT_EQ(result, 0);
}

TEST_F(HandshakeTest, WithoutTheIdeServicesObjectNothingIsCollected) {
    EnterWithOnePackage();
    ide::IBorlandIDEServices* services = ide::BorlandIDEServices();
    ide::SetBorlandIDEServices(nullptr);
    CompleteHandshake();
    ide::SetBorlandIDEServices(services);
    EXPECT_TRUE(CollectedNames().empty());
}

}  // namespace

namespace {

// The whole start-up as the IDE runs it: experts first, then the IDE loads its toolbars and
// tells its toolbar notifiers; a package reports its runtime services from SetSite.
TEST_F(HandshakeTest, TheIdesToolbarLoadAndAPackagesNoticeInitializeThePackages) {
    PackageBehaviour reporting;
    reporting.onSetSite = [](IBdsServices* site) { site->OnDotNetServicesInitialized(); };
    EnterWith({{"A", {}}, {"B", reporting}});
    EXPECT_EQ(journal->calls, (Calls{"A.SetSite", "B.SetSite"}));
    ide.LoadToolbars();
    EXPECT_EQ(journal->calls, (Calls{"A.SetSite", "B.SetSite", "A.Initialize", "B.Initialize"}));
    EXPECT_FALSE(ide.Record().debugOutput.empty());
    EXPECT_EQ(ide.Record().debugOutput[0].rfind(u"ToolbarLoaded : ", 0), 0u);
    ide.LoadToolbars();
    EXPECT_EQ(journal->calls.size(), 4u) << "a second load initializes nobody again";
}

}  // namespace

namespace {

TEST_F(HandshakeTest, NoticesDuringSitingWaitUntilEveryPackageIsSited) {
    PackageBehaviour sendsNotice;
    sendsNotice.onSetSite = [](IBdsServices* site) { site->OnDotNetServicesInitialized(); };
    PackageBehaviour toolbarsLoadMeanwhile;  // as when its SetSite runs a modal loop
    toolbarsLoadMeanwhile.onSetSite = [this](IBdsServices*) { ide.LoadToolbars(); };
    EnterWith({{"A", sendsNotice}, {"B", toolbarsLoadMeanwhile}, {"C", {}}});
    EXPECT_EQ(journal->calls, (Calls{"A.SetSite", "B.SetSite", "C.SetSite", "A.Initialize", "B.Initialize",
                                     "C.Initialize"}));
    CompleteHandshake();
    EXPECT_EQ(journal->calls.size(), 6u);
}

}  // namespace
