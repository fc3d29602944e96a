// The host's session: how lines are read, how commands are checked before anything runs, and
// what each command does in the simulated IDE (without the loader; the example session with
// the loader is compared across builds by scripts/compare-transcripts).
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "host/SessionRunner.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

using host::SessionError;
using host::SessionLine;
using host::String;

namespace {

SessionLine Line(int number, const std::string& text) { return host::ParseSessionLine(number, text); }

std::vector<SessionLine> Script(const std::string& text) {
    std::istringstream in(text);
    return host::ReadSessionScript(in);
}

// The message of the SessionError a call raises, with its line in front.
template <class Call>
std::string FailureOf(Call&& call) {
    try {
        call();
    } catch (const SessionError& error) {
        return std::to_string(error.Line()) + ": " + error.what();
    }
    return "no failure";
}

TEST(SessionScriptTest, WordsQuotesAndLineNumbers) {
    EXPECT_EQ(host::SplitWords(u"  type Bar  \"two words\" \"a \\\"q\\\" \\\\ b\"\t"),
              (std::vector<String>{u"type", u"Bar", u"two words", u"a \"q\" \\ b"}));
    EXPECT_EQ(host::SplitWords(u"menu ToolsMenu\\ToolsOptionsItem \"\""),
              (std::vector<String>{u"menu", u"ToolsMenu\\ToolsOptionsItem", u""}));

    const std::vector<SessionLine> lines = Script("\xEF\xBB\xBFstart\n\n# a comment\n   \nhelp \"F1 key\"\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].number, 1);
    EXPECT_EQ(lines[0].words, std::vector<String>{u"start"});
    EXPECT_EQ(lines[1].number, 5);
    EXPECT_EQ(lines[1].text, u"help \"F1 key\"");

    EXPECT_EQ(FailureOf([] { Script("start\nhelp \"open\n"); }), "2: a quoted word is not closed");
    EXPECT_EQ(FailureOf([] { Script("help \"a\"b\n"); }), "1: a quoted word runs into the next one");
}

TEST(SessionScriptTest, CommandsAndTheirWordsAreCheckedWithoutRunning) {
    using host::SessionCommands;
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(3, "strat")); }),
              "3: unknown command \"strat\" (\"commands\" lists them)");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(5, "button StandardToolBar")); }),
              "5: usage: button TOOLBAR BUTTON");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(6, "start now")); }), "6: usage: start");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(7, "press Ctrl+Ctrl+K")); }),
              "7: \"Ctrl+Ctrl+K\" is no key combination (like Ctrl+Shift+K)");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(8, "press Hyper+K")); }),
              "8: \"Hyper+K\" is no key combination (like Ctrl+Shift+K)");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(9, "press Ctrl+Nothing")); }), "9: \"Nothing\" names no key");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(9, "press Ctrl+")); }),
              "9: \"Ctrl+\" names no key after its modifiers (like Ctrl+Shift+K)");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(10, "insert TButton 10 -1")); }),
              "10: \"-1\" is no position on the form (0 to 32767)");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(11, "insert TButton 32768 1")); }),
              "11: \"32768\" is no position on the form (0 to 32767)");
    EXPECT_EQ(FailureOf([] { SessionCommands::Check(Line(12, "show toolbar")); }),
              "12: show what? (show menu [FULLNAME], show toolbars, show toolbar NAME, show windows, show tabs, show tools, "
              "show modules)");
    for (const char* good : {"press shift+ctrl+f12", "press Alt+G", "show menu", "show menu FileMenu",
                             "insert TButton 0 32767", "type Bar Combo \"\"", "SHUTDOWN"})
        EXPECT_NO_THROW(SessionCommands::Check(Line(1, good))) << good;
}

