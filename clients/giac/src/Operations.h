// SPDX-License-Identifier: MIT
// The vocabulary's operations on Giac values, each with its meaning fixed
// here rather than left to Giac where the two differ: two-sided limits,
// divergent integrals, series orders, solutions, mod. Each checks its
// arguments first and throws RefusalC when it cannot go on or the result has
// no value. Runs where Giac's calls may run (see BoundaryC).
#ifndef ALGEXPR_GIAC_SRC_OPERATIONS_H
#define ALGEXPR_GIAC_SRC_OPERATIONS_H

#include <cstdint>
#include <string>
#include <vector>

#include "EngineVocabulary.h"
#include "GiacHeaders.h"

namespace qorv::math::algexpr::giac::detail {

/// The operation applied to its arguments (already checked for their
/// number); `integer_digits` bounds powers and factorials before Giac
/// computes them.
::giac::gen apply(OperationE operation, std::vector<::giac::gen>& arguments, std::size_t integer_digits,
                  ::giac::context* context);

/// Whether solve gives complex solutions too, in the evaluations that
/// follow on this thread (the worker's; the engine sets it from the
/// session's limits before each).
void setComplexSolutions(bool on);

/// The identifier that a binomial of symbols is held under, unevaluated
/// (Giac's own writes it with gamma): binomial(n,k) is of(it, (n,k)).
const ::giac::gen& binomialName();
bool isBinomialName(const ::giac::gen& g);
/// `e` with each binomial(n,k) of a whole k >= 0 (at most
/// kMaxBinomialFactors) written n*(n-1)*...*(n-k+1)/k!, and of a negative k
/// as 0; other binomials stay.
::giac::gen binomialProducts(const ::giac::gen& e, ::giac::context* context);
/// `e` with each log of a product split over the factors Giac proves
/// positive (log(x*y) is log(x) + log(y) for x > 0, whatever y is), and each
/// log of a positive base to a real power as the power times the log; only
/// where such a factor or base has symbols (log(2*z) stays).
::giac::gen splitPositiveLogs(const ::giac::gen& e, ::giac::context* context);
/// The most factors a binomial of symbols is written out with by expand,
/// simplify and factor.
constexpr int kMaxBinomialFactors = 1000;

/// Digits of Giac's floats when a value is approximated by a double.
constexpr int kApproximationDigits = 30;

/// The value as a real double, rounded once from Giac's floats at
/// kApproximationDigits digits (an imaginary part left by rounding dropped);
/// false when it is not a real number (`complex` tells a complex one).
bool approximate(const ::giac::gen& value, double& real, bool& complex, ::giac::context* context);
/// Both parts of a number as doubles; false when it is no finite number.
bool approximateParts(const ::giac::gen& value, double& real, double& imag, ::giac::context* context);

/// The value rounded to `count` significant digits (normalised, as
/// NumberTextC::normalize leaves them), from Giac's MPFR floats: the digits
/// of two evaluations with 10 and 25 guard digits must agree (else one with
/// 60 more and the second), or there is no answer. False with the reason
/// when the value is no real number or its digits do not settle.
bool decimalDigits(const ::giac::gen& value, unsigned long count, bool& negative, std::string& digits,
                   std::int64_t& exponent, std::u16string& reason, ::giac::context* context);

/// Giac's collection of like terms takes time that grows as the cube of the
/// nesting depth (0.2 s at 250 levels of functions, 13 s at 1000): deeper
/// results are left as evaluated.
constexpr std::size_t kMaxCollectDepth = 250;

/// The form results are read in: terms and factors collected (plus(x,x) is
/// 2*x), element by element in lists, unless nested deeper than
/// kMaxCollectDepth.
::giac::gen collected(const ::giac::gen& value, ::giac::context* context);

}  // namespace qorv::math::algexpr::giac::detail

#endif
