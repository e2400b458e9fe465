// SPDX-License-Identifier: MIT
// simplify and factor: GiNaC's normal() and factor() with every power of a
// non-integer exponent kept whole.
// GiNaC takes such powers apart where that is not valid: its normal() turns
// (y^x)^x into y^x, and its factor() turns (y^z)^x into y^(z*x) and
// sqrt(x^2-1) into sqrt(x+1)*sqrt(x-1), which differ from what was asked for
// at negative x or y. Here each such power becomes a fresh symbol for the
// operation, after its base and exponent went through the same operation, and
// is put back in the result. For factor(), which refuses numbers that are not
// rational, constants such as pi and floats are symbols likewise.
#ifndef ALGEXPR_GINAC_SRC_NORMALFORMS_H
#define ALGEXPR_GINAC_SRC_NORMALFORMS_H

#include <ginac/ginac.h>

namespace qorv::math::algexpr::ginac::detail {

/// The rational normal form of `e`, as GiNaC's normal() gives it, with a
/// denominator of square roots of integers rationalised.
GiNaC::ex normalForm(const GiNaC::ex& e);

/// `e` factored over the rationals, as GiNaC's factor() gives it.
GiNaC::ex factorForm(const GiNaC::ex& e);

/// `e` with each log of a product split over its positive factors (log(x*y)
/// is log(x) + log(y) for x > 0, whatever y is) and each log of a power of
/// a positive base to a real exponent written as the exponent times the log:
/// only where a factor or base with symbols is positive, so that log(2*z)
/// of a complex z stays as it is. Nothing splits unless some symbol is real:
/// callers may skip it otherwise.
GiNaC::ex splitPositiveLogs(const GiNaC::ex& e);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