class SessionCommandTest : public ::testing::Test {
protected:
    // Runs a script; the transcript without the shut-down lines the session adds at the end.
    int RunScript(const std::string& text) { return host::RunScript(commands, Script(text), u"test", errors); }
    std::vector<std::string> TranscriptLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    bool Printed(const std::string& line) const {
        const auto lines = TranscriptLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // A package's toolbar as the toolbar service builds one: an editable and a list-only box.
    vcl::TComboBox& AddComboBox(vcl::TToolBar& toolBar, const String& name, vcl::TComboBoxStyle style) {
        auto* comboBox = new vcl::TComboBox(&toolBar);
        comboBox->SetName(name);
        comboBox->SetStyle(style);
        comboBox->AddItem(u"Debug");
        comboBox->AddItem(u"Release");
        comboBox->SetParent(&toolBar);
        comboBox->OnChange = [this, comboBox](vcl::TObject*) { changes.push_back(comboBox->Text()); };
        return *comboBox;
    }

    std::ostringstream out;
    std::ostringstream errors;
    host::Transcript transcript{out};
    host::HostSession session{transcript};
    host::SessionCommands commands{session, transcript, "NoLoaderNeeded.dll"};
    std::vector<String> changes;
};

TEST_F(SessionCommandTest, AMistakeAnywhereStopsTheScriptBeforeAnythingRuns) {
    EXPECT_EQ(RunScript("menu FileMenu\\FileSaveAllItem\nhelp x\n\nbutton OnlyOneWord\n"), 1);
    EXPECT_EQ(errors.str(), "test:4: usage: button TOOLBAR BUTTON\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(session.Ide().Record().lines.empty());
}

TEST_F(SessionCommandTest, AFailingLineStopsTheScriptThereWithItsLineNumber) {
    EXPECT_EQ(RunScript("help first\nmenu ToolsMenu\\NoSuchItem\nhelp never\n"), 1);
    EXPECT_EQ(errors.str(), "test:2: the main menu has no item ToolsMenu\\NoSuchItem\n");
    EXPECT_EQ(session.Ide().Record().helpKeywords, std::vector<String>{u"first"});
    EXPECT_TRUE(Printed("> menu ToolsMenu\\NoSuchItem"));
    EXPECT_FALSE(Printed("> help never"));
}

TEST_F(SessionCommandTest, EditorCommandsNeedWhatTheyName) {
    EXPECT_EQ(RunScript("show windows\n"), 1);
    EXPECT_EQ(RunScript("open C:\\src\\Unit1.pas\nrecreate\n"), 1);
    EXPECT_EQ(RunScript("close Unit2.pas\n"), 1);
    EXPECT_EQ(RunScript("resize 0 10\n"), 1);
    EXPECT_EQ(errors.str(), "test:1: no edit window is open\n"
                            "test:2: no frame lies over the editor\n"
                            "test:1: no open file is called Unit2.pas\n"
                            "test:1: the editor needs a size of at least 1x1\n");
    out.str("");
    EXPECT_EQ(RunScript("resize 300 200\nshow windows\nexpect window teditcontrol\nexpect window TForm Unit1.pas\n"
                        "close C:\\src\\Unit1.pas\ncloseeditor\n"),
              0)
        << errors.str();
    EXPECT_TRUE(Printed("TForm \"Unit1.pas\" visible 0,0 300x200")) << out.str();
    EXPECT_TRUE(Printed("      TEditControl \"\" visible 0,0 300x60"));
    EXPECT_EQ(session.Ide().Editors().EditWindowForm(), nullptr);

    errors.str("");
    EXPECT_EQ(RunScript("open C:\\src\\Unit1.pas\nexpect window TForm Unit2.pas\n"), 1);
    EXPECT_EQ(RunScript("expect window TToolBar\n"), 1);
    EXPECT_EQ(errors.str(), "test:2: the edit window has no window TForm \"Unit2.pas\"\n"
                            "test:1: the edit window has no window TToolBar\n");
}

TEST_F(SessionCommandTest, MenuClicksReachOnlyItemsAUserCanChoose) {
    EXPECT_EQ(RunScript("menu FileMenu\\FileSaveAllItem\nmenu \\filemenu\\FILESAVEITEM\n"), 0) << errors.str();
    EXPECT_TRUE(Printed("menu command: FileSaveAllItem"));
    EXPECT_TRUE(Printed("menu command: FileSaveItem"));

    vcl::TMenuItem* fileMenu = session.Ide().Services().GetMainMenu()->Items()->FindChildByName(u"FileMenu");
    vcl::TMenuItem* saveAll = fileMenu->FindChildByName(u"FileSaveAllItem");
    saveAll->SetEnabled(false);
    EXPECT_EQ(RunScript("menu FileMenu\\FileSaveAllItem"), 1);
    EXPECT_EQ(RunScript("menu FileMenu"), 1);
    EXPECT_EQ(errors.str(), "test:1: FileMenu\\FileSaveAllItem is disabled\n"
                            "test:1: FileMenu opens a submenu; name one of its items\n");
}

TEST_F(SessionCommandTest, KeysGoThroughTheMessageLoopWithTheirModifiersHeld) {
    std::vector<std::string> seen;
    bool handle = true;
    session.Ide().Application().OnMessage = [&](MSG& msg, bool& handled) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0, alt = GetKeyState(VK_MENU) < 0;
        seen.push_back(std::to_string(msg.message) + " " + std::to_string(msg.wParam) + (ctrl ? " ctrl" : "") +
                       (shift ? " shift" : "") + (alt ? " alt" : ""));
        handled = handle;
    };
    EXPECT_EQ(RunScript("press Ctrl+Shift+K"), 0) << errors.str();
    EXPECT_TRUE(Printed("key Shift+Ctrl+K: handled before dispatch"));
    handle = false;
    EXPECT_EQ(RunScript("press Ctrl+S\npress Alt+F12"), 0) << errors.str();
    EXPECT_TRUE(Printed("key Ctrl+S: runs FileSaveItem"));
    EXPECT_TRUE(Printed("menu command: FileSaveItem"));
    EXPECT_TRUE(Printed("key Alt+F12: no command"));
    EXPECT_EQ(seen, (std::vector<std::string>{"256 75 ctrl shift", "256 83 ctrl", "256 123 alt"}));
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "the modifiers are let go after the key";
    EXPECT_GE(GetKeyState(VK_MENU), 0);
}

TEST_F(SessionCommandTest, ComboBoxesTakeTypedTextOrPicksAsAUserWouldGiveThem) {
    vcl::TToolBar& toolBar = *session.Ide().Services().ToolBars().Add(u"PackageToolBar", u"Package");
    AddComboBox(toolBar, u"SearchCombo", vcl::TComboBoxStyle::csDropDown);
    vcl::TComboBox& mode = AddComboBox(toolBar, u"ModeCombo", vcl::TComboBoxStyle::csDropDownList);

    EXPECT_EQ(RunScript("type PackageToolBar SearchCombo ab\npick packagetoolbar modecombo Release"), 0) << errors.str();
    EXPECT_EQ(changes, (std::vector<String>{u"a", u"ab", u"Release"}));
    EXPECT_EQ(mode.ItemIndex(), 1);

    EXPECT_EQ(RunScript("type PackageToolBar ModeCombo x"), 1);
    EXPECT_EQ(RunScript("pick PackageToolBar ModeCombo release"), 1);
    mode.SetVisible(false);
    EXPECT_EQ(RunScript("pick PackageToolBar ModeCombo Debug"), 1);
    EXPECT_EQ(RunScript("button PackageToolBar SearchCombo"), 1);
    EXPECT_EQ(RunScript("button NoToolBar Button"), 1);
    EXPECT_EQ(errors.str(),
              "test:1: combo box ModeCombo takes no typed text; pick one of its items\n"
              "test:1: combo box ModeCombo has no item \"release\"\n"
              "test:1: ModeCombo on toolbar PackageToolBar is hidden\n"
              "test:1: SearchCombo on toolbar PackageToolBar is no button\n"
              "test:1: the IDE has no toolbar NoToolBar\n");
    EXPECT_EQ(changes.size(), 3u) << "no refused line changed anything";
}

TEST_F(SessionCommandTest, ButtonsDropsHelpAndTheStateOfTheIde) {
    vcl::TToolBar& standard = *session.Ide().Services().ToolBars().Find(u"StandardToolBar");
    int clicks = 0;
    vcl::TControl* save = nullptr;
    for (int i = 0; i < standard.ButtonCount(); ++i)
        if (standard.Buttons(i)->Name() == u"SaveButton") save = standard.Buttons(i);
    ASSERT_NE(save, nullptr);
    save->OnClick = [&](vcl::TObject*) { ++clicks; };

    EXPECT_EQ(RunScript("button StandardToolBar SaveButton\ninsert TButton 10 20\nhelp \"Form Designer\"\n"
                        "show toolbar StandardToolBar\nshow menu HelpMenu"),
              0)
        << errors.str();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Printed("inserted TButton at 10,20"));
    EXPECT_TRUE(Printed("help keyword: Form Designer"));
    EXPECT_TRUE(Printed("  SaveButton button, left " + std::to_string(save->Left()) + " width " +
                        std::to_string(save->Width()) + " tip \"Save\" image 2"))
        << out.str();
    EXPECT_TRUE(Printed("HelpMenu \"&Help\""));

