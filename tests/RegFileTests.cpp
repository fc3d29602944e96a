#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "examples/SamplePackage/DesignerPackage.h"
#include "examples/SamplePackage/SamplePackage.h"
#include "host/HostOptions.h"
#include "host/RegFile.h"
#include "loader/PackageDiscovery.h"
#include "platform/rtl/Guid.h"

using host::ParseRegFile;
using host::RegFileError;
using host::RegKey;
using rtl::String;

namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n";
const String kTestKey = u"Software\\Korvel\\HostTests";

std::vector<uint8_t> Utf16Bytes(const String& text) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

int ErrorLine(const std::string& text) {
    try {
        ParseRegFile(text);
    } catch (const RegFileError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("line " + std::to_string(error.Line()) + ": ", 0), 0u);
        return error.Line();
    }
    return 0;
}

TEST(RegFileTest, ReadsEveryKindOfValue) {
    const auto keys = ParseRegFile(kHeader +
                                   "\r\n"
                                   "; a comment\r\n"
                                   "[HKEY_CURRENT_USER\\Software\\Korvel\\Sample Key]\r\n"
                                   "@=\"default\"\r\n"
                                   "\"Quoted \\\"name\\\"\"=\"C:\\\\Program Files\\\\Korvel\"\r\n"
                                   "\"Count\"=dword:0000002A\r\n"
                                   "\"Blob\"=hex:01,ff,\\\r\n"
                                   "  7f\r\n"
                                   "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                   "\"Empty\"=hex:\r\n"
                                   "\"Gone\"=-\r\n"
                                   "\r\n"
                                   "[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n");
    ASSERT_EQ(keys.size(), 2u);
    const RegKey& key = keys[0];
    EXPECT_EQ(key.root, HKEY_CURRENT_USER);
    EXPECT_EQ(key.path, u"Software\\Korvel\\Sample Key");
    EXPECT_EQ(key.line, 4);
    EXPECT_FALSE(key.remove);
    ASSERT_EQ(key.values.size(), 7u);

    EXPECT_EQ(key.values[0].name, u"");
    EXPECT_EQ(key.values[0].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(key.values[0].data, Utf16Bytes(String(u"default") + u'\0'));
    EXPECT_EQ(key.values[1].name, u"Quoted \"name\"");
    EXPECT_EQ(key.values[1].data, Utf16Bytes(String(u"C:\\Program Files\\Korvel") + u'\0'));
    EXPECT_EQ(key.values[2].type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(key.values[2].data, (std::vector<uint8_t>{0x2A, 0, 0, 0}));
    EXPECT_EQ(key.values[3].type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(key.values[3].data, (std::vector<uint8_t>{0x01, 0xFF, 0x7F}));
    EXPECT_EQ(key.values[3].line, 8);
    EXPECT_EQ(key.values[4].type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(key.values[4].data, Utf16Bytes(String(u"%A%") + u'\0'));
    EXPECT_TRUE(key.values[5].data.empty());
    EXPECT_TRUE(key.values[6].remove);

    EXPECT_TRUE(keys[1].remove);
    EXPECT_EQ(keys[1].root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(keys[1].path, u"Software\\Old");
}

TEST(RegFileTest, ReadsTheEditorsUtf16ExportsAndUtf8WithByteOrderMark) {
    const std::string utf8 = kHeader + "[HKEY_CURRENT_USER\\Software\\K\xC3\xB6rvel]\r\n\"Name\"=\"\xE2\x82\xAC\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (uint8_t byte : Utf16Bytes(rtl::FromUtf8(utf8))) utf16 += static_cast<char>(byte);

    for (const std::string& file : {utf8, "\xEF\xBB\xBF" + utf8, utf16}) {
        const auto keys = ParseRegFile(file);
        ASSERT_EQ(keys.size(), 1u);
        EXPECT_EQ(keys[0].path, u"Software\\K\u00F6rvel");
        EXPECT_EQ(keys[0].values[0].data, Utf16Bytes(String(u"\u20AC") + u'\0'));
    }
}

TEST(RegFileTest, MultiStringAndOtherTypesKeepTheirBytes) {
    const auto keys = ParseRegFile(kHeader +
                                   "[HKEY_CURRENT_USER\\Software\\K]\n"
                                   "\"Multi\"=hex(7):41,00,00,00,42,00,00,00,00,00\n"
                                   "\"Wide\"=HEX(B):01,02,03,04,05,06,07,08\n");
    ASSERT_EQ(keys[0].values.size(), 2u);
    EXPECT_EQ(keys[0].values[0].type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(keys[0].values[0].data.size(), 10u);
    EXPECT_EQ(keys[0].values[1].type, static_cast<DWORD>(REG_QWORD));
}

TEST(RegFileTest, RelativeServerFilesWithAFolderAreTakenFromTheBase) {
    auto keys = ParseRegFile(kHeader +
                             "[HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32]\n@=\"build/My.dll\"\n\"Other\"=\"x/y\"\n"
                             "[HKEY_CLASSES_ROOT\\CLSID\\{2}\\inprocserver32]\n@=\"Bare.dll\"\n"
                             "[HKEY_CLASSES_ROOT\\CLSID\\{3}\\Other]\n@=\"build/Not.dll\"\n");
    const std::filesystem::path base = std::filesystem::current_path();
    host::ResolveServerPaths(keys, base);
    auto text = [](const host::RegValue& value) { return String(reinterpret_cast<const char16_t*>(value.data.data())); };
    EXPECT_EQ(text(keys[0].values[0]), (base / "build" / "My.dll").u16string());
    EXPECT_EQ(text(keys[0].values[1]), u"x/y") << "only the server file";
    EXPECT_EQ(text(keys[1].values[0]), u"Bare.dll") << "a bare name is searched for by the platform";
    EXPECT_EQ(text(keys[2].values[0]), u"build/Not.dll");
}

TEST(RegFileTest, ProblemsNameTheirLine) {
    EXPECT_EQ(ErrorLine(""), 1);
    EXPECT_EQ(ErrorLine("REGEDIT4\n"), 1);
    EXPECT_EQ(ErrorLine("\n\nWindows Registry Editor Version 5.01\n"), 3);
    EXPECT_EQ(ErrorLine(kHeader + "\"Early\"=\"value\"\n"), 2);
    EXPECT_EQ(ErrorLine(kHeader + "[HKEY_NOWHERE\\Software]\n"), 2);
    EXPECT_EQ(ErrorLine(kHeader + "[HKEY_CURRENT_USER]\n"), 2);
    EXPECT_EQ(ErrorLine(kHeader + "[HKEY_CURRENT_USER\\Software\n"), 2);
    EXPECT_EQ(ErrorLine(kHeader + "[-HKEY_CURRENT_USER\\Software\\K]\n\"Value\"=\"x\"\n"), 3);

    const std::string key = kHeader + "[HKEY_CURRENT_USER\\Software\\K]\n\n";
    EXPECT_EQ(ErrorLine(key + "\"Bad\"=\"C:\\dir\"\n"), 4) << "only \\\\ and \\\" are escapes";
    EXPECT_EQ(ErrorLine(key + "\"Open\"=\"text\n"), 4);
    EXPECT_EQ(ErrorLine(key + "\"Wide\"=dword:123456789\n"), 4);
    EXPECT_EQ(ErrorLine(key + "\"None\"=dword:\n"), 4);
    EXPECT_EQ(ErrorLine(key + "\"Byte\"=hex:100\n"), 4);
    EXPECT_EQ(ErrorLine(key + "\"Gap\"=hex:01,,02\n"), 4);
    EXPECT_EQ(ErrorLine(key + "\"Kind\"=qword:1\n"), 4);
    EXPECT_EQ(ErrorLine(key + "\"Tail\"=\"x\" extra\n"), 4);
    EXPECT_EQ(ErrorLine(key + "\"NoEquals\"\n"), 4);
    EXPECT_EQ(ErrorLine(key + "Bare=\"x\"\n"), 4);
    EXPECT_EQ(ErrorLine(key + "\"Cut\"=hex:01,\\"), 4) << "continued past the end of the file";
}

class RegFileApplyTest : public ::testing::Test {
protected:
    ~RegFileApplyTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, rtl::W(kTestKey)); }

    // The value as the registry has it; nullopt when it is missing.
    std::optional<std::vector<uint8_t>> Read(const String& path, const String& name, DWORD expectedType) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, rtl::W(kTestKey + path), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = REG_NONE;
        DWORD size = 0;
        std::vector<uint8_t> data;
        if (RegQueryValueExW(key, rtl::W(name), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            data.resize(size);
            RegQueryValueExW(key, rtl::W(name), nullptr, &type, data.data(), &size);
            EXPECT_EQ(type, expectedType);
        }
        RegCloseKey(key);
        if (type == REG_NONE) return std::nullopt;
        return data;
    }
};

TEST_F(RegFileApplyTest, WritesRemovesAndReadsBackThroughTheRegistry) {
    const std::string root = "[HKEY_CURRENT_USER\\Software\\Korvel\\HostTests";
    host::ApplyRegFile(ParseRegFile(kHeader + root + "\\Keep]\n@=\"kept\"\n\"Old\"=dword:1\n" + root +
                                    "\\Drop\\Deep]\n\"Value\"=hex:05\n"));
    ASSERT_EQ(Read(u"\\Drop\\Deep", u"Value", REG_BINARY), std::vector<uint8_t>{5});

    host::ApplyRegFile(ParseRegFile(kHeader + "[-" + root.substr(1) + "\\Drop]\n" + root +
                                    "\\Keep]\n\"Old\"=-\n\"Missing\"=-\n\"New\"=dword:ffffffff\n"));
    EXPECT_FALSE(Read(u"\\Drop\\Deep", u"Value", REG_BINARY));
    EXPECT_EQ(Read(u"\\Keep", u"", REG_SZ), Utf16Bytes(String(u"kept") + u'\0'));
    EXPECT_FALSE(Read(u"\\Keep", u"Old", REG_DWORD));
    EXPECT_EQ(Read(u"\\Keep", u"New", REG_DWORD), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));

    EXPECT_NO_THROW(host::ApplyRegFile(ParseRegFile(kHeader + "[-" + root.substr(1) + "\\Never\\There]\n")));
}

// The file the host reads by default registers both sample classes as in-process servers in
// the library beside the program, and lists the packages so that the sort has work to do.
TEST(ShippedRegistryFileTest, RegistersBothSamplePackagesAndAnUnregisteredOneOutOfOrder) {
    const auto keys = host::ReadRegFile(host::DefaultRegistryFile());
    const String packages = korvel::PkgKey() + u"\\";
    std::vector<String> servers;
    std::vector<String> listed;
    std::vector<uint32_t> loadOrders;
    for (const RegKey& key : keys) {
        if (key.remove || key.root != HKEY_LOCAL_MACHINE) continue;
        if (!key.values.empty() && key.values.at(0).name.empty() &&
            key.values.at(0).data == Utf16Bytes(String(u"SamplePackage.dll") + u'\0'))
            servers.push_back(key.path);
        if (key.path.rfind(packages, 0) != 0) continue;
        listed.push_back(key.path.substr(packages.size()));
        for (const auto& value : key.values)
            if (value.name == u"LoadOrder") loadOrders.push_back(value.data.at(0));
    }
    const auto serverKey = [](const GUID& clsid) {
        return u"Software\\Classes\\CLSID\\" + rtl::GUIDToString(clsid) + u"\\InprocServer32";
    };
    EXPECT_EQ(servers, (std::vector<String>{serverKey(CLSID_SamplePackage), serverKey(CLSID_SampleDesignerPackage)}));
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0], rtl::GUIDToString(CLSID_SamplePackage));
    EXPECT_EQ(listed[1], rtl::GUIDToString(CLSID_SampleDesignerPackage));
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end(),
                               [](const String& a, const String& b) { return rtl::CompareText(a, b) < 0; }))
        << "listed in the order the registry enumerates";
    EXPECT_EQ(loadOrders, (std::vector<uint32_t>{20, 30, 10})) << "so that the loader's sort moves the last first";
}

}  // namespace
