// SPDX-License-Identifier: MIT
// NodeVisitorABC: the base of every visitor that walks a tree (the prefix
// printer, substitution, and whatever a client adds).
//
// A traversal (NodeABC::traverse) calls one visit per leaf and, for each
// function node, the visits that the mask asks for: PreOrder before its first
// child, InOrder between two children, PostOrder after its last child. Each
// visit answers whether to go on; the first false ends the whole walk.
//
//   class CountLeaves : public NodeVisitorABC {
//   public:
//       CountLeaves() : NodeVisitorABC(0) {}   // leaves only
//       bool visitCoreSymbolNode(CoreSymbolNodeC&) override { ++n; return true; }
//       ...
//       int n = 0;
//   };
#ifndef ALGEXPR_NODEVISITORABC_H
#define ALGEXPR_NODEVISITORABC_H

#include "algexpr/VisitationOrderE.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class CoreFunctionNodeC;
class ExtendedFunctionNodeC;
class CoreSymbolNodeC;
class ExtendedSymbolNodeC;
class FloatNodeC;
class IntegerNodeC;

class ALGEXPR_API NodeVisitorABC {
public:
    virtual ~NodeVisitorABC();
    virtual bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) = 0;
    virtual bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) = 0;
    virtual bool visitCoreSymbolNode(CoreSymbolNodeC& node) = 0;
    virtual bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) = 0;
    virtual bool visitFloatNode(FloatNodeC& node) = 0;
    virtual bool visitIntegerNode(IntegerNodeC& node) = 0;

    /// True when the mask and `order` have a bit in common.
    bool interestedInVisit(VisitationOrderE order);

protected:
    /// `visitations_mask`: the VisitationOrderE bits of the function-node
    /// visits wanted (leaf visits are always made).
    explicit NodeVisitorABC(int visitations_mask);
    int getVisitationsMask() const;
    /// A traversal under way uses the new mask from its next decision on.
    void setVisitationsMask(int visitations_mask);

private:
    int visitations_mask;
};

}  // namespace qorv::math::algexpr

#endif
