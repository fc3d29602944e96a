#include "bench/Ratios.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace bench {
namespace {

std::vector<Ratio>& DeclaredRatios() {
    static std::vector<Ratio> ratios;
    return ratios;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

bool DeclareRatio(Ratio ratio) {
    DeclaredRatios().push_back(std::move(ratio));
    return true;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const std::string name = run.run_name.str();
        if (run.run_type == Run::RT_Iteration)
            samples_[name].push_back(run.GetAdjustedCPUTime());
        else if (run.aggregate_name == "median")
            medians_[name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::TimeOf(const std::string& name) const {
    const auto samples = samples_.find(name);
    if (samples != samples_.end()) return Median(samples->second);
    const auto median = medians_.find(name);
    return median != medians_.end() ? median->second : 0.0;
}

bool RatioReporter::PrintRatios(std::ostream& out) const {
    bool withinLimits = true;
    for (const Ratio& ratio : DeclaredRatios()) {
        const double measured = TimeOf(ratio.measured);
        const double baseline = TimeOf(ratio.baseline);
        if (measured <= 0 || baseline <= 0) continue;
        const double value = measured / baseline;
        const bool within = value <= ratio.limit;
        withinLimits = withinLimits && within;
        char line[256];
        std::snprintf(line, sizeof line, "ratio %.2f (limit %.2f, %s): %s = %s / %s", value, ratio.limit,
                      within ? "ok" : "OVER", ratio.label.c_str(), ratio.measured.c_str(), ratio.baseline.c_str());
        out << line << '\n';
    }
    return withinLimits;
}

}  // namespace bench
