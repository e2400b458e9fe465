// SPDX-License-Identifier: MIT
#include "algexpr/IntegerValueABC.h"

namespace qorv::math::algexpr {

IntegerValueABC::IntegerValueABC() = default;

IntegerValueABC::IntegerValueABC(const IntegerValueABC&) = default;

IntegerValueABC& IntegerValueABC::operator=(const IntegerValueABC&) = default;

IntegerValueABC::~IntegerValueABC() = default;

}  // namespace qorv::math::algexpr
