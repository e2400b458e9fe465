// SPDX-License-Identifier: MIT
#include "algexpr/FloatValueABC.h"

namespace qorv::math::algexpr {

FloatValueABC::FloatValueABC() = default;

FloatValueABC::FloatValueABC(const FloatValueABC&) = default;

FloatValueABC& FloatValueABC::operator=(const FloatValueABC&) = default;

FloatValueABC::~FloatValueABC() = default;

}  // namespace qorv::math::algexpr
