// SPDX-License-Identifier: MIT
// Upper estimates of what an operation would produce from the GiNaC values
// it is given, made before GiNaC is asked, so that runaway requests are
// refused instead of computed. These are the checks that only GiNaC's values
// can answer (InputPlanC checks what the input tree asks for): a number
// computed by GiNaC raised to a power, the expanded form of what another
// operation produced, a float whose periodic function would be noise.
#ifndef ALGEXPR_GINAC_SRC_ESTIMATES_H
#define ALGEXPR_GINAC_SRC_ESTIMATES_H

#include <ginac/ginac.h>

#include <cstddef>

#include "algexpr/ginac/GinacLimitsS.h"

namespace qorv::math::algexpr::ginac::detail {

/// Throws RefusalC when base^exponent, which GiNaC evaluates as it builds it,
/// would hold numbers beyond limits.integer_digits: an integer
/// power of a number, or of a product or power with numbers in it
/// ((2x)^n is 2^n x^n).
void checkPower(const GiNaC::ex& base, const GiNaC::ex& exponent, const GinacLimitsS& limits);

/// Throws RefusalC when a number `base` to a float `exponent` lies beyond
/// CLN's float range: CLN's overflow leaves GiNaC's half-built power behind
/// (and 7.0 to the power pi^1000 came out as 1.0 after gigabytes).
void checkFloatPower(const GiNaC::ex& base, const GiNaC::numeric& exponent);

/// Throws RefusalC when `argument` holds a float with no digit after its
/// point at its precision (or beyond 10^GinacEngineC::kMaxDigits), so that
/// `operation` (sin, cos or tan) of it would be noise; reducing such a float
/// by multiples of pi would also cost as many digits of pi as it has.
void checkPeriodicArgument(const char16_t* operation, const GiNaC::ex& argument);

/// Throws RefusalC when `operation` (sin, cos or tan) of `argument`, an
/// inverse of one of them, would write the inverse's argument twice in more
/// than limits.result_nodes nodes (sin(atan(u)) is u/sqrt(1 + u^2)): GiNaC
/// walks such a part once for each place it is used, so that a nesting of
/// them costs time exponential in its depth before any limit is met.
void checkInverseArgument(const char16_t* operation, const GiNaC::ex& argument, const GinacLimitsS& limits);

/// Throws RefusalC when `argument` is a float whose real part is so large
/// that `operation` (exp, sinh or cosh) of it would lie beyond the range of
/// floats (10^(10^8) either way): CLN would ask for absurd amounts of memory
/// to reduce such an argument.
void checkExponentialArgument(const char16_t* operation, const GiNaC::ex& argument);

/// Throws RefusalC when the expanded form of `e` (for expand, simplify and
/// factor, which expand on the way) might exceed limits.expand_terms terms
/// or limits.expand_digits coefficient digits in all, and, with
/// `for_factor`, when checkFactorDegree refuses it. `operation` names the
/// operation in the message.
void checkExpansion(const GiNaC::ex& e, const char16_t* operation, bool for_factor, const GinacLimitsS& limits);

/// Throws RefusalC when expanding `e` would compute a power beyond the
/// limits: GiNaC's expand turns b^(k + u), for an integer k, into b^k * b^u
/// and computes b^k, an integer of k times the digits of a number b or the
/// k-th power of a sum b multiplied out (123456789012345678901234567890 to
/// the power 123456789012345678901234567890 + y, expanded, did not finish).
/// expand runs inside expand, simplify, factor, real_part, imag_part and
/// series: checkExpansion and checkParts call this.
void checkExponentSums(const GiNaC::ex& e, const GinacLimitsS& limits);

/// Throws RefusalC when real_part or imag_part (`operation`) of `e` would
/// take GiNaC more work than 2^limits.parts_depth steps.
void checkParts(const GiNaC::ex& e, const char16_t* operation, const GinacLimitsS& limits);

/// Throws RefusalC when factor would take a polynomial of this degree in
/// this many symbols (atoms), of up to this many terms, beyond the limits
/// (see GinacLimitsS).
void checkFactorDegree(double degree, std::size_t symbols, double terms, const GinacLimitsS& limits);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
