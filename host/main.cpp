// KorvelHost: the IDE stand-in. It starts the simulated IDE, fills the registry from a
// registry file, and runs a session against it — a script or commands typed at its prompt —
// printing a transcript of what a user of the IDE would see on stdout.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/SessionRunner.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace {

// The arguments after the program name, in UTF-16 on both platforms.
std::vector<host::String> Arguments(int argc, char** argv) {
    std::vector<host::String> arguments;
#ifdef _WIN32
    // argv is in the ANSI code page; the wide command line holds every name exactly.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i) arguments.push_back(rtl::FromWide(wide[i]));
    LocalFree(wide);
#else
    for (int i = 1; i < argc; ++i) arguments.push_back(rtl::FromUtf8(argv[i]));
#endif
    return arguments;
}

bool InputIsTerminal() {
#ifdef _WIN32
    // _isatty also says yes for the NUL device; only a console has a console mode.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

#ifdef _WIN32
BOOL WINAPI IgnoreInterrupt(DWORD event) { return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT; }
#else
void IgnoreInterrupt(int) {}
#endif

// Ctrl+C at the prompt ends the input instead of the process, so that the IDE shuts down as
// it does at the end of the input: packages get Terminate.
void StopReadingOnInterrupt() {
#ifdef _WIN32
    SetConsoleCtrlHandler(IgnoreInterrupt, TRUE);
#else
    struct sigaction interrupt {};
    interrupt.sa_handler = IgnoreInterrupt;  // without SA_RESTART: the pending read fails
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
#endif
}

// Raises SessionError for a script that cannot be read or split into lines.
std::vector<host::SessionLine> ReadScript(const std::filesystem::path& script) {
    if (script == "-") return host::ReadSessionScript(std::cin);
    std::error_code error;
    if (std::filesystem::is_directory(script, error)) throw host::SessionError(u"is a folder, not a session script");
    std::ifstream file(script, std::ios::binary);
    if (!file) throw host::SessionError(u"cannot be read");
    return host::ReadSessionScript(file);
}

// The session loads only the packages its files name: the registry files in order, then the
// packages that register themselves. Reports on stderr and answers false when one cannot be
// used.
bool PrepareRegistry(host::HostSession& session, const host::HostOptions& options) {
    std::filesystem::path current;
    try {
        session.ClearPackages();
        for (const auto& file : options.registries) session.ImportRegistry(current = file);
        for (const auto& library : options.packages) session.RegisterPackage(current = library);
        return true;
    } catch (const std::exception& error) {
        std::cerr << "KorvelHost: " << current.u8string() << ": " << error.what() << '\n';
        return false;
    }
}

// The session's exit status: the script's, and with --strict 1 for every problem the run
// had, each named on stderr once the IDE has shut down.
int Verdict(host::HostSession& session, const host::HostOptions& options, int status) {
    session.ShutDown();
    if (!options.strict) return status;
    const std::vector<host::String> problems = session.Problems();
    for (const host::String& problem : problems) std::cerr << "KorvelHost: strict: " << rtl::ToUtf8(problem) << '\n';
    return problems.empty() ? status : 1;
}

int Run(const host::HostOptions& options) {
    host::Transcript transcript(std::cout, options.json ? host::Transcript::Format::Json : host::Transcript::Format::Text);
    host::HostSession session(transcript);
    if (!PrepareRegistry(session, options)) return 1;
    host::SessionCommands commands(session, transcript, options.loader);
    if (options.interactive) {
        std::cout << "Type \"commands\" for the list of commands; end the input, Ctrl+C or \"shutdown\" to stop.\n";
        commands.SetEcho(false);
        StopReadingOnInterrupt();
        host::RunInteractive(commands, std::cin, std::cout, std::cerr);
        return Verdict(session, options, 0);
    }
    const host::String source = options.script == "-" ? host::String(u"<stdin>") : options.script.u16string();
    std::vector<host::SessionLine> lines;
    try {
        lines = ReadScript(options.script);
    } catch (const host::SessionError& error) {
        std::cerr << "KorvelHost: " << rtl::ToUtf8(source) << ':' << error.Line() << ": " << error.what() << '\n';
        return 1;
    }
    transcript.Line(u"session: " + (options.script == "-" ? source : options.script.filename().u16string()));
    return Verdict(session, options, host::RunScript(commands, lines, source, std::cerr));
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The transcript is UTF-8 with plain line feeds on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    host::HostOptions options;
    try {
        options = host::ParseHostOptions(Arguments(argc, argv), InputIsTerminal());
    } catch (const host::UsageError& error) {
        std::cerr << "KorvelHost: " << error.what() << "\n(--help lists the options)\n";
        return 2;
    }
    if (options.help) {
        std::cout << host::HostUsage() << "\nSession commands:\n" << host::SessionCommands::Summary();
        return 0;
    }
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::cerr << "KorvelHost: " << error.what() << '\n';
        return 1;
    }
}
