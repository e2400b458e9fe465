// SPDX-License-Identifier: MIT
// The whole public interface of algexpr in one include.
#ifndef ALGEXPR_ALGEXPR_H
#define ALGEXPR_ALGEXPR_H

#include "oss/PointerTC.h"
#include "oss/RefCountedBC.h"

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASEngineABC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/ConstraintsBC.h"
#include "algexpr/CoreElementC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/InfixPrintVisitorC.h"
#include "algexpr/InfixReaderC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/LatexPrintVisitorC.h"
#include "algexpr/LeafNodeABC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/NodeCast.h"
#include "algexpr/NodeVisitorABC.h"
#include "algexpr/NodeVisitorBC.h"
#include "algexpr/NotationPrintVisitorBC.h"
#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/ParentNodeABC.h"
#include "algexpr/PrefixPrintVisitorC.h"
#include "algexpr/PrefixSyntaxCheckC.h"
#include "algexpr/SubstVisitorC.h"
#include "algexpr/SymbolC.h"
#include "algexpr/Utf8C.h"
#include "algexpr/VisitationOrderE.h"

#endif
