// SPDX-License-Identifier: MIT
// The exact order of the real numbers of a ResultGraphC (RealS), by value:
// integers, rationals and rounded floats compared exactly, from their digits,
// without an engine. Cheap when the numbers differ in their count of digits
// (which tells most pairs apart); otherwise their cross products are
// compared, in time quadratic in the digits.
#ifndef ALGEXPR_CLIENTS_SUPPORT_REALORDER_H
#define ALGEXPR_CLIENTS_SUPPORT_REALORDER_H

#include <string>

#include "ResultGraphC.h"

namespace qorv::math::algexpr::support {

/// <0, 0 or >0 as a is less than, equal to or greater than b.
int compareReals(const RealS& a, const RealS& b);

/// The decimal digits of the product of two magnitudes given in decimal
/// digits (no leading zeros; "0" for zero).
std::string multiplyDigits(const std::string& a, const std::string& b);

}  // namespace qorv::math::algexpr::support

#endif
