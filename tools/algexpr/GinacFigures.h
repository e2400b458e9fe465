// SPDX-License-Identifier: MIT
// The GiNaC engine's figures that the tool checks and states (--digits,
// diff --order, series' ORDER, the limits in the help), taken from the GiNaC
// client's own constants: its header needs none of GiNaC's, so the tool has
// them even when built without the client.
#ifndef ALGEXPR_TOOL_GINACFIGURES_H
#define ALGEXPR_TOOL_GINACFIGURES_H

#include "algexpr/ginac/GinacEngineC.h"
#include "algexpr/ginac/GinacLimitsS.h"

#include <cstddef>

namespace qorv::math::algexpr::cli {

/// The GiNaC engine's precision: significant digits of float results unless
/// --digits says otherwise, and the most --digits may ask for.
constexpr unsigned long kGinacDefaultDigits = ginac::GinacEngineC::kDefaultDigits;
constexpr unsigned long kGinacMaxDigits = ginac::GinacEngineC::kMaxDigits;

/// The most diff --order and series' ORDER may ask for, and the other
/// limits the session starts with.
constexpr ginac::GinacLimitsS kGinacLimits{};
constexpr unsigned long kGinacMaxDiffOrder = kGinacLimits.diff_order;
constexpr unsigned long kGinacMaxSeriesOrder = kGinacLimits.series_order;

/// The degree of a polynomial in one symbol that factor takes when the
/// worker runs under --timeout: GiNaC factors most such polynomials in well
/// under a second (x^60-1 in 0.2 to 0.5 s) but a few of degree 40 to 100 in
/// minutes, which the timeout then stops instead of the static limit.
constexpr std::size_t kGinacTimedFactorDegree = 100;

}  // namespace qorv::math::algexpr::cli

#endif
