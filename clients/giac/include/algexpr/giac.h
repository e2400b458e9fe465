// SPDX-License-Identifier: MIT
// The Giac client in one include: exact integers and their factory, the
// engine (Giac behind the session) and the session; its floats are doubles.
// This header includes the whole library too, as <algexpr/ginac.h> does, so
// one include and a session are enough to read, print and evaluate:
//
//   #include <algexpr/giac.h>
//   CASSessionBC::setSession(new giac::GiacSessionC);
//
// Link algexpr::giac (CMake: find_package(algexpr REQUIRED COMPONENTS
// giac)) or the pkg-config module algexpr-giac.
#ifndef ALGEXPR_GIAC_H
#define ALGEXPR_GIAC_H

#include "algexpr/algexpr.h"
#include "algexpr/giac/GiacEngineC.h"
#include "algexpr/giac/GiacSessionC.h"
#include "algexpr/giac/IntegerValueC.h"
#include "algexpr/giac/IntegerValueFactoryC.h"
#include "algexpr/giac/giac_export.h"

#endif
