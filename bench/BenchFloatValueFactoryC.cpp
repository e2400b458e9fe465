#include "BenchFloatValueFactoryC.h"

#include <charconv>
#include <system_error>

#include "BenchFloatValueC.h"

namespace qorv::math::algexpr::bench {

namespace {

bool isDecimalCharacter(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E';
}

}  // namespace

BenchFloatValueFactoryC::BenchFloatValueFactoryC() = default;

BenchFloatValueFactoryC::~BenchFloatValueFactoryC() = default;

FloatValueABC* BenchFloatValueFactoryC::fromString(const std::u16string& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (char16_t c : text) {
        if (!isDecimalCharacter(c)) {
            return nullptr;
        }
        narrow += static_cast<char>(c);
    }
    const char* first = narrow.data();
    const char* last = first + narrow.size();
    // from_chars takes no leading "+"; a sign after it is not a number.
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') {
            return nullptr;
        }
    }
    double value = 0;
    std::from_chars_result result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last) {
        return nullptr;
    }
    return new BenchFloatValueC(value);
}

FloatValueABC* BenchFloatValueFactoryC::fromDouble(double value) { return new BenchFloatValueC(value); }

FloatValueABC* BenchFloatValueFactoryC::fromInt64(std::int64_t value) {
    return new BenchFloatValueC(static_cast<double>(value));
}

FloatValueABC* BenchFloatValueFactoryC::zero() { return new BenchFloatValueC(0.0); }

}  // namespace qorv::math::algexpr::bench
