// SPDX-License-Identifier: MIT
#include "Counting.h"

#include <algorithm>
#include <cmath>

namespace qorv::math::algexpr::support {

double logBinomial(double n, double k) {
    const double small = std::min(n, k);
    const double large = std::max(n, k);
    if (!(small > 0.0)) {
        return 0.0;
    }
    if (large < 1e7) {
        return std::lgamma(n + k + 1.0) - std::lgamma(n + 1.0) - std::lgamma(k + 1.0);
    }
    // lgamma(large + small + 1) - lgamma(large + 1) by Stirling's formula,
    // rearranged so that nothing cancels; the terms left out are below
    // small / (12 large^2).
    return (large + 0.5) * std::log1p(small / large) + small * std::log(large + small) - small -
           std::lgamma(small + 1.0);
}

double binomialBound(double n, double k) {
    const double small = std::min(n, k);
    const double large = std::max(n, k);
    if (small <= 64.0) {
        double result = 1.0;
        for (double i = 1.0; i <= small; i += 1.0) {
            result = result * (large + i) / i;
        }
        return result < 9007199254740992.0 ? std::round(result) : result * 1.0001;
    }
    return std::exp(logBinomial(n, k)) * 1.0001;
}

}  // namespace qorv::math::algexpr::support
