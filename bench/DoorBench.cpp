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

// Times `call` on a package's notifier whose Modified does almost nothing; every call must arrive.
template <class Call>
void TimePackageCall(benchmark::State& state, Call&& call) {
    long calls = 0;
    const rtl::ComPtr<IBDSNotifier> package = bench::NewPackageNotifier(calls);
    IBDSNotifier* notifier = package.Get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(notifier);
        call(notifier);
    }
    if (calls != static_cast<long>(state.iterations())) state.SkipWithError("calls went missing");
}

void BM_PackageCallPlain(benchmark::State& state) {
    TimePackageCall(state, [](IBDSNotifier* notifier) { notifier->Modified(); });
}
BENCHMARK(BM_PackageCallPlain);

void BM_PackageCallThroughDoor(benchmark::State& state) {
    TimePackageCall(state, [](IBDSNotifier* notifier) {
        rtl::CallPackage(nullptr, notifier, {"IBDSNotifier", "Modified"}, false, [&] {
            notifier->Modified();
            return true;
        });
    });
}
BENCHMARK(BM_PackageCallThroughDoor);

void BM_PackageCallBehindFaultGuard(benchmark::State& state) {
    rtl::StructuredFault fault{};
    TimePackageCall(state, [&](IBDSNotifier* notifier) {
        rtl::CallCatchingFaults([](void* object) { static_cast<IBDSNotifier*>(object)->Modified(); }, notifier, fault);
    });
}
BENCHMARK(BM_PackageCallBehindFaultGuard);

}  // namespace
