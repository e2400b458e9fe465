// SPDX-License-Identifier: MIT
// The numeric value of an exact result, for the numeric flag. Worker thread
// only.
#ifndef ALGEXPR_GINAC_SRC_FLOATEVALUATION_H
#define ALGEXPR_GINAC_SRC_FLOATEVALUATION_H

#include <ginac/ginac.h>

namespace qorv::math::algexpr::ginac::detail {

/// `e` evaluated to floats at GiNaC's current precision, like evalf(), but
/// bottom-up without recursion (GinacWalkerTC), with rational exponents kept
/// exact (so that a negative float to the power 2 stays real), with
/// checkPeriodicArgument before each sin, cos and tan of a float, and with
/// an exact argument of those made a float with enough digits to keep the
/// precision after its point.
GiNaC::ex evaluateFloats(const GiNaC::ex& e);

/// asin or acos (by `serial`) of `argument`; of a complex float, computed
/// with the precision that 1 - argument^2 needs and rounded back to GiNaC's
/// current precision, or refused beyond 10^(kMaxDigits/2).
GiNaC::ex inverseSine(unsigned serial, const GiNaC::ex& argument);

/// A complex number whose real or imaginary part lies below `digits`
/// significant digits of the other (what rounding leaves of an exact zero,
/// such as the real part of (-2.0)^(1/2)) with that part zero.
GiNaC::numeric withoutNoise(const GiNaC::numeric& n, unsigned long digits);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
