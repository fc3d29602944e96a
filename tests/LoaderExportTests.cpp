#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ide/ToolsAPI.h"
#include "sim/SimulatedIde.h"
#include "tests/support/TestRegistry.h"

namespace {

using Boolean = uint8_t;
using TerminateProc = void (*)();
using InitWizardProc = Boolean(STDMETHODCALLTYPE*)(ide::IBorlandIDEServices*, void*, TerminateProc*);

class LoaderExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(rtl::W(rtl::FromUtf8(KORVEL_LOADER_FILE)));
        ASSERT_NE(module, nullptr) << KORVEL_LOADER_FILE;
        entry = reinterpret_cast<InitWizardProc>(reinterpret_cast<void*>(GetProcAddress(module, "INITWIZARD0001")));
        ASSERT_NE(entry, nullptr);
    }
    // The library stays loaded, as in the IDE: its globals must outlive every test.

    sim::SimulatedIde ide;
    testing_support::TestRegistry registry;
    HMODULE module = nullptr;
    InitWizardProc entry = nullptr;
};

void Untouched() {}

TEST_F(LoaderExportTest, EntryAnswersAsTheIdeExpects) {
    TerminateProc terminate = &Untouched;
    EXPECT_EQ(entry(nullptr, nullptr, &terminate), 0);
    EXPECT_EQ(terminate, &Untouched);

    terminate = nullptr;
    EXPECT_EQ(entry(ide::BorlandIDEServices(), nullptr, &terminate), 1);
    ASSERT_NE(terminate, nullptr);
    terminate();
    EXPECT_TRUE(ide.Record().messageBoxes.empty());
}

TEST_F(LoaderExportTest, ForeignServicesObjectIsRefusedWithoutEscapingError) {
    rtl::ComPtr<sim::IdeServices> other(new sim::IdeServices);
    TerminateProc terminate = nullptr;
    EXPECT_EQ(entry(other.Get(), nullptr, &terminate), 0);
    EXPECT_EQ(terminate, nullptr);
    ASSERT_EQ(ide.Record().debugOutput.size(), 1u);
    EXPECT_EQ(ide.Record().debugOutput[0],
              u"Assertion failure (Shell\\Src\\BdsShell\\Expert\\KorvelLoader, line 68)");
}

#ifdef _WIN32
// The names in the export directory of a PE image file.
std::vector<std::string> ExportedNames(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto read32 = [&](size_t at) {
        uint32_t value = 0;
        if (at + 4 <= image.size()) std::memcpy(&value, image.data() + at, 4);
        return value;
    };
    auto read16 = [&](size_t at) { return static_cast<uint16_t>(read32(at) & 0xFFFF); };
    const size_t pe = read32(0x3C);
    const size_t optional = pe + 24;
    const uint16_t sections = read16(pe + 6);
    const size_t sectionTable = optional + read16(pe + 20);
    const uint32_t exportRva = read32(optional + 96);
    auto offsetOf = [&](uint32_t rva) -> size_t {
        for (uint16_t i = 0; i < sections; ++i) {
            const size_t header = sectionTable + i * 40u;
            const uint32_t virtualAddress = read32(header + 12);
            const uint32_t size = read32(header + 8);
            if (rva >= virtualAddress && rva < virtualAddress + size) return rva - virtualAddress + read32(header + 20);
        }
        return 0;
    };
    std::vector<std::string> names;
    if (!exportRva) return names;
    const size_t directory = offsetOf(exportRva);
    const uint32_t count = read32(directory + 24);
    const size_t nameTable = offsetOf(read32(directory + 32));
    for (uint32_t i = 0; i < count; ++i) names.emplace_back(image.data() + offsetOf(read32(nameTable + 4 * i)));
    return names;
}

TEST_F(LoaderExportTest, ExactlyOneUndecoratedExport) {
    EXPECT_EQ(ExportedNames(KORVEL_LOADER_FILE), std::vector<std::string>{"INITWIZARD0001"});
}
#else
TEST_F(LoaderExportTest, SystemSymbolsStayInsideTheLibrary) {
    EXPECT_EQ(GetProcAddress(module, "_ZN6korvel14FinalizeWizardEv"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "_ZN6korvel8PackagesE"), nullptr);
}
#endif

}  // namespace
