// SPDX-License-Identifier: MIT
// SubstVisitorC: copies a tree, replacing matching symbol leaves by fresh
// clones of a replacement tree. Neither the tree nor the replacement changes;
// the caller owns the result, which shares only symbols with them.
//
//   SubstVisitorC subst;
//   NodeABC* copy = subst.subst(tree, u"x", replacement);   // every x replaced
//
// Matching: by name, the extended symbols of exactly that name; by code, the
// core symbols of that code and the extended symbols with the empty name. A
// substitution by the empty name also replaces the core symbols of the code of
// this visitor's latest substitution by code (none before the first one).
// Function nodes never match; their arguments are searched.
//
// The result is null for a null tree, for a null replacement when some leaf
// matches, and when memory runs out. Trees of any depth are fine.
#ifndef ALGEXPR_SUBSTVISITORC_H
#define ALGEXPR_SUBSTVISITORC_H

#include <deque>
#include <memory>
#include <optional>
#include <stack>
#include <string>

#include "algexpr/NodeABC.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

class NodeABC;
class ParentNodeABC;

class ALGEXPR_API SubstVisitorC : public NodeVisitorABC {
public:
    SubstVisitorC();
    SubstVisitorC(const SubstVisitorC&) = delete;
    SubstVisitorC& operator=(const SubstVisitorC&) = delete;
    ~SubstVisitorC() override;

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;

    NodeABC* subst(NodeABC* tree, const std::u16string& name, const NodeABC* replacement);
    NodeABC* subst(NodeABC* tree, int code, const NodeABC* replacement);
    /// The same copies, owned by the returned pointer.
    std::unique_ptr<NodeABC> substOwned(NodeABC* tree, const std::u16string& name, const NodeABC* replacement) {
        return std::unique_ptr<NodeABC>(subst(tree, name, replacement));
    }
    std::unique_ptr<NodeABC> substOwned(NodeABC* tree, int code, const NodeABC* replacement) {
        return std::unique_ptr<NodeABC>(subst(tree, code, replacement));
    }

private:
    NodeABC* run(NodeABC* tree);
    bool makeStack();
    bool push(NodeABC* node);
    bool pushReplacement();
    bool pushFunction(ParentNodeABC* copy, const ParentNodeABC& source);
    void clearStack();

    std::u16string name;
    int code;
    bool code_set;
    const NodeABC* replacement_p;
    std::optional<std::stack<NodeABC*>> node_stack;  // made on first use: making it allocates
    bool failed;
};

}  // namespace qorv::math::algexpr

#endif
