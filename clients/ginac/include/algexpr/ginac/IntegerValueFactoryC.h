// SPDX-License-Identifier: MIT
// IntegerValueFactoryC: makes the GiNaC client's IntegerValueC objects. The
// session keeps one; every value it returns is new and belongs to the caller
// (null when the factory declines, or when memory runs out).
//
// fromString accepts exactly what IntegerValueC::parse reads, with any number
// of digits, and declines the rest: the empty text, "1-2", "--1", "1.0".
// The check is made here and not left to GiNaC, whose own reading of "1-2"
// or "--1" gives -1. It throws std::bad_alloc when memory runs out rather
// than answer null, which would send an integer text to the float factory:
// fromPrefixString passes it on to its caller.
#ifndef ALGEXPR_GINAC_INTEGERVALUEFACTORYC_H
#define ALGEXPR_GINAC_INTEGERVALUEFACTORYC_H

#include <cstdint>
#include <string>

#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/ginac/ginac_export.h"

namespace qorv::math::algexpr::ginac {

class ALGEXPR_GINAC_API IntegerValueFactoryC : public IntegerValueFactoryABC {
public:
    IntegerValueFactoryC();
    ~IntegerValueFactoryC() override;

    IntegerValueABC* fromString(const std::u16string& text) override;
    IntegerValueABC* fromInt64(std::int64_t value) override;
    /// The whole number the double holds exactly, of any size (1e300 gives all
    /// 301 digits); null for NaN, infinities and numbers with a fraction.
    IntegerValueABC* fromDouble(double value) override;
    IntegerValueABC* zero() override;
};

}  // namespace qorv::math::algexpr::ginac

#endif
