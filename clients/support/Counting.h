// SPDX-License-Identifier: MIT
// Counting for the engines' size estimates: the logarithm of a binomial
// coefficient that stays exact enough for arguments far beyond 2^53, where
// a difference of lgamma values loses every digit (lgamma(1e17) is about
// 4e18, whose last place is 512).
#ifndef ALGEXPR_CLIENTS_SUPPORT_COUNTING_H
#define ALGEXPR_CLIENTS_SUPPORT_COUNTING_H

namespace qorv::math::algexpr::support {

/// log C(n + k, k) (natural logarithm) for n, k >= 0, symmetric in n and
/// k; 0 when either is 0 (or negative, or NaN). Relative error near 1e-12.
double logBinomial(double n, double k);
/// C(n + k, k) from above: exact when the smaller of n and k is at most 64
/// and the result below 2^53, else a hair above exp(logBinomial(n, k)).
double binomialBound(double n, double k);

}  // namespace qorv::math::algexpr::support

#endif
