// SPDX-License-Identifier: MIT
// MatcherC: matches compiled patterns (PatternC) against trees: at the root,
// with the bindings of the first match, or at every node, with the places
// where the pattern matches.
//
//   MatcherC matcher;
//   if (matcher.match(pattern, tree) == MatchResultE::Matched) {
//       const NodeABC* a = matcher.binding(pattern.findWildcard(u"a"))[0];
//   }
//
// The search backtracks over the choices of commutative functions and
// sequences; each choice taken again counts as an attempt, and a match that
// spends the attempt limit answers GaveUp, never NoMatch. Matches that need
// no choice (no commutative function, no sequence) cost at most a walk of
// the pattern and of the tree's part under it.
//
// With slots allowed, the empty slot "_" (an extended symbol) in the tree
// matches any part of the pattern, conditions included: an expression being
// edited matches the form it is on the way to.
//
// No recursion: patterns and trees of any depth. No exceptions escape but
// the client's (conditions, number values). Bindings are lent nodes of the
// tree matched, valid while it lives unchanged and until the next match. One
// matcher serves one thread at a time; patterns may be shared.
#ifndef ALGEXPR_MATCHERC_H
#define ALGEXPR_MATCHERC_H

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "algexpr/MatchResultE.h"
#include "algexpr/NodeABC.h"
#include "algexpr/ParentNodeABC.h"
#include "algexpr/PatternC.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class ALGEXPR_API MatcherC final {
public:
    static constexpr std::size_t kDefaultAttempts = 100000;

    /// A node where the pattern matches: its number in a pre-order walk of
    /// the tree (the root is 0, null children are not counted), and the
    /// node, lent.
    struct PlaceS {
        std::size_t index;
        const NodeABC* node;
    };

    MatcherC() noexcept;
    MatcherC(const MatcherC&) = delete;
    MatcherC& operator=(const MatcherC&) = delete;
    ~MatcherC();

    /// How many choices a match may take again before it gives up.
    void setAttemptLimit(std::size_t attempts) noexcept;
    std::size_t getAttemptLimit() const noexcept;
    /// Whether the slot "_" in a tree matches anything (off by default).
    void setSlotsMatchAnything(bool on) noexcept;

    /// Matches `pattern` at the root of `tree`. NoMatch for a null tree or
    /// a pattern not compiled.
    MatchResultE match(const PatternC& pattern, const NodeABC* tree);

    /// A test of a whole match; it reads the bindings through the matcher.
    using AcceptF = std::function<bool(const MatcherC& matcher)>;
    /// Matches as above, but only with bindings that `accept` takes: when it
    /// refuses them, the search goes on into the next way the commutative
    /// functions and sequences allow, so that a condition on several
    /// wildcards finds the order of arguments that meets it. Each refusal
    /// spends an attempt. std::bad_alloc from `accept` gives OutOfMemory;
    /// other exceptions pass.
    MatchResultE match(const PatternC& pattern, const NodeABC* tree, const AcceptF& accept);
    /// After Matched: how many subtrees the wildcard (numbered as in the
    /// pattern) stands for: one for a single wildcard, any number for a
    /// sequence; 0 otherwise.
    std::size_t bindingCount(std::size_t wildcard) const noexcept;
    /// The k-th of them, lent; null past the end.
    const NodeABC* bindingAt(std::size_t wildcard, std::size_t k) const noexcept;
    /// The same as a list; empty when memory runs out (bindingCount tells).
    std::vector<const NodeABC*> binding(std::size_t wildcard) const;

    /// Where the k-th subtree bound to the wildcard sits: its function node
    /// in the tree matched and its index among that node's children (null
    /// children counted), or a null parent for the tree matched itself, for
    /// a default from the pattern (wild(a, default(V))) and past the end.
    /// For clients that edit the tree in place.
    struct OriginS {
        const ParentNodeABC* parent;
        unsigned int index;
    };
    OriginS bindingOrigin(std::size_t wildcard, std::size_t k) const noexcept;

    /// Replaces `places` with every node of `tree` at which `pattern`
    /// matches, in pre-order. Matched when there is one, GaveUp when none
    /// was found but some node gave up (the places found are kept when some
    /// gave up and others matched: gaveUpSomewhere() tells), NoMatch, or
    /// OutOfMemory. The bindings are left undefined.
    MatchResultE matchAll(const PatternC& pattern, const NodeABC* tree, std::vector<PlaceS>& places);
    /// Whether the last matchAll gave up at some node.
    bool gaveUpSomewhere() const noexcept;

    /// The child indices from the root of `tree` down to the node of that
    /// pre-order number (null children not counted); empty for the root and
    /// for a number past the end.
    static std::vector<unsigned int> pathTo(const NodeABC* tree, std::size_t index);

    struct StateS;

private:
    MatchResultE matchWith(const PatternC& pattern, const NodeABC* tree, const AcceptF* accept);

    std::unique_ptr<StateS> state_p;
    std::size_t attempt_limit = kDefaultAttempts;
    bool slots = false;
    bool gave_up_somewhere = false;
};

}  // namespace qorv::math::algexpr

#endif
