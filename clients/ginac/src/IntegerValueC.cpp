// SPDX-License-Identifier: MIT
#include "algexpr/ginac/IntegerValueC.h"

#include <limits>
#include <memory>
#include <new>
#include <string>

#include "NumberTextC.h"

namespace qorv::math::algexpr::ginac {

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

std::u16string widen(const std::string& ascii, bool negative) {
    std::u16string text;
    text.reserve(ascii.size() + 1);
    if (negative) {
        text += u'-';
    }
    for (char c : ascii) {
        text += static_cast<char16_t>(c);
    }
    return text;
}

// The digits of the magnitude.
std::string decimal(std::int64_t value) {
    return std::to_string(value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
}

}  // namespace

IntegerValueC::IntegerValueC(std::int64_t value) noexcept : value(value) {}

IntegerValueC::~IntegerValueC() = default;

std::int64_t IntegerValueC::getValue() const { return value; }

void IntegerValueC::setValue(std::int64_t value) {
    this->value = value;
    large_digits.clear();
}

std::u16string IntegerValueC::toString() {
    return isLarge() ? widen(large_digits, value < 0) : widen(decimal(value), value < 0);
}

IntegerValueABC* IntegerValueC::clone() {
    try {
        auto* copy = new IntegerValueC(value);
        copy->large_digits = large_digits;
        return copy;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool IntegerValueC::isLarge() const { return !large_digits.empty(); }

bool IntegerValueC::isNegative() const { return value < 0; }

const std::string& IntegerValueC::largeDigits() const { return large_digits; }

std::size_t IntegerValueC::digitCount() const { return isLarge() ? large_digits.size() : decimal(value).size(); }

IntegerValueC* IntegerValueC::fromText(const std::u16string& text) {
    try {
        bool negative = false;
        std::string digits;
        return parse(text, negative, digits) ? fromDigits(negative, digits) : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

IntegerValueC* IntegerValueC::fromDigits(bool negative, const std::string& digits) {
    std::size_t first = 0;
    while (first + 1 < digits.size() && digits[first] == '0') {
        ++first;
    }
    if (digits.empty()) {
        return nullptr;
    }
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return nullptr;
        }
    }
    try {
        const std::string magnitude = digits.substr(first);
        std::int64_t small = 0;
        if (support::NumberTextC::toInt64(negative && magnitude != "0", magnitude, small)) {
            return new IntegerValueC(small);
        }
        std::unique_ptr<IntegerValueC> value(new IntegerValueC(negative ? kMin : kMax));
        value->large_digits = magnitude;  // may throw: the value must not leak
        return value.release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool IntegerValueC::parse(const std::u16string& text, bool& negative, std::string& digits) {
    return support::NumberTextC::readInteger(text, negative, digits);
}

}  // namespace qorv::math::algexpr::ginac
