// A notification relayed through the module notifier wrapper against the IDE calling the
// package's notifier directly. The wrapper asks the package for the notifier interface on
// every call, so the query is the cost to keep down.
#include <benchmark/benchmark.h>

#include "bench/Ratios.h"
#include "toolsapi/BDSNotifierWrappers.h"

namespace {

// The second ratio separates the wrapper's own cost from the package's query and release,
// which every relayed call must make.
const bool ratiosDeclared =
    bench::DeclareRatio({"Modified relayed by the notifier wrapper vs. the package's own method", "BM_NotifierRelayed",
                         "BM_NotifierDirect", 3.0}) &&
    bench::DeclareRatio({"Modified relayed vs. the package's query, method and release called by hand",
                         "BM_NotifierRelayed", "BM_NotifierQueriedByHand", 3.0});

// A package notifier as packages usually write one: only the base notifier interface, and
// Modified records that the module changed.
class PackageNotifier final : public rtl::ComObject<IBDSNotifier> {
public:
    LongBool STDMETHODCALLTYPE AfterSave() override { return -1; }
    LongBool STDMETHODCALLTYPE BeforeSave() override { return -1; }
    void STDMETHODCALLTYPE Destroyed() override {}
    void STDMETHODCALLTYPE Modified() override { ++modifications; }
    long modifications = 0;
};

void BM_NotifierDirect(benchmark::State& state) {
    rtl::ComPtr<PackageNotifier> package(new PackageNotifier);
    IBDSNotifier* notifier = package.Get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(notifier);
        notifier->Modified();
    }
    benchmark::DoNotOptimize(package->modifications);
}
BENCHMARK(BM_NotifierDirect);

void BM_NotifierRelayed(benchmark::State& state) {
    rtl::ComPtr<PackageNotifier> package(new PackageNotifier);
    rtl::ComPtr<ide::IOTAModuleNotifier90> wrapper(new korvel::TBDSAnyNotifierWrapper(package->Unknown()));
    ide::IOTANotifier* notifier = wrapper.Get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(notifier);
        notifier->Modified();
    }
    benchmark::DoNotOptimize(package->modifications);
}
BENCHMARK(BM_NotifierRelayed);

void BM_NotifierQueriedByHand(benchmark::State& state) {
    rtl::ComPtr<PackageNotifier> package(new PackageNotifier);
    IUnknown* unknown = package->Unknown();
    for (auto _ : state) {
        benchmark::DoNotOptimize(unknown);
        IBDSNotifier* notifier = nullptr;
        if (SUCCEEDED(unknown->QueryInterface(IID_IBDSNotifier, reinterpret_cast<void**>(&notifier))) && notifier) {
            notifier->Modified();
            notifier->Release();
        }
    }
    benchmark::DoNotOptimize(package->modifications);
}
BENCHMARK(BM_NotifierQueriedByHand);

}  // namespace
