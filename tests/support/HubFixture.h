// The loader entered with a few fake packages, so that a test has a live hub to talk to.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "services/KorvelBdsServices.h"
#include "tests/support/LoaderFixture.h"

namespace testing_support {

class HubFixture : public LoaderFixture {
protected:
    // Registers the packages in the given load order and enters the loader.
    void EnterWith(const std::vector<std::pair<std::string, PackageBehaviour>>& packages);
    void EnterWithOnePackage() { EnterWith({{"A", {}}}); }
    korvel::TBdsServices& TheHub() const { return *korvel::BdsServices; }
    // Both start-up notices: the IDE's toolbars loaded, and a package's runtime services up.
    void CompleteHandshake();

private:
    std::vector<std::unique_ptr<RegisteredPackageClass>> classes_;
};

}  // namespace testing_support
