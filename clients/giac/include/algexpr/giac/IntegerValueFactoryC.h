// SPDX-License-Identifier: MIT
// IntegerValueFactoryC: makes the Giac client's IntegerValueC objects. The
// session keeps one; every value it returns is new and belongs to the caller
// (null when the factory declines). fromString accepts exactly what
// IntegerValueC::fromText reads, with any number of digits; it throws
// std::bad_alloc when memory runs out rather than answer null, which would
// send an integer text to the float factory.
#ifndef ALGEXPR_GIAC_INTEGERVALUEFACTORYC_H
#define ALGEXPR_GIAC_INTEGERVALUEFACTORYC_H

#include <cstdint>
#include <string>

#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/giac/giac_export.h"

namespace qorv::math::algexpr::giac {

class ALGEXPR_GIAC_API IntegerValueFactoryC : public IntegerValueFactoryABC {
public:
    IntegerValueFactoryC();
    ~IntegerValueFactoryC() override;

    IntegerValueABC* fromString(const std::u16string& text) override;
    IntegerValueABC* fromInt64(std::int64_t value) override;
    /// The whole number the double holds exactly, of any size; null for NaN,
    /// infinities and numbers with a fraction.
    IntegerValueABC* fromDouble(double value) override;
    IntegerValueABC* zero() override;
};

}  // namespace qorv::math::algexpr::giac

#endif
