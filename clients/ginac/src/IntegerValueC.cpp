// SPDX-License-Identifier: MIT
#include "algexpr/ginac/IntegerValueC.h"

#include <limits>
#include <memory>
#include <new>

namespace qorv::math::algexpr::ginac {

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

bool isMinus(char16_t c) { return c == u'-' || c == u'\u2013' || c == u'\u2212'; }

// The magnitude's digits (no leading zeros) as an int64 with the sign; false
// when it does not fit.
bool toInt64(bool negative, const std::string& digits, std::int64_t& value) {
    if (digits.size() > 19) {
        return false;
    }
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    for (char c : digits) {
        const auto digit = static_cast<unsigned>(c - '0');
        if (magnitude > (limit - digit) / 10) {
            return false;
        }
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

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

std::string decimal(std::int64_t value) {
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char buffer[20];
    int n = 0;
    do {
        buffer[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::string text;
    text.reserve(static_cast<std::size_t>(n));
    while (n > 0) {
        text += buffer[--n];
    }
    return text;
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
        if (toInt64(negative && magnitude != "0", magnitude, small)) {
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
    std::size_t i = 0;
    bool minus = false;
    if (!text.empty() && (isMinus(text[0]) || text[0] == u'+')) {
        minus = isMinus(text[0]);
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    for (std::size_t j = i; j < text.size(); ++j) {
        if (text[j] < u'0' || text[j] > u'9') {
            return false;
        }
    }
    while (i + 1 < text.size() && text[i] == u'0') {
        ++i;
    }
    digits.clear();
    digits.reserve(text.size() - i);
    for (; i < text.size(); ++i) {
        digits += static_cast<char>(text[i]);
    }
    negative = minus && digits != "0";
    return true;
}

}  // namespace qorv::math::algexpr::ginac
