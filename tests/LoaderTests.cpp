#include <gtest/gtest.h>

#include "loader/KorvelLoader.h"
#include "platform/rtl/Exceptions.h"
#include "services/KorvelBdsServices.h"
#include "tests/support/HubFixture.h"

using namespace testing_support;

namespace {

class LoaderTest : public LoaderFixture {};

void NeverCalled() {}

TEST_F(LoaderTest, NilServicesLoadsNothingAndLeavesTerminate) {
    registry.AddPackage(GuidText(1), u"A", 1);
    RegisteredPackageClass a(MakeGuid(1), "A", journal);
    korvel::TWizardTerminateProc previous = &NeverCalled;
    EXPECT_FALSE(korvel::InitWizard(nullptr, &previous));
    EXPECT_EQ(previous, &NeverCalled);
    EXPECT_TRUE(korvel::Packages.empty());
    EXPECT_EQ(journal->createdObjects, 0);
}

TEST_F(LoaderTest, ServicesOtherThanTheIdeGlobalIsAnAssertionFailure) {
    sim::IdeServices* other = new sim::IdeServices;
    rtl::ComPtr<ide::IBorlandIDEServices> keep(other);
    EXPECT_THROW(korvel::InitWizard(other, &terminate), rtl::EAssertionFailed);
    EXPECT_EQ(terminate, nullptr);
}

TEST_F(LoaderTest, UnregisteredClassIsReportedAndTheOthersLoadInOrder) {
    registry.AddPackage(GuidText(1), u"First", 1);
    registry.AddPackage(GuidText(2), u"Sample", 2);
    registry.AddPackage(GuidText(3), u"Third", 3);
    RegisteredPackageClass first(MakeGuid(1), "A", journal);
    RegisteredPackageClass third(MakeGuid(3), "C", journal);

    ASSERT_TRUE(Enter());
    EXPECT_EQ(terminate, &korvel::FinalizeWizard);

    ASSERT_EQ(ide.Record().messageBoxes.size(), 1u);
    const auto& box = ide.Record().messageBoxes[0];
    EXPECT_EQ(box.text, u"Failed to load package 'Sample'.\n\rPackage ID: " + GuidText(2) + u"\n\rError: " +
                            rtl::EOleSysError(REGDB_E_CLASSNOTREG).Message());
    EXPECT_EQ(box.caption, u"Korvel Products Loader");
    EXPECT_EQ(box.style, 16u);
    EXPECT_EQ(box.owner, GetForegroundWindow());

    ASSERT_EQ(korvel::Packages.size(), 2u);
    ASSERT_EQ(korvel::PackagesInfo.size(), 3u);
    EXPECT_EQ(korvel::PackagesInfo[0].Instance.Get(), korvel::Packages[0].Get());
    EXPECT_EQ(korvel::PackagesInfo[1].Instance.Get(), nullptr);
    EXPECT_EQ(rtl::String(korvel::PackagesInfo[1].Name), u"Sample");
    EXPECT_EQ(korvel::PackagesInfo[2].Instance.Get(), korvel::Packages[1].Get());
    EXPECT_EQ(journal->calls, (std::vector<std::string>{"A.SetSite", "C.SetSite"}));
}

TEST_F(LoaderTest, ErrorTextIsThePlatformsOrTheCode) {
#ifndef _WIN32
    EXPECT_EQ(rtl::EOleSysError(REGDB_E_CLASSNOTREG).Message(), u"Class not registered");
#endif
    // Codes the platform has no text for are shown by number.
    EXPECT_EQ(rtl::EOleSysError(static_cast<HRESULT>(0x8004BEEFu)).Message(), u"OLE error 8004BEEF");
}

TEST_F(LoaderTest, MalformedIdentifierIsSkippedSilently) {
    registry.AddPackage(u"not-a-guid", u"Broken", 1);
    registry.AddPackage(GuidText(2), u"Second", 2);
    registry.AddPackage(u"{6B0A0003-1234-4ABC-8011-22334455663}", u"Short", 3);
    RegisteredPackageClass second(MakeGuid(2), "B", journal);

    ASSERT_TRUE(Enter());
    EXPECT_TRUE(ide.Record().messageBoxes.empty());
    ASSERT_EQ(korvel::PackagesInfo.size(), 1u);
    EXPECT_EQ(korvel::PackagesInfo[0].Id, MakeGuid(2));
    EXPECT_EQ(rtl::String(korvel::PackagesInfo[0].Name), u"Second");
    EXPECT_EQ(korvel::PackagesInfo[0].Instance.Get(), korvel::Packages[0].Get());
}

TEST_F(LoaderTest, LowerCaseIdentifierLoadsAndIsReportedAsSpelled) {
    rtl::String id = GuidText(4);
    for (auto& c : id) c = rtl::AsciiLower(c);
    registry.AddPackage(id, u"", 1);
    ASSERT_TRUE(Enter());
    ASSERT_EQ(ide.Record().messageBoxes.size(), 1u);
    EXPECT_EQ(ide.Record().messageBoxes[0].text.substr(0, 38), u"Failed to load package.\n\rPackage ID: {");
    EXPECT_NE(ide.Record().messageBoxes[0].text.find(id), rtl::String::npos);
    EXPECT_EQ(korvel::BdsServices, nullptr) << "no hub without a created package";
}

TEST_F(LoaderTest, ObjectWithoutThePackageInterfaceIsReported) {
    registry.AddPackage(GuidText(5), u"Foreign", 1);
    RegisteredForeignClass foreign(MakeGuid(5));
    ASSERT_TRUE(Enter());
    ASSERT_EQ(ide.Record().messageBoxes.size(), 1u);
    EXPECT_NE(ide.Record().messageBoxes[0].text.find(u"\n\rError: Interface not supported"), rtl::String::npos);
    EXPECT_TRUE(korvel::Packages.empty());
    ASSERT_EQ(korvel::PackagesInfo.size(), 1u);
    EXPECT_EQ(korvel::PackagesInfo[0].Instance.Get(), nullptr);
}

TEST_F(LoaderTest, FirstShellPackageInLoadOrderWins) {
    PackageBehaviour shell;
    shell.shellPackage = true;
    registry.AddPackage(GuidText(1), u"Late", 20);
    registry.AddPackage(GuidText(2), u"Early", 10);
    registry.AddPackage(GuidText(3), u"Plain", 5);
    RegisteredPackageClass late(MakeGuid(1), "Late", journal, shell);
    RegisteredPackageClass early(MakeGuid(2), "Early", journal, shell);
    RegisteredPackageClass plain(MakeGuid(3), "Plain", journal);
    ASSERT_TRUE(Enter());
    ASSERT_TRUE(korvel::ShellPackage);
    korvel::ShellPackage.Get()->OnDocumentDeactivated();
    EXPECT_EQ(journal->calls.back(), "Early.OnDocumentDeactivated");
}

TEST_F(LoaderTest, ShutDownTerminatesInReverseAndReleasesEverything) {
    registry.AddPackage(GuidText(1), u"A", 1);
    registry.AddPackage(GuidText(2), u"B", 2);
    registry.AddPackage(GuidText(3), u"C", 3);
    RegisteredPackageClass a(MakeGuid(1), "A", journal);
    RegisteredPackageClass b(MakeGuid(2), "B", journal);
    RegisteredPackageClass c(MakeGuid(3), "C", journal);
    ASSERT_TRUE(Enter());
    ide.Application().OnMessage = [](MSG&, bool&) {};
    journal->calls.clear();

    ShutDown();
    EXPECT_EQ(journal->calls, (std::vector<std::string>{"C.Terminate", "B.Terminate", "A.Terminate"}));
    EXPECT_EQ(journal->liveObjects, 0);
    EXPECT_TRUE(korvel::Packages.empty());
    EXPECT_TRUE(korvel::PackagesInfo.empty());
    EXPECT_FALSE(korvel::ShellPackage);
    EXPECT_EQ(korvel::BdsServices, nullptr);
    EXPECT_FALSE(ide.Application().OnMessage);
}

TEST_F(LoaderTest, NoPackagesMeansNoHubButShutDownStillClearsTheHook) {
    ASSERT_TRUE(Enter());
    EXPECT_EQ(terminate, &korvel::FinalizeWizard);
    EXPECT_EQ(korvel::BdsServices, nullptr);
    ide.Application().OnMessage = [](MSG&, bool&) {};
    ShutDown();
    EXPECT_FALSE(ide.Application().OnMessage);
}

TEST_F(LoaderTest, MisbehavingPackagesDoNotStopTheOthers) {
    PackageBehaviour throwing;
    throwing.throwInSetSite = true;
    throwing.throwInTerminate = true;
    PackageBehaviour failing;
    failing.failTerminate = true;
    failing.extraReleaseInSetSite = true;  // gives up a reference it never had
    registry.AddPackage(GuidText(1), u"A", 1);
    registry.AddPackage(GuidText(2), u"B", 2);
    registry.AddPackage(GuidText(3), u"C", 3);
    RegisteredPackageClass a(MakeGuid(1), "A", journal, throwing);
    RegisteredPackageClass b(MakeGuid(2), "B", journal, failing);
    RegisteredPackageClass c(MakeGuid(3), "C", journal);
    ASSERT_TRUE(Enter());
    EXPECT_EQ(journal->calls, (std::vector<std::string>{"A.SetSite", "B.SetSite", "C.SetSite"}));
    Integer count = 0;
    EXPECT_EQ(Hub()->get_PackagesCount(&count), S_OK) << "the hub survives a package's extra release";
    EXPECT_EQ(count, 3);
    ShutDown();
    EXPECT_EQ(journal->liveObjects, 0);
    EXPECT_EQ(journal->calls.back(), "A.Terminate");
}

class CountingHandler : public rtl::ComObject<IMessageHandler> {
public:
    HRESULT STDMETHODCALLTYPE HandleMessage(MSG*, WordBool*, WordBool* handled) override {
        *handled = 0;
        return S_OK;
    }
};

#ifndef _WIN32
// Claims to be its own factory and gives none: the emulated COM must not call through nil.
class NoFactory : public rtl::ComObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = nullptr, S_OK; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void**) override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

