// SPDX-License-Identifier: MIT
// TreeCheckC: the walk over a tree before any of it reaches GiNaC. It measures
// the depth (without recursion, at any depth) and refuses trees deeper than
// the engine's limits, notes which plus and times nodes merge into a parent
// of the same kind, and gathers the distinct extended symbols.
#ifndef ALGEXPR_GINAC_SRC_TREECHECKC_H
#define ALGEXPR_GINAC_SRC_TREECHECKC_H

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "Vocabulary.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {
class NodeABC;
class SymbolC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::ginac::detail {

class TreeCheckC : public NodeVisitorABC {
public:
    explicit TreeCheckC(const std::vector<OperationE>& operations);
    ~TreeCheckC() override;

    /// Walks the tree; throws RefusalC when it is too deep.
    void run(NodeABC& root);

    /// By post-order position: 1 when the node's arguments join its parent's:
    /// a plus or binary minus that is an argument of a plus or the first
    /// argument of a binary minus, or a times that is an argument of a times.
    const std::vector<unsigned char>& merged() const { return merges; }
    /// The distinct extended symbols, in the order first met.
    const std::vector<SymbolC*>& symbols() const { return symbol_list; }
    /// The depth: 0 for a leaf, one more than the deepest argument for a
    /// function, not counting the merged nodes.
    std::size_t depth() const { return tree_depth; }

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;

private:
    struct Frame {
        OperationE operation;
        std::size_t first;  // its first argument's place on the value stack
    };
    struct Value {
        std::size_t depth;
        OperationE operation;  // None for leaves and extended functions
        std::size_t arity;
        std::size_t position;  // post-order
    };

    OperationE operationOf(int code) const;
    void enter(OperationE operation);
    void leave();
    void leaf();

    const std::vector<OperationE>& operations;
    std::vector<Frame> frames;
    std::vector<Value> values;
    std::vector<unsigned char> merges;
    std::vector<SymbolC*> symbol_list;
    std::unordered_set<SymbolC*> symbol_set;
    std::size_t tree_depth = 0;
    std::u16string violation;  // the first operand too deep for its operation
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
