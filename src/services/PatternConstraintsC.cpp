// SPDX-License-Identifier: MIT
#include "algexpr/PatternConstraintsC.h"

#include <new>
#include <utility>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/TreeCursorC.h"
#include "algexpr/TreeSearch.h"
#include "services/Conditions.h"
#include "services/RuleC.h"

namespace qorv::math::algexpr {

PatternConstraintsC::PatternConstraintsC(PatternC::SettingsS settings) : settings(std::move(settings)) {}

PatternConstraintsC::~PatternConstraintsC() = default;

bool PatternConstraintsC::add(std::vector<std::unique_ptr<detail::RuleC>>& forms, const NodeABC* pattern,
                              const NodeABC* condition, std::u16string* problem) {
    return detail::RuleC::addTo(forms, pattern, nullptr, false, condition, settings, problem);
}

bool PatternConstraintsC::accept(const NodeABC* pattern, const NodeABC* condition, std::u16string* problem) {
    return add(accepted, pattern, condition, problem);
}

bool PatternConstraintsC::reject(const NodeABC* pattern, const NodeABC* condition, std::u16string* problem) {
    return add(rejected, pattern, condition, problem);
}

bool PatternConstraintsC::addForms(const std::vector<RuleReaderC::LineS>& lines, RuleReaderC::ErrorS& error) {
    for (const RuleReaderC::LineS& line : lines) {
        std::u16string problem;
        const NodeABC* condition = line.condition ? line.condition->getNode() : nullptr;
        const bool added = line.keyword == u"reject" ? reject(line.pattern->getNode(), condition, &problem)
                                                     : accept(line.pattern->getNode(), condition, &problem);
        if (!added) {
            error.line = line.line;
            error.column = line.pattern_column;
            error.message = problem;
            return false;
        }
    }
    return true;
}

std::size_t PatternConstraintsC::acceptedCount() const noexcept { return accepted.size(); }

std::size_t PatternConstraintsC::rejectedCount() const noexcept { return rejected.size(); }

MatcherC& PatternConstraintsC::matcher() noexcept { return matcher_c; }

// Whether the form matches at `tree` with its condition holding.
bool PatternConstraintsC::holdsAt(const detail::RuleC& form, const NodeABC* tree, VerdictS& verdict) {
    const MatchResultE found = form.matchAt(matcher_c, tree, settings);
    if (found == MatchResultE::OutOfMemory) {
        throw std::bad_alloc();
    }
    verdict.gave_up = verdict.gave_up || found == MatchResultE::GaveUp;
    return found == MatchResultE::Matched;
}

PatternConstraintsC::VerdictS PatternConstraintsC::judge(const NodeABC* tree, bool final_check) {
    VerdictS verdict;
    try {
        matcher_c.setSlotsMatchAnything(!final_check);
        for (std::size_t f = 0; f < accepted.size() && verdict.accepted == kNone; ++f) {
            verdict.accepted = tree != nullptr && holdsAt(*accepted[f], tree, verdict) ? f : kNone;
        }
        matcher_c.setSlotsMatchAnything(false);  // a slot has no rejected form yet
        for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr && verdict.rejected == kNone; cursor.next()) {
            for (std::size_t f = 0; f < rejected.size() && verdict.rejected == kNone; ++f) {
                verdict.rejected = holdsAt(*rejected[f], cursor.node(), verdict) ? f : kNone;
            }
        }
        const bool slot_left = final_check && hasSymbol(tree, u"_");
        verdict.acceptable = tree != nullptr && (accepted.empty() || verdict.accepted != kNone) &&
                             verdict.rejected == kNone && !slot_left;
    } catch (const std::bad_alloc&) {
        verdict = VerdictS();
        verdict.out_of_memory = true;
    }
    return verdict;
}

bool PatternConstraintsC::isAcceptable(AlgebraicExpressionC& expression) {
    return judge(expression.getNode(), false).acceptable;
}

bool PatternConstraintsC::isAcceptableFinal(AlgebraicExpressionC& expression) {
    return judge(expression.getNode(), true).acceptable;
}

}  // namespace qorv::math::algexpr
