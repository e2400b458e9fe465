// SPDX-License-Identifier: MIT
#include "algexpr/FloatValueFactoryABC.h"

namespace qorv::math::algexpr {

FloatValueFactoryABC::FloatValueFactoryABC() = default;

FloatValueFactoryABC::FloatValueFactoryABC(const FloatValueFactoryABC&) = default;

FloatValueFactoryABC& FloatValueFactoryABC::operator=(const FloatValueFactoryABC&) = default;

FloatValueFactoryABC::~FloatValueFactoryABC() = default;

}  // namespace qorv::math::algexpr
