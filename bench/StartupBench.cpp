// Start-up with many packages: the loader's whole INITWIZARD0001 (discovery, creation, SetSite)
// and the handshake that initializes the packages, against creating the same objects with
// CoCreateInstance and calling SetSite and Initialize on each directly. Shut-down is not timed
// in either.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/Ratios.h"
#include "loader/KorvelLoader.h"
#include "platform/rtl/ComPtr.h"
#include "platform/rtl/Guid.h"
#include "services/KorvelBdsServices.h"
#include "sim/SimulatedIde.h"

namespace {

// Each start-up leaves its hub behind for the life of the process, as an IDE that starts once
// would. Thousands of start-ups in one process pile those hubs up and scatter the heap that
// later runs allocate from, so both sides run a fixed number of rounds, enough for a steady
// median.
constexpr int kRounds = 200;

const bool ratiosDeclared =
    bench::DeclareRatio({"start-up of 50 packages: INITWIZARD0001 and handshake vs. CoCreateInstance, SetSite, "
                         "Initialize",
                         "BM_LoaderStartUp/50/iterations:200", "BM_DirectCreation/50/iterations:200", 1.2}) &&
    bench::DeclareRatio({"start-up of 500 packages: INITWIZARD0001 and handshake vs. CoCreateInstance, SetSite, "
                         "Initialize",
                         "BM_LoaderStartUp/500/iterations:200", "BM_DirectCreation/500/iterations:200", 1.2});

const char16_t kPackagesKey[] = u"Software\\Korvel\\Brivanta\\RAD Studio XE2\\Packages";

CLSID BenchClass(int index) {
    return {0xB3E00000u + static_cast<uint32_t>(index), 0x5A1C, 0x4D2E, {0x9F, 0x10, 0x7A, 0x6B, 0x5C, 0x4D, 0x3E, 0x2F}};
}

void WriteKey(HKEY root, const rtl::String& path, const rtl::String& name, DWORD type, const void* data, size_t bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, rtl::W(path), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(key, rtl::W(name), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
    RegCloseKey(key);
}

// The first `count` classes of the benchmark library, registered as its installer would.
class BenchRegistry {
public:
    explicit BenchRegistry(int count) {
        Clear();
        const rtl::String server = u"BenchPackages.dll";  // found beside the program
        for (int index = 0; index < count; ++index) {
            const rtl::String id = rtl::GUIDToString(BenchClass(index));
            WriteKey(HKEY_CLASSES_ROOT, u"CLSID\\" + id + u"\\InprocServer32", u"", REG_SZ, server.c_str(),
                     (server.size() + 1) * 2);
            const rtl::String name = u"Bench " + rtl::IntToStr(index);
            WriteKey(HKEY_LOCAL_MACHINE, rtl::String(kPackagesKey) + u"\\" + id, u"", REG_SZ, name.c_str(),
                     (name.size() + 1) * 2);
            const DWORD loadOrder = static_cast<DWORD>(index);
            WriteKey(HKEY_LOCAL_MACHINE, rtl::String(kPackagesKey) + u"\\" + id, u"LoadOrder", REG_DWORD, &loadOrder,
                     sizeof loadOrder);
        }
    }
    ~BenchRegistry() { Clear(); }

private:
    static void Clear() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(kPackagesKey)); }
};

void BM_LoaderStartUp(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    sim::SimulatedIde ide;
    const BenchRegistry registry(count);
    for (auto _ : state) {
        korvel::TWizardTerminateProc terminate = nullptr;
        korvel::InitWizard(ide::BorlandIDEServices(), &terminate);
        korvel::BdsServices->OnToolBarServiceInitialized();
        state.PauseTiming();
        const bool allLoaded = korvel::Packages.size() == static_cast<size_t>(count);
        if (terminate) terminate();
        state.ResumeTiming();
        if (!allLoaded) {
            state.SkipWithError("not every package was loaded");
            break;
        }
    }
}
BENCHMARK(BM_LoaderStartUp)->Arg(50)->Arg(500)->Iterations(kRounds)->Unit(benchmark::kMicrosecond);

void BM_DirectCreation(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    sim::SimulatedIde ide;
    const BenchRegistry registry(count);
    auto* site = new korvel::TBdsServices;  // keeps itself alive, as the loader's hub does
    std::vector<CLSID> classes;
    for (int index = 0; index < count; ++index) classes.push_back(BenchClass(index));
    std::vector<rtl::ComPtr<IBdsPackage>> packages(static_cast<size_t>(count));
    for (auto _ : state) {
        for (size_t index = 0; index < classes.size(); ++index) {
            CoCreateInstance(classes[index], nullptr, CLSCTX_INPROC_SERVER, IID_IBdsPackage,
                             packages[index].PutVoid());
            if (packages[index]) packages[index]->SetSite(site);
        }
        for (const auto& package : packages)
            if (package) package->Initialize();
        state.PauseTiming();
        bool allMade = true;
        for (auto& package : packages) {
            allMade = allMade && package;
            if (package) package->Terminate();
            package.Reset();
        }
        state.ResumeTiming();
        if (!allMade) {
            state.SkipWithError("not every package was made");
            break;
        }
    }
}
BENCHMARK(BM_DirectCreation)->Arg(50)->Arg(500)->Iterations(kRounds)->Unit(benchmark::kMicrosecond);

}  // namespace
