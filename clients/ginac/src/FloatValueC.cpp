// SPDX-License-Identifier: MIT
#include "algexpr/ginac/FloatValueC.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <system_error>

namespace qorv::math::algexpr::ginac {

namespace {

bool isMinus(char16_t c) { return c == u'-' || c == u'\u2013' || c == u'\u2212'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Significant digits rounded (ties to even) or padded to exactly `count`
// digits; `exponent` belongs to the first digit and grows by one when the
// rounding carries out of the first digit. `count` >= 1.
std::string roundTo(const std::string& digits, std::int64_t& exponent, std::size_t count) {
    if (digits.size() <= count) {
        std::string result = digits.empty() ? std::string(count, '0') : digits;
        result.append(count - result.size(), '0');
        if (digits.empty()) {
            exponent = 0;
        }
        return result;
    }
    std::string result = digits.substr(0, count);
    const char next = digits[count];
    bool up = next > '5';
    if (next == '5') {
        // Digits never end in a zero, so anything after the 5 makes it more than half.
        up = digits.size() > count + 1 || ((result.back() - '0') & 1) != 0;
    }
    if (up) {
        std::size_t i = result.size();
        while (i > 0 && result[i - 1] == '9') {
            result[--i] = '0';
        }
        if (i == 0) {
            result.insert(result.begin(), '1');
            result.pop_back();
            ++exponent;
        } else {
            ++result[i - 1];
        }
    }
    return result;
}

void appendExponent(std::u16string& text, std::int64_t exponent) {
    text += u'e';
    std::uint64_t magnitude = exponent < 0 ? 0 - static_cast<std::uint64_t>(exponent) : static_cast<std::uint64_t>(exponent);
    if (exponent < 0) {
        text += u'-';
    }
    char16_t buffer[20];
    int n = 0;
    do {
        buffer[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (n > 0) {
        text += buffer[--n];
    }
}

void appendDigits(std::u16string& text, const std::string& digits, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        text += i < digits.size() ? static_cast<char16_t>(digits[i]) : u'0';
    }
}

// Plain notation of d.ddd x 10^exponent with at least `fraction` digits
// after the point (more when the digits reach further).
void appendPlain(std::u16string& text, const std::string& digits, std::int64_t exponent, std::size_t fraction) {
    if (exponent >= 0) {
        const auto integer = static_cast<std::size_t>(exponent) + 1;
        appendDigits(text, digits, 0, integer);
        text += u'.';
        const std::size_t end = digits.size() > integer ? digits.size() : integer;
        appendDigits(text, digits, integer, end);
        for (std::size_t written = end - integer; written < fraction; ++written) {
            text += u'0';
        }
        return;
    }
    text += u"0.";
    const auto zeros = static_cast<std::size_t>(-(exponent + 1));
    text.append(zeros, u'0');
    appendDigits(text, digits, 0, digits.size());
    for (std::size_t written = zeros + digits.size(); written < fraction; ++written) {
        text += u'0';
    }
}

void appendScientific(std::u16string& text, const std::string& digits, std::int64_t exponent, std::size_t lead) {
    appendDigits(text, digits, 0, lead);
    if (digits.size() > lead) {
        text += u'.';
        appendDigits(text, digits, lead, digits.size());
    }
    appendExponent(text, exponent);
}

// The digits after rounding for Fixed with `after` digits after the point;
// empty digits for zero.
std::string roundFixed(const std::string& digits, std::int64_t& exponent, unsigned long after) {
    const std::int64_t keep = exponent + 1 + static_cast<std::int64_t>(after);
    if (digits.empty() || keep < 0) {
        exponent = 0;
        return std::string();
    }
    if (keep == 0) {
        // Below one unit of the last place: 0 or one unit, ties to 0 (even).
        if (digits[0] > '5' || (digits[0] == '5' && digits.size() > 1)) {
            exponent = -static_cast<std::int64_t>(after);
            return "1";
        }
        exponent = 0;
        return std::string();
    }
    std::string rounded = roundTo(digits, exponent, static_cast<std::size_t>(keep));
    while (!rounded.empty() && rounded.back() == '0') {
        rounded.pop_back();
    }
    if (rounded.empty()) {
        exponent = 0;
    }
    return rounded;
}

std::int64_t floorDiv3(std::int64_t x) { return x >= 0 ? x / 3 : -((-x + 2) / 3); }

}  // namespace

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
    const double sign = is_negative ? -1.0 : 1.0;
    if (significant_digits.empty() || decimal_exponent < -400) {
        return sign * 0.0;
    }
    if (decimal_exponent > 400) {
        return sign * std::numeric_limits<double>::infinity();
    }
    // Past 800 digits the rest cannot change the nearest double except in a
    // tie, which a sticky digit settles.
    std::string text = significant_digits.substr(0, 800);
    if (significant_digits.size() > 800) {
        text += '1';
    }
    text.insert(1, 1, '.');
    text += 'e';
    text += std::to_string(decimal_exponent);
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        value = decimal_exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return sign * value;
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
    char buffer[64];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    // d[.ddd]e(+|-)XX
    std::string digits;
    const char* p = buffer;
    for (; p != written.ptr && *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    std::int64_t exponent = 0;
    if (p != written.ptr) {
        ++p;
        const bool minus = *p == '-';
        if (*p == '-' || *p == '+') {
            ++p;
        }
        std::from_chars(p, written.ptr, exponent);
        exponent = minus ? -exponent : exponent;
    }
    try {
        assign(std::signbit(value), digits, exponent);
        kind = KindE::Finite;
    } catch (const std::bad_alloc&) {
    }
}

bool FloatValueC::isFinite() const { return kind == KindE::Finite; }

std::u16string FloatValueC::toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) {
    switch (kind) {
        case KindE::PlusInfinity:
            return u"inf";
        case KindE::MinusInfinity:
            return u"-inf";
        case KindE::NaN:
            return u"nan";
        case KindE::Finite:
            break;
    }
    if (digits > kMaxDigits) {
        digits = kMaxDigits;
    }
    if (format == qorv::math::Fixed && (decimal_exponent > static_cast<std::int64_t>(kMaxDigits) ||
                                        decimal_exponent < -static_cast<std::int64_t>(kMaxDigits))) {
        format = qorv::math::Scientific;
    }
    std::u16string text;
    if (is_negative) {
        text += u'-';
    }
    std::int64_t exponent = decimal_exponent;
    if (format == qorv::math::Fixed) {
        if (digits == 0) {
            const std::int64_t after = static_cast<std::int64_t>(significant_digits.size()) - 1 - exponent;
            appendPlain(text, significant_digits, significant_digits.empty() ? 0 : exponent,
                        after > 1 ? static_cast<std::size_t>(after) : 1);
            return text;
        }
        const std::string rounded = roundFixed(significant_digits, exponent, digits);
        appendPlain(text, rounded, exponent, digits);
        return text;
    }
    const std::string shown = digits == 0 ? (significant_digits.empty() ? std::string("0") : significant_digits)
                                          : roundTo(significant_digits, exponent, digits);
    if (significant_digits.empty()) {
        exponent = 0;
    }
    switch (format) {
        case qorv::math::Scientific:
            appendScientific(text, shown, exponent, 1);
            if (significant_digits.empty() && digits == 0) {
                text.insert(text.size() - 2, u".0");
            }
            return text;
        case qorv::math::Engineering: {
            const std::int64_t power = floorDiv3(exponent) * 3;
            const auto lead = static_cast<std::size_t>(exponent - power + 1);
            std::string padded = shown;
            if (padded.size() < lead) {
                padded.append(lead - padded.size(), '0');
            }
            appendScientific(text, padded, power, lead);
            return text;
        }
        default: {
            const std::int64_t limit = digits == 0 ? 21 : static_cast<std::int64_t>(digits);
            if (exponent > -7 && exponent < limit) {
                appendPlain(text, shown, exponent, digits == 0 ? 1 : 0);
            } else {
                appendScientific(text, shown, exponent, 1);
            }
            return text;
        }
    }
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
    std::size_t i = 0;
    bool minus = false;
    if (i < text.size() && (isMinus(text[i]) || text[i] == u'+')) {
        minus = isMinus(text[i]);
        ++i;
    }
    try {
        std::string digits;
        std::int64_t point = -1;  // digits before the point
        for (; i < text.size(); ++i) {
            if (isDigit(text[i])) {
                digits += static_cast<char>(text[i]);
            } else if (text[i] == u'.' && point < 0) {
                point = static_cast<std::int64_t>(digits.size());
            } else {
                break;
            }
        }
        if (digits.empty()) {
            return nullptr;
        }
        if (point < 0) {
            point = static_cast<std::int64_t>(digits.size());
        }
        std::int64_t exponent = 0;
        if (i < text.size()) {
            if (text[i] != u'e' && text[i] != u'E') {
                return nullptr;
            }
            ++i;
            bool exponent_minus = false;
            if (i < text.size() && (isMinus(text[i]) || text[i] == u'+')) {
                exponent_minus = isMinus(text[i]);
                ++i;
            }
            if (i == text.size()) {
                return nullptr;
            }
            for (; i < text.size(); ++i) {
                if (!isDigit(text[i])) {
                    return nullptr;
                }
                if (exponent <= kMaxExponent * 10) {  // beyond that it is declined anyway
                    exponent = exponent * 10 + (text[i] - u'0');
                }
            }
            exponent = exponent_minus ? -exponent : exponent;
        }
        return fromDigits(minus, digits, exponent + point - 1);
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
bool FloatValueC::assign(bool negative, const std::string& digits, std::int64_t exponent) {
    std::size_t first = 0;
    while (first < digits.size() && digits[first] == '0') {
        ++first;
    }
    std::size_t last = digits.size();
    while (last > first && digits[last - 1] == '0') {
        --last;
    }
    if (first == last) {
        significant_digits.clear();
        decimal_exponent = 0;
        is_negative = negative;
        return true;
    }
    const std::int64_t adjusted = exponent - static_cast<std::int64_t>(first);
    if (adjusted > kMaxExponent || adjusted < -kMaxExponent) {
        return false;
    }
    significant_digits.assign(digits, first, last - first);
    decimal_exponent = adjusted;
    is_negative = negative;
    return true;
}

}  // namespace qorv::math::algexpr::ginac
