// The IDE stand-in: its command line, its transcript, and a whole run on the shipped example
// registry with the loader library the build makes.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include "examples/SamplePackage/DesignerPackage.h"
#include "examples/SamplePackage/SamplePackage.h"
#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/RegFile.h"
#include "loader/PackageDiscovery.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guid.h"
#include "tests/support/FakePackages.h"
#include "tests/support/TestRegistry.h"

using host::String;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> WithoutTimings(const std::vector<std::string>& lines) {
    static const std::regex timing(R"( \([0-9]+\.[0-9]{2} ms\)$)");
    std::vector<std::string> cut;
    for (const auto& line : lines) cut.push_back(std::regex_replace(line, timing, ""));
    return cut;
}

TEST(TranscriptTest, LineBreaksContinueIndentedAndTimingsEndTheLine) {
    std::ostringstream out;
    host::Transcript transcript(out);
    transcript.Line(u"one\n\rtwo\r\nthree\n\nfour");
    transcript.Timed(u"step", rtl::Milliseconds(1.234));
    transcript.Line(u"\u00C4rger \u20AC");
    EXPECT_EQ(out.str(),
              "one\n    two\n    three\n    \n    four\n"
              "step (1.23 ms)\n"
              "\xC3\x84rger \xE2\x82\xAC\n");
}

TEST(TranscriptTest, QuotedNamesShowWhatWouldBreakTheLine) {
    EXPECT_EQ(host::Quoted(u"Plain"), u"\"Plain\"");
    EXPECT_EQ(host::Quoted(String(u"first\0second", 12) + u"\r\n\t"), u"\"first\\0second\\r\\n\\t\"");
}

TEST(HostOptionsTest, FilesComeFromTheCommandLineOrTheDefaults) {
    const host::HostOptions defaults = host::ParseHostOptions({}, false);
    EXPECT_FALSE(defaults.help);
    EXPECT_FALSE(defaults.strict);
    EXPECT_EQ(defaults.registries, std::vector<std::filesystem::path>{host::DefaultRegistryFile()});
    EXPECT_EQ(defaults.loader, host::DefaultLoaderFile());
    EXPECT_EQ(defaults.registries[0].filename(), "Sample.reg");
    EXPECT_EQ(defaults.loader.parent_path(), host::ExecutableFolder());

    // Relative names are taken from the folder the command runs in.
    const std::filesystem::path here = std::filesystem::current_path();
    const host::HostOptions named = host::ParseHostOptions(
        {u"--registry", u"other.reg", u"--loader=K\u00F6rvel.dll", u"--registry=sub/more.reg", u"--help"}, false);
    EXPECT_EQ(named.registries, (std::vector<std::filesystem::path>{here / "other.reg", here / "sub/more.reg"}));
    EXPECT_EQ(named.loader, here / std::filesystem::path(u"K\u00F6rvel.dll"));
    EXPECT_TRUE(named.help);

    const host::HostOptions packages =
        host::ParseHostOptions({u"--package", u"One.dll", u"--strict", u"--package=../Two.dll"}, false);
    EXPECT_TRUE(packages.strict);
    EXPECT_TRUE(packages.registries.empty()) << "a package on its own needs no example registry";
    EXPECT_EQ(packages.packages,
              (std::vector<std::filesystem::path>{here / "One.dll", (here / "../Two.dll").lexically_normal()}));
}

TEST(HostOptionsTest, UnknownArgumentsAndMissingFilesAreUsageErrors) {
    EXPECT_THROW(host::ParseHostOptions({u"--verbose"}, false), host::UsageError);
    EXPECT_THROW(host::ParseHostOptions({u"Sample.reg"}, false), host::UsageError);
    EXPECT_THROW(host::ParseHostOptions({u"--registry"}, false), host::UsageError);
    EXPECT_THROW(host::ParseHostOptions({u"--loader="}, false), host::UsageError);
    EXPECT_THROW(host::ParseHostOptions({u"--registryfile=x"}, false), host::UsageError);
}

