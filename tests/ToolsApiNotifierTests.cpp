#include <gtest/gtest.h>

#include "tests/support/FakeToolsNotifiers.h"
#include "toolsapi/BDSNotifierWrappers.h"

using namespace testing_support;
using korvel::TBDSAnyNotifierWrapper;
using korvel::TBDSEditServicesNotifierWrapper;
using Calls = std::vector<std::string>;

namespace {

rtl::ComPtr<FakeModuleNotifier> PackageNotifier(std::vector<GUID> offered) {
    return rtl::ComPtr<FakeModuleNotifier>(new FakeModuleNotifier(std::move(offered)));
}

rtl::ComPtr<ide::IOTAModuleNotifier90> Wrap(FakeModuleNotifier* notifier) {
    return rtl::ComPtr<ide::IOTAModuleNotifier90>(
        new TBDSAnyNotifierWrapper(rtl::PackageRef<IUnknown>(notifier ? notifier->Unknown() : nullptr)));
}

TEST(AnyNotifierWrapper, BaseNotifierOnlyGetsItsOwnCallsAndTheRestAnswerDefaults) {
    auto notifier = PackageNotifier({IID_IBDSNotifier});
    const ULONG before = notifier->RefCount();
    {
        auto wrapper = Wrap(notifier.Get());
        auto editor = wrapper.Query<ide::IOTAEditorNotifier>();
        EXPECT_EQ(notifier->RefCount(), before + 1) << "one counted reference per wrapper";
        for (int burst = 0; burst < 100; ++burst) {
            wrapper->Modified();
            EXPECT_TRUE(wrapper->CheckOverwrite());
            EXPECT_TRUE(wrapper->AllowSave());
            EXPECT_EQ(wrapper->GetOverwriteFileNameCount(), 0);
            EXPECT_EQ(wrapper->GetOverwriteFileName(0), u"");
            wrapper->BeforeRename(u"a.pas", u"b.pas");
            wrapper->ModuleRenamed(u"b.pas");
            editor->ViewActivated(nullptr);
        }
        EXPECT_EQ(notifier->RefCount(), before + 1)
            << "the wrapper's reference alone: each notification lets go of the interface it asked for";
        EXPECT_EQ(notifier->calls, Calls(100, "Modified"));
        EXPECT_NO_THROW(wrapper->AfterSave());
        notifier->saveAnswer = 0;
        EXPECT_THROW(wrapper->BeforeSave(), rtl::EAbort);
        EXPECT_THROW(wrapper->AfterSave(), rtl::EAbort);
    }
    EXPECT_EQ(notifier->RefCount(), before) << "the wrapper lets the package's notifier go with it";
}

TEST(AnyNotifierWrapper, RelaysEveryGroupWithConvertedArguments) {
    auto notifier = PackageNotifier(FakeModuleNotifier::AllInterfaces());
    notifier->checkOverwriteAnswer = 2;  // any non-zero is true
    notifier->allowSaveAnswer = 0;
    notifier->overwriteNames = {u"Unit1.dfm", u"Ünit1.bak"};
    auto wrapper = Wrap(notifier.Get());
    rtl::ComPtr<ide::IOTAEditorNotifier> editor = wrapper.Query<ide::IOTAEditorNotifier>();
    ASSERT_TRUE(editor);

    EXPECT_TRUE(wrapper->CheckOverwrite());
    EXPECT_FALSE(wrapper->AllowSave());
    EXPECT_EQ(wrapper->GetOverwriteFileNameCount(), 2);
    EXPECT_EQ(wrapper->GetOverwriteFileName(1), u"Ünit1.bak");
    EXPECT_EQ(wrapper->GetOverwriteFileName(5), u"") << "a nil answer is an empty name";
    wrapper->SetSaveFileName(u"C:\\src\\Unit1.pas");
    wrapper->BeforeRename(u"old.pas", u"new.pas");
    wrapper->AfterRename(u"old.pas", u"new.pas");
    wrapper->ModuleRenamed(u"new.pas");
    editor->ViewNotification(nullptr, vcl::TOperation::opInsert);
    editor->ViewNotification(nullptr, vcl::TOperation::opRemove);
    editor->ViewActivated(nullptr);
    wrapper->Destroyed();
    EXPECT_EQ(notifier->calls,
              (Calls{"CheckOverwrite", "AllowSave", "GetOverwriteFileNameCount", "GetOverwriteFileName 1",
                     "GetOverwriteFileName 5", "SetSaveFileName C:\\src\\Unit1.pas", "BeforeRename old.pas new.pas",
                     "AfterRename old.pas new.pas", "ModuleRenamed new.pas", "ViewNotification nil 0",
                     "ViewNotification nil 1", "ViewActivated nil", "Destroyed"}));
}

TEST(AnyNotifierWrapper, FailingPackagesAndLyingQueriesGiveTheDefaults) {
    auto throwing = PackageNotifier(FakeModuleNotifier::AllInterfaces());
    throwing->misbehaviour = Misbehaviour::Throw;
    throwing->checkOverwriteAnswer = 0;
    auto lying = PackageNotifier(FakeModuleNotifier::AllInterfaces());
    lying->misbehaviour = Misbehaviour::QueryAnswersNil;
    for (auto* notifier : {throwing.Get(), lying.Get(), static_cast<FakeModuleNotifier*>(nullptr)}) {
        auto wrapper = Wrap(notifier);
        EXPECT_NO_THROW(wrapper->BeforeSave()) << "a failure is no request to stop";
        EXPECT_TRUE(wrapper->CheckOverwrite());
        EXPECT_EQ(wrapper->GetOverwriteFileName(0), u"");
        EXPECT_NO_THROW(wrapper->AfterRename(u"a", u"b"));
    }
    EXPECT_EQ(throwing->calls, (Calls{"BeforeSave", "CheckOverwrite", "GetOverwriteFileName 0", "AfterRename a b"}));
    EXPECT_TRUE(lying->calls.empty());
}

TEST(EditServicesNotifierWrapper, PassesNilForIdeObjectsAndTheFlagsAsBytes) {
    rtl::ComPtr<FakeEditServicesNotifier> notifier(new FakeEditServicesNotifier);
    notifier->handledCommand = 7;
    notifier->handledValue = 0x80;
    rtl::ComPtr<ide::INTAEditServicesNotifier> wrapper(
        new TBDSEditServicesNotifierWrapper(rtl::PackageRef<IBDSEditServicesNotifier>(notifier.Get())));
    wrapper->WindowShow(nullptr, true, false);
    wrapper->WindowNotification(nullptr, vcl::TOperation::opRemove);
    wrapper->WindowActivated(nullptr);
    bool handled = false;
    wrapper->WindowCommand(nullptr, 6, 1, handled);
    EXPECT_FALSE(handled);
    wrapper->WindowCommand(nullptr, 7, 2, handled);
    EXPECT_TRUE(handled) << "any non-zero byte the package writes is handled";
    wrapper->EditorViewActivated(nullptr, nullptr);
    wrapper->DockFormRefresh(nullptr, nullptr);
    EXPECT_EQ(notifier->calls, (Calls{"WindowShow nil 1 0", "WindowNotification nil 1", "WindowActivated nil",
                                      "WindowCommand nil 6 1", "WindowCommand nil 7 2", "EditorViewActivated nil nil",
                                      "DockFormRefresh nil nil"}));

    EXPECT_NO_THROW(wrapper->BeforeSave());
    notifier->saveAnswer = 0;
    EXPECT_THROW(wrapper->AfterSave(), rtl::EAbort);
    notifier->throws = true;
    notifier->saveAnswer = -1;
    handled = false;
    EXPECT_NO_THROW(wrapper->WindowCommand(nullptr, 7, 0, handled));
    EXPECT_FALSE(handled) << "what a throwing package wrote is not its answer: the IDE's flag stays as it was";
}

}  // namespace
