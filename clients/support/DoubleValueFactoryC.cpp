// SPDX-License-Identifier: MIT
#include "DoubleValueFactoryC.h"

#include <new>

#include "DoubleValueC.h"

namespace qorv::math::algexpr::support {

FloatValueABC* DoubleValueFactoryC::fromString(const std::u16string& text) {
    double value = 0.0;
    return DoubleValueC::parse(text, value) ? new (std::nothrow) DoubleValueC(value) : nullptr;
}

FloatValueABC* DoubleValueFactoryC::fromDouble(double value) { return new (std::nothrow) DoubleValueC(value); }

FloatValueABC* DoubleValueFactoryC::fromInt64(std::int64_t value) {
    return new (std::nothrow) DoubleValueC(static_cast<double>(value));
}

FloatValueABC* DoubleValueFactoryC::zero() { return new (std::nothrow) DoubleValueC(0.0); }

}  // namespace qorv::math::algexpr::support
