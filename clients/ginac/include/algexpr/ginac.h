// SPDX-License-Identifier: MIT
// The GiNaC client in one include: exact integers and decimal floats, their
// factories, the engine (GiNaC behind the session) and the session. This
// header includes the whole library too, as <algexpr/numeric.h> does, so one
// include and a session are enough to read, print and evaluate:
//
//   #include <algexpr/ginac.h>
//   CASSessionBC::setSession(new ginac::GinacSessionC);
//
// Link algexpr::ginac (CMake: find_package(algexpr REQUIRED COMPONENTS
// ginac)) or the pkg-config module algexpr-ginac.
#ifndef ALGEXPR_GINAC_H
#define ALGEXPR_GINAC_H

#include "algexpr/algexpr.h"
#include "algexpr/ginac/FloatValueC.h"
#include "algexpr/ginac/FloatValueFactoryC.h"
#include "algexpr/ginac/GinacEngineC.h"
#include "algexpr/ginac/GinacLimitsS.h"
#include "algexpr/ginac/GinacSessionC.h"
#include "algexpr/ginac/IntegerValueC.h"
#include "algexpr/ginac/IntegerValueFactoryC.h"
#include "algexpr/ginac/ginac_export.h"

#endif
