// SPDX-License-Identifier: MIT
// The Giac client in one include: exact integers and their factory, the
// engine (Giac behind the session) and the session. Its floats are the
// numeric client's doubles.
#ifndef ALGEXPR_GIAC_H
#define ALGEXPR_GIAC_H

#include "algexpr/giac/GiacEngineC.h"
#include "algexpr/giac/GiacSessionC.h"
#include "algexpr/giac/IntegerValueC.h"
#include "algexpr/giac/IntegerValueFactoryC.h"
#include "algexpr/giac/giac_export.h"

#endif