TEST_F(LoaderTest, AClassClaimingAFactoryItLacksIsALoadFailure) {
    registry.AddPackage(GuidText(1), u"A", 1);
    const rtl::ComPtr<NoFactory> lying(new NoFactory);
    DWORD cookie = 0;
    CoRegisterClassObject(MakeGuid(1), lying.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    ASSERT_TRUE(Enter());
    CoRevokeClassObject(cookie);
    EXPECT_EQ(ide.Record().messageBoxes.size(), 1u);
    EXPECT_FALSE(korvel::PackagesInfo.at(0).Instance);
}
#endif

class PackageLifetimeTest : public HubFixture {};

TEST_F(PackageLifetimeTest, PackagesThatThrowFromQueryInterfaceOrReleaseDoNotTakeTheIdeDown) {
    PackageBehaviour noPackage;
    noPackage.throwOnPackageQuery = true;
    PackageBehaviour noShell;
    noShell.shellPackage = true;
    noShell.throwOnShellQuery = true;
    PackageBehaviour lastRelease;
    lastRelease.throwInLastRelease = true;
    EnterWith({{"A", noPackage}, {"B", noShell}, {"C", lastRelease}});
    EXPECT_EQ(journal->calls, (std::vector<std::string>{"C.SetSite"}));
    EXPECT_EQ(journal->liveObjects, 1) << "the abandoned objects are released";
    ShutDown();
    EXPECT_EQ(journal->liveObjects, 0);
}

TEST_F(PackageLifetimeTest, PackagesTerminateThenTheirCallbacksGoThenThePackages) {
    PackageBehaviour own;
    own.ownHandler = true;
    rtl::ComPtr<CountingHandler> late(new CountingHandler);
    PackageBehaviour registersLate;
    registersLate.onTerminate = [&](IBdsServices* site) { EXPECT_EQ(site->AddMessageHandler(late.Get()), S_OK); };
    EnterWith({{"A", own}, {"B", registersLate}});
    korvel::TBdsServices* hub = korvel::BdsServices;
    journal->calls.clear();
    ShutDown();
    EXPECT_EQ(journal->calls, (std::vector<std::string>{"B.Terminate", "A.Terminate"}));
    EXPECT_EQ(journal->liveWhenOwnHandlerLetGo, 2) << "handlers go while both packages still live";
    EXPECT_EQ(late->RefCount(), 1u) << "a handler registered while terminating is released too";
    EXPECT_EQ(hub->AddMessageHandler(late.Get()), E_UNEXPECTED) << "after shut-down none is kept";
    EXPECT_EQ(late->RefCount(), 1u);
}

}  // namespace
