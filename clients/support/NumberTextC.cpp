// SPDX-License-Identifier: MIT
#include "NumberTextC.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace qorv::math::algexpr::support {

namespace {

bool isMinus(char16_t c) { return c == u'-' || c == u'\u2013' || c == u'\u2212'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// An optional sign at text[i]: skips it and tells whether it means minus.
bool readSign(const std::u16string& text, std::size_t& i) {
    if (i < text.size() && (isMinus(text[i]) || text[i] == u'+')) {
        return isMinus(text[i++]);
    }
    return false;
}

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
    if (exponent < 0) {
        text += u'-';
    }
    NumberTextC::appendDecimal(text, exponent < 0 ? 0 - static_cast<std::uint64_t>(exponent) : static_cast<std::uint64_t>(exponent));
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

bool NumberTextC::readInteger(const std::u16string& text, bool& negative, std::string& digits) {
    std::size_t i = 0;
    const bool minus = readSign(text, i);
    if (i == text.size()) {
        return false;
    }
    for (std::size_t j = i; j < text.size(); ++j) {
        if (!isDigit(text[j])) {
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

bool NumberTextC::readFloat(const std::u16string& text, bool& negative, std::string& digits, std::int64_t& exponent,
                            std::int64_t max_exponent) {
    std::size_t i = 0;
    negative = readSign(text, i);
    digits.clear();
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
        return false;
    }
    if (point < 0) {
        point = static_cast<std::int64_t>(digits.size());
    }
    std::int64_t written = 0;
    if (i < text.size()) {
        if (text[i] != u'e' && text[i] != u'E') {
            return false;
        }
        ++i;
        const bool minus = readSign(text, i);
        if (i == text.size()) {
            return false;
        }
        for (; i < text.size(); ++i) {
            if (!isDigit(text[i])) {
                return false;
            }
            if (written <= max_exponent * 10) {  // beyond that it is out of range anyway
                written = written * 10 + (text[i] - u'0');
            }
        }
        written = minus ? -written : written;
    }
    exponent = written + point - 1;
    return true;
}

std::u16string NumberTextC::writeFloat(bool negative, const std::string& digits, std::int64_t decimal,
                                       unsigned long count, qorv::math::NumberDisplayFormatE format,
                                       unsigned long max_digits) {
    if (count > max_digits) {
        count = max_digits;
    }
    if (format == qorv::math::Fixed && (decimal > static_cast<std::int64_t>(max_digits) ||
                                        decimal < -static_cast<std::int64_t>(max_digits))) {
        format = qorv::math::Scientific;
    }
    std::u16string text;
    if (negative) {
        text += u'-';
    }
    std::int64_t exponent = decimal;
    if (format == qorv::math::Fixed) {
        if (count == 0) {
            const std::int64_t after = static_cast<std::int64_t>(digits.size()) - 1 - exponent;
            appendPlain(text, digits, digits.empty() ? 0 : exponent,
                        after > 1 ? static_cast<std::size_t>(after) : 1);
            return text;
        }
        const std::string rounded = roundFixed(digits, exponent, count);
        appendPlain(text, rounded, exponent, count);
        return text;
    }
    const std::string shown = count == 0 ? (digits.empty() ? std::string("0") : digits)
                                          : roundTo(digits, exponent, count);
    if (digits.empty()) {
        exponent = 0;
    }
    switch (format) {
        case qorv::math::Scientific:
            appendScientific(text, shown, exponent, 1);
            if (digits.empty() && count == 0) {
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
            const std::int64_t limit = count == 0 ? 21 : static_cast<std::int64_t>(count);
            if (exponent > -7 && exponent < limit) {
                appendPlain(text, shown, exponent, count == 0 ? 1 : 0);
            } else {
                appendScientific(text, shown, exponent, 1);
            }
            return text;
        }
    }
}


void NumberTextC::normalize(std::string& digits, std::int64_t& exponent) {
    std::size_t first = 0;
    while (first < digits.size() && digits[first] == '0') {
        ++first;
    }
    std::size_t last = digits.size();
    while (last > first && digits[last - 1] == '0') {
        --last;
    }
    if (first == last) {
        digits.clear();
        exponent = 0;
        return;
    }
    digits = digits.substr(first, last - first);
    exponent -= static_cast<std::int64_t>(first);
}

double NumberTextC::toDouble(bool negative, const std::string& digits, std::int64_t exponent) {
    const double sign = negative ? -1.0 : 1.0;
    if (digits.empty() || exponent < -400) {
        return sign * 0.0;
    }
    if (exponent > 400) {
        return sign * std::numeric_limits<double>::infinity();
    }
    // Past 800 digits the rest cannot change the nearest double except in a
    // tie, which a sticky digit settles.
    std::string text = digits.substr(0, 800);
    if (digits.size() > 800) {
        text += '1';
    }
    text.insert(1, 1, '.');
    text += 'e';
    text += std::to_string(exponent);
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        value = exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return sign * value;
}

void NumberTextC::digitsOf(double value, unsigned long count, bool fixed, std::string& digits, std::int64_t& exponent) {
    char buffer[1536];  // fixed: 309 digits, the point and 1074 decimals at most
    const double magnitude = std::fabs(value);
    std::to_chars_result written{};
    if (count == 0) {
        // The shortest text; in plain form it gives a whole number's every
        // digit (2^63 is 9223372036854775808, not 9223372036854776000).
        written = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
    } else if (fixed) {
        written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed,
                                static_cast<int>(count < 1074 ? count : 1074));
    } else {
        written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                                static_cast<int>((count < 1074 ? count : 1074) - 1));
    }
    const std::u16string text(buffer, written.ptr);
    bool negative = false;
    if (!readFloat(text, negative, digits, exponent, 100000)) {
        digits.clear();
        exponent = 0;
        return;
    }
    normalize(digits, exponent);
}

bool NumberTextC::toInt64(bool negative, const std::string& digits, std::int64_t& value) {
    if (digits.empty() || digits.size() > 19) {
        return false;
    }
    // The magnitude is gathered unsigned, so that -2^63 needs no special case.
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

void NumberTextC::appendDecimal(std::u16string& text, std::uint64_t value) {
    char16_t buffer[20];
    int n = 0;
    do {
        buffer[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) {
        text += buffer[--n];
    }
}

bool NumberTextC::wholeDigits(double value, std::string& digits) {
    if (!std::isfinite(value) || std::trunc(value) != value) {
        return false;
    }
    // All of them exact in fixed form.
    char buffer[400];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 0);
    if (written.ec != std::errc()) {
        return false;
    }
    digits.assign(buffer, written.ptr);
    return true;
}

}  // namespace qorv::math::algexpr::support
