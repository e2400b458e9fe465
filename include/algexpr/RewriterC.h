// SPDX-License-Identifier: MIT
// RewriterC: rewrites trees by rules "pattern -> replacement, if condition",
// written with the wildcards of PatternC:
//
//   RewriterC rewriter;
//   rewriter.addRule(read(u"log(times(wild(a, positive), wild(b, positive)))"),
//                    read(u"plus(log(wild(a)), log(wild(b)))"));
//   rewriter.addRule(read(u"power(power(wild(x), wild(m)), wild(n))"), read(u"power(wild(x), times(wild(m), wild(n)))"),
//                    read(u"and(integer(wild(m)), integer(wild(n)))"));
//   RewriterC::ResultS result = rewriter.rewrite(tree);   // result.tree is yours
//
// Each pass walks a copy of the tree bottom-up (arguments before their
// function); at each node the first rule whose pattern matches with its
// condition holding replaces the node with its replacement, the bindings
// filled in (a sequence's subtrees spliced into the arguments; a plus or
// times that its sequences leave with one argument is that argument, with
// none 0 or 1; bindings that would leave any other call of the replacement
// without arguments are no match, as f() reads nowhere). The condition takes
// part in matching: when the bindings of one order of a commutative
// function's arguments fail it, the next order is tried, within the
// matcher's attempt limit. Passes repeat until
// one changes nothing (Done) or the step budget (rules applied) is spent
// (BudgetSpent: a rule set that loops stops there, with the tree as far as it
// got). Matching is structural, as in PatternC.
//
// A condition is a predicate call: integer(wild(a)), number, positive,
// symbol (one argument each), free(wild(e), x) (no x in e), a client
// condition of SettingsS with any arguments, or and(...), or(...), not(c) of
// conditions. The replacement and condition may only use the pattern's
// wildcards. A match that gives up (MatcherC's attempt limit) counts as no
// match, and the result says that one did.
//
// No recursion: trees of any depth. No exceptions escape but the client's.
// The rewriter copies the rule trees it is given; the trees it rewrites are
// only read. One rewriter serves one thread at a time.
#ifndef ALGEXPR_REWRITERC_H
#define ALGEXPR_REWRITERC_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "algexpr/MatcherC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/PatternC.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

namespace detail {
class RuleC;
}

class ALGEXPR_API RewriterC final {
public:
    static constexpr std::size_t kDefaultSteps = 10000;

    enum class StatusE { Done, BudgetSpent, OutOfMemory };
    struct ResultS {
        StatusE status = StatusE::OutOfMemory;
        std::unique_ptr<NodeABC> tree;  ///< the rewritten tree; null only when memory ran out
        std::size_t steps = 0;          ///< rules applied
        bool gave_up = false;           ///< some match ran out of attempts
    };

    /// Rules compiled with these settings (wildcard names, commutative
    /// functions, the client's conditions).
    explicit RewriterC(PatternC::SettingsS settings = PatternC::SettingsS());
    RewriterC(const RewriterC&) = delete;
    RewriterC& operator=(const RewriterC&) = delete;
    ~RewriterC();

    /// Adds a rule after the others (copies of the trees; the condition may
    /// be null). False, with the reason in `problem` when given, when a part
    /// is malformed or the replacement or the condition uses a wildcard the
    /// pattern lacks.
    bool addRule(const NodeABC* pattern, const NodeABC* replacement, const NodeABC* condition = nullptr,
                 std::u16string* problem = nullptr);
    std::size_t ruleCount() const noexcept;

    /// The most rules one rewrite applies.
    void setStepBudget(std::size_t steps) noexcept;
    std::size_t getStepBudget() const noexcept;
    /// The matcher the rules use (its attempt limit applies).
    MatcherC& matcher() noexcept;

    /// `tree` rewritten (a new tree; a null tree gives a null one, Done).
    ResultS rewrite(const NodeABC* tree);

private:
    bool pass(std::unique_ptr<NodeABC>& tree, ResultS& result, bool& changed);
    NodeABC* applyFirst(NodeABC* node, ResultS& result, bool& changed);

    PatternC::SettingsS settings;
    std::vector<std::unique_ptr<detail::RuleC>> rules;
    MatcherC matcher_c;
    std::size_t budget = kDefaultSteps;
};

}  // namespace qorv::math::algexpr

#endif
