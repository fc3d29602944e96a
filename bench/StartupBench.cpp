// Start-up with many packages: the loader's whole INITWIZARD0001 (discovery, creation, SetSite)
// and the handshake that initializes the packages, against the least any start-up has to do:
// a discovery written by hand that makes only the registry calls the package list needs, then
// CoCreateInstance, SetSite and Initialize on each package directly. Creating the same objects
// without reading the list shows what the registry costs. Shut-down is not timed in any.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/Ratios.h"
#include "loader/KorvelLoader.h"
#include "platform/rtl/ComPtr.h"
#include "platform/rtl/Guid.h"
#include "services/KorvelBdsServices.h"
#include "sim/SimulatedIde.h"

namespace {

// Both sides run a fixed number of rounds, enough for a steady median.
constexpr int kRounds = 200;

const bool ratiosDeclared =
    bench::DeclareRatio({"start-up of 50 packages: INITWIZARD0001 and handshake vs. the least discovery, "
                         "CoCreateInstance, SetSite, Initialize",
                         "BM_LoaderStartUp/50/iterations:200", "BM_LeastStartUp/50/iterations:200", 1.1}) &&
    bench::DeclareRatio({"start-up of 500 packages: INITWIZARD0001 and handshake vs. the least discovery, "
                         "CoCreateInstance, SetSite, Initialize",
                         "BM_LoaderStartUp/500/iterations:200", "BM_LeastStartUp/500/iterations:200", 1.1});

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
        // Each start-up keeps its hub for the life of the module: unloaded, as the IDE does
        // when it ends, they do not pile up and scatter the heap that later rounds use.
        korvel::UnloadModule();
        state.ResumeTiming();
        if (!allLoaded) {
            state.SkipWithError("not every package was loaded");
            break;
        }
    }
}
BENCHMARK(BM_LoaderStartUp)->Arg(50)->Arg(500)->Iterations(kRounds)->Unit(benchmark::kMicrosecond);

// Creates, sites and initializes the packages of `classes`, in that order, as the loader
// does; then terminates and releases them untimed. False when one was not made.
bool StartDirectly(benchmark::State& state, const std::vector<CLSID>& classes, IBdsServices* site,
                   std::vector<rtl::ComPtr<IBdsPackage>>& packages) {
    packages.resize(classes.size());
    for (size_t index = 0; index < classes.size(); ++index) {
        CoCreateInstance(classes[index], nullptr, CLSCTX_INPROC_SERVER, IID_IBdsPackage, packages[index].PutVoid());
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
    return allMade;
}

// The package list with exactly the registry calls it needs: list the packages key; per
// package open its key, read LoadOrder and the name, close it. Then sorted by load order.
std::vector<CLSID> DiscoverByHand() {
    struct Found {
        int32_t loadOrder;
        CLSID id;
    };
    std::vector<Found> found;
    HKEY packages = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, rtl::W(kPackagesKey), 0, KEY_READ, &packages) != ERROR_SUCCESS) return {};
    WCHAR id[64];
    DWORD idLength = 64;
    for (DWORD index = 0; RegEnumKeyExW(packages, index, id, &idLength, nullptr, nullptr, nullptr, nullptr) ==
                          ERROR_SUCCESS;
         ++index, idLength = 64) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(packages, id, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
        DWORD loadOrder = 100;
        DWORD size = sizeof loadOrder;
        RegQueryValueExW(key, rtl::W(u"LoadOrder"), nullptr, nullptr, reinterpret_cast<BYTE*>(&loadOrder), &size);
        WCHAR name[128];
        DWORD nameSize = sizeof name;
        RegQueryValueExW(key, rtl::W(u""), nullptr, nullptr, reinterpret_cast<BYTE*>(name), &nameSize);
        RegCloseKey(key);
        Found package{static_cast<int32_t>(loadOrder), {}};
        if (rtl::TryStringToGUID(rtl::String(rtl::U(id), idLength), package.id)) found.push_back(package);
    }
    RegCloseKey(packages);
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.loadOrder < b.loadOrder; });
    std::vector<CLSID> classes;
    classes.reserve(found.size());
    for (const Found& package : found) classes.push_back(package.id);
    return classes;
}

void BM_LeastStartUp(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    sim::SimulatedIde ide;
    const BenchRegistry registry(count);
    auto* site = new korvel::TBdsServices;  // keeps itself alive, as the loader's hub does
    std::vector<rtl::ComPtr<IBdsPackage>> packages;
    for (auto _ : state) {
        if (!StartDirectly(state, DiscoverByHand(), site, packages)) {
            state.SkipWithError("not every package was made");
            break;
        }
    }
}
BENCHMARK(BM_LeastStartUp)->Arg(50)->Arg(500)->Iterations(kRounds)->Unit(benchmark::kMicrosecond);

// Creation alone, the list known beforehand: the difference to the least start-up is what
// reading the registry costs.
void BM_DirectCreation(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    sim::SimulatedIde ide;
    const BenchRegistry registry(count);
    auto* site = new korvel::TBdsServices;
    std::vector<CLSID> classes;
    for (int index = 0; index < count; ++index) classes.push_back(BenchClass(index));
    std::vector<rtl::ComPtr<IBdsPackage>> packages;
    for (auto _ : state) {
        if (!StartDirectly(state, classes, site, packages)) {
            state.SkipWithError("not every package was made");
            break;
        }
    }
}
BENCHMARK(BM_DirectCreation)->Arg(50)->Arg(500)->Iterations(kRounds)->Unit(benchmark::kMicrosecond);

}  // namespace
