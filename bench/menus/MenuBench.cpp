// Cost per operation of the menu bar service as a package's items grow from 200 to 2,000:
// adding them one by one under one menu, then resolving each by its full name. The baseline,
// measured in the same run, resolves the same names the way a linear walk does: every child
// and every cached wrapper compared by CompareText.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "menus/BdsMenuBarService.h"
#include "platform/rtl/Bstr.h"
#include "sim/SimulatedIde.h"

namespace {

using korvel::TBdsMenuBarService;
using rtl::String;

const String MenuName = u"KorvelMenu";

String ItemName(int index) { return u"KorvelItem" + rtl::IntToStr(index); }
String ItemPath(int index) { return MenuName + u"\\" + ItemName(index); }

// A simulated IDE whose menu bar service holds a package menu of `count` items.
class PackageMenu {
public:
    explicit PackageMenu(int count) : service_(new TBdsMenuBarService) {
        menu_ = Add(u"", 2, MenuName);
        for (int i = 0; i < count; ++i) AddItem(i);
    }
    // The package keeps what it adds.
    void AddItem(int index) { items_.push_back(Add(MenuName, 2, ItemName(index))); }
    rtl::ComPtr<IBdsMenuItem> Add(const String& reference, Integer location, const String& name) {
        rtl::ComPtr<IBdsMenuItem> item;
        service_->AddMenuItem(rtl::WideString(reference).Get(), location, rtl::WideString(name).Get(),
                              rtl::WideString(name).Get(), 0, item.Put());
        return item;
    }
    rtl::ComPtr<IBdsMenuItem> Resolve(const String& path) {
        rtl::ComPtr<IBdsMenuItem> item;
        service_->GetMenuItem(rtl::WideString(path).Get(), item.Put());
        return item;
    }
    TBdsMenuBarService& Service() { return *service_.Get(); }
    vcl::TMainMenu* Menu() { return ide_.Services().GetMainMenu(); }

private:
    sim::SimulatedIde ide_;
    rtl::ComPtr<TBdsMenuBarService> service_;
    rtl::ComPtr<IBdsMenuItem> menu_;
    std::vector<rtl::ComPtr<IBdsMenuItem>> items_;
};

// The linear walk: each path segment among the children, then the wrapper among all cached.
korvel::TBdsMenuItem* ResolveLinearly(PackageMenu& menu, const String& path) {
    vcl::TMenuItem* current = menu.Menu()->Items();
    for (const String& segment : TBdsMenuBarService::SplitFullName(path)) {
        vcl::TMenuItem* next = nullptr;
        for (int i = 0; i < current->Count() && !next; ++i)
            if (rtl::CompareText(current->Items(i)->Name(), segment) == 0) next = current->Items(i);
        if (!(current = next)) return nullptr;
    }
    for (korvel::TBdsMenuItem* wrapper : menu.Service().MenuItems().Snapshot()) {
        vcl::TMenuItem* item = wrapper->MenuItem();
        if (item && rtl::CompareText(item->Name(), current->Name()) == 0) return wrapper;
    }
    return nullptr;
}

void SetOperations(benchmark::State& state, int count) {
    state.counters["ops"] = count;
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_AddItems(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto menu = std::make_unique<PackageMenu>(0);
        state.ResumeTiming();
        for (int i = 0; i < count; ++i) menu->AddItem(i);
        state.PauseTiming();
        menu.reset();
        state.ResumeTiming();
    }
    SetOperations(state, count);
}

void BM_ResolveItems(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    PackageMenu menu(count);
    for (auto _ : state)
        for (int i = 0; i < count; ++i) benchmark::DoNotOptimize(menu.Resolve(ItemPath(i)));
    SetOperations(state, count);
}

void BM_ResolveItemsLinearBaseline(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    PackageMenu menu(count);
    for (auto _ : state)
        for (int i = 0; i < count; ++i) benchmark::DoNotOptimize(ResolveLinearly(menu, ItemPath(i)));
    SetOperations(state, count);
}

BENCHMARK(BM_AddItems)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResolveItems)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResolveItemsLinearBaseline)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);

// Prints, after the usual table, the cost per operation and how it grows from 200 to 2,000.
class GrowthReporter : public benchmark::ConsoleReporter {
public:
    GrowthReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto ops = run.counters.find("ops");
            if (run.run_type != Run::RT_Iteration || run.iterations == 0 || ops == run.counters.end()) continue;
            const double perOp = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations) / ops->second;
            // Over repetitions, the least disturbed run counts.
            const auto [entry, added] =
                perOperation_[run.run_name.function_name].emplace(static_cast<int>(ops->second), perOp);
            if (!added) entry->second = std::min(entry->second, perOp);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-32s %14s %14s %10s\n", "cost per operation", "200 items", "2000 items", "growth");
        for (const auto& [name, byCount] : perOperation_) {
            const auto small = byCount.find(200), large = byCount.find(2000);
            if (small == byCount.end() || large == byCount.end()) continue;
            std::printf("%-32s %11.0f ns %11.0f ns %9.2fx\n", name.c_str(), small->second, large->second,
                        large->second / small->second);
        }
        std::printf("(linear growth per operation would be 10x; the fastest of any repetitions counts)\n");
    }

private:
    std::map<std::string, std::map<int, double>> perOperation_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
