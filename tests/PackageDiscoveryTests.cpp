#include <gtest/gtest.h>

#include "loader/PackageDiscovery.h"
#include "tests/support/FakePackages.h"
#include "tests/support/TestRegistry.h"

using namespace testing_support;
using korvel::DetectPackages;

namespace {

// Subkeys enumerate in name order, so ids 1, 2, 3 are A, B, C in enumeration order.
class DiscoveryTest : public ::testing::Test {
protected:
    std::vector<String> Order() {
        std::vector<String> names;
        auto ids = DetectPackages(names);
        EXPECT_TRUE(ids.has_value());
        EXPECT_EQ(ids ? ids->size() : 0, names.size()) << "the two lists run parallel";
        return names;
    }
    String SubKey(uint32_t seed) { return PackagesKey() + u"\\" + GuidText(seed); }

    TestRegistry registry;
};

TEST_F(DiscoveryTest, MissingKeyGivesNoListAndLeavesTheNames) {
    std::vector<String> names{u"untouched"};
    EXPECT_FALSE(DetectPackages(names).has_value());
    EXPECT_EQ(names, std::vector<String>{u"untouched"});
}

TEST_F(DiscoveryTest, KeyWithoutSubkeysGivesAnEmptyList) {
    registry.CreateKey(HKEY_LOCAL_MACHINE, PackagesKey());
    std::vector<String> names;
    auto ids = DetectPackages(names);
    ASSERT_TRUE(ids.has_value());
    EXPECT_TRUE(ids->empty());
}

TEST_F(DiscoveryTest, MissingLoadOrderCountsAsOneHundred) {
    registry.AddPackage(GuidText(1), u"A", 10);
    registry.AddPackage(GuidText(2), u"B");
    registry.AddPackage(GuidText(3), u"C", 50);
    EXPECT_EQ(Order(), (std::vector<String>{u"A", u"C", u"B"}));
}

TEST_F(DiscoveryTest, TheExchangeSortIsNotStable) {
    registry.AddPackage(GuidText(1), u"A", 5);
    registry.AddPackage(GuidText(2), u"B", 5);
    registry.AddPackage(GuidText(3), u"C", 1);
    EXPECT_EQ(Order(), (std::vector<String>{u"C", u"B", u"A"}));
}

TEST_F(DiscoveryTest, EqualLoadOrdersAloneStayInPlace) {
    registry.AddPackage(GuidText(1), u"A", 5);
    registry.AddPackage(GuidText(2), u"B", 5);
    EXPECT_EQ(Order(), (std::vector<String>{u"A", u"B"}));
}

TEST_F(DiscoveryTest, LoadOrderIsSignedAndMustBeADword) {
    registry.AddPackage(GuidText(1), u"Zero", 0);
    registry.AddPackage(GuidText(2), u"Negative", -1);
    registry.AddPackage(GuidText(3), u"Text");
    registry.SetString(HKEY_LOCAL_MACHINE, SubKey(3), u"LoadOrder", u"1");
    registry.AddPackage(GuidText(4), u"Ninety", 99);
    EXPECT_EQ(Order(), (std::vector<String>{u"Negative", u"Zero", u"Ninety", u"Text"}));
}

TEST_F(DiscoveryTest, IdentifiersKeepTheirSpellingAndFollowTheSort) {
    registry.AddPackage(GuidText(1), u"A", 2);
    registry.AddPackage(u"plain name", u"B", 1);
    std::vector<String> names;
    auto ids = DetectPackages(names);
    ASSERT_TRUE(ids && ids->size() == 2);
    EXPECT_EQ((*ids)[0], u"plain name");
    EXPECT_EQ((*ids)[1], GuidText(1));
    EXPECT_EQ(names, (std::vector<String>{u"B", u"A"}));
}

TEST_F(DiscoveryTest, DisplayNamesOfEveryStringType) {
    registry.AddPackage(GuidText(1), u"", 1);
    registry.SetString(HKEY_LOCAL_MACHINE, SubKey(1), u"", u"%SystemRoot%\\Pkg", REG_EXPAND_SZ);
    registry.AddPackage(GuidText(2), u"", 2);
    const String multi(u"First\0Second\0", 13);
    registry.SetString(HKEY_LOCAL_MACHINE, SubKey(2), u"", multi, REG_MULTI_SZ);
    registry.AddPackage(GuidText(3), u"", 3);
    registry.SetDword(HKEY_LOCAL_MACHINE, SubKey(3), u"", 7);
    registry.CreateKey(HKEY_LOCAL_MACHINE, SubKey(4));

    const auto names = Order();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], u"%SystemRoot%\\Pkg") << "not expanded, no trailing zero";
    EXPECT_EQ(names[1], String(u"First\0Second\0", 13)) << "separators kept";
    EXPECT_EQ(String(names[1].c_str()), u"First");
    EXPECT_EQ(names[2], u"") << "a number is no name";
    EXPECT_EQ(names[3], u"") << "no default value";
}

