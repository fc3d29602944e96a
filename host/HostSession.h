// One run of the IDE stand-in: the simulated IDE, the registry it is given, the wizard it
// loads, and the transcript of what happens. Each step is a call of its own, so that a
// script can drive the session one command at a time.
#pragma once

#include <filesystem>
#include <memory>

#include "host/PackageTracePrinter.h"
#include "host/Transcript.h"
#include "host/WizardLibrary.h"
#include "sim/SimulatedIde.h"

namespace host {

class HostSession {
public:
    explicit HostSession(Transcript& transcript);
    // Shuts the wizard down if that has not happened, then closes the IDE.
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Relative server paths in the file are taken from the file's folder. Raises RegFileError
    // or std::runtime_error for a file that cannot be read or written.
    void ImportRegistry(const std::filesystem::path& file);
    // Registers a package library for the session through its DllRegisterServer, as regsvr32
    // does; raises HostError when it cannot.
    void RegisterPackage(const std::filesystem::path& library);
    // Empties the loader's package list, so that only what the session registers is loaded
    // (under wine the registry may hold what earlier sessions wrote).
    void ClearPackages();
    // Loads the library and calls its entry, as the IDE does at start-up; the entry's answer.
    bool StartWizard(const std::filesystem::path& library);
    // What the IDE does once its experts are loaded.
    void LoadToolbars();
    // Says which packages start-up left without Initialize, and why.
    void ReportStartUp();
    // Calls the terminate procedure the entry handed back, as the IDE does at shut-down.
    void ShutDown();
    bool WizardEntered() const { return wizard_ != nullptr; }

    sim::SimulatedIde& Ide() { return ide_; }

    // What a strict run fails for, one line each: load failures, failing package steps,
    // packages never initialized, designer errors, package objects still referenced after
    // shut-down. Complete once the session has shut down.
    std::vector<String> Problems() const;

private:
    String NotInitializedReason() const;
    void CheckReleased();
    void ReportLeak(const String& problem);

    Transcript& transcript_;
    sim::SimulatedIde ide_;
    PackageTracePrinter trace_;
    std::unique_ptr<WizardLibrary> wizard_;
    bool toolbarsLoaded_ = false;
    std::vector<String> problems_;  // found by the session itself, beside the package trace's
    // The system's objects made before the session are not its packages' doing.
    const uint64_t firstObject_;
};

}  // namespace host
