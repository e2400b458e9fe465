// SPDX-License-Identifier: MIT
#include "algexpr/PrefixPrintVisitorC.h"

#include <new>
#include <utility>

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "support/OutOfMemory.h"

namespace qorv::math::algexpr {

namespace {

// A printer keeps at most this much of its buffer between texts.
constexpr std::size_t kKeptCapacity = std::size_t{1} << 16;

}  // namespace

PrefixPrintVisitorC::PrefixPrintVisitorC()
    : NodeVisitorABC(PreOrder | InOrder | PostOrder), digits(0), format(qorv::math::Standard), out_of_memory(false) {}

PrefixPrintVisitorC::~PrefixPrintVisitorC() = default;

bool PrefixPrintVisitorC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) {
    return visitFunctionNode(node, order);
}

bool PrefixPrintVisitorC::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) {
    return visitFunctionNode(node, order);
}

bool PrefixPrintVisitorC::visitCoreSymbolNode(CoreSymbolNodeC& node) { return visitLeafNode(node); }

bool PrefixPrintVisitorC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) { return visitLeafNode(node); }

bool PrefixPrintVisitorC::visitFloatNode(FloatNodeC& node) { return append(node.toString(digits, format)); }

bool PrefixPrintVisitorC::visitIntegerNode(IntegerNodeC& node) { return visitLeafNode(node); }

std::u16string PrefixPrintVisitorC::getExpressionString(NodeABC* node, unsigned long digits,
                                                        qorv::math::NumberDisplayFormatE format) {
    expression_string.clear();
    this->digits = digits;
    this->format = format;
    out_of_memory = false;
    // A node text that could not be made, or a traversal that could not grow
    // its work stack, leaves a note: the text would miss a piece.
    detail::OutOfMemoryScope scope;
    if (node != nullptr) {
        node->traverse(*this);
    }
    if (scope.ranOut()) {
        out_of_memory = true;
    }
    // A copy of the text's own size: the buffer keeps its capacity for the
    // next call instead of growing again from nothing.
    std::u16string text;
    if (!out_of_memory) {
        try {
            text.assign(expression_string);
        } catch (const std::bad_alloc&) {
            out_of_memory = true;
        }
    }
    if (expression_string.capacity() > kKeptCapacity) {
        std::u16string().swap(expression_string);
    }
    expression_string.clear();
    return text;
}

bool PrefixPrintVisitorC::visitFunctionNode(NodeABC& node, VisitationOrderE order) {
    switch (order) {
        case PreOrder:
            return append(node.toString()) && append(u'(');
        case InOrder:
            return append(u',');
        case PostOrder:
            return append(u')');
        default:
            return true;
    }
}

bool PrefixPrintVisitorC::visitLeafNode(NodeABC& node) { return append(node.toString()); }

// Running out of memory stops the walk: the call's text is then empty.
bool PrefixPrintVisitorC::append(const std::u16string& text) {
    try {
        expression_string += text;
        return true;
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
        return false;
    }
}

bool PrefixPrintVisitorC::append(char16_t c) {
    try {
        expression_string += c;
        return true;
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
        return false;
    }
}

}  // namespace qorv::math::algexpr
