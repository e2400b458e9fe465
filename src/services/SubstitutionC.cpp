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
#include "support/NodeAccess.h"
#include "support/SymbolAccess.h"
#include "tree/NodeKind.h"

// The copy is built in one post-order walk: a leaf's copy (or its
// replacement's) is pushed on `built`; a function node takes the copies of its
// arguments, which are the last entries there, and is pushed in their place.
// One entry is left at the end, the new root.

namespace qorv::math::algexpr {

namespace {

using detail::NodeKind;

unsigned int argumentCount(const ParentNodeABC& node) {
    unsigned int count = 0;
    for (const NodeABC* argument : node.children()) {
        count += argument != nullptr ? 1 : 0;
    }
    return count;
}

// A copy of the function node `source` without arguments, except for a
// client's own class, copied whole by its clone() (its arguments are
// replaced after). Null when memory runs out.
ParentNodeABC* emptyCopy(const ParentNodeABC& source, NodeKind kind) {
    if (kind == NodeKind::CoreFunction) {
        return new (std::nothrow) CoreFunctionNodeC(static_cast<const CoreFunctionNodeC&>(source).getCode());
    }
    if (kind == NodeKind::ExtendedFunction) {
        return new (std::nothrow)
            ExtendedFunctionNodeC(static_cast<const ExtendedFunctionNodeC&>(source).getSymbol());
    }
    return static_cast<ParentNodeABC*>(source.clone());
}

// Gives `copy` the last `count` entries of `built` as its arguments, in order.
// False when memory runs out (the entries are then freed or still in `built`).
bool adoptArguments(ParentNodeABC& copy, bool whole_clone, std::vector<NodeABC*>& built, unsigned int count) {
    const std::size_t first = built.size() - count;
    for (unsigned int i = 0; i < count; ++i) {
        NodeABC* argument = built[first + i];
        built[first + i] = nullptr;
        if (whole_clone) {
            if (i >= copy.numChildren()) {
                delete argument;
                return false;
            }
            copy.replaceChild(i, argument);
        } else {
            const unsigned int before = copy.numChildren();
            copy.addChild(argument);  // deletes it when the list cannot grow
            if (copy.numChildren() == before) {
                return false;
            }
        }
    }
    built.resize(first);
    return true;
}

}  // namespace

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
    std::vector<NodeABC*> built;
    struct Cleanup {
        std::vector<NodeABC*>& nodes;
        ~Cleanup() {
            for (NodeABC* node : nodes) {
                delete node;
            }
        }
    } cleanup{built};
    try {
        for (TreeCursorC cursor(tree, PostOrder); cursor.node() != nullptr; cursor.next()) {
            if (built.size() == built.capacity()) {  // so that the push below cannot fail
                built.reserve(2 * built.size() + 16);
            }
            const ParentNodeABC* parent = detail::asParent(cursor.node());
            const unsigned int count = parent != nullptr ? argumentCount(*parent) : 0;
            NodeABC* copy = nullptr;
            if (parent == nullptr) {
                copy = copyOfLeaf(cursor.node());
            } else {
                const NodeKind kind = detail::kindOf(parent);
                ParentNodeABC* function = emptyCopy(*parent, kind);
                const bool whole = kind != NodeKind::CoreFunction && kind != NodeKind::ExtendedFunction;
                if (function != nullptr && !adoptArguments(*function, whole, built, count)) {
                    delete function;
                    function = nullptr;
                }
                copy = function;
            }
            if (copy == nullptr) {
                return nullptr;
            }
            built.push_back(copy);
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (built.size() != 1) {
        return nullptr;
    }
    NodeABC* root = built.back();
    built.pop_back();
    return root;
}

}  // namespace qorv::math::algexpr
