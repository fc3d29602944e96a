// Puts the loader's package events on the transcript for as long as it lives, and keeps what
// a strict run judges: every failing step, and which packages never became initialized.
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

    // One line each: a package that failed to load, or answered a step with a failure.
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
    };

    void Print(const rtl::PackageEvent& event);
    void PrintStep(const rtl::PackageEvent& event, const char16_t* step);
    // "KIND: "NAME" {ID}" with the package's fields; steps after creation name the package by
    // its object only.
    TranscriptEvent EventFor(const String& kind, const rtl::PackageEvent& event) const;

    Transcript& transcript_;
    int found_ = 0;
    std::map<IUnknown*, Package> packages_;
    std::vector<String> failures_;
    std::set<String> serverFiles_;
    rtl::LoaderTraceHook previous_;
};

}  // namespace host
