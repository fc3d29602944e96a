// The host's command line, and where its files are found when the command line names none.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/rtl/Text.h"

namespace host {

using rtl::String;

// Every file named is made absolute from the folder the command was run in.
struct HostOptions {
    // Applied in order, each over what the ones before wrote.
    std::vector<std::filesystem::path> registries;
    // Registered for the session through their DllRegisterServer.
    std::vector<std::filesystem::path> packages;
    std::filesystem::path loader;
    // "-" is standard input; empty when the session is typed at the prompt.
    std::filesystem::path script;
    bool interactive = false;
    // Load failures, failing package steps and leaks make the exit status non-zero.
    bool strict = false;
    // The transcript as one JSON object per line.
    bool json = false;
    bool help = false;
};

// An unknown option or one without its value.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the program name. Without --registry and --package the example registry
// file is used; without --loader the loader beside the program.
// without a script the session is typed at the prompt when the input is a terminal, and is the
// example session otherwise.
HostOptions ParseHostOptions(const std::vector<String>& arguments, bool inputIsTerminal);
std::string HostUsage();

// The folder of the running program.
std::filesystem::path ExecutableFolder();
// The example files: in the source tree's examples/ when it is there, else the copies the
// build puts beside the program.
std::filesystem::path DefaultRegistryFile();
std::filesystem::path DefaultSessionFile();
// The loader library beside the program.
std::filesystem::path DefaultLoaderFile();

}  // namespace host
