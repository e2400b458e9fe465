// SPDX-License-Identifier: MIT
// FloatValueFactoryC: makes the numeric client's FloatValueC objects. The
// session keeps one; every value it returns is new and belongs to the caller
// (null when memory runs out, or when the factory declines).
//
// fromString accepts exactly what FloatValueC::parse reads (decimal floats
// with optional signs and exponent) and declines the rest, such as "1e",
// "1.2.3", "--1" or the empty text: the prefix reader then fails.
#ifndef ALGEXPR_NUMERIC_FLOATVALUEFACTORYC_H
#define ALGEXPR_NUMERIC_FLOATVALUEFACTORYC_H

#include <cstdint>
#include <string>

#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/numeric/numeric_export.h"

namespace qorv::math::algexpr::numeric {

class ALGEXPR_NUMERIC_API FloatValueFactoryC : public FloatValueFactoryABC {
public:
    FloatValueFactoryC();
    ~FloatValueFactoryC() override;

    FloatValueABC* fromString(const std::u16string& text) override;
    FloatValueABC* fromDouble(double value) override;
    /// The nearest double (exact up to 2^53 in magnitude).
    FloatValueABC* fromInt64(std::int64_t value) override;
    FloatValueABC* zero() override;
};

}  // namespace qorv::math::algexpr::numeric

#endif
