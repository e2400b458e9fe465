// SPDX-License-Identifier: MIT
// FloatValueFactoryABC: makes the client's float values. The session keeps
// one; the prefix reader calls fromString for every float text and for every
// integer text the integer factory declined. Reference counted; hold through
// PointerTC.
#ifndef ALGEXPR_FLOATVALUEFACTORYABC_H
#define ALGEXPR_FLOATVALUEFACTORYABC_H

#include <cstdint>
#include <string>

#include "algexpr/algexpr_export.h"
#include "oss/RefCountedBC.h"

namespace qorv::math::algexpr {

class FloatValueABC;

class ALGEXPR_API FloatValueFactoryABC : public qorv::oss::RefCountedBC {
public:
    FloatValueFactoryABC();
    FloatValueFactoryABC(const FloatValueFactoryABC&);
    FloatValueFactoryABC& operator=(const FloatValueFactoryABC&);

    /// A new value (owned by the caller) for a text the factory accepts; null
    /// to decline, which makes the whole reading fail. Null is therefore also
    /// a sound answer when memory runs out (unlike the integer factory's).
    virtual FloatValueABC* fromString(const std::u16string& text) = 0;
    virtual FloatValueABC* fromDouble(double value) = 0;
    virtual FloatValueABC* fromInt64(std::int64_t value) = 0;
    virtual FloatValueABC* zero() = 0;
    virtual ~FloatValueFactoryABC();
};

}  // namespace qorv::math::algexpr

#endif
