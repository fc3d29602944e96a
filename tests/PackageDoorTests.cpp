// The door into package code on its own: what it contains, what it reports of it, and that it
// leaves the thread as it found it. The crash package's table (tests/crash) runs every fault at
// every place through the real loader.
#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <vector>

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/PackageDoor.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHardwareFaultsContained = false;  // the sanitizer's own handler takes them
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kHardwareFaultsContained = false;
#else
constexpr bool kHardwareFaultsContained = true;
#endif
#else
constexpr bool kHardwareFaultsContained = true;
#endif

struct Reports {
    Reports() : previous(rtl::SetPackageCallHook([this](const rtl::PackageCallReport& r) { seen.push_back(r); })) {}
    ~Reports() { rtl::SetPackageCallHook(std::move(previous)); }
    std::vector<rtl::PackageCallReport> seen;
    rtl::PackageCallHook previous;
};

const int kPackage = 1;
const int kOtherPackage = 2;
const rtl::PackageIdentity package = &kPackage;
const rtl::PackageIdentity otherPackage = &kOtherPackage;

void WriteToNil() { *static_cast<volatile int*>(nullptr) = 1; }

TEST(PackageDoor, WhatAPackageRaisesOrFaultsEndsOnlyItsOwnCallAndIsReportedAsItsOwn) {
    Reports reports;
    const int object = 0;
    EXPECT_EQ(rtl::CurrentPackage(), nullptr);

    // A nested call that faults ends there; the call around it goes on as its own package's.
    const int answer = rtl::CallPackage(package, &object, {"IOuter", "Outer"}, -1, [&] {
        EXPECT_EQ(rtl::CurrentPackage(), package);
        const int inner = rtl::CallPackage(otherPackage, &object, {"IInner", "Inner"}, -2, [&] {
            EXPECT_EQ(rtl::CurrentPackage(), otherPackage);
            RaiseException(0xE0001234, 0, 0, nullptr);
            return 5;
        });
        EXPECT_EQ(inner, -2);
        EXPECT_EQ(rtl::CurrentPackage(), package);
        return 7;
    });
    EXPECT_EQ(answer, 7);
    ASSERT_EQ(reports.seen.size(), 1u);
    EXPECT_EQ(reports.seen[0].end, rtl::PackageCallEnd::Faulted);
    EXPECT_EQ(reports.seen[0].package, otherPackage);
    EXPECT_EQ(reports.seen[0].object, &object);
    EXPECT_STREQ(reports.seen[0].method.interfaceName, "IInner");
    EXPECT_STREQ(reports.seen[0].method.name, "Inner");
    EXPECT_EQ(reports.seen[0].text.rfind(u"External exception (E0001234) at address ", 0), 0u);

    EXPECT_EQ(rtl::CallPackage(package, &object, {"I", "Throws"}, -1, []() -> int { throw std::runtime_error("its own words"); }),
              -1);
    ASSERT_EQ(reports.seen.size(), 2u);
    EXPECT_EQ(reports.seen[1].end, rtl::PackageCallEnd::Raised);
    EXPECT_EQ(reports.seen[1].text, u"its own words");

    if (kHardwareFaultsContained) {
        for (int twice = 0; twice < 2; ++twice)
            EXPECT_FALSE(rtl::CallPackage(package, &object, {"I", "Faults"}, false, [] {
                WriteToNil();
                return true;
            }));
        ASSERT_EQ(reports.seen.size(), 4u);
        EXPECT_EQ(reports.seen[3].text.rfind(u"Access violation at address ", 0), 0u);
        EXPECT_NE(reports.seen[3].text.find(u". Write of address 00000000"), std::u16string::npos) << rtl::ToUtf8(reports.seen[3].text);
    }
    // Nothing of any of those calls is left on the thread's handler chain.
    EXPECT_EQ(rtl::CurrentPackage(), nullptr);

#if !defined(_WIN32)
    if (kHardwareFaultsContained) {
        // Outside package calls a fault is the process's, as ever.
        EXPECT_EXIT(WriteToNil(), testing::KilledBySignal(SIGSEGV), "");
    }
#endif
}

// A package object whose method fails where it is told to, and counts its references.
struct Counted : rtl::ComObject<IBdsToolBarControlEvents> {
    bool throwInAddRef = false;
    bool throwInExecute = false;
    ULONG STDMETHODCALLTYPE AddRef() override {
        if (throwInAddRef) throw std::runtime_error("AddRef refused");
        return ComObject::AddRef();
    }
    HRESULT STDMETHODCALLTYPE OnExecute() override {
        if (throwInExecute) throw std::runtime_error("OnExecute refused");
        return E_ABORT;
    }
    HRESULT STDMETHODCALLTYPE OnChange() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUpdate() override { return S_OK; }
};

TEST(PackageDoor, AReferenceHeldForACallIsGivenBackHoweverTheCallEndsAndEachFailureNamesItsStep) {
    Reports reports;
    rtl::ComPtr<Counted> object(new Counted);
    const rtl::PackageRef<IBdsToolBarControlEvents> sink(object.Get(), package);
    const ULONG before = object->RefCount();

    EXPECT_EQ(sink.Notify("OnExecute", [](IBdsToolBarControlEvents& e) { return e.OnExecute(); }), E_ABORT);
    object->throwInExecute = true;
    EXPECT_EQ(sink.Notify("OnExecute", [](IBdsToolBarControlEvents& e) { return e.OnExecute(); }), E_FAIL);
    EXPECT_EQ(object->RefCount(), before) << "the call's own reference given back after the throw";
    object->throwInAddRef = true;
    EXPECT_EQ(sink.Ask("OnChange", E_UNEXPECTED, [](IBdsToolBarControlEvents& e) { return e.OnChange(); }), E_UNEXPECTED);
    object->throwInAddRef = false;

    ASSERT_EQ(reports.seen.size(), 3u);
    EXPECT_EQ(reports.seen[0].end, rtl::PackageCallEnd::Returned) << "an event that answers a failure";
    EXPECT_EQ(reports.seen[0].result, E_ABORT);
    EXPECT_STREQ(reports.seen[1].method.name, "OnExecute");
    EXPECT_EQ(reports.seen[1].text, u"OnExecute refused");
    EXPECT_STREQ(reports.seen[2].method.interfaceName, "IBdsToolBarControlEvents");
    EXPECT_STREQ(reports.seen[2].method.name, "AddRef");
    EXPECT_EQ(reports.seen[2].package, package);
}

}  // namespace
