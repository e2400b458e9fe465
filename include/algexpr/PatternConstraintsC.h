// SPDX-License-Identifier: MIT
// PatternConstraintsC: constraints stated as forms (patterns, PatternC)
// rather than code: an expression is acceptable when it has one of the
// accepted forms at its root (any expression, when none is given) and none
// of the rejected forms anywhere in it.
//
//   PatternC::SettingsS settings;
//   settings.conditions[u"coprime"] = ...;      // the client's own condition
//   PatternConstraintsC answer(settings);
//   answer.accept(read(u"divide(wild(p, integer), wild(q, integer, positive))"), read(u"coprime(wild(p), wild(q))"));
//   answer.reject(read(u"divide(wild(n), 1)"));
//   answer.isAcceptable(*expression);          // while editing: slots "_" stand for anything
//   answer.isAcceptableFinal(*expression);     // at the end: no slot left
//
// Forms also come from a file (RuleReaderC, FormE::Forms: "accept PATTERN",
// "reject PATTERN", each with an optional "if CONDITION"). judge() tells
// which form decided. A form whose match gives up (MatcherC's attempt limit)
// decides nothing, and the verdict says so; an expression is never accepted
// by a form that gave up.
//
// The forms are copied; the expressions judged are only read. One object
// serves one thread at a time (it holds a matcher).
#ifndef ALGEXPR_PATTERNCONSTRAINTSC_H
#define ALGEXPR_PATTERNCONSTRAINTSC_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "algexpr/ConstraintsBC.h"
#include "algexpr/MatcherC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/PatternC.h"
#include "algexpr/RuleReaderC.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

namespace detail {
class RuleC;
}

class ALGEXPR_API PatternConstraintsC : public ConstraintsBC {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    /// What judge() found: the first accepted form the root has and the
    /// first rejected form found (numbered in the order added, kNone when
    /// none).
    struct VerdictS {
        bool acceptable = false;
        std::size_t accepted = kNone;
        std::size_t rejected = kNone;
        bool gave_up = false;
        bool out_of_memory = false;  ///< memory ran out: not acceptable, nothing known
    };

    explicit PatternConstraintsC(PatternC::SettingsS settings = PatternC::SettingsS());
    ~PatternConstraintsC() override;

    /// Adds an accepted or a rejected form (copies; the condition may be
    /// null). False, with the reason in `problem` when given, when it does
    /// not compile.
    bool accept(const NodeABC* pattern, const NodeABC* condition = nullptr, std::u16string* problem = nullptr);
    bool reject(const NodeABC* pattern, const NodeABC* condition = nullptr, std::u16string* problem = nullptr);
    /// Adds the forms read from a file, by their keywords; false at the
    /// first that does not compile, with `error` at its line and column.
    bool addForms(const std::vector<RuleReaderC::LineS>& lines, RuleReaderC::ErrorS& error);
    std::size_t acceptedCount() const noexcept;
    std::size_t rejectedCount() const noexcept;

    /// Judges the tree; with `final_check` a slot "_" is a missing part
    /// (not acceptable), otherwise it matches anything.
    VerdictS judge(const NodeABC* tree, bool final_check);

    bool isAcceptable(AlgebraicExpressionC& expression) override;
    bool isAcceptableFinal(AlgebraicExpressionC& expression) override;

    /// The matcher the forms use (its attempt limit applies).
    MatcherC& matcher() noexcept;

private:
    bool add(std::vector<std::unique_ptr<detail::RuleC>>& forms, const NodeABC* pattern, const NodeABC* condition,
             std::u16string* problem);
    bool holdsAt(const detail::RuleC& form, const NodeABC* tree, VerdictS& verdict);

    PatternC::SettingsS settings;
    std::vector<std::unique_ptr<detail::RuleC>> accepted;
    std::vector<std::unique_ptr<detail::RuleC>> rejected;
    MatcherC matcher_c;
};

}  // namespace qorv::math::algexpr

#endif