TEST_F(DiscoveryTest, ShortAndOddLengthNamesNeverGoNegative) {
    const String path = PackagesKey();
    registry.SetBytes(HKEY_LOCAL_MACHINE, path + u"\\" + GuidText(1), u"", REG_SZ, {});
    registry.SetBytes(HKEY_LOCAL_MACHINE, path + u"\\" + GuidText(2), u"", REG_SZ, {'A'});
    registry.SetBytes(HKEY_LOCAL_MACHINE, path + u"\\" + GuidText(3), u"", REG_SZ, {'A', 0, 'B', 0, 0});
    registry.SetBytes(HKEY_LOCAL_MACHINE, path + u"\\" + GuidText(4), u"", REG_SZ, {'A', 0, 'B', 0});
    const auto names = Order();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], u"");
    EXPECT_EQ(names[1], u"");
    // Five bytes: the platform may report the stray byte or round it up to a character.
    EXPECT_TRUE(names[2] == u"A" || names[2] == u"AB") << rtl::ToUtf8(names[2]);
    EXPECT_EQ(names[3], u"A") << "the last character counts as the terminator";
}

// Sorts packages a, b, c, ... listed with the given load orders and answers their ids as
// sorted; the orders and the names must have followed the ids.
std::vector<String> SortedIds(const std::vector<int32_t>& listed) {
    std::vector<int32_t> orders = listed;
    std::vector<String> ids;
    std::vector<String> names;
    for (size_t i = 0; i < listed.size(); ++i) {
        ids.push_back(String(1, static_cast<char16_t>(u'a' + i)));
        names.push_back(String(1, static_cast<char16_t>(u'A' + i)));
    }
    korvel::SortPackagesByLoadOrder(orders, ids, names);
    for (size_t i = 0; i < ids.size(); ++i) {
        const size_t from = static_cast<size_t>(ids[i][0] - u'a');
        EXPECT_EQ(orders[i], listed[from]) << "order " << i;
        EXPECT_EQ(names[i], String(1, static_cast<char16_t>(u'A' + from))) << "name " << i;
    }
    return ids;
}

TEST(SortPackagesByLoadOrderTest, SortsTheThreeSequencesTogether) {
    EXPECT_EQ(SortedIds({3, 1, 2}), (std::vector<String>{u"b", u"c", u"a"}));
    // Equal orders end where the exchange sort leaves them: here the reverse of their listing,
    EXPECT_EQ(SortedIds({2, 2, 1}), (std::vector<String>{u"c", u"b", u"a"}));
    // here in their listing, for equal orders are never exchanged with each other,
    EXPECT_EQ(SortedIds({2, 1, 1}), (std::vector<String>{u"b", u"c", u"a"}));
    // and the last pass is needed too.
    EXPECT_EQ(SortedIds({5, 5, 9, 7}), (std::vector<String>{u"a", u"b", u"d", u"c"}));
}

}  // namespace

namespace {

// Names compare without case and enumerate in case-less order, also after keys come and go
// between two discoveries; a value's name is found in any case.
TEST_F(DiscoveryTest, KeysOfAnyCaseEnumerateCaselessAfterChanges) {
    registry.AddPackage(u"zeta", u"Z");
    registry.AddPackage(u"Beta", u"B");
    registry.SetDword(HKEY_LOCAL_MACHINE, PackagesKey() + u"\\ALPHA", u"loadorder", 100);
    registry.SetString(HKEY_LOCAL_MACHINE, PackagesKey() + u"\\alpha", u"", u"A");
    EXPECT_EQ(Order(), (std::vector<String>{u"A", u"B", u"Z"}));

    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(PackagesKey() + u"\\BETA")), ERROR_SUCCESS);
    registry.AddPackage(u"gamma", u"G");
    std::vector<String> names;
    const auto ids = DetectPackages(names);
    ASSERT_TRUE(ids.has_value());
    EXPECT_EQ(*ids, (std::vector<String>{u"ALPHA", u"gamma", u"zeta"})) << "the first spelling is kept";
    EXPECT_EQ(names, (std::vector<String>{u"A", u"G", u"Z"}));
}

}  // namespace
