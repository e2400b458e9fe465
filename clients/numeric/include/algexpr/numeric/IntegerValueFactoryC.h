// SPDX-License-Identifier: MIT
// IntegerValueFactoryC: makes the numeric client's IntegerValueC objects.
// The session keeps one; every value it returns is new and belongs to the
// caller (null when the factory declines, or when memory runs out).
//
// fromString accepts exactly what IntegerValueC::parse reads and declines the
// rest: the empty text, "1-2", "--1", and numbers beyond 64 bits, which the
// prefix reader then offers to the float factory. It throws std::bad_alloc
// when memory runs out rather than answer null, which would send an integer
// text to the float factory: fromPrefixString passes it on to its caller.
#ifndef ALGEXPR_NUMERIC_INTEGERVALUEFACTORYC_H
#define ALGEXPR_NUMERIC_INTEGERVALUEFACTORYC_H

#include <cstdint>
#include <string>

#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/numeric/numeric_export.h"

namespace qorv::math::algexpr::numeric {

class ALGEXPR_NUMERIC_API IntegerValueFactoryC : public IntegerValueFactoryABC {
public:
    IntegerValueFactoryC();
    ~IntegerValueFactoryC() override;

    IntegerValueABC* fromString(const std::u16string& text) override;
    IntegerValueABC* fromInt64(std::int64_t value) override;
    /// Null unless `value` is a whole number within the 64-bit range.
    IntegerValueABC* fromDouble(double value) override;
    IntegerValueABC* zero() override;
};

}  // namespace qorv::math::algexpr::numeric

#endif
