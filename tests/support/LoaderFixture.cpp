#include "tests/support/LoaderFixture.h"

#include "services/KorvelBdsServices.h"

namespace testing_support {

LoaderFixture::~LoaderFixture() {
    ShutDown();
    EXPECT_EQ(journal->liveObjects, 0) << "a package object was not released";
}

bool LoaderFixture::Enter() { return korvel::InitWizard(ide::BorlandIDEServices(), &terminate); }

void LoaderFixture::ShutDown() {
    if (terminate) terminate();
    terminate = nullptr;
}

IBdsServices* LoaderFixture::Hub() const { return korvel::BdsServices; }

}  // namespace testing_support
