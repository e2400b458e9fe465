// SPDX-License-Identifier: MIT
#include "TreeCheckC.h"

#include <string>

#include "Refusal.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/SymbolC.h"
#include "algexpr/Utf8C.h"
#include "algexpr/giac/IntegerValueC.h"

namespace qorv::math::algexpr::giac::detail {

namespace {

std::u16string count(std::size_t value) { return Utf8C::toUtf16(std::to_string(value)); }

}  // namespace

TreeCheckC::TreeCheckC(const std::vector<OperationE>& operations, const GiacEngineC::LimitsS& limits)
    : NodeVisitorABC(PreOrder | PostOrder), operations(operations), limits(limits) {}

TreeCheckC::~TreeCheckC() = default;

void TreeCheckC::run(NodeABC& root) {
    root.traverse(*this);
    if (deepest > limits.depth) {
        throw RefusalC(u"the expression is nested " + count(deepest) + u" levels deep; the limit is " +
                       count(limits.depth));
    }
    if (nodes > limits.result_nodes) {
        throw RefusalC(u"the expression has " + count(nodes) + u" nodes; the limit is " + count(limits.result_nodes));
    }
}

void TreeCheckC::enter() {
    ++nodes;
    ++depth;
    deepest = depth > deepest ? depth : deepest;
}

void TreeCheckC::leaf() { ++nodes; }

bool TreeCheckC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) {
    if (order != PreOrder) {
        --depth;
        return true;
    }
    enter();
    const int code = node.getCode();
    const bool known = code >= 0 && static_cast<std::size_t>(code) < operations.size() &&
                       operations[static_cast<std::size_t>(code)] != OperationE::None;
    if (!known) {
        function_names.insert(node.toString());
    }
    return true;
}

bool TreeCheckC::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) {
    if (order != PreOrder) {
        --depth;
        return true;
    }
    enter();
    if (node.getSymbol()) {
        function_names.insert(node.getSymbol()->getName());
    }
    return true;
}

bool TreeCheckC::visitCoreSymbolNode(CoreSymbolNodeC&) {
    leaf();
    return true;
}

bool TreeCheckC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) {
    leaf();
    if (node.getSymbol()) {
        symbol_names.insert(node.getSymbol()->getName());
    }
    return true;
}

bool TreeCheckC::visitFloatNode(FloatNodeC&) {
    leaf();
    return true;
}

bool TreeCheckC::visitIntegerNode(IntegerNodeC& node) {
    leaf();
    const auto* ours = dynamic_cast<const IntegerValueC*>(node.getValue());
    if (ours != nullptr && ours->digits().size() > limits.integer_digits) {
        throw RefusalC(u"an integer has " + count(ours->digits().size()) + u" digits; the limit is " +
                       count(limits.integer_digits));
    }
    return true;
}

}  // namespace qorv::math::algexpr::giac::detail
