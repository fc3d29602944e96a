// The loader with a real package: the sample package library that the build makes, created
// through the platform's COM from its InprocServer32 registration (natively the emulated COM,
// under wine the real one), sited with the hub and terminated.
#include <gtest/gtest.h>

#include "examples/SamplePackage/DesignerPackage.h"
#include "examples/SamplePackage/SamplePackage.h"
#include "platform/rtl/Guid.h"
#include "platform/rtl/Registry.h"
#include "services/KorvelBdsServices.h"
#include "tests/support/LoaderFixture.h"
#include "tests/support/SampleLibrary.h"

using namespace testing_support;

namespace {

class InprocServerTest : public LoaderFixture {
protected:
    void RegisterSample(const String& serverPath) {
        registry.RegisterInprocServer(CLSID_SamplePackage, serverPath);
        registry.AddPackage(rtl::GUIDToString(CLSID_SamplePackage), u"Sample", 1);
    }
};

// regsvr32's way: the library writes its classes and the packages key itself.
TEST_F(InprocServerTest, SelfRegisteredLibraryIsLoadedInItsLoadOrderAndUnregistersCleanly) {
    SampleLibrary library;
    ASSERT_EQ(library.RegisterServer(), S_OK);
    ASSERT_TRUE(Enter());
    EXPECT_TRUE(ide.Record().messageBoxes.empty()) << "the classes point at the library itself";
    ASSERT_EQ(korvel::PackagesInfo.size(), 2u);
    EXPECT_EQ(korvel::PackagesInfo[0].Id, CLSID_SamplePackage);
    EXPECT_EQ(rtl::String(korvel::PackagesInfo[0].Name), u"Korvel Sample Package");
    EXPECT_EQ(korvel::PackagesInfo[1].Id, CLSID_SampleDesignerPackage) << "load order 30 after 20";
    EXPECT_EQ(korvel::Packages.size(), 2u);
    ShutDown();

    ASSERT_EQ(library.UnregisterServer(), S_OK);
    rtl::TRegistry registryView(KEY_READ);
    registryView.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registryView.OpenKeyReadOnly(PackagesKey()));
    EXPECT_TRUE(registryView.GetKeyNames().empty());
    registryView.CloseKey();
    registryView.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(registryView.KeyExists(u"CLSID\\" + rtl::GUIDToString(CLSID_SamplePackage)));
}

TEST_F(InprocServerTest, SamplePackageIsCreatedSitedAndTerminated) {
    RegisterSample(BesideTheProgram(kSampleLibraryName));
    ASSERT_TRUE(Enter());
    EXPECT_TRUE(ide.Record().messageBoxes.empty());
    ASSERT_EQ(korvel::Packages.size(), 1u);
    ASSERT_EQ(korvel::PackagesInfo.size(), 1u);
    EXPECT_EQ(korvel::PackagesInfo[0].Instance.Get(), korvel::Packages[0].Get());
    EXPECT_FALSE(korvel::ShellPackage) << "the sample is no shell package";

    SampleLibrary library;
    ASSERT_TRUE(library.Loaded());
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE) << "the package object is alive";

    // The sample keeps its site until Terminate: one reference on the hub, given back then.
    korvel::TBdsServices* hub = korvel::BdsServices;
    ASSERT_NE(hub, nullptr);
    const ULONG whileSited = hub->RefCount();
    ShutDown();
    EXPECT_EQ(hub->RefCount(), whileSited - 1);
    EXPECT_EQ(library.CanUnloadNow(), S_OK) << "every object and class object was released";
    EXPECT_TRUE(ide.Record().messageBoxes.empty());
}

// As examples/Sample.reg registers it: the bare name is looked for beside the program first.
TEST_F(InprocServerTest, BareServerNameIsFoundBesideTheProgram) {
    RegisterSample(kSampleLibraryName);
    ASSERT_TRUE(Enter());
    EXPECT_TRUE(ide.Record().messageBoxes.empty());
    EXPECT_EQ(korvel::Packages.size(), 1u);
}

TEST_F(InprocServerTest, MissingServerLibraryIsReportedAsALoadFailure) {
    RegisterSample(BesideTheProgram(u"NoSuchPackage.dll"));
    ASSERT_TRUE(Enter());
    ASSERT_EQ(ide.Record().messageBoxes.size(), 1u);
    EXPECT_EQ(ide.Record().messageBoxes[0].text.rfind(u"Failed to load package 'Sample'.\n\rPackage ID: ", 0), 0u);
    EXPECT_TRUE(korvel::Packages.empty());
    EXPECT_EQ(korvel::PackagesInfo.size(), 1u);
}

