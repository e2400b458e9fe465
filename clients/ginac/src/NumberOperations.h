// SPDX-License-Identifier: MIT
// The operations on numbers and polynomials people reach for after the
// symbolic ones: factorial, binomial, gcd, lcm, integer mod, polynomial quo
// and rem, a definite integral evaluated numerically (nintegrate) and a
// numeric root in an interval (nsolve). Each refuses, with the reason, what
// would exceed the session's limits before GiNaC is asked. Worker thread
// only.
#ifndef ALGEXPR_GINAC_SRC_NUMBEROPERATIONS_H
#define ALGEXPR_GINAC_SRC_NUMBEROPERATIONS_H

#include <ginac/ginac.h>

#include <string>
#include <vector>

#include "EngineVocabulary.h"
#include "algexpr/ginac/GinacLimitsS.h"

namespace qorv::math::algexpr::ginac::detail {

/// Integrands and equations of nsolve may hold at most this many parts:
/// each is evaluated thousands of times.
constexpr double kMaxNumericParts = 400;
/// nintegrate's significant digits at most (it computes the session's),
/// and its work: evaluations of the integrand times its parts.
constexpr long kIntegrationDigits = 60;
/// Where more digits take more than the work allows, nintegrate gives these
/// (and says so, shortfallNote()).
constexpr long kFewestIntegrationDigits = 15;
constexpr double kIntegrationWork = 3e5;
/// Steps of nsolve at most (a bisection every eighth halves the interval),
/// fewer where kIntegrationWork over the function's parts is less.
constexpr int kMaxRootSteps = 4000;

/// binomial(n,k) of a whole k (up to this many factors) and an n that is
/// not a number is written out by expand, simplify and factor.
constexpr long kMaxBinomialFactors = 1000;

/// `e` with each binomial(n,k) of a whole k >= 0 (at most
/// kMaxBinomialFactors) written n*(n-1)*...*(n-k+1)/k!, and of a negative k
/// as 0; factorials and other binomials stay.
GiNaC::ex binomialProducts(const GiNaC::ex& e);

/// What the last evaluation on this thread computed less well than asked
/// ("unchecked: nintegrate: 15 correct digits, not 30"): cleared by the
/// caller before each evaluation, empty when nothing was short.
std::u16string& shortfallNote();

/// `operation` (Factorial to Nsolve) of its arguments (as many as
/// acceptsArity allows); `digits` the working precision of numeric results.
GiNaC::ex numberOperation(OperationE operation, std::vector<GiNaC::ex>& arguments, const GinacLimitsS& limits,
                          unsigned long digits);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
