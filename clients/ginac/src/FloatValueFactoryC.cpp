// SPDX-License-Identifier: MIT
#include "algexpr/ginac/FloatValueFactoryC.h"

#include <new>

#include "algexpr/ginac/FloatValueC.h"
#include "algexpr/ginac/IntegerValueC.h"

namespace qorv::math::algexpr::ginac {

FloatValueFactoryC::FloatValueFactoryC() = default;

FloatValueFactoryC::~FloatValueFactoryC() = default;

FloatValueABC* FloatValueFactoryC::fromString(const std::u16string& text) { return FloatValueC::fromText(text); }

FloatValueABC* FloatValueFactoryC::fromDouble(double value) { return FloatValueC::fromDouble(value); }

FloatValueABC* FloatValueFactoryC::fromInt64(std::int64_t value) {
    try {
        const std::u16string text = IntegerValueC(value).toString();
        std::string digits;
        for (char16_t c : text) {
            if (c != u'-') {
                digits += static_cast<char>(c);
            }
        }
        return FloatValueC::fromDigits(value < 0, digits, static_cast<std::int64_t>(digits.size()) - 1);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

FloatValueABC* FloatValueFactoryC::zero() { return new (std::nothrow) FloatValueC(); }

}  // namespace qorv::math::algexpr::ginac
