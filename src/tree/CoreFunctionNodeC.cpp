// SPDX-License-Identifier: MIT
#include "algexpr/CoreFunctionNodeC.h"

#include <memory>
#include <new>

#include "Castable.h"
#include "CoreCodeText.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

ALGEXPR_DEFINE_CASTABLE(CoreFunctionNodeC, ParentNodeABC, u"CoreFunctionNodeC")

CoreFunctionNodeC::CoreFunctionNodeC(int code) noexcept : code(code) {}

CoreFunctionNodeC::~CoreFunctionNodeC() = default;

NodeABC* CoreFunctionNodeC::clone() const {
    std::unique_ptr<CoreFunctionNodeC> copy(new (std::nothrow) CoreFunctionNodeC(code));
    return copy && cloneChildrenInto(*copy) ? copy.release() : nullptr;
}

std::u16string CoreFunctionNodeC::toString() const { return coreCodeText(code); }

bool CoreFunctionNodeC::acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE order) {
    return visitor.visitCoreFunctionNode(*this, order);
}

int CoreFunctionNodeC::getCode() const { return code; }

}  // namespace qorv::math::algexpr
