// SPDX-License-Identifier: MIT
#include "DoubleValueC.h"

#include <cmath>
#include <cstdint>
#include <new>

#include "NumberTextC.h"

namespace qorv::math::algexpr::support {

bool DoubleValueC::isFinite() const { return std::isfinite(value); }

FloatValueABC* DoubleValueC::clone() { return new (std::nothrow) DoubleValueC(value); }

bool DoubleValueC::parse(const std::u16string& text, double& value) {
    bool negative = false;
    std::string digits;
    std::int64_t exponent = 0;
    if (!NumberTextC::readFloat(text, negative, digits, exponent, 100000)) {
        return false;
    }
    NumberTextC::normalize(digits, exponent);
    value = NumberTextC::toDouble(negative, digits, exponent);
    return true;
}

std::u16string DoubleValueC::format(double value, unsigned long digits, qorv::math::NumberDisplayFormatE form) {
    if (std::isnan(value)) {
        return NumberTextC::kNotANumber;
    }
    if (std::isinf(value)) {
        return (value < 0 ? u"-" : u"") + std::u16string(NumberTextC::kInfinity);
    }
    std::string significant;
    std::int64_t exponent = 0;
    NumberTextC::digitsOf(value, digits < kMaxDigits ? digits : kMaxDigits, form == qorv::math::Fixed, significant,
                          exponent);
    return NumberTextC::writeFloat(std::signbit(value), significant, exponent, digits, form, kMaxDigits);
}

}  // namespace qorv::math::algexpr::support
