// SPDX-License-Identifier: MIT
// ConstraintsBC: the base from which a client builds acceptability checks on
// expressions: two questions about a whole expression with permissive
// defaults, and predicates about single nodes to state rules with.
//
//   class NoFloats : public ConstraintsBC {
//   public:
//       bool isAcceptable(AlgebraicExpressionC& e) override { return !isFloat(e.getNode()); }
//   };
//
// Kind tests go through lookUpBase, so a base-class test (isParentNode) holds
// for both function node classes. Name tests compare the node's toString()
// code unit by code unit: a core node's name therefore follows the current
// session ("?<code>?" or "<code>" when it has no name). Every predicate
// answers false, or null, for a null node.
#ifndef ALGEXPR_CONSTRAINTSBC_H
#define ALGEXPR_CONSTRAINTSBC_H

#include <string>

#include "algexpr/algexpr_export.h"
#include "oss/RefCountedBC.h"

namespace qorv::math::algexpr {

class AlgebraicExpressionC;
class NodeABC;
class ParentNodeABC;
class CoreFunctionNodeC;
class ExtendedFunctionNodeC;

class ALGEXPR_API ConstraintsBC : public qorv::oss::RefCountedBC {
public:
    ConstraintsBC();
    virtual ~ConstraintsBC();

    /// Default: true.
    virtual bool isAcceptable(AlgebraicExpressionC& expression);
    /// Default: isAcceptable of the same expression.
    virtual bool isAcceptableFinal(AlgebraicExpressionC& expression);

protected:
    bool isFloat(NodeABC* node);
    bool isInteger(NodeABC* node);
    bool isExtendedSymbol(NodeABC* node);
    bool isExtendedSymbol(NodeABC* node, std::u16string name);
    bool isCoreSymbol(NodeABC* node, std::u16string name);
    /// An extended symbol named "_".
    bool isEmpty(NodeABC* node);
    bool isNumberOrEmpty(NodeABC* node);
    /// A float or integer node whose number equals x (IEEE equality: NaN
    /// matches nothing, 0 equals -0). An integer is converted to double first.
    /// False for a number node without a value object.
    bool isNumber(NodeABC* node, double x);
    ParentNodeABC* isParentNode(NodeABC* node);
    CoreFunctionNodeC* isCoreFunction(NodeABC* node, std::u16string name);
    ExtendedFunctionNodeC* isExtendedFunction(NodeABC* node, std::u16string name);
};

}  // namespace qorv::math::algexpr

#endif
