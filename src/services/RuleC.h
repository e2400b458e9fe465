// SPDX-License-Identifier: MIT
// One rule: a pattern, optionally a replacement and an "if" condition, both
// written with the pattern's wildcards. The rewriter applies rules; the
// pattern constraints use them (without replacement) as forms.
//
// A condition is a predicate call, integer(wild(a)), free(wild(e), x) or
// one of the client's by name, or and(...), or(...), not(...) of
// conditions. It is tested on a copy with the wildcards filled in.
#ifndef ALGEXPR_SRC_SERVICES_RULEC_H
#define ALGEXPR_SRC_SERVICES_RULEC_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "algexpr/MatcherC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/PatternC.h"
#include "services/NodeCopy.h"

namespace qorv::math::algexpr::detail {

class RuleC {
public:
    /// Compiles the parts (copies); `replacement` and `condition` may be
    /// null. False with `problem` when a part is malformed or uses a
    /// wildcard the pattern lacks. Throws std::bad_alloc.
    bool compile(const NodeABC* pattern, const NodeABC* replacement, const NodeABC* condition,
                 const PatternC::SettingsS& settings, std::u16string& problem);

    /// Compiles a rule and appends it to `rules`; false, with the reason in
    /// `problem` when given ("out of memory" when memory runs out), when it
    /// does not compile. A null `replacement` is allowed only when
    /// `replacement_needed` is false.
    static bool addTo(std::vector<std::unique_ptr<RuleC>>& rules, const NodeABC* pattern, const NodeABC* replacement,
                      bool replacement_needed, const NodeABC* condition, const PatternC::SettingsS& settings,
                      std::u16string* problem);

    const PatternC& pattern() const { return pattern_c; }
    bool hasReplacement() const { return replacement_t.tree.isCompiled(); }

    /// Whether the condition holds (true without one) for the bindings of
    /// the matcher's last match of the pattern. Throws std::bad_alloc.
    bool holds(const MatcherC& matcher, const PatternC::SettingsS& settings) const;

    /// Matches the pattern at `tree` with the condition taking part: a way
    /// of matching whose bindings fail the condition, or leave a call of the
    /// replacement without arguments, is passed over for the next one.
    /// Without either, the plain match.
    MatchResultE matchAt(MatcherC& matcher, const NodeABC* tree, const PatternC::SettingsS& settings) const;

    /// A new tree: the replacement with the matcher's bindings filled in (a
    /// sum or product left by its sequences with one term is that term, with
    /// none 0 or 1);
    /// null when memory runs out (or a sequence stands alone for other than
    /// one subtree). The tree matched, `matched`, is the caller's: the bound
    /// subtrees are moved out of it (copied where used again), so that
    /// rewriting a deep tree does not copy it at every level; what is left
    /// of it is to be deleted.
    NodeABC* instantiate(const MatcherC& matcher, std::unique_ptr<NodeABC>& matched) const;

private:
    struct TemplateS {
        PatternC tree;
        std::unordered_map<const NodeABC*, std::uint32_t> wildcards;  // call in the tree -> pattern's wildcard
        // A core plus or times with a sequence among its arguments -> the
        // value of its empty form (0, 1): left with one argument it is that
        // argument, with none that number, so that no plus() is written.
        std::unordered_map<const NodeABC*, int> units;
        // Each other call whose arguments are all sequences: their pattern
        // wildcards. Bindings that leave such a call no argument are passed
        // over (f() reads nowhere).
        std::vector<std::vector<std::uint32_t>> emptiable;
    };
    // Whether the bindings give each emptiable call an argument.
    bool fits(const MatcherC& matcher) const;
    bool compileTemplate(const NodeABC* tree, TemplateS& part, const PatternC::SettingsS& settings,
                         std::u16string& problem);
    static NodeABC* fill(const TemplateS& part, const MatcherC& matcher, std::unique_ptr<NodeABC>* matched);
    static bool fillUnit(const TemplateS& part, const NodeABC* node, unsigned int entries, BuiltNodesC& built,
                         std::vector<unsigned int>& groups);

    PatternC pattern_c;
    TemplateS replacement_t;
    TemplateS condition_t;
};

/// Checks a condition tree's shape (and, or, not, known predicates with
/// their numbers of arguments); false with `problem` otherwise.
bool checkCondition(const NodeABC* condition, const PatternC::SettingsS& settings, std::u16string& problem);

/// Evaluates a condition tree whose wildcards are filled in.
bool evaluateCondition(const NodeABC* condition, const PatternC::SettingsS& settings);

}  // namespace qorv::math::algexpr::detail

#endif
