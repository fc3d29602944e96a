#include <gtest/gtest.h>

#include "platform/rtl/Bstr.h"
#include "tests/support/HubFixture.h"
#ifndef _WIN32
#include "platform/win32/emulated/EmulationControl.h"
#endif

using namespace testing_support;

namespace {

const rtl::String IdeKey = IdeProductKey();

class HubVersionTest : public HubFixture {
protected:
    rtl::String Edition() {
        rtl::WideString edition;
        EXPECT_EQ(Hub()->get_BdsEdition(edition.Put()), S_OK);
        return edition.Text();
    }
    WordBool Personality() {
        WordBool personality = 7;
        EXPECT_EQ(Hub()->get_IsPersonalityEdition(&personality), S_OK);
        return personality;
    }
};

TEST_F(HubVersionTest, VersionIsNineZeroAndNullOutPointersAreRefused) {
    EnterWithOnePackage();
    Integer major = 0, minor = -1;
    EXPECT_EQ(Hub()->get_BdsVersionMajor(&major), S_OK);
    EXPECT_EQ(Hub()->get_BdsVersionMinor(&minor), S_OK);
    EXPECT_EQ(major, 9);
    EXPECT_EQ(minor, 0);
    EXPECT_EQ(Hub()->get_BdsVersionMajor(nullptr), E_POINTER);
    EXPECT_EQ(Hub()->get_BdsVersionMinor(nullptr), E_POINTER);
    EXPECT_EQ(Hub()->get_BdsEdition(nullptr), E_POINTER);
    EXPECT_EQ(Hub()->get_IsPersonalityEdition(nullptr), E_POINTER);
}

TEST_F(HubVersionTest, WithoutTheIdeKeyTheEditionIsUnknownAndPersonalityTrue) {
    registry.SetString(HKEY_LOCAL_MACHINE, u"SOFTWARE\\CodeGear\\BDS\\8.0", u"Edition", u"Older");
    EnterWithOnePackage();
    EXPECT_EQ(Edition(), u"unknown");
    EXPECT_EQ(Personality(), -1);
}

TEST_F(HubVersionTest, EditionAndMergeStampAreReadOnceAndKept) {
    registry.SetString(HKEY_LOCAL_MACHINE, IdeKey, u"Edition", u"Architect");
    registry.SetBytes(HKEY_LOCAL_MACHINE, IdeKey, u"RegMergeTimeStamp", REG_BINARY, {1, 2, 3});
    EnterWithOnePackage();
    EXPECT_EQ(Edition(), u"Architect");
    EXPECT_EQ(Personality(), 0);

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(IdeKey));
    registry.SetString(HKEY_LOCAL_MACHINE, IdeKey, u"Edition", u"Starter");
    EXPECT_EQ(Edition(), u"Architect");
    EXPECT_EQ(Personality(), 0);
}

TEST_F(HubVersionTest, MergeStampOfAnyTypeMeansNoPersonality) {
    registry.SetString(HKEY_LOCAL_MACHINE, IdeKey, u"RegMergeTimeStamp", u"2011-09-01");
    EnterWithOnePackage();
    EXPECT_EQ(Personality(), 0);
    EXPECT_EQ(Edition(), u"unknown") << "a key without an Edition value";
}

TEST_F(HubVersionTest, UnreadableEditionStaysUnknown) {
    registry.SetDword(HKEY_LOCAL_MACHINE, IdeKey, u"Edition", 3);
    EnterWithOnePackage();
    EXPECT_EQ(Edition(), u"unknown") << "a value of the wrong type";
    registry.SetString(HKEY_LOCAL_MACHINE, IdeKey, u"Edition", u"Professional");
    EXPECT_EQ(Edition(), u"unknown");
}

TEST_F(HubVersionTest, EmptyEditionIsAnsweredAndReadAgainNextTime) {
    registry.SetString(HKEY_LOCAL_MACHINE, IdeKey, u"Edition", u"");
    EnterWithOnePackage();
    EXPECT_EQ(Edition(), u"");
    EXPECT_EQ(Edition(), u"");
    registry.SetString(HKEY_LOCAL_MACHINE, IdeKey, u"Edition", u"Enterprise");
    EXPECT_EQ(Edition(), u"Enterprise");
    registry.SetString(HKEY_LOCAL_MACHINE, IdeKey, u"Edition", u"Starter");
    EXPECT_EQ(Edition(), u"Enterprise");
}

#ifndef _WIN32
TEST_F(HubVersionTest, KeyThatCannotBeOpenedForWritingCountsAsUnreadable) {
    registry.SetString(HKEY_LOCAL_MACHINE, IdeKey, u"Edition", u"Architect");
    registry.SetDword(HKEY_LOCAL_MACHINE, IdeKey, u"RegMergeTimeStamp", 1);
    emulation::DenyWriteAccess(HKEY_LOCAL_MACHINE, IdeKey);
    EnterWithOnePackage();
    EXPECT_EQ(Edition(), u"unknown");
    EXPECT_EQ(Personality(), -1);
}
#endif

}  // namespace
