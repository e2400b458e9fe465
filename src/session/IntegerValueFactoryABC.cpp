// SPDX-License-Identifier: MIT
#include "algexpr/IntegerValueFactoryABC.h"

namespace qorv::math::algexpr {

IntegerValueFactoryABC::IntegerValueFactoryABC() = default;

IntegerValueFactoryABC::IntegerValueFactoryABC(const IntegerValueFactoryABC&) = default;

IntegerValueFactoryABC& IntegerValueFactoryABC::operator=(const IntegerValueFactoryABC&) = default;

IntegerValueFactoryABC::~IntegerValueFactoryABC() = default;

}  // namespace qorv::math::algexpr
