#include "host/HostOptions.h"

#include <system_error>

namespace host {
namespace {

const String kRegistryOption = u"--registry";
const String kLoaderOption = u"--loader";
const String kScriptOption = u"--script";
const String kPackageOption = u"--package";
const char kRegistryFileName[] = "Sample.reg";
const char kSessionFileName[] = "Sample.session";

std::filesystem::path FromHere(const String& file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(file), error);
    return error ? std::filesystem::path(file) : absolute.lexically_normal();
}

std::filesystem::path ExampleFile(const char* name) {
    std::error_code error;
    // Made absolute, so that under wine the path reads as one of its drives.
    const std::filesystem::path examples =
        std::filesystem::absolute(std::filesystem::u8path(KORVEL_EXAMPLES_DIR) / name, error);
    if (!error && std::filesystem::is_regular_file(examples, error)) return examples;
    return ExecutableFolder() / name;
}

// "--name=value" or "--name value"; false when the argument is another option.
bool TakeOptionValue(const String& option, const std::vector<String>& arguments, size_t& index, String& value) {
    const String& argument = arguments[index];
    if (argument.rfind(option + u"=", 0) == 0) {
        value = argument.substr(option.size() + 1);
    } else if (argument == option) {
        if (index + 1 >= arguments.size()) throw UsageError("option " + rtl::ToUtf8(option) + " needs a file");
        value = arguments[++index];
    } else {
        return false;
    }
    if (value.empty()) throw UsageError("option " + rtl::ToUtf8(option) + " needs a file");
    return true;
}

}  // namespace

HostOptions ParseHostOptions(const std::vector<String>& arguments, bool inputIsTerminal) {
    HostOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        String value;
        if (arguments[i] == u"--help" || arguments[i] == u"-h") {
            options.help = true;
        } else if (arguments[i] == u"--strict") {
            options.strict = true;
        } else if (arguments[i] == u"--json") {
            options.json = true;
        } else if (TakeOptionValue(kRegistryOption, arguments, i, value)) {
            options.registries.push_back(FromHere(value));
        } else if (TakeOptionValue(kPackageOption, arguments, i, value)) {
            options.packages.push_back(FromHere(value));
        } else if (TakeOptionValue(kLoaderOption, arguments, i, value)) {
            options.loader = FromHere(value);
        } else if (TakeOptionValue(kScriptOption, arguments, i, value)) {
            options.script = value == u"-" ? std::filesystem::path(value) : FromHere(value);
        } else {
            throw UsageError("unknown argument '" + rtl::ToUtf8(arguments[i]) + "'");
        }
    }
    if (options.registries.empty() && options.packages.empty()) options.registries.push_back(DefaultRegistryFile());
    if (options.loader.empty()) options.loader = DefaultLoaderFile();
    options.interactive = options.script.empty() && inputIsTerminal;
    if (options.script.empty() && !inputIsTerminal) options.script = DefaultSessionFile();
    return options;
}

std::string HostUsage() {
    return "usage: KorvelHost [--registry FILE]... [--package LIBRARY]... [--loader FILE] [--script FILE|-]\n"
           "                  [--strict] [--json]\n"
           "\n"
           "Runs an IDE session without the IDE: starts the simulated IDE, writes the registry\n"
           "file into its registry, and runs the session's commands; \"start\" loads the loader\n"
           "library through INITWIZARD0001. Prints what a user of the IDE would see. Without\n"
           "--script the commands are typed at a prompt when the input is a terminal, and the\n"
           "example session runs otherwise. A failing command stops a script with its line\n"
           "number and exit status 1, after the IDE has shut down. Relative paths here are taken\n"
           "from the current folder, those in a registry file's InprocServer32 values from the\n"
           "file's folder. Only the packages that the files and libraries given name are loaded.\n"
           "\n"
           "  --registry FILE  a file in the registry editor's format; several apply in order\n"
           "                   (default, without --package: " +
           DefaultRegistryFile().u8string() +
           ")\n"
           "  --package LIB    register a package library for the session through its\n"
           "                   DllRegisterServer, as regsvr32 does (repeatable)\n"
           "  --loader FILE    the loader library (default: " +
           DefaultLoaderFile().u8string() +
           ")\n"
           "  --script FILE    the session's commands, - for standard input (default: " +
           DefaultSessionFile().u8string() +
           ")\n"
           "  --strict         exit status 1 when a package fails to load, SetSite, Initialize\n"
           "                   or Terminate fail, raise or fault, a package's sink, handler or\n"
           "                   notifier answers a failure, raises or faults, a package is never\n"
           "                   initialized, the designer reports an error, or objects of a\n"
           "                   package or of the IDE are still referenced after shut-down; one\n"
           "                   line on stderr for each\n"
           "  --json           the transcript for tools: one JSON object per event with its\n"
           "                   fields: event, text, and as known package, classId, object,\n"
           "                   method, result, resultText, ms (how long), at (ms since start)\n"
           "  --help           this text\n";
}

std::filesystem::path ExecutableFolder() {
    std::vector<WCHAR> buffer(1024);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::filesystem::current_path();
        if (length < buffer.size()) return std::filesystem::path(rtl::FromWide(buffer.data(), length)).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}

std::filesystem::path DefaultRegistryFile() { return ExampleFile(kRegistryFileName); }
std::filesystem::path DefaultSessionFile() { return ExampleFile(kSessionFileName); }

std::filesystem::path DefaultLoaderFile() { return ExecutableFolder() / std::filesystem::u8path(KORVEL_LOADER_FILE_NAME); }

}  // namespace host
