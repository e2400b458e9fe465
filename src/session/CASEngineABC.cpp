// SPDX-License-Identifier: MIT
#include "algexpr/CASEngineABC.h"

namespace qorv::math::algexpr {

CASEngineABC::CASEngineABC() = default;

CASEngineABC::~CASEngineABC() = default;

}  // namespace qorv::math::algexpr
