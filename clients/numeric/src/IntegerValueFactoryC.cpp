// SPDX-License-Identifier: MIT
#include "algexpr/numeric/IntegerValueFactoryC.h"

#include <cmath>
#include <new>

#include "algexpr/numeric/IntegerValueC.h"

namespace qorv::math::algexpr::numeric {

IntegerValueFactoryC::IntegerValueFactoryC() = default;

IntegerValueFactoryC::~IntegerValueFactoryC() = default;

IntegerValueABC* IntegerValueFactoryC::fromString(const std::u16string& text) {
    std::int64_t value = 0;
    // Plain new: null would tell the reader "not an integer" and send the
    // text on to the float factory, so out of memory leaves as bad_alloc.
    return IntegerValueC::parse(text, value) ? new IntegerValueC(value) : nullptr;
}

IntegerValueABC* IntegerValueFactoryC::fromInt64(std::int64_t value) { return new (std::nothrow) IntegerValueC(value); }

IntegerValueABC* IntegerValueFactoryC::fromDouble(double value) {
    // [-2^63, 2^63): both bounds are exact doubles, so the test is exact too.
    constexpr double kLimit = 9223372036854775808.0;
    if (!(value >= -kLimit && value < kLimit) || std::trunc(value) != value) {
        return nullptr;
    }
    return new (std::nothrow) IntegerValueC(static_cast<std::int64_t>(value));
}

IntegerValueABC* IntegerValueFactoryC::zero() { return new (std::nothrow) IntegerValueC(0); }

}  // namespace qorv::math::algexpr::numeric
