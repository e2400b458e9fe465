// SPDX-License-Identifier: MIT
// The numeric client, a ready-made client of algexpr: 64-bit integers,
// doubles, their factories, a numeric engine and a session that evaluates
// with it. This header includes the whole library too, so one include and a
// session are enough to read, print and evaluate:
//
//   #include <algexpr/numeric.h>
//   using namespace qorv::math::algexpr;
//   CASSessionBC::setSession(new numeric::NumericSessionC);   // built-in vocabulary
//   auto e = AlgebraicExpressionC::fromPrefixString(u"plus(1,times(2,3))");
//   auto seven = e->execute(true, nullptr);
//
// Link algexpr::numeric (CMake: find_package(algexpr REQUIRED COMPONENTS
// numeric)) or the pkg-config module algexpr-numeric.
#ifndef ALGEXPR_NUMERIC_H
#define ALGEXPR_NUMERIC_H

#include "algexpr/algexpr.h"
#include "algexpr/numeric/FloatValueC.h"
#include "algexpr/numeric/FloatValueFactoryC.h"
#include "algexpr/numeric/IntegerValueC.h"
#include "algexpr/numeric/IntegerValueFactoryC.h"
#include "algexpr/numeric/NumericEngineC.h"
#include "algexpr/numeric/NumericSessionC.h"

#endif
