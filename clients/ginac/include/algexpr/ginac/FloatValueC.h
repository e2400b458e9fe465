// SPDX-License-Identifier: MIT
// FloatValueC: the GiNaC client's float, a decimal number with any number of
// significant digits: sign, digits and a decimal exponent. A FloatNodeC owns
// each one; clone() gives the caller a new, independent one. It holds no
// GiNaC object (the engine turns it into a GiNaC float at the session's
// working precision), so values may be made, copied and deleted on any thread.
//
//   FloatValueC* v = FloatValueC::fromText(u"-2.50e3");   // caller owns it
//   v->toString();                                       // u"-2500.0"
//   v->toString(5, qorv::math::Scientific);              // u"-2.5000e3"
//
// Reading (parse, fromText): an optional sign ("-", "+", U+2013 or U+2212,
// the last two meaning minus), decimal digits with at most one ".", at least
// one digit, then optionally "e" or "E", an optional sign of the same four and
// one or more digits: 2, -0.5, .5, 5., 1e3, 2.5E-3. Nothing else: no spaces,
// no "inf" or "nan", never locale-dependent. The number is kept exactly as
// written (no rounding to a precision); decimal exponents beyond
// +-kMaxExponent are declined.
//
// Writing (toString), by the same rules as the numeric client's floats:
//  - the digits argument: 0 writes every significant digit the value holds
//    (trailing zeros dropped): the shortest text that reads back to the same
//    number. Otherwise it is the number of significant digits (Standard,
//    Scientific, Engineering) or of digits after the point (Fixed),
//    correctly rounded (ties to even) from the held digits and padded with
//    zeros: exactly that many digits, trailing zeros included. Values above
//    kMaxDigits count as kMaxDigits.
//  - the NumberDisplayFormatE argument:
//      Standard     plain notation when the decimal exponent x satisfies
//                   -7 < x < 21 (digits 0) or -7 < x < digits, so that no
//                   digit is written that is not significant; exponent
//                   notation otherwise: 0.25, 1e21, 1.00e3 (digits 3 for 1000)
//      Fixed        plain notation with that many digits after the point;
//                   values whose exponent exceeds kMaxDigits in magnitude
//                   are written as Scientific instead
//      Scientific   one digit before the point and an exponent: 2.5e3
//      Engineering  an exponent that is a multiple of 3: 2.5e3, 25e-9
//    Any other value is taken as Standard.
//  - every text holds "." or an exponent, so it reads back as a float and not
//    as an integer: 1.0, 1e21, 1.00e3; exponents have no "+" and no leading
//    zeros. A value set from an infinite double is written "1e999" or
//    "-1e999" (as the numeric client writes it: a number beyond every
//    double), one set from NaN "nan", which reads back as a name.
//  - toString() is toString(0, Standard).
#ifndef ALGEXPR_GINAC_FLOATVALUEC_H
#define ALGEXPR_GINAC_FLOATVALUEC_H

#include <cstdint>
#include <string>

#include "algexpr/FloatValueABC.h"
#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/ginac/ginac_export.h"

namespace qorv::math::algexpr::ginac {

class ALGEXPR_GINAC_API FloatValueC : public FloatValueABC {
public:
    /// Display digits beyond this count as this many; also the session's
    /// precision bound (GinacEngineC::kMaxDigits).
    static constexpr unsigned long kMaxDigits = 10000;
    /// Texts whose decimal exponent lies beyond +-kMaxExponent are declined.
    static constexpr std::int64_t kMaxExponent = 1000000000000000;  // 10^15

    /// Zero.
    FloatValueC() noexcept;
    ~FloatValueC() override;

    /// The nearest double: infinite beyond the double range, zero below it.
    double getValue() const override;
    /// Takes the double's shortest decimal text that reads back to it;
    /// infinities and NaN are kept as such. Leaves the value as it was when
    /// memory runs out.
    void setValue(double value) override;
    /// False only for a value set from an infinite or NaN double.
    bool isFinite() const override;
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) override;
    std::u16string toString() override;
    /// Null when memory runs out.
    FloatValueABC* clone() override;

    bool isNegative() const;
    /// The significant digits, without leading or trailing zeros; empty for
    /// zero (and for infinities and NaN).
    const std::string& significand() const;
    /// The decimal exponent of the first significant digit: the value is
    /// d.ddd x 10^exponent. 0 for zero.
    std::int64_t exponent() const;

    /// A new value from a text in the form above; null for any other text and
    /// when memory runs out.
    static FloatValueC* fromText(const std::u16string& text);
    /// A new value holding exactly the given double (NaN and infinities
    /// included); null when memory runs out.
    static FloatValueC* fromDouble(double value);
    /// A new value (-1)^negative x 0.digits x 10^(exponent + 1): the ASCII
    /// digits with the point after the first one. Leading and trailing zeros
    /// are allowed. Null when `digits` holds anything but digits, when the
    /// exponent is out of range, or when memory runs out.
    static FloatValueC* fromDigits(bool negative, const std::string& digits, std::int64_t exponent);

private:
    enum class KindE : unsigned char { Finite, PlusInfinity, MinusInfinity, NaN };

    bool assign(bool negative, const std::string& digits, std::int64_t exponent);

    KindE kind = KindE::Finite;
    bool is_negative = false;
    std::string significant_digits;  // no leading or trailing zeros; empty for zero
    std::int64_t decimal_exponent = 0;
};

}  // namespace qorv::math::algexpr::ginac

#endif
