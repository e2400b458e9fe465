#include "BenchIntegerValueFactoryC.h"

#include <cmath>
#include <limits>

#include "BenchIntegerValueC.h"

namespace qorv::math::algexpr::bench {

BenchIntegerValueFactoryC::BenchIntegerValueFactoryC() = default;

BenchIntegerValueFactoryC::~BenchIntegerValueFactoryC() = default;

IntegerValueABC* BenchIntegerValueFactoryC::fromString(const std::u16string& text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == u'-';
    if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) {
        ++i;
    }
    if (i == text.size()) {
        return nullptr;
    }
    // Negative numbers reach one further than positive ones.
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9') {
            return nullptr;
        }
        const unsigned digit = static_cast<unsigned>(c - u'0');
        if (magnitude > (limit - digit) / 10) {
            return nullptr;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) {
        return new BenchIntegerValueC(static_cast<std::int64_t>(magnitude));
    }
    // -(2^63) is the one magnitude that has no positive counterpart.
    const std::int64_t value =
        magnitude == limit ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude);
    return new BenchIntegerValueC(value);
}

IntegerValueABC* BenchIntegerValueFactoryC::fromInt64(std::int64_t value) { return new BenchIntegerValueC(value); }

IntegerValueABC* BenchIntegerValueFactoryC::fromDouble(double value) {
    // 2^63 is exact as a double; the range is [-2^63, 2^63).
    constexpr double kBound = 9223372036854775808.0;
    if (!std::isfinite(value) || value != std::trunc(value) || value < -kBound || value >= kBound) {
        return nullptr;
    }
    return new BenchIntegerValueC(static_cast<std::int64_t>(value));
}

IntegerValueABC* BenchIntegerValueFactoryC::zero() { return new BenchIntegerValueC(0); }

}  // namespace qorv::math::algexpr::bench
