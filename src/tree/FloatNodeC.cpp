// SPDX-License-Identifier: MIT
#include "algexpr/FloatNodeC.h"

#include "Castable.h"
#include "CloneNumberNode.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

ALGEXPR_DEFINE_CASTABLE(FloatNodeC, LeafNodeABC, u"FloatNodeC")

FloatNodeC::FloatNodeC(FloatValueABC* value) noexcept : value_p(value) {}

FloatNodeC::~FloatNodeC() { delete value_p; }

NodeABC* FloatNodeC::clone() const { return cloneNumberNode<FloatNodeC>(value_p); }

std::u16string FloatNodeC::toString() const { return value_p != nullptr ? value_p->toString() : std::u16string(); }

bool FloatNodeC::acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE) { return visitor.visitFloatNode(*this); }

const FloatValueABC* FloatNodeC::getValue() const { return value_p; }

void FloatNodeC::setValue(FloatValueABC* value) {
    if (value == value_p) {
        return;
    }
    FloatValueABC* old = value_p;
    value_p = value;
    delete old;
}

void FloatNodeC::setValue(double value) {
    if (value_p != nullptr) {
        value_p->setValue(value);
    }
}

std::u16string FloatNodeC::toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) const {
    return value_p != nullptr ? value_p->toString(digits, format) : std::u16string();
}

}  // namespace qorv::math::algexpr
