// SPDX-License-Identifier: MIT
#include "TreeCheckC.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "Refusal.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/NodeCast.h"
#include "algexpr/SymbolC.h"
#include "algexpr/TreeCursorC.h"
#include "algexpr/Utf8C.h"
#include "algexpr/giac/IntegerValueC.h"

namespace qorv::math::algexpr::giac::detail {

namespace {

std::u16string count(std::size_t value) { return Utf8C::toUtf16(std::to_string(value)); }

}  // namespace

TreeCheckC::TreeCheckC(const std::vector<OperationE>& operations, const GiacEngineC::LimitsS& limits)
    : operations(operations), limits(limits) {}

TreeCheckC::~TreeCheckC() = default;

void TreeCheckC::run(NodeABC& root) {
    std::size_t deepest = 0;  // function nodes on the longest path down
    std::size_t nodes = 0;
    for (TreeCursorC at(&root, PreOrder); at.node() != nullptr; at.next()) {
        const NodeABC* node = at.node();
        ++nodes;
        if (const auto* core = dynCast<CoreFunctionNodeC>(node)) {
            deepest = std::max(deepest, at.depth() + 1);
            const int code = core->getCode();
            const bool known = code >= 0 && static_cast<std::size_t>(code) < operations.size() &&
                               operations[static_cast<std::size_t>(code)] != OperationE::None;
            if (!known) {
                function_names.insert(core->toString());
            }
        } else if (const auto* function = dynCast<ExtendedFunctionNodeC>(node)) {
            deepest = std::max(deepest, at.depth() + 1);
            if (function->getSymbol()) {
                function_names.insert(function->getSymbol()->getName());
            }
        } else if (const auto* symbol = dynCast<ExtendedSymbolNodeC>(node)) {
            if (symbol->getSymbol()) {
                symbol_names.insert(symbol->getSymbol()->getName());
            }
        } else if (const auto* integer = dynCast<IntegerNodeC>(node)) {
            const auto* ours = dynamic_cast<const IntegerValueC*>(integer->getValue());
            if (ours != nullptr && ours->digits().size() > limits.integer_digits) {
                throw RefusalC(u"an integer has " + count(ours->digits().size()) + u" digits; the limit is " +
                               count(limits.integer_digits));
            }
        }
    }
    if (deepest > limits.depth) {
        throw RefusalC(u"the expression is nested " + count(deepest) + u" levels deep; the limit is " +
                       count(limits.depth));
    }
    if (nodes > limits.result_nodes) {
        throw RefusalC(u"the expression has " + count(nodes) + u" nodes; the limit is " + count(limits.result_nodes));
    }
}

}  // namespace qorv::math::algexpr::giac::detail