    save->SetEnabled(false);
    EXPECT_EQ(RunScript("button StandardToolBar SaveButton"), 1);
    EXPECT_EQ(RunScript("insert TNothing 1 1"), 1);
    EXPECT_EQ(errors.str(), "test:1: SaveButton on toolbar StandardToolBar is disabled\n"
                            "test:1: the palette has no component class TNothing\n");
    EXPECT_EQ(clicks, 1);
}

TEST_F(SessionCommandTest, DebugOutputOfAnyCallerIsSeenAsADebuggerSeesIt) {
    // As a package does it: straight to the platform, not through the system's own layer.
    OutputDebugStringW(rtl::W(u"package says hello"));
    EXPECT_TRUE(Printed("debug output: package says hello"));
    EXPECT_EQ(session.Ide().Record().debugOutput, std::vector<String>{u"package says hello"});
}

TEST_F(SessionCommandTest, AtThePromptAFailingLineIsReportedAndTheSessionGoesOn) {
    std::istringstream typed("help one\nbogus\n\nhelp \"two\nhelp three\nshutdown\nhelp never\n");
    std::ostringstream prompt;
    host::RunInteractive(commands, typed, prompt, errors);
    EXPECT_EQ(errors.str(), "line 2: unknown command \"bogus\" (\"commands\" lists them)\n"
                            "line 4: a quoted word is not closed\n");
    EXPECT_EQ(session.Ide().Record().helpKeywords, (std::vector<String>{u"one", u"three"}));
    EXPECT_EQ(prompt.str(), "korvel> korvel> korvel> korvel> korvel> korvel> ") << "no prompt after shut-down";
}

