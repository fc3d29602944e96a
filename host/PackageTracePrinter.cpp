#include "host/PackageTracePrinter.h"

#include "host/PackageLibraries.h"

namespace host {
namespace {

String Label(const rtl::PackageEvent& event) { return Quoted(event.name) + u" " + event.id; }

// " failed: 80004005 Unspecified error", or what the call raised or how it faulted; empty for
// success.
String FailureOf(const rtl::PackageEvent& event) {
    switch (event.end) {
        case rtl::PackageCallEnd::Raised: return u" raised: " + event.reason;
        case rtl::PackageCallEnd::Faulted: return u" faulted: " + event.reason + u"; the package's state may be damaged";
        default: return SUCCEEDED(event.result) ? String() : u" failed: " + ResultText(event.result);
    }
}

const char16_t* CallEnding(rtl::PackageCallEnd end) {
    switch (end) {
        case rtl::PackageCallEnd::Raised: return u"package call raised: ";
        case rtl::PackageCallEnd::Faulted: return u"package call faulted: ";
        default: return u"package call failed: ";
    }
}

String WhatHappened(const rtl::PackageCallReport& report) {
    switch (report.end) {
        case rtl::PackageCallEnd::Raised: return report.text;
        case rtl::PackageCallEnd::Faulted: return report.text + u"; the package's state may be damaged";
        default: return ResultText(report.result);
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
            labels.push_back(entry.second.label);
    return labels;
}

String PackageTracePrinter::LabelOf(const void* package) const {
    const auto found = packages_.find(package);
    return found != packages_.end() ? found->second.label : u"an unknown package";
}

// "package call faulted: "Crash" {...}: IBdsToolBarControlEvents.OnExecute: Access violation ...".
void PackageTracePrinter::PrintCall(const rtl::PackageCallReport& report) {
    const String owner = report.package || report.objectModule.empty()
                             ? LabelOf(report.package)
                             : u"an object of " + report.objectModule;
    const String line = CallEnding(report.end) + owner + u": " + rtl::FromUtf8(report.method.interfaceName) + u"." +
                        rtl::FromUtf8(report.method.name) + u": " + WhatHappened(report);
    transcript_.Line(line);
    failures_.push_back(line);
}

void PackageTracePrinter::PrintStep(const rtl::PackageEvent& event, const char16_t* step) {
    const String failure = FailureOf(event);
    transcript_.Timed(step + (u": " + LabelOf(event.package)) + failure, event.took);
    if (!failure.empty()) failures_.push_back(String(step) + u": " + LabelOf(event.package) + failure);
}

void PackageTracePrinter::Print(const rtl::PackageEvent& event) {
    switch (event.step) {
        case rtl::PackageStep::Found:
            transcript_.Line(u"found " + rtl::IntToStr(++found_) + u": " + Label(event) + u", LoadOrder " +
                             rtl::IntToStr(event.loadOrder));
            break;
        case rtl::PackageStep::Created: {
            packages_[event.package] = Package{Label(event)};
            ObserveMessageBoxes(event.package);
            const String server = RegisteredServer(event.id);
            if (!server.empty()) serverFiles_.insert(server);
            transcript_.Timed(u"created: " + Label(event), event.took);
            break;
        }
        case rtl::PackageStep::CreationFailed: {
            const String failure = u"creation failed: " + Label(event) + u": " + event.reason;
            transcript_.Timed(failure, event.took);
            transcript_.Line(u"  " + ServerDiagnosis(event.id));
            failures_.push_back(failure);
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
