// SPDX-License-Identifier: MIT
// The forms a person expects of an exact result where GiNaC leaves another
// one standing: integer radicals reduced (sqrt(8) is 2*sqrt(2), so
// sqrt(12)*sqrt(3) is 6) and roots of positive rationals of one degree
// joined (sqrt(2)*sqrt(6) is 2*sqrt(3)), whole powers of a base joined with
// its power to an exponent that is no number (n*x^n/x is n*x^(n - 1)), powers of exp joined where their exponents differ
// by a number factor (exp(2)*exp(3) is exp(5), exp(x)*exp(2*x) exp(3*x),
// exp(x)*exp(y) stays; e^(i*pi) is -1), and the exact values of asin, acos and atan at the
// arguments of the usual triangles (atan(sqrt(3)) is pi/3), in GiNaC's own
// forms (1/2*sqrt(2)). Each rewrite holds for every complex value of the
// symbols. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_EVALUATIONFORMS_H
#define ALGEXPR_GINAC_SRC_EVALUATIONFORMS_H

#include <ginac/ginac.h>

#include <cstdint>

#include "algexpr/ginac/GinacLimitsS.h"

namespace qorv::math::algexpr::ginac::detail {

/// Primes up to this bound divide a radicand; a factor beyond it stays under
/// the root unless the whole radicand is a perfect power.
constexpr std::uint32_t kRadicalTrialBound = 1000000;

/// `e` with the rewrites above applied everywhere, inner parts first, in one
/// walk without recursion (GiNaC re-evaluates each rebuilt part). The trial
/// divisions of all radicals together are bounded, so that the work stays
/// within a fraction of a second whatever the result; where its radicands
/// want more than that, all of them are reduced by perfect powers only (which
/// of them the budget would reach changes with GiNaC's order of terms, from
/// process to process).
/// A power of a sum rebuilt with rewritten terms is checked against `limits`
/// first (checkPower): GiNaC takes a new rational content out of the sum,
/// raised to the exponent.
GiNaC::ex evaluationForms(const GiNaC::ex& e, const GinacLimitsS& limits);

/// n = s^q * r with r free of q-th powers of primes up to
/// kRadicalTrialBound (and not a perfect q-th power): s and r. `budget`
/// counts word divisions; trial division stops when it runs out.
void splitRadicand(const GiNaC::numeric& n, unsigned q, GiNaC::numeric& s, GiNaC::numeric& r, double& budget);

/// 1/(sqrt(2) + 1) as sqrt(2) - 1: a quotient whose denominator is free of
/// symbols and holds square roots of integers, multiplied through by the
/// conjugates of the denominator, one root at a time (at most a few).
GiNaC::ex rationalizedDenominator(const GiNaC::ex& e);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
