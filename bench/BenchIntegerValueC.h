// BenchIntegerValueC: a 64-bit integer value for the benchmarks, printed in
// plain decimal.
#ifndef ALGEXPR_BENCH_BENCHINTEGERVALUEC_H
#define ALGEXPR_BENCH_BENCHINTEGERVALUEC_H

#include <cstdint>
#include <string>

#include "algexpr/IntegerValueABC.h"

namespace qorv::math::algexpr::bench {

class BenchIntegerValueC : public IntegerValueABC {
public:
    explicit BenchIntegerValueC(std::int64_t value);
    ~BenchIntegerValueC() override;

    std::int64_t getValue() const override;
    void setValue(std::int64_t value) override;
    std::u16string toString() override;
    IntegerValueABC* clone() override;

private:
    std::int64_t value;
};

}  // namespace qorv::math::algexpr::bench

#endif
