#include "platform/rtl/LoaderTrace.h"

namespace rtl {
namespace {

LoaderTraceHook& loaderTraceHook() {
    static LoaderTraceHook hook;
    return hook;
}

// The event is only built when someone listens.
template <class MakeEvent>
void Report(MakeEvent&& makeEvent) noexcept {
    if (!loaderTraceHook()) return;
    Swallow([&] { loaderTraceHook()(makeEvent()); });
}

}  // namespace

LoaderTraceHook SetLoaderTraceHook(LoaderTraceHook hook) { return std::exchange(loaderTraceHook(), std::move(hook)); }

bool LoaderTracing() noexcept { return static_cast<bool>(loaderTraceHook()); }

void TracePackageFound(const String& id, const String& name, int32_t loadOrder) noexcept {
    Report([&] { return PackageEvent{PackageStep::Found, nullptr, id, name, loadOrder, {}, S_OK, {}, {}}; });
}

void TracePackageCreated(const String& id, const String& name, IUnknown* package, const Stopwatch& creation) noexcept {
    Report([&] { return PackageEvent{PackageStep::Created, package, id, name, 0, creation.Elapsed(), S_OK, {}, {}}; });
}

void TracePackageCreationFailed(const String& id, const String& name, const Stopwatch& creation,
                                const String& reason) noexcept {
    Report([&] {
        return PackageEvent{PackageStep::CreationFailed, nullptr, id, name, 0, creation.Elapsed(), S_OK, {}, reason};
    });
}

void TracePackageStep(PackageStep step, IUnknown* package, const Stopwatch& call, HRESULT result,
                      const door::Outcome& outcome) noexcept {
    Report([&] { return PackageEvent{step, package, {}, {}, 0, call.Elapsed(), result, outcome.end, outcome.Text()}; });
}

}  // namespace rtl
