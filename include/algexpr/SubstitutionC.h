// SPDX-License-Identifier: MIT
// SubstitutionC: several symbols replaced at once. Each symbol leaf of the
// tree that has a replacement becomes a new copy of it, all in one pass, so
// replacements are never substituted again: {x -> y, y -> x} swaps.
//
//   SubstitutionC swap;
//   swap.add(u"x", y_tree);             // extended symbols named x
//   swap.add(u"y", x_tree);
//   swap.add(pi_code, approximation);   // core symbols of that code
//   NodeABC* swapped = swap.apply(tree);                 // yours to delete
//   PointerTC<AlgebraicExpressionC> e = expression->substitute(swap);
//
// Extended symbol leaves match by name, core symbol leaves by code; function
// nodes never match (f in f(x) stays), their arguments are searched. A name
// or code given again replaces its earlier replacement. Replacements are
// lent: they stay the caller's and must live until apply returns; apply
// copies them, and leaves the tree and the replacements as they are.
//
// The result is made of new nodes (symbols are shared, number values
// cloned), function nodes of the library's own classes (a client's class
// derived from one of them is rebuilt as that class, as SubstVisitorC
// does; a node of any other class is copied with its own clone()). Any depth
// and width: the walk is TreeCursorC's, the nodes built wait on a heap stack.
// No exceptions: failure is false or null; exceptions from the client's
// number values pass through, and what was built is freed on the way.
#ifndef ALGEXPR_SUBSTITUTIONC_H
#define ALGEXPR_SUBSTITUTIONC_H

#include <memory>
#include <string>
#include <unordered_map>

#include "algexpr/NodeABC.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class ALGEXPR_API SubstitutionC final {
public:
    SubstitutionC() noexcept;
    SubstitutionC(SubstitutionC&&) noexcept;
    SubstitutionC& operator=(SubstitutionC&&) noexcept;
    SubstitutionC(const SubstitutionC&) = delete;
    SubstitutionC& operator=(const SubstitutionC&) = delete;
    ~SubstitutionC();

    /// Extended symbols named `name` are to become copies of `replacement`.
    /// False when memory runs out (nothing changes then).
    bool add(const std::u16string& name, const NodeABC* replacement);
    /// Core symbols of `code` are to become copies of `replacement`.
    bool add(int code, const NodeABC* replacement);

    /// A new tree, owned by the caller: `tree` with every symbol leaf that
    /// has a replacement replaced by a copy of it. Null for a null tree, for
    /// a null replacement that some leaf needs, and when memory runs out.
    NodeABC* apply(const NodeABC* tree) const;
    /// The same copy, owned by the returned pointer.
    std::unique_ptr<NodeABC> applyOwned(const NodeABC* tree) const { return std::unique_ptr<NodeABC>(apply(tree)); }

private:
    NodeABC* copyOfLeaf(const NodeABC* leaf) const;

    std::unordered_map<std::u16string, const NodeABC*> by_name;
    std::unordered_map<int, const NodeABC*> by_code;
};

}  // namespace qorv::math::algexpr

#endif
