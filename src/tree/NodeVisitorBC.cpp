// SPDX-License-Identifier: MIT
#include "algexpr/NodeVisitorBC.h"

namespace qorv::math::algexpr {

NodeVisitorBC::NodeVisitorBC(int visitations_mask) : NodeVisitorABC(visitations_mask) {}

NodeVisitorBC::~NodeVisitorBC() = default;

bool NodeVisitorBC::visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE) { return true; }

bool NodeVisitorBC::visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE) { return true; }

bool NodeVisitorBC::visitCoreSymbolNode(CoreSymbolNodeC&) { return true; }

bool NodeVisitorBC::visitExtendedSymbolNode(ExtendedSymbolNodeC&) { return true; }

bool NodeVisitorBC::visitFloatNode(FloatNodeC&) { return true; }

bool NodeVisitorBC::visitIntegerNode(IntegerNodeC&) { return true; }

}  // namespace qorv::math::algexpr
