#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace benchsupport {

// A console reporter that remembers each run's time per iteration, so that a
// benchmark binary can print "engine / baseline" ratios (or its own figures)
// after the runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                m_secondsPerIteration[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }

    // The run's wall-clock time per iteration; 0 when it was not seen.
    double secondsPerIteration(const std::string& name) const
    {
        auto found = m_secondsPerIteration.find(name);
        return found != m_secondsPerIteration.end() ? found->second : 0.0;
    }

    // Prints one line per (engine, baseline) pair whose both runs were seen,
    // under the heading.
    void printRatios(const std::vector<std::pair<std::string, std::string>>& pairs,
                     const char* heading = "engine / baseline") const
    {
        std::printf("\n%-50s %s\n", heading, "time ratio");
        for (const auto& [engine, baseline] : pairs) {
            const double e = secondsPerIteration(engine);
            const double b = secondsPerIteration(baseline);
            if (e > 0 && b > 0)
                std::printf("%-50s %.2f\n", (engine + " / " + baseline).c_str(), e / b);
        }
    }

private:
    std::map<std::string, double> m_secondsPerIteration;
};

// Pairs of (engine, baseline) runs under one heading.
struct RatioTable {
    const char* heading;
    std::vector<std::pair<std::string, std::string>> pairs;
};

// Runs the registered benchmarks and prints the ratios of each table.
inline int runWithRatioTables(int argc, char** argv, const std::vector<RatioTable>& tables)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const RatioTable& table : tables)
        reporter.printRatios(table.pairs, table.heading);
    benchmark::Shutdown();
    return 0;
}

// Runs the registered benchmarks and prints the ratios of the given pairs.
inline int runWithRatios(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& pairs)
{
    return runWithRatioTables(argc, argv, {{"engine / baseline", pairs}});
}

} // namespace benchsupport
