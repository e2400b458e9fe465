// SPDX-License-Identifier: MIT
// PrefixReaderC: reads the prefix form through AlgebraicExpressionC::readPrefix.
// Strict by default: a text must keep to the grammar PrefixSyntaxCheckC
// checks (one expression, no empty arguments, no blanks inside names). Lax
// (--lax), it reads exactly as fromPrefixString does, blanks and all. Either
// way an error says why and where, a number that no factory accepts
// included. Stateless.
#ifndef ALGEXPR_TOOL_PREFIXREADERC_H
#define ALGEXPR_TOOL_PREFIXREADERC_H

#include "ExpressionReaderABC.h"

namespace qorv::math::algexpr::cli {

class PrefixReaderC : public ExpressionReaderABC {
public:
    explicit PrefixReaderC(bool lax);

    qorv::oss::PointerTC<AlgebraicExpressionC> read(const std::u16string& text, ReadErrorC& error) override;
    bool listNames(const std::u16string& text, std::vector<NameS>& names) const override;

private:
    bool lax;
};

}  // namespace qorv::math::algexpr::cli

#endif
