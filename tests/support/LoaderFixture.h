// A simulated IDE with a clean package registry, and the loader entered and shut down
// through the same calls the IDE makes.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "loader/KorvelLoader.h"
#include "sim/SimulatedIde.h"
#include "tests/support/FakePackages.h"
#include "tests/support/TestRegistry.h"

namespace testing_support {

class LoaderFixture : public ::testing::Test {
protected:
    ~LoaderFixture() override;

    // InitWizard with the IDE's own services object.
    bool Enter();
    // FinalizeWizard, as the IDE calls it through the procedure it was handed.
    void ShutDown();
    // The hub as the packages see it.
    IBdsServices* Hub() const;

    sim::SimulatedIde ide;
    TestRegistry registry;
    std::shared_ptr<Journal> journal = std::make_shared<Journal>();
    korvel::TWizardTerminateProc terminate = nullptr;
};

}  // namespace testing_support
