// SPDX-License-Identifier: MIT
#include "algexpr/numeric/IntegerValueC.h"

#include <new>
#include <string>

#include "NumberTextC.h"

namespace qorv::math::algexpr::numeric {

IntegerValueC::IntegerValueC(std::int64_t value) noexcept : value(value) {}

IntegerValueC::~IntegerValueC() = default;

std::int64_t IntegerValueC::getValue() const { return value; }

void IntegerValueC::setValue(std::int64_t value) { this->value = value; }

std::u16string IntegerValueC::toString() { return format(value); }

IntegerValueABC* IntegerValueC::clone() { return new (std::nothrow) IntegerValueC(value); }

bool IntegerValueC::parse(const std::u16string& text, std::int64_t& value) {
    bool negative = false;
    std::string digits;
    return support::NumberTextC::readInteger(text, negative, digits) &&
           support::NumberTextC::toInt64(negative, digits, value);
}

std::u16string IntegerValueC::format(std::int64_t value) {
    std::u16string text;
    if (value < 0) {
        text += u'-';
    }
    support::NumberTextC::appendDecimal(
        text, value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
    return text;
}

}  // namespace qorv::math::algexpr::numeric
