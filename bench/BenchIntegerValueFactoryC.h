// BenchIntegerValueFactoryC: makes BenchIntegerValueC. It accepts an optional
// sign followed by decimal digits that fit in 64 bits and declines everything
// else, which the reader then hands to the float factory.
#ifndef ALGEXPR_BENCH_BENCHINTEGERVALUEFACTORYC_H
#define ALGEXPR_BENCH_BENCHINTEGERVALUEFACTORYC_H

#include <cstdint>
#include <string>

#include "algexpr/IntegerValueFactoryABC.h"

namespace qorv::math::algexpr::bench {

class BenchIntegerValueFactoryC : public IntegerValueFactoryABC {
public:
    BenchIntegerValueFactoryC();
    ~BenchIntegerValueFactoryC() override;

    IntegerValueABC* fromString(const std::u16string& text) override;
    IntegerValueABC* fromInt64(std::int64_t value) override;
    /// Null unless the double is a whole number in the 64-bit range.
    IntegerValueABC* fromDouble(double value) override;
    IntegerValueABC* zero() override;
};

}  // namespace qorv::math::algexpr::bench

#endif
