// A notification relayed through the module notifier wrapper against the IDE calling the
// package's notifier directly. Both sides call through an interface pointer into code the
// compiler cannot see (the package lives in its own translation unit, the wrapper in the
// system's library), as the IDE does.
#include <benchmark/benchmark.h>

#include "bench/NotifierPackage.h"
#include "bench/Ratios.h"
#include "toolsapi/BDSNotifierWrappers.h"

namespace {

// The wrapper asks the package's notifier for the interface on every call, so the least a
// relay can cost is the package's query, method and release: the second ratio is the goal.
// The first shows what the relay costs over the bare method. (DoorBench shows what the door,
// through which the relay makes those three calls, costs alone.)
const bool ratiosDeclared =
    bench::DeclareRatio({"Modified relayed by the notifier wrapper vs. the package's own method", "BM_NotifierRelayed",
                         "BM_NotifierDirect", 3.0}) &&
    bench::DeclareRatio({"Modified relayed vs. the package's query, method and release called by hand",
                         "BM_NotifierRelayed", "BM_NotifierQueriedByHand", 1.5});

// Every notification must have reached the package.
void ExpectEveryNotification(benchmark::State& state, long modifications) {
    if (modifications != static_cast<long>(state.iterations())) state.SkipWithError("notifications went missing");
}

void BM_NotifierDirect(benchmark::State& state) {
    long modifications = 0;
    const rtl::ComPtr<IBDSNotifier> package = bench::NewPackageNotifier(modifications);
    IBDSNotifier* notifier = package.Get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(notifier);
        notifier->Modified();
    }
    ExpectEveryNotification(state, modifications);
}
BENCHMARK(BM_NotifierDirect);

void BM_NotifierRelayed(benchmark::State& state) {
    long modifications = 0;
    const rtl::ComPtr<IBDSNotifier> package = bench::NewPackageNotifier(modifications);
    const rtl::ComPtr<ide::IOTAModuleNotifier90> wrapper(new korvel::TBDSAnyNotifierWrapper(rtl::PackageRef<IUnknown>(package.Get())));
    ide::IOTANotifier* notifier = wrapper.Get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(notifier);
        notifier->Modified();
    }
    ExpectEveryNotification(state, modifications);
}
BENCHMARK(BM_NotifierRelayed);

void BM_NotifierQueriedByHand(benchmark::State& state) {
    long modifications = 0;
    const rtl::ComPtr<IBDSNotifier> package = bench::NewPackageNotifier(modifications);
    IUnknown* unknown = package.Get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(unknown);
        IBDSNotifier* notifier = nullptr;
        if (SUCCEEDED(unknown->QueryInterface(IID_IBDSNotifier, reinterpret_cast<void**>(&notifier))) && notifier) {
            notifier->Modified();
            notifier->Release();
        }
    }
    ExpectEveryNotification(state, modifications);
}
BENCHMARK(BM_NotifierQueriedByHand);

}  // namespace
