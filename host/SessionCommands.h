// The commands of a session, each one thing a user does in the IDE: start it, click, type,
// pick, press keys, drop a component on a form, ask for help, work on source files, look at
// the menus and toolbars, shut it down. Every command finds all it names before it acts, so that a line which fails
// has changed nothing.
#pragma once

#include <filesystem>
#include <regex>
#include <string>

#include "host/HostSession.h"
#include "host/SessionScript.h"

namespace host {

class SessionCommands {
public:
    // `loader` is the library that start-up loads.
    SessionCommands(HostSession& session, Transcript& transcript, std::filesystem::path loader);

    // Raises SessionError, with the line, for an unknown command or arguments it cannot take.
    static void Check(const SessionLine& line);
    // Checks the line, then runs it. Raises SessionError, with the line, when it names
    // something the IDE does not have or asks what the IDE cannot do now.
    void Run(const SessionLine& line);
    // Whether each command goes on the transcript before it runs; at the prompt the user's
    // own typing shows it already.
    void SetEcho(bool echo) { echo_ = echo; }
    // After shut-down nothing more can be done.
    bool ShutDown() const { return shutDown_; }

    // One line per command: its form and what it does.
    static std::string Summary();

private:
    struct Command;
    using Words = std::vector<String>;
    static const std::vector<Command>& Commands();
    static const Command& CommandOf(const SessionLine& line);
    // The line's command once its words have passed the command's checks.
    static const Command& CheckedCommand(const SessionLine& line);

    void Start(const Words& words);
    void ClickMenu(const Words& words);
    void ClickButton(const Words& words);
    void TypeText(const Words& words);
    void PickItem(const Words& words);
    void PressKeys(const Words& words);
    void InsertComponent(const Words& words);
    void AskForHelp(const Words& words);
    void Show(const Words& words);
    void PrintToolWindows(sim::SimulatedIde& ide);
    void OpenFile(const Words& words);
    void ReadFile(const Words& words);
    void EditFile(const Words& words);
    void SaveFile(const Words& words);
    void SaveFileAs(const Words& words);
    void RenameFile(const Words& words);
    void CloseFile(const Words& words);
    void SendKeyCommand(const Words& words);
    void CloseEditWindow(const Words& words);
    void ResizeEditor(const Words& words);
    void RecreateFrame(const Words& words);
    void SwitchTab(const Words& words);
    void ClickTabs(const Words& words);
    void UseToolWindow(const Words& words);
    void Screenshot(const Words& words);
    void ShutDownIde(const Words& words);
    void Expect(const Words& words);
    // Whether an expected thing is there, and what to say when that was not expected (present)
    // or when it is missing (absent).
    struct Finding {
        bool holds;
        String present;
        String absent;
    };
    Finding IdeHas(const Words& words);
    Finding TranscriptHas(const Words& words, bool lastCommand) const;
    void ListCommands(const Words& words);

    HostSession& session_;
    Transcript& transcript_;
    std::filesystem::path loader_;
    bool started_ = false;
    bool shutDown_ = false;
    bool echo_ = true;
    // Where the output of the last command other than an expectation begins in the transcript.
    size_t lastCommandOutput_ = 0;
    sim::FormDesigner* designer_ = nullptr;  // opened at the first drop; the IDE keeps it open
};

}  // namespace host
