// SPDX-License-Identifier: MIT
// PrefixParserC: reads prefix text into a new AlgebraicExpressionC, by the
// rules written in include/algexpr/AlgebraicExpressionC.h. Internal to the
// library; clients call AlgebraicExpressionC::fromPrefixString.
#ifndef ALGEXPR_SRC_NOTATION_PREFIXPARSERC_H
#define ALGEXPR_SRC_NOTATION_PREFIXPARSERC_H

#include <cstddef>
#include <string>

#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class PrefixParserC {
public:
    PrefixParserC();
    virtual ~PrefixParserC();

    /// Why a text did not read.
    enum class ProblemE { NoSession, EmptyText, OutOfMemory, NumberNotAccepted, NoArguments };
    /// The problem, and where: a code-unit index into the text without its
    /// whitespace (the start of the number or name at fault, the ")" or end
    /// of an empty argument list).
    struct FailureS {
        ProblemE problem = ProblemE::NoSession;
        std::size_t at = 0;
    };

    /// The expression read from `text`, or null when the text does not read,
    /// no session is current, or memory runs out; then `failure`, when
    /// given, says why.
    qorv::oss::PointerTC<AlgebraicExpressionC> parse(std::u16string text, FailureS* failure = nullptr);
};

}  // namespace qorv::math::algexpr

#endif
