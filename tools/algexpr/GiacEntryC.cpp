// SPDX-License-Identifier: MIT
#include "GiacEntryC.h"

#include <vector>

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/Utf8C.h"
#include "algexpr/giac/GiacEngineC.h"
#include "algexpr/giac/GiacSessionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

using giac::GiacEngineC;

EngineEntryABC::FiguresS GiacEntryC::figures() const {
    FiguresS figures;
    figures.max_diff_order = GiacEngineC::kMaxDiffOrder;
    figures.max_series_order = GiacEngineC::kMaxSeriesOrder;
    figures.numeric_digits = true;  // MPFR
    return figures;
}

std::string GiacEntryC::helpLines() const {
    return "  giac     Giac: exact numbers and symbols like GiNaC, floats as doubles,\n"
           "           every operation above; it takes every symbol to be real\n"
           "           (solve gives real solutions, abs(x)^2 is x^2); --assume\n"
           "           tells it more (positive, integer, ...)\n";
}

std::string GiacEntryC::versionLine() const {
    std::string name;
    appendUtf8(GiacEngineC(nullptr).getName(), name);
    return name + ": symbolic operations, integrals, limits and equations";
}

const char16_t* const* GiacEntryC::builtinCoreNames() const { return GiacEngineC::builtinCoreNames(); }

qorv::oss::PointerTC<giac::GiacSessionC> GiacEntryC::make(const CommandLineC& options,
                                                          const char16_t* const* core_names, std::string& problem) {
    const qorv::oss::PointerTC<giac::GiacSessionC> session(new giac::GiacSessionC(core_names));
    GiacEngineC::LimitsS limits = session->getLimits();
    if (options.numeric && options.digits != 0) {  // computed to the digits written, not from a double
        limits.numeric_digits = options.digits;
    }
    limits.check_answers = options.check_answers;
    limits.refuse_unchecked = options.refuse_unchecked;
    limits.complex_solutions = options.complex_solutions;
    session->setLimits(limits);
    if (!assume(options, *session, problem)) {
        return {};
    }
    // The few messages Giac writes to std::cerr itself never mix with the
    // tool's output.
    session->setFilterStandardStreams(true);
    return session;
}

bool GiacEntryC::install(const CommandLineC& options, const char16_t* const* core_names, std::string& problem) const {
    const qorv::oss::PointerTC<giac::GiacSessionC> session = make(options, core_names, problem);
    if (!session || !makeCurrent(session, problem)) {
        return false;
    }
    installed = session.get();
    return true;
}

support::OutcomeS GiacEntryC::evaluate(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression,
                                       bool numeric) const {
    if (installed == nullptr) {
        return EngineEntryABC::evaluate(expression, numeric);
    }
    support::OutcomeS outcome;
    installed->executeOutcome(expression, numeric, outcome);
    return outcome;
}

support::OutcomeS GiacEntryC::evaluateAside(const CommandLineC& options, const char16_t* const* core_names,
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
            aside->setThrowOnAllocationFailure(true);
        }
    }
    aside->executeOutcome(expression, false, outcome);
    return outcome;
}

void GiacEntryC::prepareWorker(const CommandLineC& options) const {
    if (installed != nullptr) {
        installed->setThrowOnAllocationFailure(true);
    }
    EngineEntryABC::prepareWorker(options);
}

bool GiacEntryC::runBatch(void (*work)(void*), void* context) const { return GiacEngineC::runOnWorker(work, context); }

const EngineEntryABC& giacEntry() {
    static const GiacEntryC entry;
    return entry;
}

}  // namespace qorv::math::algexpr::cli
