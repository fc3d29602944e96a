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
        case rtl::PackageCallEnd::Faulted: return u" faulted: " + event.reason + u"; its state may be damaged";
        default: return SUCCEEDED(event.result) ? String() : u" failed: " + ResultText(event.result);
    }
}

}  // namespace

PackageTracePrinter::PackageTracePrinter(Transcript& transcript)
    : transcript_(transcript),
      previous_(rtl::SetLoaderTraceHook([this](const rtl::PackageEvent& event) { Print(event); })) {}

PackageTracePrinter::~PackageTracePrinter() { rtl::SetLoaderTraceHook(std::move(previous_)); }

std::vector<String> PackageTracePrinter::NotInitialized() const {
    std::vector<String> labels;
    for (const auto& entry : packages_)
        if (entry.second.sited && !entry.second.initialized) labels.push_back(entry.second.label);
    return labels;
}

String PackageTracePrinter::LabelOf(IUnknown* package) const {
    const auto found = packages_.find(package);
    return found != packages_.end() ? found->second.label : u"an unknown package";
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
            PrintStep(event, u"terminated");
            packages_.erase(event.package);  // released next: its address may be used again
            break;
    }
}

}  // namespace host
