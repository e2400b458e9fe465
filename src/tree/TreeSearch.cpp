// SPDX-License-Identifier: MIT
#include "algexpr/TreeSearch.h"

#include <new>
#include <string_view>
#include <unordered_set>

#include "NodeKind.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/TreeCursorC.h"
#include "algexpr/TreeOrder.h"
#include "support/NodeAccess.h"
#include "support/SymbolAccess.h"

namespace qorv::math::algexpr {

namespace {

using detail::NodeKind;

std::u16string_view symbolName(const NodeABC* node) {
    const SymbolC* symbol = detail::NodeAccess::symbol(*static_cast<const ExtendedSymbolNodeC*>(node));
    return symbol != nullptr ? std::u16string_view(detail::SymbolAccess::name(*symbol)) : std::u16string_view();
}

// Whether some subtree of `tree` with as many nodes as `subtree` equals it.
// Subtrees of one size are disjoint, so the comparisons cost at most one
// pass over the tree. The sizes come from a post-order walk that adds each
// node's size to a sum kept per depth (its parent's, one level up).
bool hasSubtreeBySize(const NodeABC* tree, const NodeABC* subtree, std::size_t size) {
    std::vector<std::size_t> sums;  // at depth d: the sizes of the done arguments of the open node above
    for (TreeCursorC cursor(tree, PostOrder); cursor.node() != nullptr; cursor.next()) {
        const std::size_t depth = cursor.depth();
        if (sums.size() < depth + 2) {
            sums.resize(depth + 2, 0);
        }
        const std::size_t nodes = 1 + sums[depth + 1];
        sums[depth + 1] = 0;
        sums[depth] += nodes;
        if (nodes == size && equalTrees(cursor.node(), subtree)) {
            return true;
        }
    }
    return false;
}

// The same answer without memory, in time up to the product of the sizes.
bool hasSubtreeEverywhere(const NodeABC* tree, const NodeABC* subtree) {
    for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next()) {
        if (equalTrees(cursor.node(), subtree)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool hasSymbol(const NodeABC* tree, const std::u16string& name) {
    for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next()) {
        if (detail::kindOf(cursor.node()) == NodeKind::ExtendedSymbol && symbolName(cursor.node()) == name) {
            return true;
        }
    }
    return false;
}

bool hasCoreCode(const NodeABC* tree, int code) {
    for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next()) {
        const NodeABC* node = cursor.node();
        const NodeKind kind = detail::kindOf(node);
        if ((kind == NodeKind::CoreSymbol && static_cast<const CoreSymbolNodeC*>(node)->getCode() == code) ||
            (kind == NodeKind::CoreFunction && static_cast<const CoreFunctionNodeC*>(node)->getCode() == code)) {
            return true;
        }
    }
    return false;
}

bool hasSubtree(const NodeABC* tree, const NodeABC* subtree) {
    if (subtree == nullptr) {
        return false;
    }
    try {
        return hasSubtreeBySize(tree, subtree, treeSize(subtree));
    } catch (const std::bad_alloc&) {
        return hasSubtreeEverywhere(tree, subtree);
    }
}

bool freeSymbols(const NodeABC* tree, std::vector<std::u16string>& names, bool with_empty_slot) {
    names.clear();
    try {
        std::unordered_set<std::u16string_view> seen;
        for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next()) {
            if (detail::kindOf(cursor.node()) != NodeKind::ExtendedSymbol) {
                continue;
            }
            const std::u16string_view name = symbolName(cursor.node());
            if ((with_empty_slot || name != u"_") && seen.insert(name).second) {
                names.emplace_back(name);
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        names.clear();
        return false;
    }
}

std::size_t treeSize(const NodeABC* tree) {
    std::size_t nodes = 0;
    for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next()) {
        ++nodes;
    }
    return nodes;
}

std::size_t treeDepth(const NodeABC* tree) {
    std::size_t deepest = 0;
    for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next()) {
        deepest = cursor.depth() + 1 > deepest ? cursor.depth() + 1 : deepest;
    }
    return deepest;
}

}  // namespace qorv::math::algexpr
