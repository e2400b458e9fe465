// SPDX-License-Identifier: MIT
// PrefixParserC: reads prefix text into a new AlgebraicExpressionC, by the
// rules written in include/algexpr/AlgebraicExpressionC.h. Internal to the
// library; clients call AlgebraicExpressionC::fromPrefixString.
#ifndef ALGEXPR_SRC_NOTATION_PREFIXPARSERC_H
#define ALGEXPR_SRC_NOTATION_PREFIXPARSERC_H

#include <string>

#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class PrefixParserC {
public:
    PrefixParserC();
    virtual ~PrefixParserC();

    /// The expression read from `text`, or null when the text does not read,
    /// no session is current, or memory runs out.
    qorv::oss::PointerTC<AlgebraicExpressionC> parse(std::u16string text);
};

}  // namespace qorv::math::algexpr

#endif
