// SPDX-License-Identifier: MIT
// Typed downcasts over the castable ids, so that client code never handles
// the void* of lookUpBase:
//
//   if (auto* function = dynCast<ParentNodeABC>(node)) {   // null when it is no function
//       unsigned int n = function->numChildren();
//   }
//   if (isA<FloatNodeC>(node)) { ... }
//
// Both take a pointer to any node class, const or not, and accept null (no
// node: isA answers false, dynCast gives null); dynCast keeps the argument's
// const-ness. They ask node->lookUpBase(To::getCastableId()), so they follow
// the library's own type identity, and a client's node class takes part once
// it has an id of its own (see NodeABC). A cast to a base of the argument's
// class asks nothing. Nothing changes owner: the result is the same node.
//
// Two function templates rather than a class: the header is named after the
// facility, as VisitationOrderE.h is after its enumeration.
#ifndef ALGEXPR_NODECAST_H
#define ALGEXPR_NODECAST_H

#include <type_traits>

#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr {

/// The node as a `To`, const when `node` is; null when it is not one, or
/// when `node` is null.
template <class To, class From>
std::conditional_t<std::is_const_v<From>, const To, To>* dynCast(From* node) {
    static_assert(std::is_base_of_v<NodeABC, From>, "dynCast takes a pointer to a node");
    static_assert(std::is_base_of_v<NodeABC, To>, "dynCast casts to a node class");
    using Result = std::conditional_t<std::is_const_v<From>, const To, To>*;
    if constexpr (std::is_base_of_v<To, From>) {
        return node;
    } else {
        return node != nullptr ? static_cast<Result>(node->lookUpBase(std::remove_cv_t<To>::getCastableId()))
                               : nullptr;
    }
}

/// True when `node` is not null and is an instance of `To` (that class or a
/// class derived from it).
template <class To, class From>
bool isA(From* node) {
    return dynCast<To>(node) != nullptr;
}

}  // namespace qorv::math::algexpr

#endif
