#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "help/BdsHelpService.h"
#include "platform/rtl/Bstr.h"
#include "tests/support/LoaderFixture.h"
#include "tests/support/VtableCall.h"
#ifndef _WIN32
#include "platform/win32/emulated/EmulationControl.h"
#endif

using namespace testing_support;

namespace {

const String kViewerClassKey = u"CLSID\\{4A79114D-19E4-11D3-B86B-00C04F79F802}";
const String kViewerKey = kViewerClassKey + u"\\LocalServer32";

// A viewer program on disk, and a directory beside it.
class ViewerFiles {
public:
    ViewerFiles() {
        const auto base = std::filesystem::temp_directory_path() /
                          ("korvel-help-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(base / "Help Viewer");
        program_ = base / "Help Viewer" / "dexplore.exe";
        std::ofstream(program_) << "viewer";
        base_ = base;
    }
    ~ViewerFiles() { std::filesystem::remove_all(base_); }

    String Program() const { return program_.u16string(); }
    String Directory() const { return program_.parent_path().u16string(); }

private:
    std::filesystem::path base_;
    std::filesystem::path program_;
};

class HelpServiceTest : public LoaderFixture {
protected:
    void SetUp() override {
        registry.AddPackage(GuidText(1), u"A", 1);
        // Remembered first, so that the whole class key goes when the test ends.
        registry.CreateKey(HKEY_CLASSES_ROOT, kViewerClassKey);
        ASSERT_TRUE(Enter());
        ASSERT_EQ(Hub()->Get_BdsHelpService(help.Put()), S_OK);
        ASSERT_TRUE(help);
    }

    // Shows the collection and returns the one launch it made.
    win32::ShellLaunch ShowCollection(const String& url) {
        ide.Record().Clear();
        rtl::WideString text(url);
        EXPECT_EQ(help->ShowHelpByURL(text.Get()), S_OK);
        EXPECT_EQ(ide.Record().shellLaunches.size(), 1u);
        return ide.Record().shellLaunches.empty() ? win32::ShellLaunch{} : ide.Record().shellLaunches.back();
    }

    RegisteredPackageClass package{MakeGuid(1), "A", journal};
    rtl::ComPtr<IBdsHelpService> help;
    ViewerFiles files;
};

TEST_F(HelpServiceTest, HubHandsOutOneServiceThatOutlivesItsReferences) {
    rtl::ComPtr<IBdsHelpService> again;
    EXPECT_EQ(Hub()->Get_BdsHelpService(again.Put()), S_OK);
    EXPECT_EQ(again.Get(), help.Get());
    EXPECT_EQ(Hub()->Get_BdsHelpService(nullptr), E_POINTER);
    again = nullptr;
    help->Release();  // one more than the package was given
    EXPECT_EQ(help->ShowHelpByKeyword(nullptr), S_OK);
}

TEST_F(HelpServiceTest, KeywordGoesToTheIdeHelpSystem) {
    rtl::WideString keyword(u"TForm.Create");
    EXPECT_EQ(help->ShowHelpByKeyword(keyword.Get()), S_OK);
    rtl::WideString unknown(u"NoSuchTopic");
    EXPECT_EQ(help->ShowHelpByKeyword(unknown.Get()), S_OK) << "a keyword without a topic is no failure";
    EXPECT_EQ(ide.Record().helpKeywords, (std::vector<String>{u"TForm.Create", u"NoSuchTopic"}));

    vcl::SetApplication(nullptr);
    EXPECT_EQ(help->ShowHelpByKeyword(keyword.Get()), S_OK) << "outside an IDE nothing is shown";
    vcl::SetApplication(&ide.Application());
    EXPECT_EQ(ide.Record().helpKeywords.size(), 2u);
}

TEST_F(HelpServiceTest, RegisteredViewerIsLaunchedWithTheCollection) {
    // The first and last characters are dropped for the existence test whatever they are.
    for (const String& registered : {u"\"" + files.Program() + u"\"", u"<" + files.Program() + u">"}) {
        SCOPED_TRACE(rtl::ToUtf8(registered));
        registry.SetString(HKEY_CLASSES_ROOT, kViewerKey, u"", registered);
        const win32::ShellLaunch launch = ShowCollection(u"ms-help://Korvel.Help");
        EXPECT_EQ(launch.owner, nullptr);
        EXPECT_EQ(launch.operation, u"");
        EXPECT_EQ(launch.file, registered) << "launched as registered, quotes and all";
        EXPECT_EQ(launch.parameters, u"/helpcol ms-help://Korvel.Help");
        EXPECT_EQ(launch.directory, u"");
        EXPECT_EQ(launch.showCommand, SW_SHOW);
    }
}

TEST_F(HelpServiceTest, UnusableRegistrationFallsBackToTheViewerByName) {
    const auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        const win32::ShellLaunch launch = ShowCollection(u"Korvel.Collection");
        EXPECT_EQ(launch.file, u"dexplore.exe");
        EXPECT_EQ(launch.parameters, u"/helpcol Korvel.Collection");
        EXPECT_EQ(launch.showCommand, SW_SHOW);
    };
    check("no registration");

