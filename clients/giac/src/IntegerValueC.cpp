// SPDX-License-Identifier: MIT
#include "algexpr/giac/IntegerValueC.h"

#include <limits>
#include <memory>
#include <new>

namespace qorv::math::algexpr::giac {

namespace {

std::string decimal(std::uint64_t magnitude) {
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return text;
}

bool isMinus(char16_t c) { return c == u'-' || c == u'\u2013' || c == u'\u2212'; }

}  // namespace

IntegerValueC::IntegerValueC(std::int64_t value) { setValue(value); }

IntegerValueC::~IntegerValueC() = default;

std::int64_t IntegerValueC::getValue() const {
    // The magnitude up to 2^63, or saturation.
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
    std::uint64_t value = 0;
    for (char c : magnitude) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (magnitude.size() > 19 || value > (kLimit - digit) / 10) {
            return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
        }
        value = value * 10 + digit;
    }
    if (!negative) {
        return value == kLimit ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(value);
    }
    return static_cast<std::int64_t>(0 - value);
}

void IntegerValueC::setValue(std::int64_t value) {
    const std::uint64_t size =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    magnitude = decimal(size);
    negative = value < 0;
}

std::u16string IntegerValueC::toString() {
    std::u16string text;
    text.reserve(magnitude.size() + 1);
    if (negative) {
        text += u'-';
    }
    text.append(magnitude.begin(), magnitude.end());
    return text;
}

IntegerValueABC* IntegerValueC::clone() {
    try {
        return new IntegerValueC(*this);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool IntegerValueC::isNegative() const { return negative; }

const std::string& IntegerValueC::digits() const { return magnitude; }

IntegerValueC* IntegerValueC::fromText(const std::u16string& text) {
    std::size_t start = 0;
    bool minus = false;
    if (!text.empty() && (isMinus(text[0]) || text[0] == u'+')) {
        minus = isMinus(text[0]);
        start = 1;
    }
    std::string digits;
    digits.reserve(text.size() - start);
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            return nullptr;
        }
        digits += static_cast<char>(text[i]);
    }
    return fromDigits(minus, digits);
}

IntegerValueC* IntegerValueC::fromDigits(bool negative, const std::string& digits) {
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
        return nullptr;
    }
    auto value = std::make_unique<IntegerValueC>(0);
    const std::size_t first = digits.find_first_not_of('0');
    if (first != std::string::npos) {
        value->magnitude.assign(digits, first, std::string::npos);
        value->negative = negative;
    }
    return value.release();
}

}  // namespace qorv::math::algexpr::giac
