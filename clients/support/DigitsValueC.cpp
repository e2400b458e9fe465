// SPDX-License-Identifier: MIT
#include "DigitsValueC.h"

#include <cmath>
#include <new>
#include <utility>

#include "NumberTextC.h"

namespace qorv::math::algexpr::support {

DigitsValueC::DigitsValueC(bool negative, std::string digits, std::int64_t exponent, unsigned long precision)
    : negative(negative), digits(std::move(digits)), exponent(exponent), precision(precision) {}

double DigitsValueC::getValue() const { return NumberTextC::toDouble(negative, digits, exponent); }

void DigitsValueC::setValue(double value) {
    negative = std::signbit(value);
    NumberTextC::digitsOf(std::fabs(value), 0, false, digits, exponent);
    precision = 17;
}

std::u16string DigitsValueC::toString(unsigned long count, qorv::math::NumberDisplayFormatE form) {
    // Fixed counts digits after the point: as many as the precision reaches.
    const std::int64_t after = static_cast<std::int64_t>(precision) - 1 - exponent;
    const unsigned long most =
        form == qorv::math::Fixed ? (after > 0 ? static_cast<unsigned long>(after) : 0) : precision;
    return NumberTextC::writeFloat(negative, digits, exponent, count == 0 || count > most ? most : count, form,
                                   most == 0 ? 1 : most);
}

FloatValueABC* DigitsValueC::clone() {
    try {
        return new DigitsValueC(*this);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void DigitsValueC::round(std::string& digits, std::int64_t& exponent, unsigned long count) {
    if (digits.size() <= count) {
        return;
    }
    const bool up = digits[count] >= '5';
    digits.resize(count);
    if (up) {
        std::size_t i = count;
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        } else {
            ++digits[i - 1];
        }
    }
    NumberTextC::normalize(digits, exponent);
}

}  // namespace qorv::math::algexpr::support
