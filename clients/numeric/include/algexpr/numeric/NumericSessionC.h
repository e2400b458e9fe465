// SPDX-License-Identifier: MIT
// NumericSessionC: the numeric client's session. It builds and owns (with
// its base) a NumericEngineC and the two number factories, and evaluates
// expressions with that engine:
//
//   CASSessionBC::setSession(new NumericSessionC());   // built-in vocabulary
//   std::u16string why;
//   PointerTC<AlgebraicExpressionC> r =
//       AlgebraicExpressionC::fromPrefixString(u"plus(1,x)")->execute(false, &why);
//   // r: plus(1,x); why: "x: free symbol"
//
// executeExpression(expression, require_number, reason):
//  - never changes `expression`; the result is a new expression holding the
//    engine's result (see NumericEngineC for what is evaluated);
//  - `require_number` false: what could be evaluated comes back folded and
//    the rest in place, plus(x,times(2,3)) giving plus(x,6);
//  - `require_number` true: the result is a single number or null;
//  - `reason`, when not null, is emptied when the result is a single number
//    and otherwise receives why it is not (or why the result is null);
//  - null too, with a reason, for a null expression, one without a tree, and
//    when memory runs out ("out of memory", or no reason when not even that
//    text can be stored). Nothing is thrown.
#ifndef ALGEXPR_NUMERIC_NUMERICSESSIONC_H
#define ALGEXPR_NUMERIC_NUMERICSESSIONC_H

#include <string>

#include "algexpr/CASSessionBC.h"
#include "algexpr/numeric/NumericEngineC.h"
#include "algexpr/numeric/numeric_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::numeric {

class ALGEXPR_NUMERIC_API NumericSessionC : public CASSessionBC {
public:
    /// `core_names` in the base's list format; the session and its engine
    /// copy what they need.
    explicit NumericSessionC(const char16_t* const* core_names = NumericEngineC::builtinCoreNames());
    ~NumericSessionC() override;

    qorv::oss::PointerTC<AlgebraicExpressionC> executeExpression(qorv::oss::PointerTC<AlgebraicExpressionC> expression,
                                                                 bool require_number, std::u16string* reason) override;

private:
    NumericSessionC(qorv::oss::PointerTC<NumericEngineC> engine, const char16_t* const* core_names);

    qorv::oss::PointerTC<NumericEngineC> engine_p;
};

}  // namespace qorv::math::algexpr::numeric

#endif
