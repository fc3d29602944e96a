// The host's command line, and where its files are found when the command line names none.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/rtl/Text.h"

namespace host {

using rtl::String;

struct HostOptions {
    std::filesystem::path registry;
    std::filesystem::path loader;
    // "-" is standard input; empty when the session is typed at the prompt.
    std::filesystem::path script;
    bool interactive = false;
    bool help = false;
};

// An unknown option or one without its value.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the program name. Files not named on the command line are the defaults;
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
