// Puts the loader's package events, and every call into package code that raised, faulted or
// (for an event) answered a failure, on the transcript for as long as it lives, and keeps what
// a strict run judges: every such failure, and which packages never became initialized.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "host/Transcript.h"
#include "platform/rtl/LoaderTrace.h"

namespace host {

class PackageTracePrinter {
public:
    explicit PackageTracePrinter(Transcript& transcript);
    ~PackageTracePrinter();
    PackageTracePrinter(const PackageTracePrinter&) = delete;
    PackageTracePrinter& operator=(const PackageTracePrinter&) = delete;

    // One line each: a package that failed to load, answered a step with a failure, or whose
    // call raised, faulted or answered an event with a failure.
    const std::vector<String>& Failures() const { return failures_; }
    // Sited packages that have not been initialized (yet).
    std::vector<String> NotInitialized() const;
    // The server files of every package created so far.
    const std::set<String>& ServerFiles() const { return serverFiles_; }

private:
    struct Package {
        String name;
        String id;
        bool sited = false;
        bool initialized = false;
        // Kept until its address is used again: its final release comes after Terminate.
        bool terminated = false;
    };

    void Print(const rtl::PackageEvent& event);
    void PrintCall(const rtl::PackageCallReport& report);
    void PrintStep(const rtl::PackageEvent& event, const char16_t* step);
    // A transcript event of `kind` with the package's name and class identifier: from the
    // event, or, for steps after creation and calls, from the package object alone. `text`
    // is "KIND: "NAME" {ID}", or "KIND: an unknown package".
    TranscriptEvent EventFor(const String& kind, const void* package, const String& name = String(),
                             const String& id = String()) const;

    Transcript& transcript_;
    int found_ = 0;
    std::map<const void*, Package> packages_;
    std::vector<String> failures_;
    std::set<String> serverFiles_;
    rtl::LoaderTraceHook previous_;
    rtl::PackageCallHook previousCallHook_;
};

}  // namespace host
