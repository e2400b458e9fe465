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
           "           integrate and limit (solve: linear equations only)\n";
}

std::string GinacEntryC::versionLine() const {
    std::string name;
    appendUtf8(GinacEngineC(nullptr).getName(), name);
    return name + ": exact numbers and symbolic operations";
}

const char16_t* const* GinacEntryC::builtinCoreNames() const { return GinacEngineC::builtinCoreNames(); }

// The session is set up before it is installed: once current, its settings
// are read by the engine's worker.
qorv::oss::PointerTC<ginac::GinacSessionC> GinacEntryC::make(const CommandLineC& options,
                                                             const char16_t* const* core_names, std::string& problem) {
    qorv::oss::PointerTC<ginac::GinacSessionC> session(new ginac::GinacSessionC(core_names));
    if (!assume(options, *session, problem)) {
        return {};
    }
    ginac::GinacLimitsS limits = session->getLimits();
    limits.check_answers = options.check_answers;
    limits.refuse_unchecked = options.refuse_unchecked;
    session->setLimits(limits);
    // CommandLineC keeps to the bounds of the engine it names; another's
    // --digits may be beyond GiNaC's.
    const unsigned long digits = options.digits != 0 ? options.digits : GinacEngineC::kDefaultDigits;
    std::u16string message;
    if (!session->setDigits(digits, &message)) {
        appendUtf8(message, problem);
        return {};
    }
    return session;
}

bool GinacEntryC::install(const CommandLineC& options, const char16_t* const* core_names, std::string& problem) const {
    const qorv::oss::PointerTC<ginac::GinacSessionC> session = make(options, core_names, problem);
    if (!session || !makeCurrent(session, problem)) {
        return false;
    }
    installed = session.get();
    return true;
}

void GinacEntryC::prepare(ginac::GinacSessionC& session, const CommandLineC& options) {
    session.setThrowOnAllocationFailure(true);
    // A static limit that refuses work GiNaC mostly does quickly is raised
    // where --timeout bounds the time instead.
    if (options.timeout_ms != 0) {
        ginac::GinacLimitsS limits = session.getLimits();
        limits.factor_degree = kTimedFactorDegree;
        session.setLimits(limits);
    }
}

void GinacEntryC::prepareWorker(const CommandLineC& options) const {
    if (installed != nullptr) {
        prepare(*installed, options);
    }
    EngineEntryABC::prepareWorker(options);
}

support::OutcomeS GinacEntryC::evaluate(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression,
                                        bool numeric) const {
    if (installed == nullptr) {
        return EngineEntryABC::evaluate(expression, numeric);
    }
    support::OutcomeS outcome;
    installed->executeOutcome(expression, numeric, outcome);
    return outcome;
}

support::OutcomeS GinacEntryC::evaluateAside(const CommandLineC& options, const char16_t* const* core_names,
                                             bool worker,
                                             const qorv::oss::PointerTC<AlgebraicExpressionC>& expression) const {
    support::OutcomeS outcome;
    if (!aside) {
        std::string problem;
        aside = make(options, core_names, problem);
        if (!aside) {
            outcome.reason = Utf8C::toUtf16(problem);
            return outcome;
        }
        if (worker) {
            prepare(*aside, options);
        }
    }
    aside->executeOutcome(expression, false, outcome);
    return outcome;
}

bool GinacEntryC::runBatch(void (*work)(void*), void* context) const {
    return GinacEngineC::runOnWorker(work, context);
}

const EngineEntryABC& ginacEntry() {
    static const GinacEntryC entry;
    return entry;
}

}  // namespace qorv::math::algexpr::cli
