#include "host/PackageTracePrinter.h"

#include "host/PackageLibraries.h"

namespace host {
namespace {

String Label(const String& name, const String& id) { return Quoted(name) + u" " + id; }

// " failed: 80004005 Unspecified error", or what the call raised or how it faulted; empty for
// success.
String FailureOf(const rtl::PackageEvent& event) {
    switch (event.end) {
        case rtl::PackageCallEnd::Raised: return u" raised: " + event.reason;
        case rtl::PackageCallEnd::Faulted: return u" faulted: " + event.reason + u"; the package's state may be damaged";
        default: return SUCCEEDED(event.result) ? String() : u" failed: " + ResultText(event.result);
    }
}

// The event's kind and the line's start.
const char16_t* CallEnding(rtl::PackageCallEnd end) {
    switch (end) {
        case rtl::PackageCallEnd::Raised: return u"package call raised";
        case rtl::PackageCallEnd::Faulted: return u"package call faulted";
        default: return u"package call failed";
    }
}

String WhatHappened(const rtl::PackageCallReport& report) {
    switch (report.end) {
        case rtl::PackageCallEnd::Raised: return report.text;
        case rtl::PackageCallEnd::Faulted: return report.text + u"; the package's state may be damaged";
        default: return ResultText(report.result);
    }
}

// The method of IBdsPackage that each step calls.
const char16_t* MethodOf(rtl::PackageStep step) {
    switch (step) {
        case rtl::PackageStep::Sited: return u"SetSite";
        case rtl::PackageStep::Initialized: return u"Initialize";
        case rtl::PackageStep::Terminated: return u"Terminate";
        default: return u"";
    }
}

}  // namespace

PackageTracePrinter::PackageTracePrinter(Transcript& transcript)
    : transcript_(transcript),
      previous_(rtl::SetLoaderTraceHook([this](const rtl::PackageEvent& event) { Print(event); })),
      previousCallHook_(rtl::SetPackageCallHook([this](const rtl::PackageCallReport& report) { PrintCall(report); })) {}

PackageTracePrinter::~PackageTracePrinter() {
    rtl::SetPackageCallHook(std::move(previousCallHook_));
    rtl::SetLoaderTraceHook(std::move(previous_));
}

std::vector<String> PackageTracePrinter::NotInitialized() const {
    std::vector<String> labels;
    for (const auto& entry : packages_)
        if (entry.second.sited && !entry.second.initialized && !entry.second.terminated)
            labels.push_back(Label(entry.second.name, entry.second.id));
    return labels;
}

TranscriptEvent PackageTracePrinter::EventFor(const String& kind, const void* package, const String& name,
                                              const String& id) const {
    TranscriptEvent written;
    written.kind = kind;
    written.package = name;
    written.classId = id;
    const auto found = package ? packages_.find(package) : packages_.end();
    if (found != packages_.end()) {
        written.package = found->second.name;
        written.classId = found->second.id;
    }
    written.text = kind + u": " +
                   (written.classId.empty() ? String(u"an unknown package") : Label(written.package, written.classId));
    return written;
}

// "package call faulted: "Crash" {...}: IBdsToolBarControlEvents.OnExecute: Access violation ...".
void PackageTracePrinter::PrintCall(const rtl::PackageCallReport& report) {
    TranscriptEvent written = EventFor(CallEnding(report.end), report.package);
    if (!report.package && !report.objectModule.empty()) written.text = String(CallEnding(report.end)) + u": an object of " + report.objectModule;
    written.object = rtl::FromUtf8(report.method.interfaceName);
    written.method = rtl::FromUtf8(report.method.name);
    if (report.end == rtl::PackageCallEnd::Returned) written.result = report.result;
    written.resultText = WhatHappened(report);
    written.text += u": " + written.object + u"." + written.method + u": " + written.resultText;
    transcript_.Write(written);
    failures_.push_back(written.text);
}

void PackageTracePrinter::PrintStep(const rtl::PackageEvent& event, const char16_t* step) {
    TranscriptEvent written = EventFor(step, event.package);
    written.object = u"IBdsPackage";
    written.method = MethodOf(event.step);
    written.took = event.took;
    const String failure = FailureOf(event);
    if (event.end == rtl::PackageCallEnd::Returned) {
        written.result = event.result;
        written.resultText = ResultText(event.result);
    } else {
        written.resultText = event.reason;
    }
    written.text += failure;
    transcript_.Write(written);
    if (!failure.empty()) failures_.push_back(written.text);
}

void PackageTracePrinter::Print(const rtl::PackageEvent& event) {
    switch (event.step) {
        case rtl::PackageStep::Found: {
            TranscriptEvent written = EventFor(u"found", nullptr, event.name, event.id);
            written.text = u"found " + rtl::IntToStr(++found_) + u": " + Label(event.name, event.id) + u", LoadOrder " +
                           rtl::IntToStr(event.loadOrder);
            transcript_.Write(written);
            break;
        }
        case rtl::PackageStep::Created: {
            packages_[event.package] = Package{event.name, event.id};
            ObserveMessageBoxes(event.package);
            const String server = RegisteredServer(event.id);
            if (!server.empty()) serverFiles_.insert(server);
            TranscriptEvent written = EventFor(u"created", event.package);
            written.took = event.took;
            transcript_.Write(written);
            break;
        }
        case rtl::PackageStep::CreationFailed: {
            TranscriptEvent written = EventFor(u"creation failed", nullptr, event.name, event.id);
            written.text += u": " + event.reason;
            written.resultText = event.reason;
            written.took = event.took;
            transcript_.Write(written);
            transcript_.Line(u"  " + ServerDiagnosis(event.id));
            failures_.push_back(written.text);
            break;
        }
        case rtl::PackageStep::Sited:
            if (packages_.count(event.package)) packages_[event.package].sited = true;
            PrintStep(event, u"sited");
            break;
        case rtl::PackageStep::Initialized:
            if (packages_.count(event.package)) packages_[event.package].initialized = true;
            PrintStep(event, u"initialized");
            break;
        case rtl::PackageStep::Terminated:
            if (packages_.count(event.package)) packages_[event.package].terminated = true;
            PrintStep(event, u"terminated");
            break;
    }
}

}  // namespace host
