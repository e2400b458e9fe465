// SPDX-License-Identifier: MIT
#include "GinacEntryC.h"

#include <utility>
#include <vector>

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/Utf8C.h"
#include "algexpr/ginac/GinacEngineC.h"
#include "algexpr/ginac/GinacSessionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

using ginac::GinacEngineC;

EngineEntryABC::FiguresS GinacEntryC::figures() const {
    constexpr ginac::GinacLimitsS limits{};
    FiguresS figures;
    figures.default_digits = GinacEngineC::kDefaultDigits;
    figures.max_digits = GinacEngineC::kMaxDigits;
    figures.max_diff_order = limits.diff_order;
    figures.max_series_order = limits.series_order;
    return figures;
}

std::vector<std::pair<const char*, unsigned long long>> GinacEntryC::helpFigures() const {
    constexpr ginac::GinacLimitsS limits{};
    return {{"@DIGITS@", GinacEngineC::kDefaultDigits},
            {"@MAX_DIGITS@", GinacEngineC::kMaxDigits},
            {"@DEPTH@", limits.depth},
            {"@INTEGER_DIGITS@", limits.integer_digits},
            {"@EXPAND_TERMS@", limits.expand_terms},
            {"@POLYNOMIAL_TERMS@", limits.polynomial_terms},
            {"@FACTOR_DEGREE@", limits.factor_degree},
            {"@FACTOR_MULTIVARIATE_DEGREE@", limits.factor_multivariate_degree},
            {"@TIMED_FACTOR_DEGREE@", kTimedFactorDegree},
            {"@DIFF_ORDER@", limits.diff_order},
            {"@SERIES_ORDER@", limits.series_order}};
}

std::string GinacEntryC::helpLines() const {
    return "  ginac    (default) GiNaC: exact integers and fractions of any size,\n"
           "           floats with --digits significant digits (@DIGITS@ by default),\n"
           "           complex symbols (--real names the real ones, --assume the\n"
           "           real or positive ones), and the operations above but\n"
           "           integrate, limit and solve\n";
}

std::string GinacEntryC::versionLine() const {
    std::string name;
    appendUtf8(GinacEngineC(nullptr).getName(), name);
    return name + ": exact numbers and symbolic operations";
}

const char16_t* const* GinacEntryC::builtinCoreNames() const { return GinacEngineC::builtinCoreNames(); }

// The session is set up before it is installed: once current, its settings
// are read by the engine's worker.
bool GinacEntryC::install(const CommandLineC& options, const char16_t* const* core_names, std::string& problem) const {
    const qorv::oss::PointerTC<ginac::GinacSessionC> session(new ginac::GinacSessionC(core_names));
    std::vector<SymbolAssumptionS> assumptions;
    std::u16string message;
    if (!assumptionsOf(options, assumptions, problem)) {
        return false;
    }
    if (!session->setAssumptions(std::move(assumptions), &message)) {
        problem = "--assume: ";
        appendUtf8(message, problem);
        return false;
    }
    ginac::GinacLimitsS limits = session->getLimits();
    limits.check_answers = options.check_answers;
    limits.refuse_unchecked = options.refuse_unchecked;
    session->setLimits(limits);
    if (!session->setDigits(options.precision(), &message)) {  // CommandLineC keeps to the bounds
        appendUtf8(message, problem);
        return false;
    }
    if (!makeCurrent(session, problem)) {
        return false;
    }
    installed = session.get();
    return true;
}

void GinacEntryC::prepareWorker(const CommandLineC& options) const {
    ginac::GinacSessionC* session = installed;
    if (session != nullptr) {
        session->setThrowOnAllocationFailure(true);
    }
    // A static limit that refuses work GiNaC mostly does quickly is raised
    // where --timeout bounds the time instead.
    if (session != nullptr && options.timeout_ms != 0) {
        ginac::GinacLimitsS limits = session->getLimits();
        limits.factor_degree = kTimedFactorDegree;
        session->setLimits(limits);
    }
    EngineEntryABC::prepareWorker(options);
}

bool GinacEntryC::runBatch(void (*work)(void*), void* context) const {
    return GinacEngineC::runOnWorker(work, context);
}

const EngineEntryABC& ginacEntry() {
    static const GinacEntryC entry;
    return entry;
}

}  // namespace qorv::math::algexpr::cli
