// PrefixReaderC: reads the prefix form exactly as the library does
// (AlgebraicExpressionC::fromPrefixString), blanks and all. Stateless.
#ifndef ALGEXPR_TOOL_PREFIXREADERC_H
#define ALGEXPR_TOOL_PREFIXREADERC_H

#include "ExpressionReaderABC.h"

namespace qorv::math::algexpr::cli {

class PrefixReaderC : public ExpressionReaderABC {
public:
    /// Null with the problem "does not read": the library says no more.
    qorv::oss::PointerTC<AlgebraicExpressionC> read(std::u16string text, std::string& problem) override;
};

}  // namespace qorv::math::algexpr::cli

#endif
