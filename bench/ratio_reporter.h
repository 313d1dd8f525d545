// Console output plus ratios of one benchmark's time to another's, both measured in this run.
#pragma once

#include <benchmark/benchmark.h>

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

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
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

inline int RunWithRatios(int argc, char** argv, std::vector<Ratio> ratios) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(std::move(ratios));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    reporter.PrintRatios();
    return 0;
}

}  // namespace korvel::bench
