// SPDX-License-Identifier: MIT
// The refusal the engine's checks throw: the engine clients' shared RefusalC,
// so that one catch at the boundary takes the refusals of the checks, the
// operations and the writing of results alike.
#ifndef ALGEXPR_GIAC_SRC_REFUSAL_H
#define ALGEXPR_GIAC_SRC_REFUSAL_H

#include "RefusalC.h"

namespace qorv::math::algexpr::giac::detail {

using support::RefusalC;

}  // namespace qorv::math::algexpr::giac::detail

#endif
