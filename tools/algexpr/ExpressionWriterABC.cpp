// SPDX-License-Identifier: MIT
#include "ExpressionWriterABC.h"

namespace qorv::math::algexpr::cli {

ExpressionWriterABC::~ExpressionWriterABC() = default;

}  // namespace qorv::math::algexpr::cli
