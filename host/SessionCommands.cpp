#include "host/SessionCommands.h"

#include <algorithm>

#include "host/IdeScreenshot.h"
#include "host/IdeStatePrinter.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/StdCtrls.h"

namespace host {

struct SessionCommands::Command {
    const char16_t* name;
    const char* form;
    const char* meaning;
    size_t minWords;  // after the command's name
    size_t maxWords;
    void (SessionCommands::*run)(const Words& words);
    // Raises SessionError for words the command cannot take; nil when any will do.
    void (*check)(const Words& words);
};

namespace {

[[noreturn]] void Fail(const String& message) { throw SessionError(message); }

// Ctrl, Shift and Alt in any order before the key's name, joined by "+": "Ctrl+Shift+K".
vcl::TShortCut ParseKeys(const String& text) {
    std::vector<String> parts;
    size_t start = 0;
    for (size_t plus; (plus = text.find(u'+', start)) != String::npos; start = plus + 1)
        parts.push_back(text.substr(start, plus - start));
    parts.push_back(text.substr(start));
    if (parts.back().empty()) Fail(u"\"" + text + u"\" names no key after its modifiers (like Ctrl+Shift+K)");
    vcl::TShortCut modifiers = 0;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const vcl::TShortCut modifier = rtl::SameText(parts[i], u"Ctrl")    ? vcl::scCtrl
                                        : rtl::SameText(parts[i], u"Shift") ? vcl::scShift
                                        : rtl::SameText(parts[i], u"Alt")   ? vcl::scAlt
                                                                            : 0;
        if (!modifier || (modifiers & modifier)) Fail(u"\"" + text + u"\" is no key combination (like Ctrl+Shift+K)");
        modifiers |= modifier;
    }
    const vcl::TShortCut key = vcl::TextToShortCut(parts.back());
    if (!key || (key & ~0xFF)) Fail(u"\"" + parts.back() + u"\" names no key");
    return static_cast<vcl::TShortCut>(modifiers | key);
}

int ParseCoordinate(const String& text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        Fail(u"\"" + text + u"\" is no position on the form (0 to 32767)");
    const int value = std::stoi(rtl::ToUtf8(text));
    if (value > 32767) Fail(u"\"" + text + u"\" is no position on the form (0 to 32767)");
    return value;
}

void CheckKeys(const std::vector<String>& words) { ParseKeys(words[0]); }

// An editor command's number: decimal, or hexadecimal after "0x".
int ParseCommandNumber(const String& text) {
    const bool hex = text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
    const String digits = hex ? text.substr(2) : text;
    const auto isDigit = [hex](char16_t c) {
        return (c >= u'0' && c <= u'9') || (hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')));
    };
    if (digits.empty() || digits.size() > (hex ? 4u : 5u) || !std::all_of(digits.begin(), digits.end(), isDigit))
        Fail(u"\"" + text + u"\" is no editor command (0 to 65535, or 0x0 to 0xFFFF)");
    const int value = std::stoi(rtl::ToUtf8(digits), nullptr, hex ? 16 : 10);
    if (value > 0xFFFF) Fail(u"\"" + text + u"\" is no editor command (0 to 65535, or 0x0 to 0xFFFF)");
    return value;
}

void CheckKeyCommand(const std::vector<String>& words) {
    for (const String& word : words) ParseCommandNumber(word);
}

// An open module by its file name, as the user picks it from the editor's tabs.
sim::Module& OpenModule(sim::SimulatedIde& ide, const String& fileName) {
    const auto module = ide.Editors().FindModule(fileName);
    if (!module) Fail(u"no open file is called " + fileName);
    return *static_cast<sim::Module*>(module.Get());
}

void CheckPosition(const std::vector<String>& words) {
    ParseCoordinate(words[1]);
    ParseCoordinate(words[2]);
}

std::regex Pattern(const String& text) {
    try {
        return std::regex(rtl::ToUtf8(text));
    } catch (const std::regex_error& error) {
        Fail(u"\"" + text + u"\" is no pattern: " + rtl::FromUtf8(error.what()));
    }
}

// "expect [last] [no] WHAT NAME...": the words after the scope and the negation.
struct Expectation {
    bool lastCommand = false;
    bool negated = false;
    std::vector<String> words;
};

Expectation ReadExpectation(const std::vector<String>& words) {
    Expectation expectation;
    auto word = words.begin();
    expectation.lastCommand = word != words.end() && rtl::SameText(*word, u"last");
    if (expectation.lastCommand) ++word;
    expectation.negated = word != words.end() && rtl::SameText(*word, u"no");
    if (expectation.negated) ++word;
    expectation.words.assign(word, words.end());
    return expectation;
}

bool SaysTranscript(const String& what) { return rtl::SameText(what, u"line") || rtl::SameText(what, u"match"); }

void CheckExpect(const std::vector<String>& allWords) {
    const Expectation expectation = ReadExpectation(allWords);
    const std::vector<String>& words = expectation.words;
    const String what = words.empty() ? String() : words[0];
    const size_t names = words.empty() ? 0 : words.size() - 1;
    const bool scopeFits = !expectation.lastCommand || SaysTranscript(what);
    if (scopeFits && rtl::SameText(what, u"match") && names == 1) {
        Pattern(words[1]);
        return;
    }
    if (scopeFits && (rtl::SameText(what, u"line") || rtl::SameText(what, u"menu") || rtl::SameText(what, u"toolbar")) &&
        names == 1)
        return;
    if (scopeFits && rtl::SameText(what, u"control") && names == 2) return;
    if (scopeFits && rtl::SameText(what, u"window") && (names == 1 || names == 2)) return;
    Fail(u"expect what? (expect [last] [no] line TEXT, expect [last] [no] match PATTERN, expect [no] menu FULLNAME, "
         u"expect [no] toolbar NAME, expect [no] control TOOLBAR NAME, expect [no] window CLASS [CAPTION])");
}

void CheckShow(const std::vector<String>& words) {
    const String& what = words[0];
    const size_t names = words.size() - 1;
    if (rtl::SameText(what, u"menu") && names <= 1) return;
    if (rtl::SameText(what, u"toolbars") && names == 0) return;
    if (rtl::SameText(what, u"toolbar") && names == 1) return;
    if (rtl::SameText(what, u"windows") && names == 0) return;
    if (rtl::SameText(what, u"tabs") && names == 0) return;
    if (rtl::SameText(what, u"tools") && names == 0) return;
    if (rtl::SameText(what, u"modules") && names == 0) return;
    Fail(u"show what? (show menu [FULLNAME], show toolbars, show toolbar NAME, show windows, show tabs, show tools, "
         u"show modules)");
}

void CheckPoint(const std::vector<String>& words) {
    ParseCoordinate(words[0]);
    ParseCoordinate(words[1]);
}

void CheckToolAction(const std::vector<String>& words) {
    for (const char16_t* action : {u"dock", u"float", u"show", u"close", u"destroy", u"click"})
        if (rtl::SameText(words[0], action)) return;
    Fail(u"tool what? (dock, float, show, close, destroy or click)");
}

sim::GradientTabSet& EditorTabs(sim::SimulatedIde& ide) {
    sim::GradientTabSet* tabs = ide.Editors().TabSet();
    if (!tabs) Fail(u"no edit window with tabs is open");
    return *tabs;
}

// Backslash-separated component names from the top of the main menu, as packages name them;
// nil when there is none.
vcl::TMenuItem* MenuItemOrNil(vcl::TMenuItem* root, const String& fullName) {
    vcl::TMenuItem* item = root;
    size_t start = !fullName.empty() && fullName[0] == u'\\' ? 1 : 0;
    for (;;) {
        const size_t separator = fullName.find(u'\\', start);
        item = item->FindChildByName(fullName.substr(start, separator == String::npos ? String::npos : separator - start));
        if (!item || separator == String::npos) return item;
        start = separator + 1;
    }
}

vcl::TMenuItem* FindMenuItem(vcl::TMenuItem* root, const String& fullName) {
    vcl::TMenuItem* item = MenuItemOrNil(root, fullName);
    if (!item) Fail(u"the main menu has no item " + fullName);
    return item;
}

vcl::TMainMenu& MainMenu(sim::SimulatedIde& ide) {
    vcl::TMainMenu* menu = ide.Services().GetMainMenu();
    if (!menu) Fail(u"the IDE has no main menu");
    return *menu;
}

vcl::TToolBar& FindToolBar(sim::SimulatedIde& ide, const String& name) {
    vcl::TToolBar* toolBar = ide.Services().ToolBars().Find(name);
    if (!toolBar) Fail(u"the IDE has no toolbar " + name);
    return *toolBar;
}

// The control must be one a user can reach: shown and enabled.
template <class Control>
Control& FindControl(vcl::TToolBar& toolBar, const String& name, const char16_t* kind) {
    for (int i = 0; i < toolBar.ButtonCount(); ++i) {
        vcl::TControl* control = toolBar.Buttons(i);
        if (!rtl::SameText(control->Name(), name)) continue;
        auto* found = dynamic_cast<Control*>(control);
        if (!found) Fail(name + u" on toolbar " + toolBar.Name() + u" is no " + kind);
        if (!toolBar.Visible() || !found->Visible()) Fail(name + u" on toolbar " + toolBar.Name() + u" is hidden");
        if (!found->Enabled()) Fail(name + u" on toolbar " + toolBar.Name() + u" is disabled");
        return *found;
    }
    Fail(u"toolbar " + toolBar.Name() + u" has no " + kind + u" " + name);
}

void CheckSize(const std::vector<String>& words) {
    for (const String& word : words)
        if (ParseCoordinate(word) == 0) Fail(u"the editor needs a size of at least 1x1");
}

vcl::TCustomForm& EditWindowForm(sim::SimulatedIde& ide) {
    vcl::TCustomForm* form = ide.Editors().EditWindowForm();
    if (!form) Fail(u"no edit window is open");
    return *form;
}

int IndexOfItem(const vcl::TComboBox& comboBox, const String& item) {
    for (int i = 0; i < comboBox.ItemCount(); ++i)
        if (comboBox.Items(i) == item) return i;
    Fail(u"combo box " + comboBox.Name() + u" has no item \"" + item + u"\"");
}

}  // namespace

const std::vector<SessionCommands::Command>& SessionCommands::Commands() {
    static const std::vector<Command> commands{
        {u"start", "start", "start-up: the loader's entry runs, then the IDE loads its toolbars", 0, 0,
         &SessionCommands::Start, nullptr},
        {u"menu", "menu FULLNAME", "click a main menu item, named like ToolsMenu\\ToolsOptionsItem", 1, 1,
         &SessionCommands::ClickMenu, nullptr},
        {u"button", "button TOOLBAR BUTTON", "click a toolbar button", 2, 2, &SessionCommands::ClickButton, nullptr},
        {u"type", "type TOOLBAR COMBOBOX TEXT", "type text into a toolbar combo box", 3, 3, &SessionCommands::TypeText,
         nullptr},
        {u"pick", "pick TOOLBAR COMBOBOX ITEM", "pick an item from a toolbar combo box's list", 3, 3,
         &SessionCommands::PickItem, nullptr},
        {u"press", "press KEYS", "press a key combination in the IDE, like Ctrl+Shift+K", 1, 1,
         &SessionCommands::PressKeys, &CheckKeys},
        {u"insert", "insert CLASS X Y", "drop a component of a palette class on the form designer at X,Y", 3, 3,
         &SessionCommands::InsertComponent, &CheckPosition},
        {u"help", "help KEYWORD", "ask the IDE's help for a keyword", 1, 1, &SessionCommands::AskForHelp, nullptr},
        {u"show", "show WHAT [NAME]",
         "print the open modules (show modules), or "
         "print the main menu (show menu [FULLNAME]), the toolbars (show toolbars), one toolbar (show toolbar NAME), "
         "the edit window's windows and the tool windows (show windows), the editor tabs (show tabs) or the tool windows and the Object "
         "Inspector (show tools)",
         1, 2,
         &SessionCommands::Show, &CheckShow},
        {u"open", "open FILE", "open a source file in the editor, or bring it to the front", 1, 1,
         &SessionCommands::OpenFile, nullptr},
        {u"close", "close FILE", "close a source file", 1, 1, &SessionCommands::CloseFile, nullptr},
        {u"read", "read FILESYSTEM FILE", "open a file that lives in a package's file system, read through it", 2, 2,
         &SessionCommands::ReadFile, nullptr},
        {u"edit", "edit FILE TEXT", "type text into an open source file", 2, 2, &SessionCommands::EditFile, nullptr},
        {u"save", "save FILE", "save an open source file", 1, 1, &SessionCommands::SaveFile, nullptr},
        {u"saveas", "saveas FILE NEWNAME", "save an open source file under a new name", 2, 2,
         &SessionCommands::SaveFileAs, nullptr},
        {u"rename", "rename FILE NEWNAME", "rename an open source file's module", 2, 2, &SessionCommands::RenameFile,
         nullptr},
        {u"keycommand", "keycommand COMMAND [PARAM]", "send an editor key command (decimal or 0x hex) to the editor",
         1, 2, &SessionCommands::SendKeyCommand, &CheckKeyCommand},
        {u"closeeditor", "closeeditor", "close the edit window with everything in it", 0, 0,
         &SessionCommands::CloseEditWindow, nullptr},
        {u"resize", "resize WIDTH HEIGHT", "resize the edit window", 2, 2, &SessionCommands::ResizeEditor,
         &CheckSize},
        {u"recreate", "recreate", "re-create the window handle of the frame over the editor, as the IDE does", 0, 0,
         &SessionCommands::RecreateFrame, nullptr},
        {u"screenshot", "screenshot FILE.png", "draw the IDE as a user sees it into a PNG file", 1, 1,
         &SessionCommands::Screenshot, nullptr},
        {u"tab", "tab CAPTION", "switch the editor to the tab with that caption", 1, 1, &SessionCommands::SwitchTab,
         nullptr},
        {u"clicktabs", "clicktabs X Y", "press the mouse on the editor's tab set at X,Y", 2, 2,
         &SessionCommands::ClickTabs, &CheckPoint},
        {u"tool", "tool dock|float|show|close|destroy|click SECTION",
         "dock, float, show, hide (close), close for good (destroy: the IDE frees the form) or click into a tool "
         "window, named by its desk section", 2, 2,
         &SessionCommands::UseToolWindow, &CheckToolAction},
        {u"expect", "expect [last] [no] WHAT NAME...",
         "fail unless the transcript has a line (expect line TEXT, expect match PATTERN), with last among what the "
         "command before printed, or the IDE has an item (expect menu FULLNAME, expect toolbar NAME, expect control "
         "TOOLBAR NAME) or the edit window a window (expect window CLASS [CAPTION], as show windows prints them); "
         "with no, fail if it has",
         2, 5, &SessionCommands::Expect, &CheckExpect},
        {u"shutdown", "shutdown", "shut the IDE down: packages terminate; the session ends", 0, 0,
         &SessionCommands::ShutDownIde, nullptr},
        {u"commands", "commands", "list these commands", 0, 0, &SessionCommands::ListCommands, nullptr},
    };
    return commands;
}

SessionCommands::SessionCommands(HostSession& session, Transcript& transcript, std::filesystem::path loader)
    : session_(session), transcript_(transcript), loader_(std::move(loader)) {}

const SessionCommands::Command& SessionCommands::CommandOf(const SessionLine& line) {
    for (const Command& command : Commands())
        if (!line.words.empty() && rtl::SameText(line.words[0], command.name)) return command;
    throw SessionError(u"unknown command \"" + (line.words.empty() ? String() : line.words[0]) +
                           u"\" (\"commands\" lists them)",
                       line.number);
}

void SessionCommands::Check(const SessionLine& line) { CheckedCommand(line); }

const SessionCommands::Command& SessionCommands::CheckedCommand(const SessionLine& line) {
    const Command& command = CommandOf(line);
    const Words words(line.words.begin() + 1, line.words.end());
    try {
        if (words.size() < command.minWords || words.size() > command.maxWords)
            Fail(u"usage: " + rtl::FromUtf8(command.form));
        if (command.check) command.check(words);
    } catch (const SessionError& error) {
        throw SessionError(rtl::FromUtf8(error.what()), line.number);
    }
    return command;
}

void SessionCommands::Run(const SessionLine& line) {
    const Command& command = CheckedCommand(line);
    try {
        if (shutDown_) Fail(u"the IDE has shut down");
        const bool expectation = command.run == &SessionCommands::Expect;
        if (echo_) {
            TranscriptEvent echo;
            echo.kind = expectation ? u"expect" : u"command";
            echo.text = u"> " + line.text;
            transcript_.Write(echo);
        }
        if (!expectation) lastCommandOutput_ = transcript_.Lines().size();
        (this->*command.run)(Words(line.words.begin() + 1, line.words.end()));
    } catch (const SessionError& error) {
        throw SessionError(rtl::FromUtf8(error.what()), line.number);
    } catch (const rtl::Exception& error) {
        throw SessionError(error.Message(), line.number);
    } catch (const std::exception& error) {
        throw SessionError(rtl::FromUtf8(error.what()), line.number);
    }
}

std::string SessionCommands::Summary() {
    size_t width = 0;
    for (const Command& command : Commands()) width = std::max(width, std::string(command.form).size());
    std::string text;
    for (const Command& command : Commands()) {
        std::string form = command.form;
        form.resize(width, ' ');
        text += "  " + form + "  " + command.meaning + "\n";
    }
    return text;
}

void SessionCommands::Start(const Words&) {
    if (started_) Fail(u"the IDE has started already");
    started_ = true;
    session_.StartWizard(loader_);
    session_.LoadToolbars();
    session_.ReportStartUp();
}

void SessionCommands::ClickMenu(const Words& words) {
    vcl::TMenuItem* item = FindMenuItem(MainMenu(session_.Ide()).Items(), words[0]);
    if (item->Count() > 0) Fail(words[0] + u" opens a submenu; name one of its items");
    if (item->IsLine()) Fail(words[0] + u" is a separator line");
    if (!item->Visible()) Fail(words[0] + u" is hidden");
    if (!item->Enabled()) Fail(words[0] + u" is disabled");
    item->Click();
}

void SessionCommands::ClickButton(const Words& words) {
    FindControl<vcl::TToolButton>(FindToolBar(session_.Ide(), words[0]), words[1], u"button").Click();
}

void SessionCommands::TypeText(const Words& words) {
    auto& comboBox = FindControl<vcl::TComboBox>(FindToolBar(session_.Ide(), words[0]), words[1], u"combo box");
    if (comboBox.Style() != vcl::TComboBoxStyle::csDropDown)
        Fail(u"combo box " + comboBox.Name() + u" takes no typed text; pick one of its items");
    comboBox.UserTypes(words[2]);
}

void SessionCommands::PickItem(const Words& words) {
    auto& comboBox = FindControl<vcl::TComboBox>(FindToolBar(session_.Ide(), words[0]), words[1], u"combo box");
    comboBox.UserPicks(IndexOfItem(comboBox, words[2]));
}

void SessionCommands::PressKeys(const Words& words) { session_.Ide().PressKey(ParseKeys(words[0])); }

void SessionCommands::InsertComponent(const Words& words) {
    const String& className = words[0];
    if (!vcl::GetClass(className)) Fail(u"the palette has no component class " + className);
    const POINT drop{ParseCoordinate(words[1]), ParseCoordinate(words[2])};
    if (!designer_) designer_ = &session_.Ide().Designers().Open();
    const vcl::TComponent* component = designer_->InsertComponent(className, drop);
    if (!component) {
        transcript_.Line(className + u" was destroyed while it was inserted");
        return;
    }
    // Left and top are signed 16-bit words.
    const auto designInfo = static_cast<uint32_t>(component->DesignInfo);
    transcript_.Line(u"inserted " + className + u" at " + rtl::IntToStr(static_cast<int16_t>(designInfo & 0xFFFF)) +
                     u"," + rtl::IntToStr(static_cast<int16_t>(designInfo >> 16)));
}

void SessionCommands::AskForHelp(const Words& words) { session_.Ide().Application().HelpKeyword(words[0]); }

void SessionCommands::PrintToolWindows(sim::SimulatedIde& ide) {
    for (ide::TDockableForm* form : ide::TDockableForm::Forms()) PrintToolWindow(transcript_, *form);
    if (vcl::TCustomForm* inspector = ide.ObjectInspectorForm()) PrintObjectInspector(transcript_, *inspector);
}

void SessionCommands::Show(const Words& words) {
    sim::SimulatedIde& ide = session_.Ide();
    if (rtl::SameText(words[0], u"modules")) {
        PrintModules(transcript_, ide.Editors());
    } else if (rtl::SameText(words[0], u"menu")) {
        vcl::TMenuItem* root = MainMenu(ide).Items();
        PrintMenuTree(transcript_, words.size() > 1 ? *FindMenuItem(root, words[1]) : *root);
    } else if (rtl::SameText(words[0], u"toolbar")) {
        PrintToolBar(transcript_, FindToolBar(ide, words[1]));
    } else if (rtl::SameText(words[0], u"windows")) {
        PrintWindowTree(transcript_, EditWindowForm(ide));
        PrintToolWindows(ide);
    } else if (rtl::SameText(words[0], u"tabs")) {
        PrintTabs(transcript_, EditorTabs(ide));
    } else if (rtl::SameText(words[0], u"tools")) {
        PrintToolWindows(ide);
    } else {
        for (const vcl::TToolBar* toolBar : ide.Services().ToolBars().ToolBars()) PrintToolBar(transcript_, *toolBar);
    }
}

void SessionCommands::OpenFile(const Words& words) { session_.Ide().Editors().OpenFile(words[0]); }

// What kept the file from being read is the IDE's to say, in the transcript.
void SessionCommands::ReadFile(const Words& words) { session_.Ide().Editors().OpenFromFileSystem(words[0], words[1]); }

void SessionCommands::EditFile(const Words& words) {
    sim::Module& module = OpenModule(session_.Ide(), words[0]);
    module.Show();
    module.Source().Type(words[1]);
}

void SessionCommands::SaveFile(const Words& words) { OpenModule(session_.Ide(), words[0]).Save(false, true); }

void SessionCommands::SaveFileAs(const Words& words) { OpenModule(session_.Ide(), words[0]).SaveAs(words[1]); }

void SessionCommands::RenameFile(const Words& words) { OpenModule(session_.Ide(), words[0]).SetFileName(words[1]); }

void SessionCommands::SendKeyCommand(const Words& words) {
    session_.Ide().Editors().SendEditorCommand(ParseCommandNumber(words[0]),
                                               words.size() > 1 ? ParseCommandNumber(words[1]) : 0);
}

void SessionCommands::CloseFile(const Words& words) {
    if (!session_.Ide().Editors().CloseFile(words[0])) Fail(u"no open file is called " + words[0]);
}

void SessionCommands::CloseEditWindow(const Words&) {
    EditWindowForm(session_.Ide());
    session_.Ide().Editors().CloseEditWindow();
}

void SessionCommands::ResizeEditor(const Words& words) {
    vcl::TCustomForm& form = EditWindowForm(session_.Ide());
    form.SetBounds(form.Left(), form.Top(), ParseCoordinate(words[0]), ParseCoordinate(words[1]));
}

void SessionCommands::RecreateFrame(const Words&) {
    vcl::TWinControl* frame = FindByClassName(EditWindowForm(session_.Ide()), u"TKorvelFrame");
    if (!frame) Fail(u"no frame lies over the editor");
    frame->RecreateWnd();
}

SessionCommands::Finding SessionCommands::IdeHas(const Words& words) {
    const String& what = words[0];
    sim::SimulatedIde& ide = session_.Ide();
    if (rtl::SameText(what, u"menu"))
        return {MenuItemOrNil(MainMenu(ide).Items(), words[1]) != nullptr, u"the main menu has an item " + words[1],
                u"the main menu has no item " + words[1]};
    if (rtl::SameText(what, u"toolbar"))
        return {ide.Services().ToolBars().Find(words[1]) != nullptr, u"the IDE has a toolbar " + words[1],
                u"the IDE has no toolbar " + words[1]};
    if (rtl::SameText(what, u"control")) {
        vcl::TToolBar& toolBar = FindToolBar(ide, words[1]);
        bool found = false;
        for (int i = 0; i < toolBar.ButtonCount() && !found; ++i) found = rtl::SameText(toolBar.Buttons(i)->Name(), words[2]);
        return {found, u"toolbar " + words[1] + u" has a control " + words[2],
                u"toolbar " + words[1] + u" has no control " + words[2]};
    }
    const String* caption = words.size() > 2 ? &words[2] : nullptr;
    const String window = words[1] + (caption ? u" " + Quoted(*caption) : String());
    return {WindowTreeHas(EditWindowForm(ide), words[1], caption), u"the edit window has a window " + window,
            u"the edit window has no window " + window};
}

SessionCommands::Finding SessionCommands::TranscriptHas(const Words& words, bool lastCommand) const {
    const std::vector<Transcript::KeptLine>& lines = transcript_.Lines();
    const bool pattern = rtl::SameText(words[0], u"match");
    const std::regex expected = pattern ? Pattern(words[1]) : std::regex();
    const String where = lastCommand ? u" of the last command" : u"";
    // Expectations are not what the IDE did: their own lines never count.
    for (size_t i = lastCommand ? lastCommandOutput_ : 0; i < lines.size(); ++i) {
        if (lines[i].kind == u"expect") continue;
        if (pattern ? std::regex_search(rtl::ToUtf8(lines[i].text), expected) : lines[i].text == words[1])
            return {true, u"a transcript line" + where + u" is " + Quoted(lines[i].text), String()};
    }
    return {false, String(), u"no transcript line" + where + (pattern ? u" matches " : u" is ") + Quoted(words[1])};
}

void SessionCommands::Expect(const Words& allWords) {
    const Expectation expectation = ReadExpectation(allWords);
    const Words& words = expectation.words;
    const Finding finding =
        SaysTranscript(words[0]) ? TranscriptHas(words, expectation.lastCommand) : IdeHas(words);
    if (finding.holds == expectation.negated) Fail(finding.holds ? finding.present : finding.absent);
}

void SessionCommands::SwitchTab(const Words& words) {
    sim::GradientTabSet& tabs = EditorTabs(session_.Ide());
    for (int index = 0; index < tabs.Items().Count(); ++index)
        if (rtl::SameText(tabs.Items().Strings(index), words[0])) return tabs.SelectTab(index);
    Fail(u"no editor tab is called " + words[0]);
}

void SessionCommands::ClickTabs(const Words& words) {
    EditorTabs(session_.Ide()).MouseDown(vcl::TMouseButton::mbLeft, 0, ParseCoordinate(words[0]), ParseCoordinate(words[1]));
}

void SessionCommands::UseToolWindow(const Words& words) {
    ide::TDockableForm* form = sim::ToolWindowDesktop::Find(words[1]);
    if (!form) Fail(u"no tool window has the desk section " + words[1]);
    sim::ToolWindowDesktop& desktop = session_.Ide().Desktop();
    const String& action = words[0];
    if (rtl::SameText(action, u"dock")) desktop.Dock(*form);
    else if (rtl::SameText(action, u"float")) desktop.Float(*form);
    else if (rtl::SameText(action, u"show")) desktop.FocusWindow(form);
    else if (rtl::SameText(action, u"close")) form->Close();
    else if (rtl::SameText(action, u"destroy")) sim::ToolWindowDesktop::Destroy(form);
    else form->MouseActivate(1, 1);
}

void SessionCommands::Screenshot(const Words& words) {
    // Builds without pictures say so on a line of the same form, which transcript comparisons
    // leave out.
    if (!ScreenshotAvailable()) {
        transcript_.Line(u"screenshot: not available in this build");
        return;
    }
    SaveScreenshot(session_.Ide(), std::filesystem::path(rtl::ToUtf8(words[0])));
    transcript_.Line(u"screenshot: saved " + words[0]);
}

void SessionCommands::ShutDownIde(const Words&) {
    session_.ShutDown();
    shutDown_ = true;
}

void SessionCommands::ListCommands(const Words&) {
    const std::string summary = Summary();
    transcript_.Line(rtl::FromUtf8(summary.substr(0, summary.size() - 1)));
}

}  // namespace host
