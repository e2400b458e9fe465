// IntegerValueFactoryC: makes the numeric client's IntegerValueC objects.
// The session keeps one; every value it returns is new and belongs to the
// caller (null when memory runs out, or when the factory declines).
//
// fromString accepts exactly what IntegerValueC::parse reads and declines the
// rest: the empty text, "1-2", "--1", and numbers beyond 64 bits, which the
// prefix reader then offers to the float factory.
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