class HostSessionTest : public ::testing::Test {
protected:
    ~HostSessionTest() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(korvel::PkgKey()));
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(u"SOFTWARE\\CodeGear\\BDS\\9.0"));
        for (const GUID& clsid : {CLSID_SamplePackage, CLSID_SampleDesignerPackage})
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(u"Software\\Classes\\CLSID\\" + rtl::GUIDToString(clsid)));
    }

    std::ostringstream out;
    host::Transcript transcript{out};
};

TEST_F(HostSessionTest, DefaultRunLoadsTheSamplesAndReportsTheUnregisteredPackage) {
    {
        host::HostSession session(transcript);
        session.ImportRegistry(host::DefaultRegistryFile());
        EXPECT_TRUE(session.StartWizard(host::DefaultLoaderFile()));
    }  // shut down on the way out

    const std::string sample = "\"Korvel Sample Package\" " + rtl::ToUtf8(rtl::GUIDToString(CLSID_SamplePackage));
    const std::string designer =
        "\"Korvel Sample Designer Package\" " + rtl::ToUtf8(rtl::GUIDToString(CLSID_SampleDesignerPackage));
    const std::string missingId = "{FCA4E05B-9610-47D5-B35D-69C201A3412E}";
    const std::string missing = "\"Missing Package (%ProgramFiles%\\Korvel)\" " + missingId;
    const std::string licence = "license \"Registered\", SKU \"Sample Edition\"";
    const std::vector<std::string> expected = {
        "registry: Sample.reg, 9 keys, 13 values",
        "wizard: KorvelLoader150",
        "start-up: INITWIZARD0001",
        "found 1: " + missing + ", LoadOrder 10",
        "found 2: " + sample + ", LoadOrder 20",
        "found 3: " + designer + ", LoadOrder 30",
        "creation failed: " + missing + ": " + rtl::ToUtf8(rtl::EOleSysError(REGDB_E_CLASSNOTREG).Message()),
        "  no in-process server is registered for " + missingId,
        "message box [Korvel Products Loader, style 16]: Failed to load package 'Missing Package "
        "(%ProgramFiles%\\Korvel)'.",
        "    Package ID: " + missingId,
        "    Error: " + rtl::ToUtf8(rtl::EOleSysError(REGDB_E_CLASSNOTREG).Message()),
        "created: " + sample,
        "created: " + designer,
        "splash screen: \"Korvel Sample Package\", bitmap 16x16, " + licence,
        "about box product: \"Korvel Sample Package\" - Shows every service of the loader. [About Korvel Sample "
        "Package; Copyright 2026 Korvel], bitmap 16x16 and bitmap 16x16, " + licence,
        "sited: " + sample,
        "sited: " + designer,
        "INITWIZARD0001 answered true",
        "shut-down",
        "debug output: Korvel Sample Designer: terminated",
        "terminated: " + designer,
        "debug output: Korvel Sample: terminated",
        "terminated: " + sample,
        "terminate procedure returned",
    };
    const std::vector<std::string> lines = Lines(out.str());
    EXPECT_EQ(WithoutTimings(lines), expected) << out.str();
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i : {6u, 11u, 12u, 15u, 16u, 17u, 20u, 22u, 23u})
        EXPECT_NE(lines[i], expected[i]) << "timed: " << lines[i];
}

TEST_F(HostSessionTest, LibraryWithoutTheEntryOrNoLibraryAtAllIsAHostError) {
    host::HostSession session(transcript);
    try {
        session.StartWizard(host::ExecutableFolder() / "SamplePackage.dll");
        ADD_FAILURE() << "a package library has no wizard entry";
    } catch (const host::HostError& error) {
        EXPECT_NE(std::string(error.what()).find("has no entry INITWIZARD0001"), std::string::npos) << error.what();
    }
    EXPECT_THROW(session.StartWizard(host::ExecutableFolder() / "NoSuchLoader.dll"), host::HostError);
    session.ShutDown();
    EXPECT_EQ(out.str(), "") << "nothing was entered, so there is nothing to shut down";
}

