// SPDX-License-Identifier: MIT
// RatioReporterC: the console table, followed by two summaries computed from
// the median CPU time of each benchmark (the only time when there are no
// repetitions; wall-clock time instead, for work that runs on other threads,
// when made with ClockE::Wall):
//  - growth: for each benchmark "<name>/<n>" with sizes n and 2n (and n and
//    10n), t(2n)/t(n) and t(10n)/t(n); linear time gives 2 and 10;
//  - yardstick: for each "<op>/library[/<n>]" with a matching
//    "<op>/reference[/<n>]", t(library)/t(reference).
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

    explicit RatioReporterC(OutputOptions options, ClockE clock = ClockE::Cpu);
    ~RatioReporterC() override;

    void ReportRuns(const std::vector<Run>& reports) override;
    void Finalize() override;

private:
    struct Time {
        double seconds = 0;
        bool median = false;  // from the median aggregate, not a single run
    };

    void printGrowth(std::ostream& out) const;
    void printYardstick(std::ostream& out) const;

    // By name without its size, then by size (0 for none).
    std::map<std::string, std::map<std::int64_t, Time>> times;
    ClockE clock;
};

}  // namespace qorv::math::algexpr::bench

#endif
