// SPDX-License-Identifier: MIT
#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr {

const char16_t* const NodeABC::TheCastableId = u"qorv::math::algexpr::NodeABC";

NodeABC::~NodeABC() = default;

const char16_t* NodeABC::getCastableId() { return TheCastableId; }

const char16_t* NodeABC::qCastableId() const { return TheCastableId; }

void* NodeABC::lookUpBase(const char16_t* castable_id) const {
    return sameCastableId(castable_id, TheCastableId) ? const_cast<NodeABC*>(this) : nullptr;
}

bool NodeABC::sameCastableId(const char16_t* a, const char16_t* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    if (a == b) {  // the usual case: a class's own id constant
        return true;
    }
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

}  // namespace qorv::math::algexpr