TEST_F(HostSessionTest, RegistryFileProblemsKeepTheirLine) {
    const std::filesystem::path file = host::ExecutableFolder() / "HostSessionTest.reg";
    {
        std::ofstream bad(file, std::ios::binary);
        bad << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Korvel\\HostTests]\r\n"
               "\"Value\"=dword:xyz\r\n";
    }
    host::HostSession session(transcript);
    try {
        session.ImportRegistry(file);
        ADD_FAILURE() << "the file is broken";
    } catch (const host::RegFileError& error) {
        EXPECT_EQ(error.Line(), 4);
    }
    std::filesystem::remove(file);
    EXPECT_THROW(session.ImportRegistry(file), std::runtime_error);
}

}  // namespace

namespace strict_run {

using namespace testing_support;

bool Has(const std::vector<String>& problems, const std::string& start, const std::string& part) {
    for (const String& problem : problems) {
        const std::string text = rtl::ToUtf8(problem);
        if (text.rfind(start, 0) == 0 && text.find(part) != std::string::npos) return true;
    }
    return false;
}

// Everything a CI job must not let pass: a package that cannot be made, one that raises in
// SetSite, one whose Terminate fails, and start-up that never initializes them.
TEST(HostStrictTest, EveryFailureOfTheRunIsAProblemWithItsReason) {
    std::ostringstream out;
    host::Transcript transcript(out);
    // The IDE first: the platform's COM takes class registrations only once it is set up.
    auto session = std::make_unique<host::HostSession>(transcript);
    TestRegistry registry;
    const auto journal = std::make_shared<Journal>();
    PackageBehaviour throwing;
    throwing.throwInSetSite = true;
    PackageBehaviour failing;
    failing.failTerminate = true;
    // A toolbar the package lets go of is the service's; a reference to the hub it keeps is not.
    failing.onSetSite = [](IBdsServices* site) {
        rtl::ComPtr<IBdsToolBarService> toolBars;
        rtl::ComPtr<IBdsToolBar> toolBar;
        if (SUCCEEDED(site->Get_BdsToolBarService(toolBars.Put())))
            toolBars->AddToolBar(rtl::WideString(u"QuitterBar").Get(), rtl::WideString(u"Quitter").Get(), toolBar.Put());
        site->AddRef();
    };
    const RegisteredPackageClass raiser(MakeGuid(1), "Raiser", journal, throwing);
    const RegisteredPackageClass quitter(MakeGuid(2), "Quitter", journal, failing);
    registry.AddPackage(GuidText(1), u"Raiser", 1);
    registry.AddPackage(GuidText(2), u"Quitter", 2);
    registry.AddPackage(GuidText(3), u"Unregistered", 3);

    ASSERT_TRUE(session->StartWizard(host::DefaultLoaderFile()));
    session->ReportStartUp();  // the toolbars never load
    EXPECT_EQ(session->Problems().size(), 2u) << "failures so far: the load and SetSite";
    session->ShutDown();
    const std::vector<String> problems = session->Problems();
    session.reset();
    EXPECT_EQ(problems.size(), 6u) << out.str();
    EXPECT_TRUE(Has(problems, "the IDE's objects are still referenced after shut-down: TBdsServices (1 reference)", ""));
    EXPECT_FALSE(Has(problems, "the IDE's objects", "TBdsToolBar"));
    EXPECT_TRUE(Has(problems, "creation failed: \"Unregistered\"", rtl::ToUtf8(GuidText(3))));
    EXPECT_TRUE(Has(problems, "sited: \"Raiser\"", "raised: package failure in SetSite"));
    EXPECT_TRUE(Has(problems, "never initialized: \"Quitter\"", "the IDE has not loaded its toolbars"));
    EXPECT_TRUE(Has(problems, "never initialized: \"Raiser\"", "toolbars"));
    EXPECT_TRUE(Has(problems, "terminated: \"Quitter\"", "failed: 80004005"));
    const std::string text = out.str();
    EXPECT_NE(text.find("start-up ended with 2 package(s) not initialized: the IDE has not loaded its toolbars"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  no in-process server is registered for " + rtl::ToUtf8(GuidText(3))), std::string::npos);
    EXPECT_EQ(journal->liveObjects, 0);
}

}  // namespace strict_run
