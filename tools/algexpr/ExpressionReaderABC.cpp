// SPDX-License-Identifier: MIT
#include "ExpressionReaderABC.h"

namespace qorv::math::algexpr::cli {

ExpressionReaderABC::~ExpressionReaderABC() = default;

bool ExpressionReaderABC::listNames(const std::u16string&, std::vector<NameS>&) const { return false; }

}  // namespace qorv::math::algexpr::cli
