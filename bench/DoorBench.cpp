// What the door costs a call into package code: a package's method that does almost nothing,
// called through the door against the same call made plainly. Both call through the interface
// pointer into a translation unit of the package's own, as the system does.
#include <benchmark/benchmark.h>

#include "bench/NotifierPackage.h"
#include "bench/Ratios.h"
#include "platform/rtl/PackageDoor.h"

namespace {

const bool ratiosDeclared = bench::DeclareRatio(
    {"a package's no-op method through the door vs. called plainly", "BM_PackageCallThroughDoor", "BM_PackageCallPlain", 1.5});

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

}  // namespace
