// SPDX-License-Identifier: MIT
// DigitsValueC: a float that is its correctly rounded significant digits,
// for a client that computed more digits than a double holds. It is written
// with at most the digits it has (never padded beyond them: those would be
// zeros no one computed); its double is the nearest one.
//
//   DigitsValueC pi(false, "314159265358979323846", 0, 21);
//   pi.toString(30, qorv::math::Standard);  // u"3.14159265358979323846"
#ifndef ALGEXPR_CLIENTS_SUPPORT_DIGITSVALUEC_H
#define ALGEXPR_CLIENTS_SUPPORT_DIGITSVALUEC_H

#include <cstdint>
#include <string>

#include "algexpr/FloatValueABC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr::support {

class DigitsValueC final : public FloatValueABC {
public:
    /// Normalised digits (NumberTextC::normalize) of a value correct to
    /// `precision` significant digits.
    DigitsValueC(bool negative, std::string digits, std::int64_t exponent, unsigned long precision);
    double getValue() const override;
    /// Becomes the double (its shortest digits).
    void setValue(double value) override;
    bool isFinite() const override { return true; }
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE form) override;
    std::u16string toString() override { return toString(0, qorv::math::Standard); }
    /// Null when memory runs out.
    FloatValueABC* clone() override;

    /// Rounds normalised digits to `count` significant ones (ties away from
    /// zero: the digits given are already beyond the tie), normalised again.
    static void round(std::string& digits, std::int64_t& exponent, unsigned long count);

private:
    bool negative;
    std::string digits;
    std::int64_t exponent;
    unsigned long precision;
};

}  // namespace qorv::math::algexpr::support

#endif
