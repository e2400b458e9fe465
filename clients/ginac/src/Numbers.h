// SPDX-License-Identifier: MIT
// Numbers between the client's value objects and GiNaC's: exact integers
// both ways, decimal floats to GiNaC floats at a working precision, and GiNaC
// numbers to decimal floats correctly rounded to a number of significant
// digits. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_NUMBERS_H
#define ALGEXPR_GINAC_SRC_NUMBERS_H

#include <ginac/ginac.h>

#include <cstdint>
#include <string>

#include "ResultGraphC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerValueABC.h"

namespace qorv::math::algexpr::ginac::detail {

/// The integer of a value object (ours exactly, another client's through
/// getValue). Throws RefusalC beyond `max_digits` digits.
GiNaC::numeric integerOf(const IntegerValueABC& value, std::size_t max_digits);
/// The float of a value object, rounded to `digits` significant digits, or
/// to `digits` digits after the point for numbers of 1 and more (up to
/// 10^kMaxDigits), so that no digit written before the point is lost.
/// Throws RefusalC for infinities and NaN.
GiNaC::numeric floatOf(const FloatValueABC& value, unsigned long digits);

/// The real number `value` as written: an integer or a rational exactly
/// (RefusalC beyond `max_digits` digits), a float (or, with `as_float`, any
/// number) correctly rounded to `digits` significant digits (ties to even).
support::RealS realOf(const GiNaC::numeric& value, unsigned long digits, std::size_t max_digits, bool as_float = false);
/// A number as written, real or complex, each part as realOf gives it.
support::NumberS numberOf(const GiNaC::numeric& value, unsigned long digits, std::size_t max_digits,
                          bool as_float = false);

/// GiNaC can leave a complex number with an exact zero imaginary part (i
/// squared, say, is the complex number -1 + 0 i): it stands for its real part.
inline GiNaC::numeric realIfReal(const GiNaC::numeric& n) { return n.is_real() || !n.imag().is_zero() ? n : n.real(); }
inline bool isRealNumber(const GiNaC::numeric& n) { return n.is_real() || n.imag().is_zero(); }

/// About log10 of the absolute value of a nonzero integer or rational's
/// numerator plus that of its denominator: the decimal digits it takes.
double decimalDigits(const GiNaC::numeric& value);
/// log10 of the absolute value of a real number; -infinity for zero.
double log10Magnitude(const GiNaC::numeric& value);
/// The decimal digits of precision of a real float.
double significantDigits(const GiNaC::numeric& value);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
