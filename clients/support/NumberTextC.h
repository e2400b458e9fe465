// SPDX-License-Identifier: MIT
// NumberTextC: the texts of numbers that the engine clients read and write
// alike: the integer and float grammar their factories read, and decimal
// floats written from their significant digits and exponent in the four
// display formats. Both clients' value classes hand their digits here, so
// that 1e20, infinities and every other number read and print the same in
// either client.
//
//   bool negative; std::string digits; std::int64_t exponent;
//   NumberTextC::readFloat(u"-2.50e3", negative, digits, exponent);  // true, "250", 3
//   NumberTextC::writeFloat(false, "25", 3, 0, qorv::math::Standard, 10000);  // u"2500.0"
//
// Grammar. Integers: one optional sign ("-", "+", U+2013 or U+2212, the last
// two meaning minus), then one or more ASCII digits. Floats: the same sign,
// decimal digits with at most one ".", at least one digit, then optionally
// "e" or "E", an optional sign of the same four and one or more digits. No
// spaces, no "inf" or "nan", never locale-dependent.
//
// Writing (writeFloat), from the significant digits d.ddd x 10^exponent:
//  - count 0 writes every digit given (the shortest text that reads back to
//    them); otherwise count is the number of significant digits (Standard,
//    Scientific, Engineering) or of digits after the point (Fixed),
//    correctly rounded (ties to even) and padded with zeros. Counts above
//    max_digits count as max_digits.
//  - Standard: plain notation when -7 < exponent < 21 (count 0) or
//    -7 < exponent < count; exponent notation otherwise: 0.25, 1e21, 1.00e3.
//    Fixed: plain notation with count digits after the point (Scientific
//    beyond an exponent of max_digits). Scientific: one digit before the
//    point. Engineering: an exponent that is a multiple of 3.
//  - every text holds "." or an exponent, so it reads back as a float;
//    exponents have no "+" and no leading zeros.
// Infinities are written kInfinity ("1e999", which reads back as a float
// beyond every double), NaN kNotANumber ("nan", which reads as a name).
#ifndef ALGEXPR_CLIENTS_SUPPORT_NUMBERTEXTC_H
#define ALGEXPR_CLIENTS_SUPPORT_NUMBERTEXTC_H

#include <cstdint>
#include <new>
#include <string>

#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr::support {

class NumberTextC {
public:
    static constexpr const char16_t* kInfinity = u"1e999";
    static constexpr const char16_t* kNotANumber = u"nan";

    /// An integer text: its sign and the magnitude's digits without leading
    /// zeros ("0" for zero, never negative). False for any other text.
    static bool readInteger(const std::u16string& text, bool& negative, std::string& digits);
    /// A float text: its sign, its digits as written (leading and trailing
    /// zeros included) and the decimal exponent of the first of them, or
    /// false. Exponents are read up to 10 * max_exponent, beyond which they
    /// saturate (the value is out of every range then).
    static bool readFloat(const std::u16string& text, bool& negative, std::string& digits, std::int64_t& exponent,
                          std::int64_t max_exponent);
    /// The text of (-1)^negative d.ddd x 10^exponent for the significant
    /// digits (no leading or trailing zeros; empty for zero), as described
    /// above.
    static std::u16string writeFloat(bool negative, const std::string& digits, std::int64_t exponent,
                                     unsigned long count, qorv::math::NumberDisplayFormatE format,
                                     unsigned long max_digits);
    /// Drops the leading and trailing zeros of digits read by readFloat,
    /// keeping the exponent that of the first digit (0 for zero).
    static void normalize(std::string& digits, std::int64_t& exponent);
    /// The double nearest to (-1)^negative d.ddd x 10^exponent for
    /// normalised digits: infinite beyond the double range, zero below it.
    static double toDouble(bool negative, const std::string& digits, std::int64_t exponent);
    /// The normalised significant digits and exponent of a finite double:
    /// those of its shortest text that reads back (count 0; every digit of a
    /// whole number below 10^21 there), or correctly rounded to count
    /// significant digits, or (fixed) to count digits after the point.
    static void digitsOf(double value, unsigned long count, bool fixed, std::string& digits, std::int64_t& exponent);
    /// The integer -digits (negative) or digits for a magnitude's digits
    /// without leading zeros; false when it does not fit in 64 bits.
    static bool toInt64(bool negative, const std::string& digits, std::int64_t& value);
    /// Appends the decimal digits of a number.
    static void appendDecimal(std::u16string& text, std::uint64_t value);
    /// The digits of the magnitude of a whole double, every one of them
    /// (at most 309); false for NaN, infinities and numbers with a fraction.
    static bool wholeDigits(double value, std::string& digits);
    /// The whole double `value` as a new ValueT, made by
    /// ValueT::fromDigits(negative, digits): every digit, of any size. Null
    /// for NaN, infinities and numbers with a fraction, and when memory runs
    /// out (fromDigits answering null or throwing std::bad_alloc).
    template <class ValueT>
    static ValueT* wholeValue(double value) {
        std::string digits;
        try {
            return wholeDigits(value, digits) ? ValueT::fromDigits(value < 0, digits) : nullptr;
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
};

}  // namespace qorv::math::algexpr::support

#endif
