// SPDX-License-Identifier: MIT
// TreeCheckerC: structural checks on expression trees for the fuzz targets,
// all without recursion, so trees of any depth are fine.
#ifndef ALGEXPR_FUZZ_TREECHECKERC_H
#define ALGEXPR_FUZZ_TREECHECKERC_H

#include <string>
#include <vector>

#include "algexpr/CASSessionBC.h"
#include "algexpr/NodeABC.h"

namespace algexpr_fuzz {

using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::NodeABC;

class TreeCheckerC {
public:
    /// Every node of the tree in pre-order, null children left out.
    static std::vector<NodeABC*> nodes(NodeABC* root);
    /// Same classes, codes, symbols (the very objects), values (bit for bit)
    /// and children; with `distinct`, also no node in common.
    static bool sameTree(const NodeABC* a, const NodeABC* b, bool distinct);
    /// True when the tree is in the canonical form of the notation, where
    /// printing and reading back must give an equal tree: no name holds "(",
    /// ")", "," or whitespace, no leaf name is a number text, and the session's
    /// factories read every number's printed text back to the same finite value
    /// of the same node class.
    static bool isCanonical(NodeABC* root, CASSessionBC& session);
    /// The tree as text, each node as its class and text, children in brackets:
    /// "ExtendedFunctionNodeC f[IntegerNodeC 1|CoreSymbolNodeC pi]"; "null" for null.
    static std::string describe(const NodeABC* root);
    /// The text with every code unit outside printable ASCII as \uXXXX.
    static std::string escape(const std::u16string& text);
};

}  // namespace algexpr_fuzz

#endif
