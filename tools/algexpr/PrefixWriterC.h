// SPDX-License-Identifier: MIT
// PrefixWriterC: writes the prefix form with the library's printer, floats
// with the display arguments given (--digits, --float-format).
#ifndef ALGEXPR_TOOL_PREFIXWRITERC_H
#define ALGEXPR_TOOL_PREFIXWRITERC_H

#include "ExpressionWriterABC.h"
#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/PrefixPrintVisitorC.h"

namespace qorv::math::algexpr::cli {

class PrefixWriterC : public ExpressionWriterABC {
public:
    PrefixWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE float_format);

    /// Writes every tree (every tree has a prefix form); false with "out of
    /// memory" when the text cannot be made.
    bool write(NodeABC& node, std::string& out, std::string& problem) override;

private:
    PrefixPrintVisitorC printer;
    unsigned long digits;
    qorv::math::NumberDisplayFormatE float_format;
};

}  // namespace qorv::math::algexpr::cli

#endif
