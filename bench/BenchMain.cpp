// Runs every benchmark of the program, then prints the declared ratios. Without
// --benchmark_repetitions on the command line each benchmark runs five times and the ratios
// use the medians. The exit status is 1 when a ratio is over its limit.
#include <cstring>
#include <iostream>
#include <vector>

#include "bench/Ratios.h"

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
    bool repetitionsGiven = false;
    for (char* arg : args) repetitionsGiven = repetitionsGiven || std::strstr(arg, "--benchmark_repetitions") == arg;
    if (!repetitionsGiven) args.insert(args.begin() + 1, {repetitions, aggregatesOnly});

    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::cout << '\n';
    return reporter.PrintRatios(std::cout) ? 0 : 1;
}
