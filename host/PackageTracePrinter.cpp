#include "host/PackageTracePrinter.h"

namespace host {
namespace {

String Label(const rtl::PackageEvent& event) { return Quoted(event.name) + u" " + event.id; }

}  // namespace

PackageTracePrinter::PackageTracePrinter(Transcript& transcript)
    : transcript_(transcript),
      previous_(rtl::SetLoaderTraceHook([this](const rtl::PackageEvent& event) { Print(event); })) {}

PackageTracePrinter::~PackageTracePrinter() { rtl::SetLoaderTraceHook(std::move(previous_)); }

String PackageTracePrinter::LabelOf(IUnknown* package) const {
    const auto found = labels_.find(package);
    return found != labels_.end() ? found->second : u"an unknown package";
}

void PackageTracePrinter::Print(const rtl::PackageEvent& event) {
    switch (event.step) {
        case rtl::PackageStep::Found:
            transcript_.Line(u"found " + rtl::IntToStr(++found_) + u": " + Label(event) + u", LoadOrder " +
                             rtl::IntToStr(event.loadOrder));
            break;
        case rtl::PackageStep::Created:
            labels_[event.package] = Label(event);
            transcript_.Timed(u"created: " + Label(event), event.took);
            break;
        case rtl::PackageStep::CreationFailed:
            transcript_.Timed(u"creation failed: " + Label(event), event.took);
            break;
        case rtl::PackageStep::Sited:
            transcript_.Timed(u"sited: " + LabelOf(event.package), event.took);
            break;
        case rtl::PackageStep::Initialized:
            transcript_.Timed(u"initialized: " + LabelOf(event.package), event.took);
            break;
        case rtl::PackageStep::Terminated:
            transcript_.Timed(u"terminated: " + LabelOf(event.package), event.took);
            labels_.erase(event.package);  // released next: its address may be used again
            break;
    }
}

}  // namespace host
