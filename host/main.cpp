// KorvelHost: the IDE stand-in. It starts the simulated IDE, fills the registry from a
// registry file, loads the loader through its wizard entry, shuts it down, and prints a
// transcript of what happened on stdout.
#include <cstdio>
#include <iostream>

#include "host/HostOptions.h"
#include "host/HostSession.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
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

int Run(const host::HostOptions& options) {
    host::Transcript transcript(std::cout);
    host::HostSession session(transcript);
    try {
        session.ImportRegistry(options.registry);
    } catch (const std::exception& error) {
        std::cerr << "KorvelHost: " << options.registry.u8string() << ": " << error.what() << '\n';
        return 1;
    }
    const bool tookPart = session.StartWizard(options.loader);
    session.ShutDown();
    return tookPart ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The transcript is UTF-8 with plain line feeds on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    host::HostOptions options;
    try {
        options = host::ParseHostOptions(Arguments(argc, argv));
    } catch (const host::UsageError& error) {
        std::cerr << "KorvelHost: " << error.what() << "\n(--help lists the options)\n";
        return 2;
    }
    if (options.help) {
        std::cout << host::HostUsage();
        return 0;
    }
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::cerr << "KorvelHost: " << error.what() << '\n';
        return 1;
    }
}
