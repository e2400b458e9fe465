// BenchFloatValueFactoryC: makes BenchFloatValueC. It accepts the decimal
// forms of a double (optional sign, digits, point, exponent) in ASCII and
// declines everything else, which makes the reading fail.
#ifndef ALGEXPR_BENCH_BENCHFLOATVALUEFACTORYC_H
#define ALGEXPR_BENCH_BENCHFLOATVALUEFACTORYC_H

#include <cstdint>
#include <string>

#include "algexpr/FloatValueFactoryABC.h"

namespace qorv::math::algexpr::bench {

class BenchFloatValueFactoryC : public FloatValueFactoryABC {
public:
    BenchFloatValueFactoryC();
    ~BenchFloatValueFactoryC() override;

    FloatValueABC* fromString(const std::u16string& text) override;
    FloatValueABC* fromDouble(double value) override;
    FloatValueABC* fromInt64(std::int64_t value) override;
    FloatValueABC* zero() override;
};

}  // namespace qorv::math::algexpr::bench

#endif
