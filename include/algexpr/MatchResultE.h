// SPDX-License-Identifier: MIT
// MatchResultE: what matching a pattern against a tree found (MatcherC).
// GaveUp is not "no": the search ran out of attempts (commutative matching
// can try many orders) before it found a match or proved there is none.
#ifndef ALGEXPR_MATCHRESULTE_H
#define ALGEXPR_MATCHRESULTE_H

namespace qorv::math::algexpr {

enum class MatchResultE {
    NoMatch = 0,  ///< the tree has no form the pattern describes
    Matched,      ///< it has; the matcher holds the bindings
    GaveUp,       ///< the attempt limit was spent before an answer
    OutOfMemory   ///< memory ran out; nothing is known
};

}  // namespace qorv::math::algexpr

#endif
