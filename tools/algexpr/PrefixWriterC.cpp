// SPDX-License-Identifier: MIT
#include "PrefixWriterC.h"

#include "AppendUtf8.h"
#include "algexpr/NodeABC.h"
#include "algexpr/NodeCast.h"
#include "algexpr/ParentNodeABC.h"

namespace qorv::math::algexpr::cli {

PrefixWriterC::PrefixWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE float_format)
    : digits(digits), float_format(float_format) {}

bool PrefixWriterC::write(NodeABC& node, std::string& out, std::string& problem) {
    const std::u16string text = printer.getExpressionString(&node, digits, float_format);
    // The printer gives the empty text when memory runs out; only a leaf
    // whose own text is empty (a nameless symbol) prints as nothing.
    if (text.empty() && (isA<ParentNodeABC>(&node) || !node.toString().empty())) {
        problem = "out of memory";
        return false;
    }
    appendUtf8(text, out);
    return true;
}

}  // namespace qorv::math::algexpr::cli
