// The emulated registry's handles and names behave as the platform's do: a closed handle
// stays closed when its slot is reused, a handle to a deleted key fails cleanly, and
// HKEY_CLASSES_ROOT follows its key through a deletion.
#ifndef _WIN32
#include <gtest/gtest.h>

#include "platform/rtl/Text.h"
#include "tests/support/TestRegistry.h"

using namespace testing_support;

namespace {

const String kBase = u"Software\\KorvelEmulatedRegistryTest";

HKEY Open(HKEY root, const String& path, REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(root, rtl::W(path), 0, access, &key), ERROR_SUCCESS) << rtl::ToUtf8(path);
    return key;
}

LSTATUS QueryDword(HKEY key, const String& name, DWORD& value) {
    DWORD size = sizeof value;
    return RegQueryValueExW(key, rtl::W(name), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
}

TEST(EmulatedRegistryTest, ClosedAndDeletedHandlesFailAndReusedSlotsDoNotRevive) {
    TestRegistry registry;
    registry.SetDword(HKEY_LOCAL_MACHINE, kBase + u"\\First", u"Number", 1);
    registry.SetDword(HKEY_LOCAL_MACHINE, kBase + u"\\Second", u"Number", 2);

    const HKEY first = Open(HKEY_LOCAL_MACHINE, kBase + u"\\First");
    ASSERT_EQ(RegCloseKey(first), ERROR_SUCCESS);
    const HKEY second = Open(HKEY_LOCAL_MACHINE, kBase + u"\\SECOND");
    EXPECT_NE(first, second);
    DWORD value = 0;
    EXPECT_EQ(QueryDword(first, u"Number", value), ERROR_INVALID_HANDLE) << "the closed handle reached the new key";
    EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
    ASSERT_EQ(QueryDword(second, u"NUMBER", value), ERROR_SUCCESS) << "value names compare without case";
    EXPECT_EQ(value, 2u);
    EXPECT_EQ(RegSetValueExW(second, rtl::W(u"Number"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                             sizeof value),
              ERROR_ACCESS_DENIED)
        << "a handle opened for reading may not write";

    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(kBase + u"\\Second")), ERROR_SUCCESS);
    EXPECT_EQ(QueryDword(second, u"Number", value), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(second), ERROR_SUCCESS);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(kBase));
}

// Enough keys for names to share slots: each deletion leaves every other key found.
TEST(EmulatedRegistryTest, KeysStayFoundAmongManyAfterDeletions) {
    TestRegistry registry;
    const int count = 60;
    for (int i = 0; i < count; ++i) registry.CreateKey(HKEY_LOCAL_MACHINE, kBase + u"\\Key" + rtl::IntToStr(i));
    for (int i = 0; i < count; i += 3)
        ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(kBase + u"\\KEY" + rtl::IntToStr(i))), ERROR_SUCCESS);
    for (int i = 0; i < count; ++i) {
        HKEY key = nullptr;
        const LSTATUS status =
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, rtl::W(kBase + u"\\key" + rtl::IntToStr(i)), 0, KEY_READ, &key);
        EXPECT_EQ(status, i % 3 == 0 ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS) << "key " << i;
        if (key) RegCloseKey(key);
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(kBase));
}

TEST(EmulatedRegistryTest, ClassesRootFollowsItsKeyThroughADeletion) {
    TestRegistry registry;
    const String classKey = u"KorvelEmulatedRegistryTest.Class";
    registry.SetDword(HKEY_CLASSES_ROOT, classKey, u"Number", 1);
    DWORD value = 0;
    HKEY key = Open(HKEY_LOCAL_MACHINE, u"Software\\Classes\\" + classKey);
    EXPECT_EQ(QueryDword(key, u"Number", value), ERROR_SUCCESS);
    RegCloseKey(key);

    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(u"Software\\Classes")), ERROR_SUCCESS);
    EXPECT_NE(RegOpenKeyExW(HKEY_CLASSES_ROOT, rtl::W(classKey), 0, KEY_READ, &key), ERROR_SUCCESS);
    registry.SetDword(HKEY_CLASSES_ROOT, classKey, u"Number", 2);
    key = Open(HKEY_LOCAL_MACHINE, u"Software\\Classes\\" + classKey);
    EXPECT_EQ(QueryDword(key, u"Number", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 2u);
    RegCloseKey(key);
}

}  // namespace
#endif
