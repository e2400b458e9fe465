// SPDX-License-Identifier: MIT
#include "ExpressionReaderABC.h"

namespace qorv::math::algexpr::cli {

ExpressionReaderABC::~ExpressionReaderABC() = default;

}  // namespace qorv::math::algexpr::cli
