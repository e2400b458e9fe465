// SPDX-License-Identifier: MIT
#include "algexpr/ConstraintsBC.h"

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "support/OutOfMemory.h"

namespace qorv::math::algexpr {

namespace {

// The node seen as the class with the given castable id, or null.
template <class Class>
Class* as(NodeABC* node) {
    return node != nullptr ? static_cast<Class*>(node->lookUpBase(Class::getCastableId())) : nullptr;
}

// The node as that class when its name (its printed text) is `name`; a
// name that could not be made for want of memory matches nothing.
template <class Class>
Class* named(NodeABC* node, const std::u16string& name) {
    Class* typed = as<Class>(node);
    if (typed == nullptr) {
        return nullptr;
    }
    detail::OutOfMemoryScope scope;
    const bool equal = typed->toString() == name;
    return equal && !scope.ranOut() ? typed : nullptr;
}

}  // namespace

ConstraintsBC::ConstraintsBC() = default;

ConstraintsBC::~ConstraintsBC() = default;

bool ConstraintsBC::isAcceptable(AlgebraicExpressionC&) { return true; }

bool ConstraintsBC::isAcceptableFinal(AlgebraicExpressionC& expression) { return isAcceptable(expression); }

bool ConstraintsBC::isFloat(NodeABC* node) { return as<FloatNodeC>(node) != nullptr; }

bool ConstraintsBC::isInteger(NodeABC* node) { return as<IntegerNodeC>(node) != nullptr; }

bool ConstraintsBC::isExtendedSymbol(NodeABC* node) { return as<ExtendedSymbolNodeC>(node) != nullptr; }

bool ConstraintsBC::isExtendedSymbol(NodeABC* node, std::u16string name) {
    return named<ExtendedSymbolNodeC>(node, name) != nullptr;
}

bool ConstraintsBC::isCoreSymbol(NodeABC* node, std::u16string name) {
    return named<CoreSymbolNodeC>(node, name) != nullptr;
}

bool ConstraintsBC::isEmpty(NodeABC* node) { return isExtendedSymbol(node, u"_"); }

bool ConstraintsBC::isNumberOrEmpty(NodeABC* node) { return isFloat(node) || isInteger(node) || isEmpty(node); }

bool ConstraintsBC::isNumber(NodeABC* node, double x) {
    if (FloatNodeC* number = as<FloatNodeC>(node)) {
        const FloatValueABC* value = number->getValue();
        return value != nullptr && value->getValue() == x;
    }
    if (IntegerNodeC* number = as<IntegerNodeC>(node)) {
        const IntegerValueABC* value = number->getValue();
        return value != nullptr && static_cast<double>(value->getValue()) == x;
    }
    return false;
}

ParentNodeABC* ConstraintsBC::isParentNode(NodeABC* node) { return as<ParentNodeABC>(node); }

CoreFunctionNodeC* ConstraintsBC::isCoreFunction(NodeABC* node, std::u16string name) {
    return named<CoreFunctionNodeC>(node, name);
}

ExtendedFunctionNodeC* ConstraintsBC::isExtendedFunction(NodeABC* node, std::u16string name) {
    return named<ExtendedFunctionNodeC>(node, name);
}

}  // namespace qorv::math::algexpr
