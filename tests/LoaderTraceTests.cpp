#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LoaderTrace.h"
#include "tests/support/LoaderFixture.h"

using namespace testing_support;
using rtl::PackageStep;

namespace {

class LoaderTraceTest : public LoaderFixture {
protected:
    LoaderTraceTest() {
        previous_ = rtl::SetLoaderTraceHook([this](const rtl::PackageEvent& event) {
            events.push_back(event);
            if (throwing) throw rtl::Exception(u"observer failure");
        });
    }
    ~LoaderTraceTest() override { rtl::SetLoaderTraceHook(std::move(previous_)); }

    std::vector<PackageStep> Steps() const {
        std::vector<PackageStep> steps;
        for (const auto& event : events) steps.push_back(event.step);
        return steps;
    }

    std::vector<rtl::PackageEvent> events;
    bool throwing = false;

private:
    rtl::LoaderTraceHook previous_;
};

TEST_F(LoaderTraceTest, EveryStepIsReportedInTheOrderItHappens) {
    registry.AddPackage(GuidText(1), u"A", 30);
    registry.AddPackage(GuidText(2), u"B");
    registry.AddPackage(GuidText(3), u"C", 10);
    RegisteredPackageClass a(MakeGuid(1), "A", journal);
    RegisteredPackageClass c(MakeGuid(3), "C", journal);
    ASSERT_TRUE(Enter());
    ShutDown();

    using S = PackageStep;
    ASSERT_EQ(Steps(), (std::vector<S>{S::Found, S::Found, S::Found, S::Created, S::Created, S::CreationFailed,
                                       S::Sited, S::Sited, S::Terminated, S::Terminated}));
    EXPECT_EQ(events[0].name, u"C");
    EXPECT_EQ(events[0].id, GuidText(3));
    EXPECT_EQ(events[0].loadOrder, 10);
    EXPECT_EQ(events[1].name, u"A");
    EXPECT_EQ(events[1].loadOrder, 30);
    EXPECT_EQ(events[2].name, u"B");
    EXPECT_EQ(events[2].loadOrder, 100) << "the default for a package without LoadOrder";

    IUnknown* createdC = events[3].package;
    IUnknown* createdA = events[4].package;
    EXPECT_EQ(events[3].name, u"C");
    EXPECT_NE(createdC, nullptr);
    EXPECT_EQ(events[5].id, GuidText(2));
    EXPECT_EQ(events[5].package, nullptr);
    EXPECT_EQ(events[6].package, createdC);
    EXPECT_EQ(events[7].package, createdA);
    EXPECT_EQ(events[8].package, createdA) << "terminated in reverse";
    EXPECT_EQ(events[9].package, createdC);
    for (const auto& event : events) EXPECT_GE(event.took.count(), 0.0);
}

TEST_F(LoaderTraceTest, FailingObserverChangesNothing) {
    throwing = true;
    registry.AddPackage(GuidText(1), u"A", 1);
    registry.AddPackage(GuidText(2), u"B", 2);
    RegisteredPackageClass a(MakeGuid(1), "A", journal);
    RegisteredPackageClass b(MakeGuid(2), "B", journal);
    ASSERT_TRUE(Enter());
    EXPECT_TRUE(ide.Record().messageBoxes.empty()) << "an observer's failure is no package's failure";
    EXPECT_EQ(korvel::Packages.size(), 2u);
    ShutDown();
    EXPECT_EQ(journal->calls, (std::vector<std::string>{"A.SetSite", "B.SetSite", "B.Terminate", "A.Terminate"}));
    EXPECT_EQ(events.size(), 8u);
}

}  // namespace
