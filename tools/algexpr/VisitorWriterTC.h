// SPDX-License-Identifier: MIT
// VisitorWriterTC: writes with one of the library's print visitors (--to
// infix with InfixPrintVisitorC, --to latex with LatexPrintVisitorC), floats
// with the display arguments given. When the visitor refuses a tree (in
// infix, one with a name that is no identifier, "a+b" or "2x"; every tree has
// a LaTeX formula), writing fails with the visitor's message.
#ifndef ALGEXPR_TOOL_VISITORWRITERTC_H
#define ALGEXPR_TOOL_VISITORWRITERTC_H

#include <string>

#include "AppendUtf8.h"
#include "ExpressionWriterABC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr::cli {

template <class PrinterT>
class VisitorWriterTC : public ExpressionWriterABC {
public:
    VisitorWriterTC(unsigned long digits, qorv::math::NumberDisplayFormatE float_format)
        : digits(digits), float_format(float_format) {}

    bool write(NodeABC& node, std::string& out, std::string& problem) override {
        const std::u16string text = printer.getExpressionString(&node, digits, float_format);
        if (text.empty()) {
            problem.clear();
            appendUtf8(printer.getErrorMessage(), problem);
            return false;
        }
        appendUtf8(text, out);
        return true;
    }

private:
    PrinterT printer;
    unsigned long digits;
    qorv::math::NumberDisplayFormatE float_format;
};

}  // namespace qorv::math::algexpr::cli

#endif
