// SPDX-License-Identifier: MIT
#include "RatioReporterC.h"

#include <cstdio>
#include <ostream>
#include <utility>

namespace qorv::math::algexpr::bench {

namespace {

const char kLibrary[] = "/library";
const char kReference[] = "/reference";

bool isSize(const std::string& text) {
    if (text.empty() || text.size() > 18) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// 100000 as "1e5", 250000 as "250000".
std::string sizeText(std::int64_t n) {
    int exponent = 0;
    std::int64_t mantissa = n;
    while (mantissa >= 10 && mantissa % 10 == 0) {
        mantissa /= 10;
        ++exponent;
    }
    if (mantissa < 10 && exponent >= 3) {
        return std::to_string(mantissa) + "e" + std::to_string(exponent);
    }
    return std::to_string(n);
}

std::string ratioText(double numerator, double denominator) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", denominator > 0 ? numerator / denominator : 0.0);
    return text;
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

}  // namespace

RatioReporterC::RatioReporterC(OutputOptions options, ClockE clock, std::vector<RatioC> ratios)
    : ConsoleReporter(options), clock(clock), ratios(std::move(ratios)) {}

RatioReporterC::~RatioReporterC() = default;

void RatioReporterC::ReportRuns(const std::vector<Run>& reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        if (run.error_occurred) {
            continue;
        }
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median) {
            continue;
        }
        std::string name = run.run_name.function_name;
        std::int64_t size = 0;
        if (isSize(run.run_name.args)) {
            size = std::stoll(run.run_name.args);
        } else if (!run.run_name.args.empty()) {
            name += "/" + run.run_name.args;
        }
        const double adjusted = clock == ClockE::Wall ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        record(name, size, adjusted / benchmark::GetTimeUnitMultiplier(run.time_unit), median);
        auto busiest = run.counters.find("busiest_thread_cpu");
        if (busiest != run.counters.end()) {
            record(name + "@busiest", size, busiest->second.value, median);
        }
    }
}

void RatioReporterC::record(const std::string& name, std::int64_t size, double seconds, bool median) {
    Time& time = times[name][size];
    if (median || !time.median) {
        time.seconds = seconds;
        time.median = median;
    }
}

void RatioReporterC::Finalize() {
    std::ostream& out = GetOutputStream();
    printGrowth(out);
    printYardstick(out);
    printRatios(out);
    ConsoleReporter::Finalize();
}

void RatioReporterC::printGrowth(std::ostream& out) const {
    bool header = false;
    for (const auto& [name, by_size] : times) {
        std::string line;
        for (const auto& [n, time] : by_size) {
            for (std::int64_t factor : {2, 10}) {
                auto larger = n > 0 ? by_size.find(n * factor) : by_size.end();
                if (larger != by_size.end()) {
                    line += "  " + sizeText(n * factor) + "/" + sizeText(n) + " " +
                            ratioText(larger->second.seconds, time.seconds);
                }
            }
        }
        if (line.empty()) {
            continue;
        }
        if (!header) {
            out << "\nGrowth of the median " << (clock == ClockE::Wall ? "wall-clock" : "CPU")
                << " time with the size (linear: 2 for 2n/n, 10 for 10n/n)\n";
            header = true;
        }
        out << "  " << padded(name, 28) << line << '\n';
    }
}

void RatioReporterC::printYardstick(std::ostream& out) const {
    bool header = false;
    for (const auto& [name, by_size] : times) {
        const std::size_t at = name.rfind(kLibrary);
        if (at == std::string::npos || at + sizeof kLibrary - 1 != name.size()) {
            continue;
        }
        const std::string operation = name.substr(0, at);
        auto reference = times.find(operation + kReference);
        if (reference == times.end()) {
            continue;
        }
        for (const auto& [n, time] : by_size) {
            auto match = reference->second.find(n);
            if (match == reference->second.end()) {
                continue;
            }
            if (!header) {
                out << "\nLibrary against reference (median " << (clock == ClockE::Wall ? "wall-clock" : "CPU")
                    << " time, library / reference)\n";
                header = true;
            }
            const std::string label = n > 0 ? operation + "/" + sizeText(n) : operation;
            out << "  " << padded(label, 28) << "  " << ratioText(time.seconds, match->second.seconds) << '\n';
        }
    }
}

void RatioReporterC::printRatios(std::ostream& out) const {
    bool header = false;
    for (const RatioC& ratio : ratios) {
        auto numerator = times.find(ratio.numerator);
        auto denominator = times.find(ratio.denominator);
        if (numerator == times.end() || denominator == times.end() || numerator->second.count(0) == 0 ||
            denominator->second.count(0) == 0) {
            continue;
        }
        if (!header) {
            out << "\nRatios (median " << (clock == ClockE::Wall ? "wall-clock" : "CPU") << " time)\n";
            header = true;
        }
        out << "  " << padded(ratio.label, 44) << "  "
            << ratioText(numerator->second.at(0).seconds, denominator->second.at(0).seconds) << '\n';
    }
}

}  // namespace qorv::math::algexpr::bench
