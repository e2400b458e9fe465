// SPDX-License-Identifier: MIT
// InfixNotationReaderC: reads infix notation (--from infix), "2*x + sin(pi/6)",
// with the library's InfixReaderC, whose header gives the grammar; an error
// says where the text goes wrong, as for prefix. Holds the library's reader
// and nothing else.
#ifndef ALGEXPR_TOOL_INFIXNOTATIONREADERC_H
#define ALGEXPR_TOOL_INFIXNOTATIONREADERC_H

#include "ExpressionReaderABC.h"
#include "algexpr/InfixReaderC.h"

namespace qorv::math::algexpr::cli {

class InfixNotationReaderC : public ExpressionReaderABC {
public:
    qorv::oss::PointerTC<AlgebraicExpressionC> read(const std::u16string& text, ReadErrorC& error) override;
    bool listNames(const std::u16string& text, std::vector<NameS>& names) const override;

private:
    InfixReaderC reader;
};

}  // namespace qorv::math::algexpr::cli

#endif