    registry.CreateKey(HKEY_CLASSES_ROOT, kViewerKey);
    check("no default value");
    registry.SetDword(HKEY_CLASSES_ROOT, kViewerKey, u"", 7);
    check("a number instead of a command");

    const std::pair<const char*, String> unusable[] = {
        {"missing file", u"\"" + files.Program() + u".missing\""},
        {"existing path without quotes", files.Program()},
        {"directory", u"\"" + files.Directory() + u"\""},
        {"one character", u"\""},
        {"two characters", u"\"\""},
        {"empty", u""},
    };
    for (const auto& [what, registered] : unusable) {
        registry.SetString(HKEY_CLASSES_ROOT, kViewerKey, u"", registered);
        check(what);
    }
}

TEST_F(HelpServiceTest, EmptyCollectionIsPassedOnUnchanged) {
    EXPECT_EQ(ShowCollection(u"").parameters, u"/helpcol ");
    ide.Record().Clear();
    EXPECT_EQ(help->ShowHelpByURL(nullptr), S_OK);
    ASSERT_EQ(ide.Record().shellLaunches.size(), 1u);
    EXPECT_EQ(ide.Record().shellLaunches[0].parameters, u"/helpcol ");
}

#ifndef _WIN32
// Only the emulation can refuse this process write access to a key.
TEST_F(HelpServiceTest, RegistrationThatCannotBeOpenedIsNotReadFromTheRoot) {
    const String quoted = u"\"" + files.Program() + u"\"";
    registry.SetString(HKEY_CLASSES_ROOT, kViewerKey, u"", quoted);
    emulation::DenyWriteAccess(HKEY_CLASSES_ROOT, kViewerKey);
    const auto bytes = reinterpret_cast<const BYTE*>(quoted.c_str());
    ASSERT_EQ(RegSetValueExW(HKEY_CLASSES_ROOT, rtl::W(u""), 0, REG_SZ, bytes,
                             static_cast<DWORD>((quoted.size() + 1) * sizeof(char16_t))),
              ERROR_SUCCESS);
    const win32::ShellLaunch launch = ShowCollection(u"Korvel.Collection");
    RegDeleteValueW(HKEY_CLASSES_ROOT, rtl::W(u""));
    EXPECT_EQ(launch.file, u"dexplore.exe");
}
#endif

}  // namespace

namespace {

TEST_F(HelpServiceTest, SlotsAreTheContractsMethods) {
    rtl::WideString keyword(u"TForm"), url(u"ms-help://Korvel");
    ide.Record().Clear();
    EXPECT_EQ(CallMethod(help.Get(), 1, keyword.Get()), S_OK);
    EXPECT_EQ(ide.Record().helpKeywords, std::vector<String>{u"TForm"});
    EXPECT_TRUE(ide.Record().shellLaunches.empty());
    EXPECT_EQ(CallMethod(help.Get(), 2, url.Get()), S_OK);
    ASSERT_EQ(ide.Record().shellLaunches.size(), 1u);
    EXPECT_EQ(ide.Record().shellLaunches[0].parameters, u"/helpcol ms-help://Korvel");
    rtl::ComPtr<IBdsHelpService> again = help.As<IUnknown>().As<IBdsHelpService>();
    EXPECT_EQ(again.Get(), help.Get());
}

}  // namespace
