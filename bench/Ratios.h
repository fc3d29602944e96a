// Cost ratios between two benchmarks of the same run, with the limit each one must keep.
// The benchmark programs print them after the timings.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

struct Ratio {
    std::string label;
    std::string measured;  // benchmark names as Google Benchmark prints them, e.g. "BM_Find/20"
    std::string baseline;
    double limit;
};

// For a namespace-scope initializer in the file that defines the two benchmarks.
bool DeclareRatio(Ratio ratio);

// The console reporter that also keeps each benchmark's CPU time per iteration: the median
// of the repetitions, which a shared machine's noise moves least.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    // One line per declared ratio whose two benchmarks ran; false when one is over its limit.
    bool PrintRatios(std::ostream& out) const;

private:
    double TimeOf(const std::string& name) const;

    std::map<std::string, std::vector<double>> samples_;
    std::map<std::string, double> medians_;
};

}  // namespace bench
