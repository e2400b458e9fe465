#include "BenchFloatValueC.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace qorv::math::algexpr::bench {

namespace {

constexpr unsigned long kMaxDigits = 100;

std::u16string widen(const char* first, const char* last) { return std::u16string(first, last); }

}  // namespace

BenchFloatValueC::BenchFloatValueC(double value) : value(value) {}

BenchFloatValueC::~BenchFloatValueC() = default;

double BenchFloatValueC::getValue() const { return value; }

void BenchFloatValueC::setValue(double value) { this->value = value; }

bool BenchFloatValueC::isFinite() const { return std::isfinite(value); }

std::u16string BenchFloatValueC::toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) {
    // Fixed notation of the largest double needs 309 digits before the point.
    char text[512];
    std::chars_format notation = std::chars_format::general;
    if (format == qorv::math::Fixed) {
        notation = std::chars_format::fixed;
    } else if (format == qorv::math::Scientific || format == qorv::math::Engineering) {
        notation = std::chars_format::scientific;
    }
    std::to_chars_result result{};
    if (digits == 0) {
        result = format == qorv::math::Standard ? std::to_chars(text, text + sizeof text, value)
                                                : std::to_chars(text, text + sizeof text, value, notation);
    } else {
        const int precision = static_cast<int>(digits < kMaxDigits ? digits : kMaxDigits);
        result = std::to_chars(text, text + sizeof text, value, notation, precision);
    }
    if (result.ec != std::errc()) {
        return toString();
    }
    return widen(text, result.ptr);
}

std::u16string BenchFloatValueC::toString() {
    char text[64];  // the shortest form never needs more than 24 characters
    std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return widen(text, result.ptr);
}

FloatValueABC* BenchFloatValueC::clone() { return new BenchFloatValueC(value); }

}  // namespace qorv::math::algexpr::bench
