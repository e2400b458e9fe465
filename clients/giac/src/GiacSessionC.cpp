// SPDX-License-Identifier: MIT
#include "algexpr/giac/GiacSessionC.h"

#include <memory>
#include <new>
#include <utility>

#include "BoundaryC.h"
#include "DoubleValueFactoryC.h"
#include "SessionCallC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/giac/IntegerValueFactoryC.h"

namespace qorv::math::algexpr::giac {

using qorv::oss::PointerTC;

GiacSessionC::GiacSessionC(const char16_t* const* core_names)
    : GiacSessionC(PointerTC<GiacEngineC>(new GiacEngineC(core_names)), core_names) {}

GiacSessionC::GiacSessionC(PointerTC<GiacEngineC> engine, const char16_t* const* core_names)
    : CASSessionBC(engine, core_names, PointerTC<IntegerValueFactoryABC>(new IntegerValueFactoryC),
                   PointerTC<FloatValueFactoryABC>(new support::DoubleValueFactoryC)),
      engine_p(std::move(engine)) {}

GiacSessionC::~GiacSessionC() = default;

PointerTC<AlgebraicExpressionC> GiacSessionC::executeExpression(PointerTC<AlgebraicExpressionC> expression,
                                                                bool numeric, std::u16string* reason) {
    support::OutcomeS outcome;
    executeOutcome(expression, numeric, outcome);
    return support::SessionCallC::answered(std::move(outcome), reason);
}

void GiacSessionC::executeOutcome(const PointerTC<AlgebraicExpressionC>& expression, bool numeric,
                                  support::OutcomeS& outcome) {
    outcome = support::SessionCallC::outcome(
        expression, [&](NodeABC& root, std::u16string& why, support::OutcomeE& kind) {
            return engine_p->evaluate(root, *this, numeric, limits, assumptions, why, kind);
        });
}

bool GiacSessionC::setThrowOnAllocationFailure(bool on) {
    if (!on) {
        return !detail::BoundaryC::throwsOnAllocationFailure();
    }
    return detail::BoundaryC::throwOnAllocationFailure();
}

bool GiacSessionC::getThrowOnAllocationFailure() const { return detail::BoundaryC::throwsOnAllocationFailure(); }

bool GiacSessionC::setFilterStandardStreams(bool on) {
    if (on) {
        detail::BoundaryC::filterStandardStreams();
    }
    return detail::BoundaryC::filtersStandardStreams() == on;
}

bool GiacSessionC::getFilterStandardStreams() const { return detail::BoundaryC::filtersStandardStreams(); }

bool GiacSessionC::setLimits(const GiacEngineC::LimitsS& limits) {
    if (limits.depth == 0 || limits.result_nodes == 0 || limits.integer_digits == 0) {
        return false;
    }
    this->limits = limits;
    return true;
}

const GiacEngineC::LimitsS& GiacSessionC::getLimits() const { return limits; }

bool GiacSessionC::setAssumptions(std::vector<SymbolAssumptionS> assumptions, std::u16string* message) {
    std::u16string why;
    if (!GiacEngineC::honours(assumptions, why)) {
        if (message != nullptr) {
            *message = std::move(why);
        }
        return false;
    }
    this->assumptions = std::move(assumptions);
    return true;
}

const std::vector<SymbolAssumptionS>& GiacSessionC::getAssumptions() const { return assumptions; }

}  // namespace qorv::math::algexpr::giac
