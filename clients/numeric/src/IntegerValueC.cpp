// SPDX-License-Identifier: MIT
#include "algexpr/numeric/IntegerValueC.h"

#include <new>

namespace qorv::math::algexpr::numeric {

IntegerValueC::IntegerValueC(std::int64_t value) noexcept : value(value) {}

IntegerValueC::~IntegerValueC() = default;

std::int64_t IntegerValueC::getValue() const { return value; }

void IntegerValueC::setValue(std::int64_t value) { this->value = value; }

std::u16string IntegerValueC::toString() { return format(value); }

IntegerValueABC* IntegerValueC::clone() { return new (std::nothrow) IntegerValueC(value); }

bool IntegerValueC::parse(const std::u16string& text, std::int64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty()) {
        const char16_t c = text[0];
        if (c == u'-' || c == u'\u2013' || c == u'\u2212') {
            negative = true;
            ++i;
        } else if (c == u'+') {
            ++i;
        }
    }
    if (i == text.size()) {
        return false;
    }
    // The magnitude is gathered unsigned, so that -2^63 needs no special case.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9') {
            return false;
        }
        const unsigned digit = static_cast<unsigned>(c - u'0');
        if (magnitude > (limit - digit) / 10) {
            return false;
        }
        magnitude = magnitude * 10 + digit;
    }
    // Two's complement negation of the unsigned magnitude; converting the
    // result back to signed is well defined since C++20 and on every
    // supported compiler before.
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

std::u16string IntegerValueC::format(std::int64_t value) {
    char16_t digits[20];
    int n = 0;
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::u16string text;
    text.reserve(static_cast<std::size_t>(n) + 1);
    if (value < 0) {
        text += u'-';
    }
    while (n > 0) {
        text += digits[--n];
    }
    return text;
}

}  // namespace qorv::math::algexpr::numeric
