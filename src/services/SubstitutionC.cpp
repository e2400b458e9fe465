// SPDX-License-Identifier: MIT
#include "algexpr/SubstitutionC.h"

#include <new>
#include <utility>
#include <vector>

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/TreeCursorC.h"
#include "services/NodeCopy.h"
#include "support/NodeAccess.h"
#include "support/SymbolAccess.h"
#include "tree/NodeKind.h"

// The copy is built in one post-order walk: a leaf's copy (or its
// replacement's) is pushed on `built`; a function node takes the copies of its
// arguments, which are the last entries there, and is pushed in their place.
// One entry is left at the end, the new root.

namespace qorv::math::algexpr {

using detail::argumentCount;
using detail::copyNode;
using detail::NodeKind;

SubstitutionC::SubstitutionC() noexcept = default;

SubstitutionC::SubstitutionC(SubstitutionC&&) noexcept = default;

SubstitutionC& SubstitutionC::operator=(SubstitutionC&&) noexcept = default;

SubstitutionC::~SubstitutionC() = default;

bool SubstitutionC::add(const std::u16string& name, const NodeABC* replacement) {
    try {
        by_name[name] = replacement;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool SubstitutionC::add(int code, const NodeABC* replacement) {
    try {
        by_code[code] = replacement;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// A new copy of the replacement for `leaf` when it has one, else of the leaf
// itself; null when memory runs out or the replacement is null.
NodeABC* SubstitutionC::copyOfLeaf(const NodeABC* leaf) const {
    const NodeKind kind = detail::kindOf(leaf);
    const NodeABC* replacement = nullptr;
    bool matched = false;
    if (kind == NodeKind::ExtendedSymbol && !by_name.empty()) {
        const SymbolC* symbol = detail::NodeAccess::symbol(*static_cast<const ExtendedSymbolNodeC*>(leaf));
        auto entry = by_name.find(symbol != nullptr ? detail::SymbolAccess::name(*symbol) : std::u16string());
        matched = entry != by_name.end();
        replacement = matched ? entry->second : nullptr;
    } else if (kind == NodeKind::CoreSymbol && !by_code.empty()) {
        auto entry = by_code.find(static_cast<const CoreSymbolNodeC*>(leaf)->getCode());
        matched = entry != by_code.end();
        replacement = matched ? entry->second : nullptr;
    }
    if (!matched) {
        return leaf->clone();
    }
    return replacement != nullptr ? replacement->clone() : nullptr;
}

NodeABC* SubstitutionC::apply(const NodeABC* tree) const {
    detail::BuiltNodesC built;
    try {
        for (TreeCursorC cursor(tree, PostOrder); cursor.node() != nullptr; cursor.next()) {
            built.reserve(1);  // so that the push below cannot fail
            const ParentNodeABC* parent = detail::asParent(cursor.node());
            const unsigned int count = parent != nullptr ? argumentCount(*parent) : 0;
            NodeABC* copy = parent == nullptr ? copyOfLeaf(cursor.node()) : copyNode(parent, built.nodes, count);
            if (copy == nullptr) {
                return nullptr;
            }
            built.nodes.push_back(copy);
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return built.takeRoot();
}

}  // namespace qorv::math::algexpr
