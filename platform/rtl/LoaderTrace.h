// What the loader does to each package, as it happens, for a program that wants to show it
// (the IDE stand-in prints a transcript). Nothing is reported while no hook is installed, and
// a hook can never change what the loader does: whatever it raises is swallowed.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <utility>

#include "platform/rtl/ComGuard.h"
#include "platform/rtl/PackageDoor.h"
#include "platform/rtl/Text.h"

namespace rtl {

using Milliseconds = std::chrono::duration<double, std::milli>;

enum class PackageStep { Found, Created, CreationFailed, Sited, Initialized, Terminated };

struct PackageEvent {
    PackageStep step;
    // From Created on: the package object. Later steps name the package by it alone.
    IUnknown* package = nullptr;
    // Found, Created, CreationFailed: the key name as the registry spells it, the display name.
    String id;
    String name;
    // Found: the LoadOrder the package was sorted by.
    int32_t loadOrder = 0;
    // How long the step took; zero for Found.
    Milliseconds took{};
    // Sited, Initialized, Terminated: what the package answered, or how the call ended when it
    // raised or faulted, with the exception's text or the fault's in `reason`.
    HRESULT result = S_OK;
    PackageCallEnd end = PackageCallEnd::Returned;
    // CreationFailed: the system's own words for why; Sited, Initialized, Terminated that
    // raised or faulted: the exception's text or the fault.
    String reason;
};

using LoaderTraceHook = std::function<void(const PackageEvent& event)>;
// Returns the hook it replaces, so that a caller can put it back.
LoaderTraceHook SetLoaderTraceHook(LoaderTraceHook hook);

// Whether a hook is installed: steps are timed only then.
bool LoaderTracing() noexcept;

// Reads the clock only while someone listens; otherwise every step took zero.
class Stopwatch {
public:
    Stopwatch() : timing_(LoaderTracing()) {
        if (timing_) start_ = std::chrono::steady_clock::now();
    }
    Milliseconds Elapsed() const noexcept {
        return timing_ ? Milliseconds(std::chrono::steady_clock::now() - start_) : Milliseconds{};
    }

private:
    bool timing_;
    std::chrono::steady_clock::time_point start_;
};

void TracePackageFound(const String& id, const String& name, int32_t loadOrder) noexcept;
void TracePackageCreated(const String& id, const String& name, IUnknown* package, const Stopwatch& creation) noexcept;
void TracePackageCreationFailed(const String& id, const String& name, const Stopwatch& creation,
                                const String& reason) noexcept;
void TracePackageStep(PackageStep step, IUnknown* package, const Stopwatch& call, HRESULT result,
                      const door::Outcome& outcome) noexcept;

// A lifecycle method of a package (`call` gets the package), behind the door; what it answered,
// raised or faulted is swallowed and reported with the time it took.
template <class Package, class Call>
void CallTraced(PackageStep step, const PackageRef<Package>& package, const char* method, Call&& call) noexcept {
    const Stopwatch stopwatch;
    door::Outcome outcome;
    const HRESULT result = package.Ask(method, E_FAIL, std::forward<Call>(call), &outcome);
    TracePackageStep(step, package.Get(), stopwatch, result, outcome);
}

}  // namespace rtl
