// SPDX-License-Identifier: MIT
// FloatValueFactoryC: makes the GiNaC client's FloatValueC objects. The
// session keeps one; every value it returns is new and belongs to the caller
// (null when memory runs out, or when the factory declines).
//
// fromString accepts exactly what FloatValueC reads (decimal floats with
// optional signs and exponent, any number of digits) and declines the rest,
// such as "1e", "1.2.3", "--1" or the empty text: the prefix reader then
// fails. Values keep every digit written; the engine rounds them to the
// session's working precision when it computes with them.
#ifndef ALGEXPR_GINAC_FLOATVALUEFACTORYC_H
#define ALGEXPR_GINAC_FLOATVALUEFACTORYC_H

#include <cstdint>
#include <string>

#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/ginac/ginac_export.h"

namespace qorv::math::algexpr::ginac {

class ALGEXPR_GINAC_API FloatValueFactoryC : public FloatValueFactoryABC {
public:
    FloatValueFactoryC();
    ~FloatValueFactoryC() override;

    FloatValueABC* fromString(const std::u16string& text) override;
    /// The double's shortest decimal text; infinities and NaN are kept as
    /// such (the engine declines to compute with them).
    FloatValueABC* fromDouble(double value) override;
    /// Exact, whatever the size.
    FloatValueABC* fromInt64(std::int64_t value) override;
    FloatValueABC* zero() override;
};

}  // namespace qorv::math::algexpr::ginac

#endif
