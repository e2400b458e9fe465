// SPDX-License-Identifier: MIT
#include "algexpr/numeric/FloatValueC.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <string>

#include "DoubleValueC.h"

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

bool FloatValueC::parse(const std::u16string& text, double& value) { return support::DoubleValueC::parse(text, value); }

std::u16string FloatValueC::format(double value, unsigned long digits, qorv::math::NumberDisplayFormatE format) {
    return support::DoubleValueC::format(value, digits, format);
}

}  // namespace qorv::math::algexpr::numeric
