// SPDX-License-Identifier: MIT
// PrefixReaderC: reads the prefix form. Strict by default: a text must keep
// to the grammar PrefixSyntaxCheckC checks (one expression, no empty
// arguments, no blanks inside names), and an error says where it goes wrong;
// a number text that no factory accepts is named too. Lax (--lax), it reads
// exactly as the library does (AlgebraicExpressionC::fromPrefixString),
// blanks and all, and can only say that a text does not read. Stateless.
#ifndef ALGEXPR_TOOL_PREFIXREADERC_H
#define ALGEXPR_TOOL_PREFIXREADERC_H

#include <cstddef>
#include <string_view>

#include "ExpressionReaderABC.h"

namespace qorv::math::algexpr::cli {

class PrefixReaderC : public ExpressionReaderABC {
public:
    explicit PrefixReaderC(bool lax);

    qorv::oss::PointerTC<AlgebraicExpressionC> read(const std::u16string& text, ReadErrorC& error) override;
    bool listNames(const std::u16string& text, std::vector<NameS>& names) const override;

private:
    /// The code-unit index of the first number leaf of the strict `text`
    /// that the current session's factories do not accept; npos when there is
    /// none.
    static std::size_t findRefusedNumber(std::u16string_view text);

    bool lax;
};

}  // namespace qorv::math::algexpr::cli

#endif
