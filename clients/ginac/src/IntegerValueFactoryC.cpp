// SPDX-License-Identifier: MIT
#include "algexpr/ginac/IntegerValueFactoryC.h"

#include <new>
#include <string>

#include "NumberTextC.h"
#include "algexpr/ginac/IntegerValueC.h"

namespace qorv::math::algexpr::ginac {

IntegerValueFactoryC::IntegerValueFactoryC() = default;

IntegerValueFactoryC::~IntegerValueFactoryC() = default;

// Null would tell the reader "not an integer" and send the text on to the
// float factory, so out of memory leaves as std::bad_alloc.
IntegerValueABC* IntegerValueFactoryC::fromString(const std::u16string& text) {
    bool negative = false;
    std::string digits;
    if (!IntegerValueC::parse(text, negative, digits)) {
        return nullptr;
    }
    IntegerValueABC* value = IntegerValueC::fromDigits(negative, digits);
    if (value == nullptr) {  // the digits are well formed: only memory failed
        throw std::bad_alloc();
    }
    return value;
}

IntegerValueABC* IntegerValueFactoryC::fromInt64(std::int64_t value) { return new (std::nothrow) IntegerValueC(value); }

IntegerValueABC* IntegerValueFactoryC::fromDouble(double value) {
    return support::NumberTextC::wholeValue<IntegerValueC>(value);
}

IntegerValueABC* IntegerValueFactoryC::zero() { return new (std::nothrow) IntegerValueC(0); }

}  // namespace qorv::math::algexpr::ginac
