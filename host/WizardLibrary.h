// An expert library as the IDE handles one: loaded, entered once through its wizard entry,
// and told to terminate at shut-down. It is never unloaded: what it made for the IDE (the
// service hub) lives until the process ends.
#pragma once

#include <filesystem>
#include <stdexcept>

#include "platform/ide/ToolsAPI.h"

namespace host {

class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WizardLibrary {
public:
    // Raises HostError when the library or its entry cannot be found.
    explicit WizardLibrary(const std::filesystem::path& file);

    // Calls the entry with the IDE's services object; true when the wizard took part.
    bool Enter();
    // Calls the terminate procedure that the entry handed back, once; false when there is none.
    bool Terminate();

private:
    ide::TWizardInitProc entry_ = nullptr;
    ide::TWizardTerminateProc terminate_ = nullptr;
};

}  // namespace host
