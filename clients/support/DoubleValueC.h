// SPDX-License-Identifier: MIT
// DoubleValueC: a float value that is a double, for the clients whose
// floats are doubles; its texts are the numeric client's (NumberTextC):
// the shortest text that reads back exactly, or the digits and form asked
// for; "nan", "1e999" and "-1e999" for what is not finite. Owns nothing.
//
//   double d;
//   if (DoubleValueC::parse(u"1.5e3", d)) { ... }          // 1500
//   DoubleValueC::format(0.1, 3, qorv::math::Fixed);        // u"0.100"
#ifndef ALGEXPR_CLIENTS_SUPPORT_DOUBLEVALUEC_H
#define ALGEXPR_CLIENTS_SUPPORT_DOUBLEVALUEC_H

#include <string>

#include "algexpr/FloatValueABC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr::support {

class DoubleValueC final : public FloatValueABC {
public:
    /// No double has more decimal digits after the point than this (the
    /// smallest subnormal has 1074), nor more significant ones.
    static constexpr unsigned long kMaxDigits = 1074;

    explicit DoubleValueC(double value = 0.0) noexcept : value(value) {}

    double getValue() const override { return value; }
    void setValue(double v) override { value = v; }
    bool isFinite() const override;
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE form) override {
        return format(value, digits, form);
    }
    std::u16string toString() override { return format(value); }
    /// Null when memory runs out.
    FloatValueABC* clone() override;

    /// Reads a decimal float text (digits, an optional point and exponent,
    /// an optional sign) to the nearest double. False for every other text;
    /// `value` is then left as it was.
    static bool parse(const std::u16string& text, double& value);
    /// The text of `value`: with `digits` 0 the shortest that reads back.
    static std::u16string format(double value, unsigned long digits = 0,
                                 qorv::math::NumberDisplayFormatE form = qorv::math::Standard);

private:
    double value;
};

}  // namespace qorv::math::algexpr::support

#endif