TEST(SessionSummaryTest, EveryMeaningStartsInTheSameColumn) {
    std::istringstream summary(host::SessionCommands::Summary());
    size_t column = 0;
    for (std::string line; std::getline(summary, line);) {
        const size_t gap = line.find("  ", 2);  // the form ends at the first double blank
        ASSERT_NE(gap, std::string::npos) << line;
        const size_t meaning = line.find_first_not_of(' ', gap);
        if (column == 0) column = meaning;
        EXPECT_EQ(meaning, column) << line;
    }
}

// A CI job's assertions: what the transcript said before, and what the IDE holds now.
TEST_F(SessionCommandTest, ExpectationsPassOrStopTheScriptAtTheirLine) {
    EXPECT_EQ(RunScript("help Keyword\n"
                        "expect line \"help keyword: Keyword\"\n"
                        "expect match \"^help keyword: K.*d$\"\n"
                        "expect menu ToolsMenu\\ToolsOptionsItem\n"
                        "expect toolbar StandardToolBar\n"
                        "expect control StandardToolBar SaveButton"),
              0)
        << errors.str();
    EXPECT_EQ(RunScript("help Other\nexpect match \"^help keyword: Nothing\""), 1);
    EXPECT_EQ(RunScript("expect line \"> expect line x\""), 1) << "not its own command line";
    EXPECT_EQ(RunScript("expect control StandardToolBar NoSuchButton"), 1);
    EXPECT_EQ(errors.str(), "test:2: no transcript line matches \"^help keyword: Nothing\"\n"
                            "test:1: no transcript line is \"> expect line x\"\n"
                            "test:1: toolbar StandardToolBar has no control NoSuchButton\n");
    EXPECT_THROW(host::SessionCommands::Check(Script("expect match \"(\"")[0]), host::SessionError);
    EXPECT_THROW(host::SessionCommands::Check(Script("expect windows X")[0]), host::SessionError);
}

// "expect last" looks only at what the command before printed; "expect no" fails for what is
// there. Expectations never find their own lines.
TEST_F(SessionCommandTest, ExpectationsOfTheLastCommandAndOfAbsence) {
    EXPECT_EQ(RunScript("help First\n"
                        "help Second\n"
                        "expect last line \"help keyword: Second\"\n"
                        "expect last no match First\n"
                        "expect no match \"^help keyword: Third\"\n"
                        "expect no menu ToolsMenu\\NoSuchItem\n"
                        "expect no control StandardToolBar NoSuchButton"),
              0)
        << errors.str();
    EXPECT_EQ(RunScript("expect last line \"help keyword: First\""), 1);
    EXPECT_EQ(RunScript("expect no match \"keyword: F\""), 1);
    EXPECT_EQ(RunScript("expect no toolbar StandardToolBar"), 1);
    EXPECT_EQ(errors.str(), "test:1: no transcript line of the last command is \"help keyword: First\"\n"
                            "test:1: a transcript line is \"help keyword: First\"\n"
                            "test:1: the IDE has a toolbar StandardToolBar\n");
    EXPECT_THROW(host::SessionCommands::Check(Script("expect last menu ToolsMenu")[0]), host::SessionError)
        << "the last command printed lines; it holds no menu";
}

