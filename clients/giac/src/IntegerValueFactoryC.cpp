// SPDX-License-Identifier: MIT
#include "algexpr/giac/IntegerValueFactoryC.h"

#include <new>
#include <string>

#include "NumberTextC.h"
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
    return support::NumberTextC::wholeValue<IntegerValueC>(value);
}

IntegerValueABC* IntegerValueFactoryC::zero() { return fromInt64(0); }

}  // namespace qorv::math::algexpr::giac
