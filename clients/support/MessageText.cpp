// SPDX-License-Identifier: MIT
#include "MessageText.h"

#include <cmath>
#include <new>

#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::support {

std::u16string count(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::u16string result;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (digits.size() > 4 && i > 0 && (digits.size() - i) % 3 == 0) {
            result += u',';
        }
        result += static_cast<char16_t>(digits[i]);
    }
    return result;
}

std::u16string approximately(double value) {
    if (!(value >= 0.0)) {
        return u"0";
    }
    if (value < 1e18) {
        return count(static_cast<std::uint64_t>(value));
    }
    const double exponent = std::log10(value);
    return u"10^" + count(exponent < 1e18 ? static_cast<std::uint64_t>(exponent) : std::uint64_t{1000000000000000000});
}

std::string utf8(const std::u16string& text) {
    std::string result = Utf8C::toUtf8(text);
    if (result.empty() && !text.empty()) {
        throw std::bad_alloc();
    }
    return result;
}

std::u16string utf16(const std::string& text) {
    std::u16string result = Utf8C::toUtf16(text);
    if (result.empty() && !text.empty()) {
        throw std::bad_alloc();
    }
    return result;
}

}  // namespace qorv::math::algexpr::support
