// SPDX-License-Identifier: MIT
#include "algexpr/giac/IntegerValueFactoryC.h"

#include <charconv>
#include <cmath>
#include <new>
#include <string>

#include "algexpr/giac/IntegerValueC.h"

namespace qorv::math::algexpr::giac {

IntegerValueFactoryC::IntegerValueFactoryC() = default;

IntegerValueFactoryC::~IntegerValueFactoryC() = default;

// Null would tell the reader "not an integer" and send the text on to the
// float factory, so out of memory leaves as std::bad_alloc.
IntegerValueABC* IntegerValueFactoryC::fromString(const std::u16string& text) { return IntegerValueC::fromText(text); }

IntegerValueABC* IntegerValueFactoryC::fromInt64(std::int64_t value) {
    try {
        return new IntegerValueC(value);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

IntegerValueABC* IntegerValueFactoryC::fromDouble(double value) {
    if (!std::isfinite(value) || std::trunc(value) != value) {
        return nullptr;
    }
    // A whole double has at most 309 digits, all of them exact in fixed form.
    char buffer[400];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 0);
    if (written.ec != std::errc()) {
        return nullptr;
    }
    try {
        return IntegerValueC::fromDigits(value < 0, std::string(buffer, written.ptr));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

IntegerValueABC* IntegerValueFactoryC::zero() { return fromInt64(0); }

}  // namespace qorv::math::algexpr::giac
