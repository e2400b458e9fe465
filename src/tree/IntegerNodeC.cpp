// SPDX-License-Identifier: MIT
#include "algexpr/IntegerNodeC.h"

#include "Castable.h"
#include "CloneNumberNode.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

ALGEXPR_DEFINE_CASTABLE(IntegerNodeC, LeafNodeABC, u"IntegerNodeC")

IntegerNodeC::IntegerNodeC(IntegerValueABC* value) noexcept : value_p(value) {}

IntegerNodeC::~IntegerNodeC() { delete value_p; }

NodeABC* IntegerNodeC::clone() const { return cloneNumberNode<IntegerNodeC>(value_p); }

std::u16string IntegerNodeC::toString() const { return value_p != nullptr ? value_p->toString() : std::u16string(); }

bool IntegerNodeC::acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE) { return visitor.visitIntegerNode(*this); }

const IntegerValueABC* IntegerNodeC::getValue() const { return value_p; }

void IntegerNodeC::setValue(std::int64_t value) {
    if (value_p != nullptr) {
        value_p->setValue(value);
    }
}

}  // namespace qorv::math::algexpr
