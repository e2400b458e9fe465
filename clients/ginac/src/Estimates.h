// SPDX-License-Identifier: MIT
// Upper estimates, made before GiNaC is asked, of what an operation would
// produce, so that runaway requests are refused instead of computed.
#ifndef ALGEXPR_GINAC_SRC_ESTIMATES_H
#define ALGEXPR_GINAC_SRC_ESTIMATES_H

#include <ginac/ginac.h>

namespace qorv::math::algexpr::ginac::detail {

/// Throws RefusalC when base^exponent, which GiNaC evaluates as it builds it,
/// would hold numbers beyond GinacEngineC::kMaxIntegerDigits: an integer
/// power of a number, or of a product or power with numbers in it
/// ((2x)^n is 2^n x^n).
void checkPower(const GiNaC::ex& base, const GiNaC::ex& exponent);

/// Throws RefusalC when `argument` holds a float with no digit after its
/// point at its precision (or beyond 10^GinacEngineC::kMaxDigits), so that
/// `operation` (sin, cos or tan) of it would be noise; reducing such a float
/// by multiples of pi would also cost as many digits of pi as it has.
void checkPeriodicArgument(const char16_t* operation, const GiNaC::ex& argument);

/// Throws RefusalC when the expanded form of `e` (for expand, simplify and
/// factor, which expand on the way) might exceed GinacEngineC::kMaxExpandTerms
/// terms or kMaxExpandDigits coefficient digits in all, and, with
/// `for_factor`, when its degree exceeds kMaxFactorDegree. `operation` names
/// the operation in the message.
void checkExpansion(const GiNaC::ex& e, const char16_t* operation, bool for_factor);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
