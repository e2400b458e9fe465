// InfixNotationWriterC: writes infix notation (--to infix) with the library's
// InfixPrintVisitorC, floats with the display arguments given. A tree with a
// name that is no identifier ("a+b", "2x") has no infix form: writing it
// fails, naming the name.
#ifndef ALGEXPR_TOOL_INFIXNOTATIONWRITERC_H
#define ALGEXPR_TOOL_INFIXNOTATIONWRITERC_H

#include "ExpressionWriterABC.h"
#include "algexpr/InfixPrintVisitorC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr::cli {

class InfixNotationWriterC : public ExpressionWriterABC {
public:
    InfixNotationWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE float_format);

    bool write(NodeABC& node, std::string& out, std::string& problem) override;

private:
    InfixPrintVisitorC printer;
    unsigned long digits;
    qorv::math::NumberDisplayFormatE float_format;
};

}  // namespace qorv::math::algexpr::cli

#endif
