#include <gtest/gtest.h>

#include "platform/rtl/Bstr.h"
#include "services/KorvelBdsServices.h"
#include "tests/support/LoaderFixture.h"
#include "tests/support/VtableCall.h"

using namespace testing_support;

namespace {

class ServiceHubTest : public LoaderFixture {
protected:
    // Packages A (created) and Missing (class not registered), in that order.
    void SetUp() override {
        registry.AddPackage(GuidText(1), u"A", 1);
        registry.AddPackage(GuidText(2), u"Missing", 2);
        ASSERT_TRUE(Enter());
        ASSERT_NE(Hub(), nullptr);
    }
    RegisteredPackageClass a{MakeGuid(1), "A", journal};
};

TEST_F(ServiceHubTest, AnswersForTheInterfaceAndRefusesOthers) {
    rtl::ComPtr<IUnknown> unknown;
    EXPECT_EQ(Hub()->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
    rtl::ComPtr<IBdsServices> services;
    EXPECT_EQ(unknown->QueryInterface(IID_IBdsServices, services.PutVoid()), S_OK);
    EXPECT_EQ(services.Get(), Hub());
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(Hub()->QueryInterface(IID_IBdsPackage, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(Hub()->QueryInterface(IID_IBdsServices, nullptr), E_POINTER);
}

TEST_F(ServiceHubTest, PackageInfoCountsFailedPackagesAndHandsOutReferences) {
    Integer count = 0;
    EXPECT_EQ(Hub()->get_PackagesCount(&count), S_OK);
    EXPECT_EQ(count, 2);

    PackageInfo info{};
    ASSERT_EQ(Hub()->GetPackageInfo(0, &info), S_OK);
    EXPECT_EQ(info.Id, MakeGuid(1));
    EXPECT_EQ(rtl::FromWide(info.Name), u"A");
    ASSERT_NE(info.Instance, nullptr);
    EXPECT_EQ(info.Instance, korvel::Packages[0].Get());
    info.Instance->Release();

    ASSERT_EQ(Hub()->GetPackageInfo(1, &info), S_OK);
    EXPECT_EQ(info.Id, MakeGuid(2));
    EXPECT_EQ(rtl::FromWide(info.Name), u"Missing");
    EXPECT_EQ(info.Instance, nullptr);

    const WCHAR* firstName = nullptr;
    ASSERT_EQ(Hub()->GetPackageInfo(0, &info), S_OK);
    firstName = info.Name;
    info.Instance->Release();
    ASSERT_EQ(Hub()->GetPackageInfo(0, &info), S_OK);
    EXPECT_EQ(info.Name, firstName) << "the name is shared, not copied";
    info.Instance->Release();
}

TEST_F(ServiceHubTest, NamesOutliveShutDownAndARepeatedStartUpReusesThem) {
    PackageInfo info{};
    ASSERT_EQ(Hub()->GetPackageInfo(1, &info), S_OK);
    const WCHAR* missing = info.Name;
    ASSERT_EQ(Hub()->GetPackageInfo(0, &info), S_OK);
    const WCHAR* first = info.Name;
    info.Instance->Release();
    ShutDown();
    EXPECT_EQ(rtl::FromWide(first), u"A") << "a package may keep the pointer past shut-down";

    registry.AddPackage(GuidText(3), u"Missing", 0);
    ASSERT_TRUE(Enter());
    ASSERT_EQ(Hub()->GetPackageInfo(0, &info), S_OK);
    EXPECT_EQ(info.Name, missing) << "the same text is kept once, however often the loader starts";
    EXPECT_EQ(info.Id, MakeGuid(3));
    ASSERT_EQ(Hub()->GetPackageInfo(1, &info), S_OK);
    EXPECT_EQ(info.Name, first);
    EXPECT_EQ(rtl::FromWide(info.Name), u"A");
    info.Instance->Release();
}

TEST_F(ServiceHubTest, BadArgumentsGetClearCodes) {
    EXPECT_EQ(Hub()->get_PackagesCount(nullptr), E_POINTER);
    EXPECT_EQ(Hub()->GetPackageInfo(0, nullptr), E_POINTER);
    PackageInfo info{};
    info.Instance = reinterpret_cast<IBdsPackage*>(8);
    EXPECT_EQ(Hub()->GetPackageInfo(2, &info), E_INVALIDARG);
    EXPECT_EQ(info.Instance, nullptr);
    EXPECT_EQ(Hub()->GetPackageInfo(-1, &info), E_INVALIDARG);
    EXPECT_EQ(Hub()->Get_BdsWindowsService(nullptr), E_POINTER);
    EXPECT_EQ(Hub()->Get_IsComponentRegistered(nullptr, nullptr), E_POINTER);
    IUnknown* service = nullptr;
    EXPECT_EQ(Hub()->GetService(nullptr, &service), E_POINTER);
    EXPECT_EQ(Hub()->GetService(&IID_IBdsServices, nullptr), E_POINTER);
}

TEST_F(ServiceHubTest, WindowsServiceIsOneObjectThatPackageReleasesCannotFree) {
    rtl::ComPtr<IBdsWindowsService> first, second;
    ASSERT_EQ(Hub()->Get_BdsWindowsService(first.Put()), S_OK);
    ASSERT_EQ(Hub()->Get_BdsWindowsService(second.Put()), S_OK);
    EXPECT_EQ(first.Get(), second.Get());
    for (int i = 0; i < 5; ++i) first->Release();
    EXPECT_EQ(Hub()->Get_BdsWindowsService(second.Put()), S_OK);
    EXPECT_EQ(Hub()->Get_BdsWindowsService(nullptr), E_POINTER);
    first.Detach();
}

TEST_F(ServiceHubTest, GetServiceHandsOutNoIdeObject) {
    for (const GUID* id : {&IID_IBdsServices, &ide::IID_INTAServices, &ide::IID_IBorlandIDEServices}) {
        IUnknown* service = reinterpret_cast<IUnknown*>(8);
        EXPECT_EQ(Hub()->GetService(id, &service), S_OK);
        EXPECT_EQ(service, nullptr);
    }
}

TEST_F(ServiceHubTest, ComponentRegistrationIsLookedUpByClassName) {
    vcl::RegisterClass(u"TRegisteredForHubTest");
    WordBool registered = 0;
    rtl::WideString name(u"tregisteredforhubtest");
    EXPECT_EQ(Hub()->Get_IsComponentRegistered(name.Get(), &registered), S_OK);
    EXPECT_EQ(registered, -1) << "class names compare without case";
    rtl::WideString unknown(u"TNeverRegistered");
    EXPECT_EQ(Hub()->Get_IsComponentRegistered(unknown.Get(), &registered), S_OK);
    EXPECT_EQ(registered, 0);
    registered = -1;
    EXPECT_EQ(Hub()->Get_IsComponentRegistered(nullptr, &registered), S_OK);
    EXPECT_EQ(registered, 0);
    vcl::UnRegisterClass(u"TRegisteredForHubTest");
}

class NullProvider : public rtl::ComObject<IDragDropHelperProvider> {
public:
    HRESULT STDMETHODCALLTYPE GetDragDropHelper(BSTR, IUnknown** helper) override {
        if (helper) *helper = nullptr;
        return S_OK;
    }
};

TEST_F(ServiceHubTest, DragDropProvidersAreListedAsOftenAsAddedAndReleasedAtShutDown) {
    auto* hub = static_cast<korvel::TBdsServices*>(Hub());
    rtl::ComPtr<NullProvider> provider(new NullProvider);
    EXPECT_EQ(Hub()->AddDragDropHelper(provider.Get()), S_OK);
    EXPECT_EQ(Hub()->AddDragDropHelper(provider.Get()), S_OK);
    EXPECT_EQ(Hub()->AddDragDropHelper(nullptr), E_POINTER);
    ASSERT_EQ(hub->DragDropHelpers().size(), 2u);
    EXPECT_EQ(hub->DragDropHelpers()[1].Get(), provider.Get());
    ShutDown();
    EXPECT_EQ(provider->RefCount(), 1u);
}

class CountingHandler : public rtl::ComObject<IMessageHandler> {
public:
    HRESULT STDMETHODCALLTYPE HandleMessage(MSG*, WordBool*, WordBool* Handled) override {
        ++calls;
        *Handled = 0;
        return S_OK;
    }
    int calls = 0;
};

// A package that keeps the hub past shut-down and registers with it then: the hub outlives
// the run, so it must not take a reference it would never give back.
TEST_F(ServiceHubTest, AHubThatWasShutDownTakesNoMoreCallbacks) {
    rtl::ComPtr<IBdsServices> stale(Hub());
    ShutDown();
    rtl::ComPtr<NullProvider> provider(new NullProvider);
    rtl::ComPtr<CountingHandler> handler(new CountingHandler);
    EXPECT_EQ(stale->AddDragDropHelper(provider.Get()), E_UNEXPECTED);
    EXPECT_EQ(stale->AddMessageHandler(handler.Get()), E_UNEXPECTED);
    EXPECT_EQ(provider->RefCount(), 1u);
    EXPECT_EQ(handler->RefCount(), 1u);
}

// Every slot of IBdsServices, called as a foreign caller does, is the method the contract
// lists there: each call leaves a trace that only that method leaves.
TEST_F(ServiceHubTest, SlotsAreTheContractsMethods) {
    void* hub = Hub();
    Integer number = -1;
    EXPECT_EQ(CallMethod(hub, 1, &number), S_OK);
    EXPECT_EQ(number, 9);
    EXPECT_EQ(CallMethod(hub, 2, &number), S_OK);
    EXPECT_EQ(number, 0);
    rtl::WideString edition;
    EXPECT_EQ(CallMethod(hub, 3, edition.Put()), S_OK);
    EXPECT_EQ(edition.Text(), u"unknown");
    WordBool flag = 0;
    EXPECT_EQ(CallMethod(hub, 4, &flag), S_OK);
    EXPECT_EQ(flag, -1);
    IUnknown* service = reinterpret_cast<IUnknown*>(8);
    ASSERT_EQ(CallMethod(hub, 5, &service), S_OK);
    rtl::ComPtr<IUnknown>::Adopt(service).As<IBdsWindowsService>();
    if (CallMethod(hub, 6, &service) == S_OK) rtl::ComPtr<IUnknown>::Adopt(service).As<IBdsToolBarService>();
    ASSERT_EQ(CallMethod(hub, 7, &service), S_OK);
    rtl::ComPtr<IUnknown>::Adopt(service).As<IBdsHelpService>();
    if (CallMethod(hub, 8, &service) == S_OK) rtl::ComPtr<IUnknown>::Adopt(service).As<IBdsMenuBarService>();
    flag = -1;
    EXPECT_EQ(CallMethod(hub, 9, static_cast<BSTR>(nullptr), &flag), S_OK);
    EXPECT_EQ(flag, 0);
    service = reinterpret_cast<IUnknown*>(8);
    EXPECT_EQ(CallMethod(hub, 10, &IID_IBdsServices, &service), S_OK);
    EXPECT_EQ(service, nullptr);
    flag = -1;
    EXPECT_EQ(CallMethod(hub, 11, Integer{0x20053}, &flag), S_OK);
    EXPECT_EQ(flag, 0) << "no shortcut table before the handshake";

    rtl::WideString caption(u"Splash"), empty(u"");
    EXPECT_EQ(CallMethod(hub, 12, static_cast<HBITMAP>(nullptr), caption.Get(), empty.Get(), WordBool{1}, empty.Get()),
              S_OK);
    ASSERT_EQ(ide.Splash().Entries().size(), 1u);
    EXPECT_EQ(ide.Splash().Entries()[0].caption, u"Splash");
    EXPECT_TRUE(ide.Splash().Entries()[0].isUnRegistered) << "a WordBool of 1 reads as true";
    rtl::WideString title(u"About");
    EXPECT_EQ(CallMethod(hub, 13, static_cast<HBITMAP>(nullptr), static_cast<HBITMAP>(nullptr), title.Get(),
                         empty.Get(), empty.Get(), empty.Get(), empty.Get(), WordBool{0}, empty.Get()),
              S_OK);
    ASSERT_EQ(ide.About().Products().size(), 1u);
    EXPECT_EQ(ide.About().Products()[0].dialogTitle, u"About");

    rtl::ComPtr<CountingHandler> handler(new CountingHandler);
    EXPECT_EQ(CallMethod(hub, 14, static_cast<IMessageHandler*>(handler.Get())), S_OK);
    ide.PostMessage(MSG{nullptr, WM_NULL, 0, 0, 0, {0, 0}});
    ide.ProcessMessages();
    EXPECT_EQ(handler->calls, 1);
    EXPECT_EQ(CallMethod(hub, 15, static_cast<IDragDropHelperProvider*>(nullptr)), E_POINTER);

    journal->calls.clear();
    EXPECT_EQ(CallMethod(hub, 16), S_OK);
    EXPECT_TRUE(journal->calls.empty()) << "Initialize waits for the toolbars as well";
    static_cast<korvel::TBdsServices*>(Hub())->OnToolBarServiceInitialized();
    EXPECT_EQ(journal->calls, std::vector<std::string>{"A.Initialize"});

    EXPECT_EQ(CallMethod(hub, 17, &number), S_OK);
    EXPECT_EQ(number, 2);
    PackageInfo info{};
    EXPECT_EQ(CallMethod(hub, 18, Integer{1}, &info), S_OK);
    EXPECT_EQ(info.Id, MakeGuid(2));
    ShutDown();
}

TEST_F(ServiceHubTest, ReleasingTooOftenNeverFreesTheHub) {
    for (int i = 0; i < 5; ++i) Hub()->Release();
    Integer count = 0;
    EXPECT_EQ(Hub()->get_PackagesCount(&count), S_OK);
    EXPECT_EQ(count, 2);
}

TEST_F(ServiceHubTest, UnloadingTheModuleLetsGoOfTheHubWithoutTouchingTheIdesHook) {
    // A careless package keeps the hub and a service past shut-down and past the unloading.
    rtl::ComPtr<IBdsServices> kept(Hub());
    rtl::ComPtr<IBdsHelpService> help;
    ASSERT_EQ(kept->Get_BdsHelpService(help.Put()), S_OK);
    ShutDown();
    bool ideHandlerRan = false;
    ide.Application().OnMessage = [&](MSG&, bool&) { ideHandlerRan = true; };
    kept->AddRef();
    EXPECT_EQ(kept->Release(), 2u) << "the hub's own reference and the package's";

    korvel::UnloadModule();
    Integer major = 0;
    EXPECT_EQ(kept->get_BdsVersionMajor(&major), S_OK);
    EXPECT_EQ(major, 9);
    EXPECT_EQ(kept.Detach()->Release(), 0u) << "the package's was the last";
    EXPECT_EQ(help.Detach()->Release(), 0u);
    MSG msg{};
    bool handled = false;
    ide.Application().OnMessage(msg, handled);
    EXPECT_TRUE(ideHandlerRan);
}

}  // namespace
