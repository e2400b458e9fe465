// SPDX-License-Identifier: MIT
#include "algexpr/numeric/FloatValueC.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <string>

#include "NumberTextC.h"

namespace qorv::math::algexpr::numeric {


FloatValueC::FloatValueC(double value) noexcept : value(value) {}

FloatValueC::~FloatValueC() = default;

double FloatValueC::getValue() const { return value; }

void FloatValueC::setValue(double value) { this->value = value; }

bool FloatValueC::isFinite() const { return std::isfinite(value); }

std::u16string FloatValueC::toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) {
    return FloatValueC::format(value, digits, format);
}

std::u16string FloatValueC::toString() { return format(value); }

FloatValueABC* FloatValueC::clone() { return new (std::nothrow) FloatValueC(value); }

bool FloatValueC::parse(const std::u16string& text, double& value) {
    bool negative = false;
    std::string digits;
    std::int64_t exponent = 0;
    if (!support::NumberTextC::readFloat(text, negative, digits, exponent, 100000)) {
        return false;
    }
    support::NumberTextC::normalize(digits, exponent);
    value = support::NumberTextC::toDouble(negative, digits, exponent);
    return true;
}

std::u16string FloatValueC::format(double value, unsigned long digits, qorv::math::NumberDisplayFormatE format) {
    if (std::isnan(value)) {
        return support::NumberTextC::kNotANumber;
    }
    if (std::isinf(value)) {
        return (value < 0 ? u"-" : u"") + std::u16string(support::NumberTextC::kInfinity);
    }
    std::string significant;
    std::int64_t exponent = 0;
    support::NumberTextC::digitsOf(value, digits < kMaxDigits ? digits : kMaxDigits, format == qorv::math::Fixed,
                                   significant, exponent);
    return support::NumberTextC::writeFloat(std::signbit(value), significant, exponent, digits, format, kMaxDigits);
}

}  // namespace qorv::math::algexpr::numeric
