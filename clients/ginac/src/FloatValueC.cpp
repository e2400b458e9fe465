// SPDX-License-Identifier: MIT
#include "algexpr/ginac/FloatValueC.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <system_error>

#include "NumberTextC.h"

namespace qorv::math::algexpr::ginac {


FloatValueC::FloatValueC() noexcept = default;

FloatValueC::~FloatValueC() = default;

double FloatValueC::getValue() const {
    switch (kind) {
        case KindE::PlusInfinity:
            return std::numeric_limits<double>::infinity();
        case KindE::MinusInfinity:
            return -std::numeric_limits<double>::infinity();
        case KindE::NaN:
            return std::numeric_limits<double>::quiet_NaN();
        case KindE::Finite:
            break;
    }
    return support::NumberTextC::toDouble(is_negative, significant_digits, decimal_exponent);
}

void FloatValueC::setValue(double value) {
    if (std::isnan(value)) {
        kind = KindE::NaN;
        is_negative = false;
        significant_digits.clear();
        decimal_exponent = 0;
        return;
    }
    if (std::isinf(value)) {
        kind = value > 0 ? KindE::PlusInfinity : KindE::MinusInfinity;
        is_negative = value < 0;
        significant_digits.clear();
        decimal_exponent = 0;
        return;
    }
    try {
        std::string digits;
        std::int64_t exponent = 0;
        support::NumberTextC::digitsOf(value, 0, false, digits, exponent);
        assign(std::signbit(value), digits, exponent);
        kind = KindE::Finite;
    } catch (const std::bad_alloc&) {
    }
}

bool FloatValueC::isFinite() const { return kind == KindE::Finite; }

std::u16string FloatValueC::toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) {
    switch (kind) {
        case KindE::PlusInfinity:
            return support::NumberTextC::kInfinity;
        case KindE::MinusInfinity:
            return u"-" + std::u16string(support::NumberTextC::kInfinity);
        case KindE::NaN:
            return support::NumberTextC::kNotANumber;
        case KindE::Finite:
            break;
    }
    return support::NumberTextC::writeFloat(is_negative, significant_digits, decimal_exponent, digits, format, kMaxDigits);
}

std::u16string FloatValueC::toString() { return toString(0, qorv::math::Standard); }

FloatValueABC* FloatValueC::clone() {
    try {
        return new FloatValueC(*this);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool FloatValueC::isNegative() const { return is_negative; }

const std::string& FloatValueC::significand() const { return significant_digits; }

std::int64_t FloatValueC::exponent() const { return decimal_exponent; }

FloatValueC* FloatValueC::fromText(const std::u16string& text) {
    try {
        bool negative = false;
        std::string digits;
        std::int64_t exponent = 0;
        if (!support::NumberTextC::readFloat(text, negative, digits, exponent, kMaxExponent)) {
            return nullptr;
        }
        return fromDigits(negative, digits, exponent);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

FloatValueC* FloatValueC::fromDouble(double value) {
    try {
        auto* result = new FloatValueC();
        result->setValue(value);
        if (std::isfinite(value) && value != 0.0 && result->significant_digits.empty()) {
            delete result;  // setValue ran out of memory
            return nullptr;
        }
        return result;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

FloatValueC* FloatValueC::fromDigits(bool negative, const std::string& digits, std::int64_t exponent) {
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return nullptr;
        }
    }
    try {
        auto* result = new FloatValueC();
        if (!result->assign(negative, digits, exponent)) {
            delete result;
            return nullptr;
        }
        return result;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Normalises digits with the point after the first one; false (and nothing
// changed) when the exponent is out of range.
bool FloatValueC::assign(bool negative, const std::string& given, std::int64_t exponent) {
    std::string digits = given;
    support::NumberTextC::normalize(digits, exponent);
    if (!digits.empty() && (exponent > kMaxExponent || exponent < -kMaxExponent)) {
        return false;
    }
    significant_digits.swap(digits);
    decimal_exponent = exponent;
    is_negative = negative;
    return true;
}

}  // namespace qorv::math::algexpr::ginac
