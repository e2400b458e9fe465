// SPDX-License-Identifier: MIT
#include "NodeKind.h"

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/NodeCast.h"

namespace qorv::math::algexpr::detail {

namespace {

// The ids of the six concrete classes, in NodeKind order. Set when the
// library is loaded (the ids themselves are constants by then), so that no
// walk waits on a first-use guard; a walk that ran before would only find
// every node a client's class, answered through lookUpBase alike.
struct Ids {
    const char16_t* id[6] = {IntegerNodeC::getCastableId(),    FloatNodeC::getCastableId(),
                             CoreSymbolNodeC::getCastableId(), ExtendedSymbolNodeC::getCastableId(),
                             CoreFunctionNodeC::getCastableId(), ExtendedFunctionNodeC::getCastableId()};
};

const Ids known_ids;

const Ids& ids() noexcept { return known_ids; }

// A client's class: the first of the six that it derives from, by lookUpBase.
NodeKind derivedKind(const NodeABC* node) noexcept {
    if (isA<CoreFunctionNodeC>(node)) {
        return NodeKind::CoreFunction;
    }
    if (isA<ExtendedFunctionNodeC>(node)) {
        return NodeKind::ExtendedFunction;
    }
    if (isA<ExtendedSymbolNodeC>(node)) {
        return NodeKind::ExtendedSymbol;
    }
    if (isA<CoreSymbolNodeC>(node)) {
        return NodeKind::CoreSymbol;
    }
    if (isA<IntegerNodeC>(node)) {
        return NodeKind::Integer;
    }
    return isA<FloatNodeC>(node) ? NodeKind::Float : NodeKind::Other;
}

}  // namespace

NodeKind kindOf(const NodeABC* node) noexcept {
    const char16_t* id = node->qCastableId();
    const Ids& known = ids();
    for (int kind = 0; kind < 6; ++kind) {
        if (id == known.id[kind]) {
            return static_cast<NodeKind>(kind);
        }
    }
    return derivedKind(node);
}

const ParentNodeABC* asParent(const NodeABC* node) noexcept {
    const char16_t* id = node->qCastableId();
    const Ids& known = ids();
    if (id == known.id[4] || id == known.id[5]) {
        return static_cast<const ParentNodeABC*>(node);
    }
    if (id == known.id[0] || id == known.id[1] || id == known.id[2] || id == known.id[3]) {
        return nullptr;
    }
    return dynCast<ParentNodeABC>(node);
}

}  // namespace qorv::math::algexpr::detail
