// SPDX-License-Identifier: MIT
// PatternC: a tree that describes a form of trees, compiled for MatcherC.
// A pattern is an ordinary tree in which some subtrees are wildcard calls,
// so it reads in prefix and infix alike and collides with no symbol:
//
//   wild(a)                  any one subtree, bound to the name a
//   wild(n, integer)         any integer; the conditions follow the name
//   wild(c, number, positive)
//   wild(e, free(x))         any subtree in which x does not occur
//   wilds(rest)              a sequence: any number (0 included) of the
//                            arguments of the function it stands in
//   wild(a, default(1))      optional: see "Matching modulo algebra" below
//   wild(a, unordered)       repeated: equal up to the order of plus, times
//
//   PatternC pattern;
//   if (!pattern.compile(read(u"plus(times(wild(a, number), x), wilds(r))"), PatternC::SettingsS(), &why)) ...
//
// Conditions: integer, number (integer or float), positive (a number above
// 0), symbol (an extended symbol other than the slot "_"), free(T) (no
// subtree equal to T), and the client's own by name (SettingsS::conditions;
// a ConstraintsBC plugs in through fromConstraints). A wildcard named twice
// stands for equal subtrees (equalTrees, TreeOrder.h); each occurrence checks
// its own conditions. A sequence's conditions hold for each of its elements.
//
// Matching is structural: on the tree as read. minus(a,b) does not match
// plus(a,neg(b)), nested plus nodes are not flattened, 2 does not match 2.0.
// The core functions named in SettingsS::commutative (plus and times unless
// the client says otherwise) match their arguments in any order; a
// commutative function takes at most one sequence wildcard, which gets the
// arguments left over, in their order. Elsewhere sequences take consecutive
// arguments, the shortest first.
//
// Matching modulo algebra, opt-in per wildcard:
//  - default(V): a function whose arguments are such wildcards but one also
//    matches what that one argument matches, the wildcards bound to their V
//    (not checked against their conditions): times(wild(a, default(1)),
//    power(x, wild(n, default(1)))) matches power(x,2) with a = 1, times(3,x)
//    with n = 1, and x. Such a times with one default matches neg(T) too,
//    binding -1 (the session's integer), as -x^2 is -1 times x^2.
//  - unordered: where the wildcard stands again, the subtree need only be
//    equal up to the order of the arguments of the commutative functions:
//    f(wild(a, unordered), wild(a)) matches f(plus(x,y), plus(y,x)).
// Other wildcards match structurally, as above, at no extra cost.
//
// Ownership: compile copies the tree; the pattern keeps its copy, which
// tree() lends. The names in SettingsS go through the current session when
// compiling (core names become codes), so compile under the session of the
// trees to match. No exceptions escape but the client's; memory running out
// is a failed compile.
#ifndef ALGEXPR_PATTERNC_H
#define ALGEXPR_PATTERNC_H

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "algexpr/ConstraintsBC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class MatcherC;
namespace detail {
class RuleC;
}

class ALGEXPR_API PatternC final {
public:
    /// A client condition: whether its arguments (lent) qualify. A
    /// wildcard's condition gets the one subtree; a rule's "if" condition
    /// gets the arguments written there, with the wildcards filled in.
    using ConditionF = std::function<bool(const std::vector<const NodeABC*>& arguments)>;

    /// How patterns are spelled and what they mean.
    struct SettingsS {
        std::u16string wildcard = u"wild";    ///< the name of single wildcards
        std::u16string sequence = u"wilds";   ///< the name of sequence wildcards
        /// Core names whose functions match in any order of arguments.
        std::vector<std::u16string> commutative = {u"plus", u"times"};
        /// The client's conditions, by name (a built-in name is taken first).
        std::map<std::u16string, ConditionF> conditions;
    };

    /// A condition that asks `constraints` whether a copy of the subtree is
    /// acceptable (isAcceptable, or isAcceptableFinal with `final_check`).
    static ConditionF fromConstraints(qorv::oss::PointerTC<ConstraintsBC> constraints, bool final_check = false);

    PatternC() noexcept;
    PatternC(PatternC&&) noexcept;
    PatternC& operator=(PatternC&&) noexcept;
    PatternC(const PatternC&) = delete;
    PatternC& operator=(const PatternC&) = delete;
    ~PatternC();

    /// Compiles a copy of `pattern`. False, with the reason in `problem`
    /// when given, for a null pattern, a malformed wildcard (no name, an
    /// unknown condition, one name both single and sequence, two sequences
    /// in one commutative function) or memory running out; the pattern is
    /// then empty.
    bool compile(const NodeABC* pattern, const SettingsS& settings, std::u16string* problem = nullptr);

    /// Whether a pattern is compiled.
    bool isCompiled() const noexcept;
    /// The pattern's tree, lent; null when none is compiled.
    const NodeABC* tree() const noexcept;
    /// The wildcards, numbered in the order in which they first appear in
    /// the pattern's text.
    std::size_t wildcardCount() const noexcept;
    const std::u16string& wildcardName(std::size_t wildcard) const;
    bool isSequence(std::size_t wildcard) const;
    /// The number of the wildcard of that name, or wildcardCount().
    std::size_t findWildcard(const std::u16string& name) const;

    struct DataS;

private:
    friend class MatcherC;
    friend class detail::RuleC;
    std::unique_ptr<DataS> data_p;
};

}  // namespace qorv::math::algexpr

#endif
