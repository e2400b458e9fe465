// SPDX-License-Identifier: MIT
#include "PrefixWriterC.h"

#include "AppendUtf8.h"

namespace qorv::math::algexpr::cli {

PrefixWriterC::PrefixWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE float_format)
    : digits(digits), float_format(float_format) {}

bool PrefixWriterC::write(NodeABC& node, std::string& out, std::string&) {
    appendUtf8(printer.getExpressionString(&node, digits, float_format), out);
    return true;
}

}  // namespace qorv::math::algexpr::cli
