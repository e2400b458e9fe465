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

namespace qorv::math::algexpr {
class IntegerValueABC;
class FloatValueABC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::ginac::detail {

/// The integer of a value object (ours exactly, another client's through
/// getValue). Throws RefusalC beyond GinacEngineC::kMaxIntegerDigits.
GiNaC::numeric integerOf(const IntegerValueABC& value);
/// The float of a value object, rounded to `digits` significant digits, or
/// to `digits` digits after the point for numbers of 1 and more (up to
/// 10^kMaxDigits), so that no digit written before the point is lost.
/// Throws RefusalC for infinities and NaN.
GiNaC::numeric floatOf(const FloatValueABC& value, unsigned long digits);

/// A new integer value; throws RefusalC beyond kMaxIntegerDigits and
/// std::bad_alloc when memory runs out.
IntegerValueABC* integerValue(const GiNaC::numeric& integer);
/// A new float value holding the real number `value` (a rational or a GiNaC
/// float) correctly rounded to `digits` significant digits (ties to even).
FloatValueABC* floatValue(const GiNaC::numeric& value, unsigned long digits);

/// GiNaC can leave a complex number with an exact zero imaginary part (I^2
/// is one): such a number stands for its real part.
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
