// SPDX-License-Identifier: MIT
#include "algexpr/numeric/FloatValueFactoryC.h"

#include <new>

#include "algexpr/numeric/FloatValueC.h"

namespace qorv::math::algexpr::numeric {

FloatValueFactoryC::FloatValueFactoryC() = default;

FloatValueFactoryC::~FloatValueFactoryC() = default;

FloatValueABC* FloatValueFactoryC::fromString(const std::u16string& text) {
    double value = 0.0;
    return FloatValueC::parse(text, value) ? new (std::nothrow) FloatValueC(value) : nullptr;
}

FloatValueABC* FloatValueFactoryC::fromDouble(double value) { return new (std::nothrow) FloatValueC(value); }

FloatValueABC* FloatValueFactoryC::fromInt64(std::int64_t value) {
    return new (std::nothrow) FloatValueC(static_cast<double>(value));
}

FloatValueABC* FloatValueFactoryC::zero() { return new (std::nothrow) FloatValueC(0.0); }

}  // namespace qorv::math::algexpr::numeric
