// SPDX-License-Identifier: MIT
#include "algexpr/numeric/FloatValueC.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <new>
#include <system_error>

namespace qorv::math::algexpr::numeric {

namespace {

// '-' or '+' for the four sign characters, 0 for anything else.
char signOf(char16_t c) {
    if (c == u'-' || c == u'\u2013' || c == u'\u2212') {
        return '-';
    }
    return c == u'+' ? '+' : 0;
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Big enough for every text std::to_chars makes with at most kMaxDigits
// digits: a sign, 309 integer digits, the point and 1074 decimals, or an
// exponent form with fewer.
constexpr int kBufferSize = 1536;

// Copies the text to_chars made, writing exponents without "+" and leading
// zeros, and appends ".0" when there is neither a point nor an exponent.
std::u16string normalize(const char* first, const char* last) {
    std::u16string text;
    text.reserve(static_cast<std::size_t>(last - first) + 2);
    bool point_or_exponent = false;
    for (const char* p = first; p != last; ++p) {
        text += static_cast<char16_t>(*p);
        if (*p == '.') {
            point_or_exponent = true;
        } else if (*p == 'e') {
            point_or_exponent = true;
            ++p;
            if (p != last && *p == '-') {
                text += u'-';
                ++p;
            } else if (p != last && *p == '+') {
                ++p;
            }
            while (p + 1 < last && *p == '0') {
                ++p;
            }
            for (; p != last; ++p) {
                text += static_cast<char16_t>(*p);
            }
            break;
        }
    }
    if (!point_or_exponent) {
        text += u".0";
    }
    return text;
}

// Rewrites a scientific text "[-]d[.ddd]e[+-]XX" in engineering form: the
// exponent lowered to a multiple of 3, the point moved right to match.
std::u16string engineering(const char* first, const char* last) {
    std::u16string text;
    const char* p = first;
    if (p != last && *p == '-') {
        text += u'-';
        ++p;
    }
    std::u16string digits;
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.') {
            digits += static_cast<char16_t>(*p);
        }
    }
    long exponent = 0;
    if (p != last) {
        ++p;  // 'e'
        const bool negative = p != last && *p == '-';
        if (p != last && (*p == '-' || *p == '+')) {
            ++p;
        }
        for (; p != last; ++p) {
            exponent = exponent * 10 + (*p - '0');
        }
        exponent = negative ? -exponent : exponent;
    }
    const long shift = ((exponent % 3) + 3) % 3;
    const std::size_t whole = static_cast<std::size_t>(shift) + 1;
    while (digits.size() < whole) {
        digits += u'0';
    }
    text.append(digits, 0, whole);
    if (digits.size() > whole) {
        text += u'.';
        text.append(digits, whole, std::u16string::npos);
    }
    text += u'e';
    const long shown = exponent - shift;
    if (shown < 0) {
        text += u'-';
    }
    unsigned long magnitude = static_cast<unsigned long>(shown < 0 ? -shown : shown);
    std::u16string reversed;
    do {
        reversed += static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    text.append(reversed.rbegin(), reversed.rend());
    return text;
}

}  // namespace

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
    // The text is checked here and handed to std::from_chars in ASCII without
    // its signs (from_chars takes no "+" and knows only "-").
    const std::size_t n = text.size();
    std::size_t i = 0;
    bool negative = false;
    if (i < n && signOf(text[i]) != 0) {
        negative = signOf(text[i]) == '-';
        ++i;
    }
    std::string ascii;
    ascii.reserve(n + 1);
    std::size_t integer_digits = 0;
    std::size_t mantissa_digits = 0;
    bool point = false;
    // Where the first non-zero mantissa digit stands, counted over all the
    // mantissa's digits: it tells an overflow from an underflow below.
    std::size_t first_nonzero = 0;
    bool nonzero = false;
    for (; i < n; ++i) {
        const char16_t c = text[i];
        if (isDigit(c)) {
            if (!nonzero && c != u'0') {
                nonzero = true;
                first_nonzero = mantissa_digits;
            }
            integer_digits += point ? 0 : 1;
            ++mantissa_digits;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        ascii += static_cast<char>(c);
    }
    if (mantissa_digits == 0) {
        return false;
    }
    long long exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ascii += 'e';
        ++i;
        bool exponent_negative = false;
        if (i < n && signOf(text[i]) != 0) {
            exponent_negative = signOf(text[i]) == '-';
            ++i;
        }
        if (exponent_negative) {
            ascii += '-';
        }
        const std::size_t first_digit = i;
        for (; i < n && isDigit(text[i]); ++i) {
            ascii += static_cast<char>(text[i]);
            if (exponent < 1000000000) {  // saturates; only its sign matters beyond
                exponent = exponent * 10 + (text[i] - u'0');
            }
        }
        if (i == first_digit) {
            return false;
        }
        exponent = exponent_negative ? -exponent : exponent;
    }
    if (i != n) {
        return false;
    }
    double magnitude = 0.0;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    const std::from_chars_result result = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (result.ptr != last) {
        return false;
    }
    if (result.ec == std::errc::result_out_of_range) {
        // The decimal exponent of the leading digit decides: only texts far
        // beyond either end of the range get here.
        const long long lead = static_cast<long long>(integer_digits) - static_cast<long long>(first_nonzero) - 1;
        magnitude = lead + exponent >= 0 ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

std::u16string FloatValueC::format(double value, unsigned long digits, qorv::math::NumberDisplayFormatE format) {
    if (std::isnan(value)) {
        return u"nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? u"-1e999" : u"1e999";
    }
    const int precision = static_cast<int>(digits < kMaxDigits ? digits : kMaxDigits);
    char buffer[kBufferSize];
    char* const first = buffer;
    char* const last = buffer + kBufferSize;
    std::to_chars_result result;
    switch (format) {
        case qorv::math::Fixed:
            result = digits == 0 ? std::to_chars(first, last, value, std::chars_format::fixed)
                                 : std::to_chars(first, last, value, std::chars_format::fixed, precision);
            break;
        case qorv::math::Scientific:
        case qorv::math::Engineering:
            result = digits == 0 ? std::to_chars(first, last, value, std::chars_format::scientific)
                                 : std::to_chars(first, last, value, std::chars_format::scientific, precision - 1);
            break;
        default:
            result = digits == 0 ? std::to_chars(first, last, value)
                                 : std::to_chars(first, last, value, std::chars_format::general, precision);
            break;
    }
    if (result.ec != std::errc()) {  // cannot happen with the buffer above; stay exact regardless
        result = std::to_chars(first, last, value);
        return normalize(first, result.ptr);
    }
    if (format == qorv::math::Engineering) {
        return engineering(first, result.ptr);
    }
    return normalize(first, result.ptr);
}

}  // namespace qorv::math::algexpr::numeric
