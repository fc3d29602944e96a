// Puts the loader's package events on the transcript for as long as it lives.
#pragma once

#include <map>

#include "host/Transcript.h"
#include "platform/rtl/LoaderTrace.h"

namespace host {

class PackageTracePrinter {
public:
    explicit PackageTracePrinter(Transcript& transcript);
    ~PackageTracePrinter();
    PackageTracePrinter(const PackageTracePrinter&) = delete;
    PackageTracePrinter& operator=(const PackageTracePrinter&) = delete;

private:
    void Print(const rtl::PackageEvent& event);
    // Steps after creation name the package by its object only.
    String LabelOf(IUnknown* package) const;

    Transcript& transcript_;
    int found_ = 0;
    std::map<IUnknown*, String> labels_;
    rtl::LoaderTraceHook previous_;
};

}  // namespace host
