// SPDX-License-Identifier: MIT
// GiacSessionC: the Giac client's session. It builds and owns (with its base)
// a GiacEngineC and the two number factories (exact integers of any size
// here, and the numeric client's doubles), and evaluates expressions with
// that engine:
//
//   CASSessionBC::setSession(PointerTC<CASSessionBC>(new GiacSessionC()));  // built-in vocabulary
//   std::u16string why;
//   PointerTC<AlgebraicExpressionC> r =
//       AlgebraicExpressionC::fromPrefixString(u"integrate(times(2,x),x)")->execute(false, &why);
//   // r: power(x,2); why: "x: free symbol"
//
// executeExpression(expression, numeric, reason):
//  - never changes `expression`; the result is a new expression;
//  - `numeric` false: the exact result (see GiacEngineC for the vocabulary,
//    the symbols' assumptions, the forms of results and the limits);
//  - `numeric` true: a single number node: an integer when the exact value
//    is one, otherwise a double; null when there is no real number;
//  - `reason`, when not null, is emptied when the result stands for a real
//    number and otherwise says why not, or why the result is null. Nothing
//    is thrown.
// The session may be used from any thread, one call at a time (as every
// session).
#ifndef ALGEXPR_GIAC_GIACSESSIONC_H
#define ALGEXPR_GIAC_GIACSESSIONC_H

#include <string>

#include "algexpr/CASSessionBC.h"
#include "algexpr/giac/GiacEngineC.h"
#include "algexpr/giac/giac_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::giac {

class ALGEXPR_GIAC_API GiacSessionC : public CASSessionBC {
public:
    /// `core_names` in the base's list format; the session and its engine
    /// copy what they need.
    explicit GiacSessionC(const char16_t* const* core_names = GiacEngineC::builtinCoreNames());
    ~GiacSessionC() override;

    qorv::oss::PointerTC<AlgebraicExpressionC> executeExpression(qorv::oss::PointerTC<AlgebraicExpressionC> expression,
                                                                 bool numeric, std::u16string* reason) override;

    /// The bounds of evaluations (depth and size of trees, digits of
    /// integers); the GiNaC engine's defaults until changed. A zero in any
    /// field leaves the limits as they were and gives false.
    bool setLimits(const GiacEngineC::LimitsS& limits);
    const GiacEngineC::LimitsS& getLimits() const;

private:
    GiacSessionC(qorv::oss::PointerTC<GiacEngineC> engine, const char16_t* const* core_names);

    qorv::oss::PointerTC<GiacEngineC> engine_p;
    GiacEngineC::LimitsS limits;
};

}  // namespace qorv::math::algexpr::giac

#endif
