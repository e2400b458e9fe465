// SPDX-License-Identifier: MIT
// The names of the engine clients' support library that the GiNaC engine
// uses as its own: RefusalC, the text helpers of its messages, and counting.
#ifndef ALGEXPR_GINAC_SRC_SUPPORTNAMES_H
#define ALGEXPR_GINAC_SRC_SUPPORTNAMES_H

#include "Counting.h"
#include "MessageText.h"
#include "RefusalC.h"

namespace qorv::math::algexpr::ginac::detail {

using support::approximately;
using support::binomialBound;
using support::count;
using support::logBinomial;
using support::RefusalC;
using support::utf16;
using support::utf8;

}  // namespace qorv::math::algexpr::ginac::detail

#endif
