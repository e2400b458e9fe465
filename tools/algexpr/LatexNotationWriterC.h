// LatexNotationWriterC: writes a LaTeX formula for math mode (--to latex)
// with the library's LatexPrintVisitorC, floats with the display arguments
// given. Every tree has a formula.
#ifndef ALGEXPR_TOOL_LATEXNOTATIONWRITERC_H
#define ALGEXPR_TOOL_LATEXNOTATIONWRITERC_H

#include "ExpressionWriterABC.h"
#include "algexpr/LatexPrintVisitorC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr::cli {

class LatexNotationWriterC : public ExpressionWriterABC {
public:
    LatexNotationWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE float_format);

    /// Fails only when memory runs out.
    bool write(NodeABC& node, std::string& out, std::string& problem) override;

private:
    LatexPrintVisitorC printer;
    unsigned long digits;
    qorv::math::NumberDisplayFormatE float_format;
};

}  // namespace qorv::math::algexpr::cli

#endif
