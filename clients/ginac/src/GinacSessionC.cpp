// SPDX-License-Identifier: MIT
#include "algexpr/ginac/GinacSessionC.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include "AllocationHooks.h"
#include "SessionCallC.h"
#include "SupportNames.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/ginac/FloatValueFactoryC.h"
#include "algexpr/ginac/IntegerValueFactoryC.h"

namespace qorv::math::algexpr::ginac {

using qorv::oss::PointerTC;

GinacSessionC::GinacSessionC(const char16_t* const* core_names)
    : GinacSessionC(PointerTC<GinacEngineC>(new GinacEngineC(core_names)), core_names) {}

GinacSessionC::GinacSessionC(PointerTC<GinacEngineC> engine, const char16_t* const* core_names)
    : CASSessionBC(engine, core_names, PointerTC<IntegerValueFactoryABC>(new IntegerValueFactoryC),
                   PointerTC<FloatValueFactoryABC>(new FloatValueFactoryC)),
      engine_p(std::move(engine)),
      settings_p(std::make_shared<const SettingsS>()) {}

GinacSessionC::~GinacSessionC() = default;

PointerTC<AlgebraicExpressionC> GinacSessionC::executeExpression(PointerTC<AlgebraicExpressionC> expression,
                                                                 bool numeric, std::u16string* reason) {
    support::OutcomeS outcome;
    executeOutcome(expression, numeric, outcome);
    return support::SessionCallC::answered(std::move(outcome), reason);
}

void GinacSessionC::executeOutcome(const PointerTC<AlgebraicExpressionC>& expression, bool numeric,
                                   support::OutcomeS& outcome) {
    outcome = support::SessionCallC::outcome(
        expression, [&](NodeABC& root, std::u16string& why, support::OutcomeE& kind) {
            const std::shared_ptr<const SettingsS> now = settings();
            return engine_p->evaluate(root, *this, now->limits, now->assumptions, numeric, now->digits, why, kind);
        });
}

std::shared_ptr<const GinacSessionC::SettingsS> GinacSessionC::settings() const {
    const std::lock_guard<std::mutex> lock(settings_mutex);
    return settings_p;
}

// A copy of the settings, changed, in place of the old ones (which the
// evaluations that hold them keep until they end).
template <class ChangeT>
void GinacSessionC::change(ChangeT&& change) {
    const std::lock_guard<std::mutex> lock(settings_mutex);
    auto changed = std::make_shared<SettingsS>(*settings_p);
    change(*changed);
    settings_p = std::move(changed);
}

bool GinacSessionC::setDigits(unsigned long digits, std::u16string* message) {
    if (digits >= 1 && digits <= GinacEngineC::kMaxDigits) {
        change([digits](SettingsS& settings) { settings.digits = digits; });
        return true;
    }
    if (message != nullptr) {
        try {
            *message = digits == 0 ? u"digits must be at least 1"
                                   : u"digits must be at most " + detail::count(GinacEngineC::kMaxDigits);
        } catch (const std::bad_alloc&) {
        }
    }
    return false;
}

unsigned long GinacSessionC::getDigits() const { return settings()->digits; }

// Installed on the worker, between evaluations.
bool GinacSessionC::setThrowOnAllocationFailure(bool on) {
    if (!on) {
        return !detail::allocationHooksInstalled();
    }
    return GinacEngineC::runOnWorker([](void*) { detail::installAllocationHooks(); }, nullptr);
}

bool GinacSessionC::getThrowOnAllocationFailure() const { return detail::allocationHooksInstalled(); }

void GinacSessionC::setLimits(const GinacLimitsS& limits) {
    change([&limits](SettingsS& settings) { settings.limits = limits; });
}

GinacLimitsS GinacSessionC::getLimits() const { return settings()->limits; }

void GinacSessionC::setRealSymbols(std::vector<std::u16string> names) {
    change([&names](SettingsS& settings) {
        std::vector<SymbolAssumptionS>& all = settings.assumptions;
        all.erase(std::remove_if(all.begin(), all.end(),
                                 [](const SymbolAssumptionS& a) { return a.kind == SymbolAssumptionS::KindE::Real; }),
                  all.end());
        for (std::u16string& name : names) {
            all.emplace_back(std::move(name), SymbolAssumptionS::KindE::Real);
        }
    });
}

std::vector<std::u16string> GinacSessionC::getRealSymbols() const {
    std::vector<std::u16string> names;
    for (const SymbolAssumptionS& assumption : settings()->assumptions) {
        if (assumption.kind == SymbolAssumptionS::KindE::Real) {
            names.push_back(assumption.name);
        }
    }
    return names;
}

bool GinacSessionC::setAssumptions(std::vector<SymbolAssumptionS> assumptions, std::u16string* message) {
    std::u16string why;
    if (!GinacEngineC::honours(assumptions, why)) {
        if (message != nullptr) {
            *message = std::move(why);
        }
        return false;
    }
    change([&assumptions](SettingsS& settings) { settings.assumptions = std::move(assumptions); });
    return true;
}

std::vector<SymbolAssumptionS> GinacSessionC::getAssumptions() const { return settings()->assumptions; }

}  // namespace qorv::math::algexpr::ginac
