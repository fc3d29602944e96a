// The wire format held against the interface table: the SDK header's GUIDs and slots, and a
// package written in plain C with its own vtables, loaded and driven by the system.
#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Guid.h"
#include "platform/rtl/Text.h"
#include "platform/vcl/Menus.h"
#include "sim/EditorArea.h"
#include "tests/contract/ContractTable.h"
#include "tests/support/LoaderFixture.h"
#include "tests/support/SampleLibrary.h"

using namespace testing_support;

namespace {

TEST(ContractTest, HeaderGuidsAndSlotsAreThoseOfTheInterfaceTable) {
    ASSERT_EQ(ContractInterfaceCount, 21 + 17) << "the hub's interfaces and the Tools API's";
    for (int i = 0; i < ContractInterfaceCount; ++i) {
        const ContractInterface& entry = ContractInterfaces[i];
        if (entry.idText) {
            EXPECT_EQ(rtl::ToUtf8(rtl::GUIDToString(*entry.headerId)), entry.idText) << entry.name;
        }
        EXPECT_EQ(entry.headerSlots, static_cast<size_t>(3 + entry.methods)) << entry.name << ": method count";
    }
    for (int i = 0; i < ContractSlotCount; ++i) {
        const ContractSlot& slot = ContractSlots[i];
        EXPECT_EQ(slot.headerSlot, static_cast<size_t>(slot.slot)) << slot.interfaceName << "." << slot.method;
    }
}

const CLSID ContractPackageClass = {0x6A0C3D1E, 0x52B4, 0x4F0E, {0x9D, 0x1C, 0x3E, 0x77, 0x21, 0x5A, 0x90, 0x0B}};
const String kContractLibraryName = u"ContractPackage.dll";

class ContractPackageTest : public LoaderFixture {
protected:
    ContractPackageTest() {
        registry.RegisterInprocServer(ContractPackageClass, BesideTheProgram(kContractLibraryName));
        registry.AddPackage(rtl::GUIDToString(ContractPackageClass), u"Contract Package", 10);
    }

    std::vector<std::string> Reports() {
        std::vector<std::string> reports;
        const std::u16string prefix = u"ContractPackage: ";
        for (const String& line : ide.Record().debugOutput)
            if (line.rfind(prefix, 0) == 0) reports.push_back(rtl::ToUtf8(line.substr(prefix.size())));
        ide.Record().Clear();
        return reports;
    }

    SampleLibrary library{kContractLibraryName};
};

TEST_F(ContractPackageTest, PackageInCIsServedThroughItsOwnVtables) {
    ASSERT_TRUE(library.Loaded());
    sim::Module& unit = *ide.Editors().OpenFile(u"C:\\src\\Unit1.pas");
    ASSERT_TRUE(Enter());
    ide.LoadToolbars();
    const std::vector<std::string> started = {"IDE version 9",      "packages 1",  "first package is this one",
                                              "caption read back",   "name read back", "checked reads -1",
                                              "menu item answers its GUID", "window created",
                                              "modules 1", "module C:\\src\\Unit1.pas", "module files 1", "owners 0",
                                              "editor C:\\src\\Unit1.pas", "editor answers one module",
                                              "module notifier 0", "editor services notifier 0", "initialized"};
    EXPECT_EQ(Reports(), started);

    vcl::TMenuItem* tools = ide.Services().GetMainMenu()->Items()->FindChildByName(u"ToolsMenu");
    vcl::TMenuItem* item = tools ? tools->FindChildByName(u"ContractItem") : nullptr;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Caption(), u"Contract in C");
    item->Click();
    EXPECT_EQ(Reports(), std::vector<std::string>{"clicked"});

    EXPECT_TRUE(unit.Save(false, true));
    EXPECT_TRUE(unit.Save(false, true));
    EXPECT_TRUE(unit.SaveAs(u"Unit9.pas"));
    EXPECT_EQ(Reports(), (std::vector<std::string>{"module about to be saved", "module saved",
                                                   "module about to be saved", "overwrite allowed", "module saved",
                                                   "module renamed to Unit9.pas", "module about to be saved",
                                                   "module saved"}));
    EXPECT_TRUE(ide.Editors().SendEditorCommand(7, 3)) << "the package set the one-byte Handled flag";
    EXPECT_EQ(Reports(), std::vector<std::string>{"window command 7, param 3, no window"});

    ShutDown();
    EXPECT_EQ(Reports(), (std::vector<std::string>{"window destroyed", "terminated"}));
    EXPECT_EQ(tools->FindChildByName(u"ContractItem"), nullptr) << "the package removed its item";
    EXPECT_EQ(library.CanUnloadNow(), S_OK) << "the system released every reference it was given";
}

}  // namespace
