// SPDX-License-Identifier: MIT
// BenchSessionC: the session the benchmarks install: no engine, a core
// vocabulary of typical size, and the numeric client's number factories.
#ifndef ALGEXPR_BENCH_BENCHSESSIONC_H
#define ALGEXPR_BENCH_BENCHSESSIONC_H

#include <string>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::bench {

class BenchSessionC : public CASSessionBC {
public:
    BenchSessionC();
    ~BenchSessionC() override;

    /// Hands the expression back: the benchmarks evaluate nothing.
    qorv::oss::PointerTC<AlgebraicExpressionC> executeExpression(qorv::oss::PointerTC<AlgebraicExpressionC> expression,
                                                                 bool flag, std::u16string* text) override;

    /// The core vocabulary, ended by an empty name; a name's position is its code.
    static const char16_t* const* coreElementNames();
};

}  // namespace qorv::math::algexpr::bench

#endif
