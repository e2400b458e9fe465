// SPDX-License-Identifier: MIT
// FloatValueC: the numeric client's float, an IEEE double. A FloatNodeC
// owns each one; clone() gives the caller a new, independent one. Also home
// to the float text form shared by the factory and the printers.
//
// Reading (parse): an optional sign ("-", "+", U+2013 or U+2212, the last two
// meaning minus), decimal digits with at most one ".", at least one digit,
// then optionally "e" or "E", an optional sign of the same four, and one or
// more digits: 2, -0.5, .5, 5., 1e3, 2.5E-3, \u2212 1e\u22123 (without the
// spaces). Nothing else is read: no spaces, no "inf", no "nan", no hex, and
// the result never depends on the locale. Values beyond the double range read
// as infinities and those below it as zero, with the text's sign.
//
// Writing (format, and the two toString operations):
//  - NaN is written "nan". That text reads back as a name, not as a number:
//    a printed NaN does not survive a round trip through the prefix form.
//  - Infinities are written "1e999" and "-1e999", which read back as them.
//  - Every other text holds "." or an exponent, so that it reads back as a
//    float and not as an integer: 1.0, never 1. Exponents have no "+" and no
//    leading zeros: 1e21, 2.5e-7.
//  - The unsigned long `digits` argument: 0 asks for the shortest text that
//    reads back to the same double. Otherwise it is the number of significant
//    digits (Standard, Scientific, Engineering) or of digits after the point
//    (Fixed), correctly rounded and padded with zeros: exactly that many
//    digits; values above kMaxDigits count as kMaxDigits.
//  - The NumberDisplayFormatE argument (the GiNaC client writes its floats
//    by the same rules, so that both write a number alike):
//      Standard     plain form when the decimal exponent x satisfies
//                   -7 < x < 21 (digits 0) or -7 < x < digits, exponent
//                   form otherwise: 0.1, 1e20 as 100000000000000000000.0,
//                   1e21, 100. (digits 3 for 100), 1.00e3 (digits 3)
//      Fixed        plain form, never an exponent: 1000000000000000000000.0
//      Scientific   one digit before the point, always an exponent: 1.5e3
//      Engineering  an exponent that is a multiple of 3 and one to three
//                   digits before the point, always an exponent: 15e3, 150e-9
//    Any other value of the enumeration is taken as Standard.
//  - toString() is format(value, 0, Standard): shortest round trip.
#ifndef ALGEXPR_NUMERIC_FLOATVALUEC_H
#define ALGEXPR_NUMERIC_FLOATVALUEC_H

#include <string>

#include "algexpr/FloatValueABC.h"
#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/numeric/numeric_export.h"

namespace qorv::math::algexpr::numeric {

class ALGEXPR_NUMERIC_API FloatValueC : public FloatValueABC {
public:
    /// No double has more decimal digits after the point than this (the
    /// smallest subnormal has 1074), nor more significant ones.
    static constexpr unsigned long kMaxDigits = 1074;

    explicit FloatValueC(double value = 0.0) noexcept;
    ~FloatValueC() override;

    double getValue() const override;
    void setValue(double value) override;
    bool isFinite() const override;
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) override;
    std::u16string toString() override;
    /// Null when memory runs out.
    FloatValueABC* clone() override;

    /// Reads a float text as described above. False for every other text;
    /// `value` is then left as it was.
    static bool parse(const std::u16string& text, double& value);
    /// The text of `value` as described above.
    static std::u16string format(double value, unsigned long digits = 0,
                                 qorv::math::NumberDisplayFormatE format = qorv::math::Standard);

private:
    double value;
};

}  // namespace qorv::math::algexpr::numeric

#endif
