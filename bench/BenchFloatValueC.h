// BenchFloatValueC: a double for the benchmarks. Its default text is the
// shortest one that reads back to the same double, so canonical texts print
// back unchanged.
#ifndef ALGEXPR_BENCH_BENCHFLOATVALUEC_H
#define ALGEXPR_BENCH_BENCHFLOATVALUEC_H

#include <string>

#include "algexpr/FloatValueABC.h"

namespace qorv::math::algexpr::bench {

class BenchFloatValueC : public FloatValueABC {
public:
    explicit BenchFloatValueC(double value);
    ~BenchFloatValueC() override;

    double getValue() const override;
    void setValue(double value) override;
    bool isFinite() const override;
    /// `digits` 0 asks for the shortest exact text in the given notation;
    /// otherwise that many significant (or, in Fixed, decimal) digits, at
    /// most 100. Engineering is written as Scientific.
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) override;
    std::u16string toString() override;
    FloatValueABC* clone() override;

private:
    double value;
};

}  // namespace qorv::math::algexpr::bench

#endif
