// What the door costs a call into package code: a package's method that does almost nothing,
// called through the door against the same call made plainly. Both call through the interface
// pointer into a translation unit of the package's own, as the system does.
#include <benchmark/benchmark.h>

#include "bench/NotifierPackage.h"
#include "bench/Ratios.h"
#include "platform/rtl/PackageDoor.h"
#include "platform/rtl/StructuredFaults.h"

namespace {

const bool ratiosDeclared =
    bench::DeclareRatio({"a package's no-op method through the door vs. called plainly", "BM_PackageCallThroughDoor",
                         "BM_PackageCallPlain", 1.5}) &&
    // The floor of any door: a handler record on the chain and a point to resume at, nothing else.
    bench::DeclareRatio({"a package's no-op method behind the bare fault guard vs. called plainly",
                         "BM_PackageCallBehindFaultGuard", "BM_PackageCallPlain", 1.5});

void ExpectEveryCall(benchmark::State& state, long calls) {
    if (calls != static_cast<long>(state.iterations())) state.SkipWithError("calls went missing");
}

void BM_PackageCallPlain(benchmark::State& state) {
    long calls = 0;
    const rtl::ComPtr<IBDSNotifier> package = bench::NewPackageNotifier(calls);
    IBDSNotifier* notifier = package.Get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(notifier);
        notifier->Modified();
    }
    ExpectEveryCall(state, calls);
}
BENCHMARK(BM_PackageCallPlain);

void BM_PackageCallThroughDoor(benchmark::State& state) {
    long calls = 0;
    const rtl::ComPtr<IBDSNotifier> package = bench::NewPackageNotifier(calls);
    IBDSNotifier* notifier = package.Get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(notifier);
        rtl::CallPackage(nullptr, notifier, {"IBDSNotifier", "Modified"}, false, [&] {
            notifier->Modified();
            return true;
        });
    }
    ExpectEveryCall(state, calls);
}
BENCHMARK(BM_PackageCallThroughDoor);

void BM_PackageCallBehindFaultGuard(benchmark::State& state) {
    long calls = 0;
    const rtl::ComPtr<IBDSNotifier> package = bench::NewPackageNotifier(calls);
    IBDSNotifier* notifier = package.Get();
    rtl::StructuredFault fault{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(notifier);
        rtl::CallCatchingFaults([](void* object) { static_cast<IBDSNotifier*>(object)->Modified(); }, notifier, fault);
    }
    ExpectEveryCall(state, calls);
}
BENCHMARK(BM_PackageCallBehindFaultGuard);

}  // namespace
