// Console output plus ratios of one benchmark's time to another's, both measured in this run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace korvel::bench {

struct Ratio {
    std::string measured;
    std::string baseline;
    double target;  // the ratio must not exceed this
};

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    explicit RatioReporter(std::vector<Ratio> ratios) : ratios_(std::move(ratios)) {}

    // The fastest of the repetitions: the machine's other work only ever adds time, so one
    // disturbed run does not decide a ratio. The console shows the repetitions' aggregates.
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                const double time = run.GetAdjustedRealTime();
                const auto [kept, isNew] = times_.try_emplace(run.run_name.str(), time);
                kept->second = std::min(kept->second, time);
            }
            if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) {
                shown.push_back(run);
            }
        }
        ConsoleReporter::ReportRuns(shown);
    }

    // Prints each ratio; returns false when one misses its target.
    bool PrintRatios() const {
        bool allMet = true;
        for (const auto& ratio : ratios_) {
            const auto measured = times_.find(ratio.measured);
            const auto baseline = times_.find(ratio.baseline);
            if (measured == times_.end() || baseline == times_.end() || baseline->second <= 0) {
                continue;
            }
            const double value = measured->second / baseline->second;
            const bool met = value <= ratio.target;
            allMet = allMet && met;
            std::printf("ratio %s / %s = %.3f (target <= %.2f) %s\n", ratio.measured.c_str(),
                        ratio.baseline.c_str(), value, ratio.target, met ? "met" : "MISSED");
        }
        return allMet;
    }

  private:
    std::vector<Ratio> ratios_;
    std::map<std::string, double> times_;
};

// Runs each benchmark five times unless the command line says otherwise.
inline int RunWithRatios(int argc, char** argv, std::vector<Ratio> ratios) {
    std::vector<char*> arguments(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    const bool told = std::any_of(arguments.begin(), arguments.end(), [](const char* argument) {
        return std::string(argument).starts_with("--benchmark_repetitions");
    });
    if (!told) {
        arguments.insert(arguments.begin() + 1, repetitions.data());
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RatioReporter reporter(std::move(ratios));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    reporter.PrintRatios();
    return 0;
}

}  // namespace korvel::bench
