// SPDX-License-Identifier: MIT
// RatioReporterC: the console table, followed by two summaries computed from
// the median CPU time of each benchmark (the only time when there are no
// repetitions; wall-clock time instead, for work that runs on other threads,
// when made with ClockE::Wall):
//  - growth: for each benchmark "<name>/<n>" with sizes n and 2n (and n and
//    10n), t(2n)/t(n) and t(10n)/t(n); linear time gives 2 and 10;
//  - yardstick: for each "<op>/library[/<n>]" with a matching
//    "<op>/reference[/<n>]", t(library)/t(reference);
//  - and any ratios of two benchmarks named when it is made.
// Times are CPU times, or wall-clock times when asked for (benchmarks whose
// work runs on threads of their own). A benchmark's counter
// busiest_thread_cpu (seconds) is kept as the time of "<name>@busiest".
#ifndef ALGEXPR_BENCH_RATIOREPORTERC_H
#define ALGEXPR_BENCH_RATIOREPORTERC_H

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qorv::math::algexpr::bench {

class RatioReporterC : public benchmark::ConsoleReporter {
public:
    enum class ClockE { Cpu, Wall };

    /// t(numerator)/t(denominator), printed as `label`.
    struct RatioC {
        std::string label;
        std::string numerator;
        std::string denominator;
    };

    explicit RatioReporterC(OutputOptions options, ClockE clock = ClockE::Cpu, std::vector<RatioC> ratios = {});
    ~RatioReporterC() override;

    void ReportRuns(const std::vector<Run>& reports) override;
    void Finalize() override;

private:
    struct Time {
        double seconds = 0;
        bool median = false;  // from the median aggregate, not a single run
    };

    void record(const std::string& name, std::int64_t size, double seconds, bool median);
    void printGrowth(std::ostream& out) const;
    void printYardstick(std::ostream& out) const;
    void printRatios(std::ostream& out) const;

    ClockE clock;
    std::vector<RatioC> ratios;

    // By name without its size, then by size (0 for none).
    std::map<std::string, std::map<std::int64_t, Time>> times;
};

}  // namespace qorv::math::algexpr::bench

#endif