TEST(SamplePackageLibraryTest, ServesOnlyItsOwnClassesAndCountsWhatItHandsOut) {
    SampleLibrary library;
    ASSERT_TRUE(library.Loaded());
    IUnknown* foreign = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(library.GetClassObject(IID_IBdsPackage, IID_IClassFactory, reinterpret_cast<void**>(&foreign)),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(foreign, nullptr);

    for (const CLSID& clsid : {CLSID_SamplePackage, CLSID_SampleDesignerPackage}) {
        rtl::ComPtr<IClassFactory> factory;
        ASSERT_EQ(library.GetClassObject(clsid, IID_IClassFactory, factory.PutVoid()), S_OK);
        EXPECT_EQ(library.CanUnloadNow(), S_FALSE) << "a class object is held";
        rtl::ComPtr<IBdsPackage> aggregated;
        EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_IBdsPackage, aggregated.PutVoid()), CLASS_E_NOAGGREGATION);

        rtl::ComPtr<IBdsPackage> package;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBdsPackage, package.PutVoid()), S_OK);
        factory = nullptr;
        EXPECT_FALSE(package.Query<IBdsShellPackage>());
        EXPECT_EQ(package->SetSite(nullptr), E_POINTER);
        EXPECT_EQ(package->Initialize(), E_UNEXPECTED) << "nothing to initialize without a site";
        EXPECT_EQ(package->Terminate(), S_OK) << "terminating without a site is harmless";
        EXPECT_EQ(library.CanUnloadNow(), S_FALSE) << "a package object is alive";
        package = nullptr;
        EXPECT_EQ(library.CanUnloadNow(), S_OK);
    }
}

// The Pascal sample's library, built with Free Pascal against the SDK's Pascal units: the same
// answers to COM and regsvr32 as the C++ kit's, under wine as natively.
TEST_F(InprocServerTest, PascalLibraryServesItsClassCountsWhatItHandsOutAndRegistersItself) {
    constexpr CLSID CLSID_PascalSample = {0xEDDB80A7, 0xF1E7, 0x4926, {0x8A, 0xA0, 0xF5, 0x01, 0x26, 0xA3, 0x90, 0x54}};
    SampleLibrary library(u"PascalSample.dll");
    ASSERT_TRUE(library.Loaded());
    EXPECT_EQ(library.GetClassObject(CLSID_PascalSample, IID_IClassFactory, nullptr), E_POINTER);
    IUnknown* foreign = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(library.GetClassObject(IID_IBdsPackage, IID_IClassFactory, reinterpret_cast<void**>(&foreign)),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(foreign, nullptr);

    rtl::ComPtr<IClassFactory> factory;
    ASSERT_EQ(library.GetClassObject(CLSID_PascalSample, IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE) << "a class object is held";
    rtl::ComPtr<IBdsPackage> package;
    EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_IBdsPackage, package.PutVoid()), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IBdsPackage, nullptr), E_POINTER);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBdsPackage, package.PutVoid()), S_OK);
    factory = nullptr;
    EXPECT_FALSE(package.Query<IBdsShellPackage>());
    EXPECT_EQ(package->SetSite(nullptr), E_POINTER);
    EXPECT_EQ(package->Initialize(), E_UNEXPECTED) << "nothing to initialize without a site";
    EXPECT_EQ(package->Terminate(), S_OK);
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE) << "a package object is alive";
    package = nullptr;
    EXPECT_EQ(library.CanUnloadNow(), S_OK);

    ASSERT_EQ(library.RegisterServer(), S_OK);
    const String id = rtl::GUIDToString(CLSID_PascalSample);
    rtl::TRegistry view(KEY_READ);
    view.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(view.OpenKeyReadOnly(u"CLSID\\" + id + u"\\InprocServer32"));
    const String server = view.ReadString(u"");
    EXPECT_TRUE(rtl::SameText(server, BesideTheProgram(u"PascalSample.dll"))) << rtl::ToUtf8(server);
    EXPECT_EQ(view.ReadString(u"ThreadingModel"), u"Apartment");
    view.CloseKey();
    view.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(view.OpenKeyReadOnly(PackagesKey() + u"\\" + id));
    EXPECT_EQ(view.ReadString(u""), u"Pascal Sample Package");
    EXPECT_EQ(view.ReadInteger(u"LoadOrder"), 40);
    view.CloseKey();
    ASSERT_EQ(library.UnregisterServer(), S_OK);
    EXPECT_FALSE(view.KeyExists(PackagesKey() + u"\\" + id));
    view.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(view.KeyExists(u"CLSID\\" + id));
}

}  // namespace
