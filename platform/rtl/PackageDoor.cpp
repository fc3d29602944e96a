#include "platform/rtl/PackageDoor.h"

#include <cstring>
#include <exception>

namespace rtl {
namespace {

PackageCallHook& packageCallHook() {
    static PackageCallHook hook;
    return hook;
}

// The module of the object's first method, read behind a fault guard: the object may be garbage.
String ModuleOfObject(const void* object) {
    struct Read {
        const void* object;
        const void* methods = nullptr;
    } read{object};
    StructuredFault unreadable;
    const bool readable = object && CallCatchingFaults(
                                        [](void* context) {
                                            auto& r = *static_cast<Read*>(context);
                                            r.methods = **static_cast<const void* const* const*>(r.object);
                                        },
                                        &read, unreadable);
    return readable ? ModuleNameAt(read.methods) : String();
}

void Tell(PackageCallReport report) noexcept {
    if (!packageCallHook()) return;
    try {
        if (!report.package) report.objectModule = ModuleOfObject(report.object);
        packageCallHook()(report);
    } catch (...) {
    }
}

void CopyText(char (&into)[240], const char* text) noexcept {
    if (!text) return;
    std::strncpy(into, text, sizeof into - 1);
    into[sizeof into - 1] = 0;
}

}  // namespace

EPackageFailure::EPackageFailure(const door::Outcome& outcome) : Exception(outcome.Text()), end_(outcome.end) {}

// The door's frame on the thread's handler chain carries the package: no store of its own.
PackageIdentity CurrentPackage() noexcept { return InnermostGuardTag(); }

PackageCallHook SetPackageCallHook(PackageCallHook hook) { return std::exchange(packageCallHook(), std::move(hook)); }

namespace door {

String Outcome::Text() const {
    switch (end) {
        case PackageCallEnd::Raised:
            return raised[0] ? FromUtf8(raised) : String(u"an exception that says nothing");
        case PackageCallEnd::Faulted:
            return DescribeFault(fault);
        default:
            return {};
    }
}

void NoteRaised(Outcome& outcome) noexcept {
    outcome.end = PackageCallEnd::Raised;
    outcome.raised[0] = 0;
    try {
        throw;
    } catch (const std::exception& error) {
        CopyText(outcome.raised, error.what());
    } catch (...) {
    }
}

void Report(const Outcome& outcome, PackageIdentity package, const void* object) noexcept {
    if (outcome.Completed() || !packageCallHook()) return;
    try {
        Tell({outcome.end, package, object, outcome.method, E_FAIL, outcome.Text(), {}});
    } catch (...) {
    }
}

void RaiseReported(const Outcome& outcome, PackageIdentity package, const void* object) {
    Report(outcome, package, object);
    throw EPackageFailure(outcome);
}

void ReportFailedResult(HRESULT result, PackageIdentity package, const void* object, PackageMethod method) noexcept {
    if (!packageCallHook()) return;
    try {
        Tell({PackageCallEnd::Returned, package, object, method, result, {}, {}});
    } catch (...) {
    }
}

void AddRef(IUnknown* object, PackageIdentity package, const char* interfaceName) {
    Outcome outcome;
    CallPackage(package, object, {interfaceName, "AddRef"}, ULONG(0), [&] { return object->AddRef(); }, &outcome);
    if (!outcome.Completed()) RaiseReported(outcome, package, object);
}

void Release(IUnknown* object, PackageIdentity package, const char* interfaceName) noexcept {
    CallPackage(package, object, {interfaceName, "Release"}, ULONG(0), [&] { return object->Release(); });
}

HRESULT QueryInterface(IUnknown* object, PackageIdentity package, const char* interfaceName, REFIID iid, void** found) {
    void* answer = nullptr;
    Outcome outcome;
    const HRESULT result = CallPackage(package, object, {interfaceName, "QueryInterface"}, E_FAIL,
                                       [&] { return object->QueryInterface(iid, &answer); }, &outcome);
    if (!outcome.Completed()) RaiseReported(outcome, package, object);
    *found = SUCCEEDED(result) ? answer : nullptr;
    return result;
}

}  // namespace door

}  // namespace rtl
