// SPDX-License-Identifier: MIT
// NodeVisitorBC: a visitor whose visits all do nothing and answer true, so
// that a visitor overrides only the visits it cares about.
//
//   class FloatCounter : public NodeVisitorBC {
//   public:
//       FloatCounter() : NodeVisitorBC(0) {}   // leaf visits only
//       bool visitFloatNode(FloatNodeC&) override { ++count; return true; }
//       int count = 0;
//   };
//   FloatCounter counter;
//   expression->traverse(counter);
//
// The mask still decides which function-node visits a traversal makes (see
// NodeVisitorABC): a visitor that overrides a function visit asks for its
// order there. The visitor holds nothing; the nodes it is given are lent.
#ifndef ALGEXPR_NODEVISITORBC_H
#define ALGEXPR_NODEVISITORBC_H

#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API NodeVisitorBC : public NodeVisitorABC {
public:
    ~NodeVisitorBC() override;

    /// Each answers true: the walk goes on.
    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;

protected:
    /// `visitations_mask`: the VisitationOrderE bits of the function-node
    /// visits wanted, as for NodeVisitorABC.
    explicit NodeVisitorBC(int visitations_mask);
};

}  // namespace qorv::math::algexpr

#endif