TEST(TranscriptJsonTest, OneObjectPerEventWithItsFields) {
    std::ostringstream out;
    host::Transcript transcript(out, host::Transcript::Format::Json);
    transcript.Line(u"debug output: say \"hi\"\\\n\u00C4");
    host::TranscriptEvent failed;
    failed.kind = u"terminated";
    failed.text = u"terminated: \"P\" {1} failed";
    failed.package = u"P";
    failed.classId = u"{1}";
    failed.object = u"IBdsPackage";
    failed.method = u"Terminate";
    failed.result = E_FAIL;
    failed.resultText = u"Unspecified error";
    failed.took = rtl::Milliseconds(0.5);
    transcript.Write(failed);
    // Every event says when it happened.
    const std::regex time(R"(,"at":[0-9]+\.[0-9]{3}\})");
    EXPECT_EQ(std::regex_replace(out.str(), time, "}"),
              "{\"event\":\"debug output\",\"text\":\"debug output: say \\\"hi\\\"\\\\\\u000a\xC3\x84\"}\n"
              "{\"event\":\"terminated\",\"text\":\"terminated: \\\"P\\\" {1} failed\",\"package\":\"P\",\"classId\":\"{1}\","
              "\"object\":\"IBdsPackage\",\"method\":\"Terminate\",\"result\":\"0x80004005\","
              "\"resultText\":\"Unspecified error\",\"ms\":0.500}\n");
    EXPECT_EQ(std::regex_replace(out.str(), time, "").find("\"at\""), std::string::npos) << out.str();
    ASSERT_EQ(transcript.Lines().size(), 3u);
    EXPECT_EQ(transcript.Lines()[1].text, u"\u00C4");
    EXPECT_EQ(transcript.Lines()[1].kind, u"debug output") << "a continuation line keeps its event's kind";
    EXPECT_EQ(transcript.Lines()[2].kind, u"terminated");
}

TEST_F(SessionCommandTest, NothingRunsAfterShutDown) {
    EXPECT_EQ(RunScript("shutdown\nhelp late"), 1);
    EXPECT_EQ(errors.str(), "test:2: the IDE has shut down\n");
    EXPECT_TRUE(commands.ShutDown());
    EXPECT_TRUE(session.Ide().Record().helpKeywords.empty());
}

}  // namespace

namespace {

TEST_F(SessionCommandTest, SourceFilesAreEditedSavedRenamedAndClosedByName) {
    EXPECT_EQ(RunScript("open Unit1.pas\nedit unit1.pas \"begin end.\"\nsave Unit1.pas\nrename Unit1.pas Main.pas\n"
                        "saveas Main.pas Other.pas\nkeycommand 0x4b53 12\nclose Other.pas\n"),
              0)
        << errors.str();
    for (const char* line : {"module Unit1.pas saved", "module Unit1.pas renamed to Main.pas",
                             "module Main.pas renamed to Other.pas", "module Other.pas saved",
                             "editor command 4B53 run by the IDE", "module Other.pas closed"})
        EXPECT_TRUE(Printed(line)) << line;
    EXPECT_EQ(RunScript("save Other.pas\n"), 1);
    EXPECT_EQ(FailureOf([] { host::SessionCommands::Check(Line(2, "keycommand 0x10000")); }),
              "2: \"0x10000\" is no editor command (0 to 65535, or 0x0 to 0xFFFF)");
    EXPECT_EQ(FailureOf([] { host::SessionCommands::Check(Line(3, "keycommand 12 x")); }),
              "3: \"x\" is no editor command (0 to 65535, or 0x0 to 0xFFFF)");
    EXPECT_EQ(errors.str(), "test:1: no open file is called Other.pas\n");
}

}  // namespace
