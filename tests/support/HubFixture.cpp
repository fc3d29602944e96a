#include "tests/support/HubFixture.h"

namespace testing_support {

void HubFixture::EnterWith(const std::vector<std::pair<std::string, PackageBehaviour>>& packages) {
    uint32_t seed = 0;
    for (const auto& [name, behaviour] : packages) {
        ++seed;
        registry.AddPackage(GuidText(seed), rtl::FromUtf8(name), static_cast<int32_t>(seed));
        classes_.push_back(std::make_unique<RegisteredPackageClass>(MakeGuid(seed), name, journal, behaviour));
    }
    ASSERT_TRUE(Enter());
    ASSERT_NE(korvel::BdsServices, nullptr);
}

void HubFixture::CompleteHandshake() {
    TheHub().OnToolBarServiceInitialized();
    ASSERT_EQ(Hub()->OnDotNetServicesInitialized(), S_OK);
}

}  // namespace testing_support
