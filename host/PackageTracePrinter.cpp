#include "host/PackageTracePrinter.h"

#include "host/PackageLibraries.h"

namespace host {
namespace {

String Label(const String& name, const String& id) { return Quoted(name) + u" " + id; }

// " failed: 80004005 Unspecified error", or that the call raised; empty for success.
String FailureOf(const rtl::PackageEvent& event) {
    if (event.raised) return u" raised an exception";
    return SUCCEEDED(event.result) ? String() : u" failed: " + ResultText(event.result);
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
      previous_(rtl::SetLoaderTraceHook([this](const rtl::PackageEvent& event) { Print(event); })) {}

PackageTracePrinter::~PackageTracePrinter() { rtl::SetLoaderTraceHook(std::move(previous_)); }

std::vector<String> PackageTracePrinter::NotInitialized() const {
    std::vector<String> labels;
    for (const auto& entry : packages_)
        if (entry.second.sited && !entry.second.initialized) labels.push_back(Label(entry.second.name, entry.second.id));
    return labels;
}

TranscriptEvent PackageTracePrinter::EventFor(const String& kind, const rtl::PackageEvent& event) const {
    TranscriptEvent written;
    written.kind = kind;
    written.package = event.name;
    written.classId = event.id;
    if (event.package) {
        const auto found = packages_.find(event.package);
        if (found != packages_.end()) {
            written.package = found->second.name;
            written.classId = found->second.id;
        }
    }
    written.text = kind + u": " +
                   (written.classId.empty() ? String(u"an unknown package") : Label(written.package, written.classId));
    if (event.step != rtl::PackageStep::Found) written.took = event.took;
    return written;
}

void PackageTracePrinter::PrintStep(const rtl::PackageEvent& event, const char16_t* step) {
    TranscriptEvent written = EventFor(step, event);
    written.object = u"IBdsPackage";
    written.method = MethodOf(event.step);
    const String failure = FailureOf(event);
    if (!event.raised) written.result = event.result;
    written.resultText = event.raised ? u"raised an exception" : ResultText(event.result);
    written.text += failure;
    transcript_.Write(written);
    if (!failure.empty()) failures_.push_back(written.text);
}

void PackageTracePrinter::Print(const rtl::PackageEvent& event) {
    switch (event.step) {
        case rtl::PackageStep::Found: {
            TranscriptEvent written = EventFor(u"found", event);
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
            transcript_.Write(EventFor(u"created", event));
            break;
        }
        case rtl::PackageStep::CreationFailed: {
            TranscriptEvent written = EventFor(u"creation failed", event);
            written.text += u": " + event.reason;
            written.resultText = event.reason;
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
            PrintStep(event, u"terminated");
            packages_.erase(event.package);  // released next: its address may be used again
            break;
    }
}

}  // namespace host
