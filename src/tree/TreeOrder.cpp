// SPDX-License-Identifier: MIT
#include "algexpr/TreeOrder.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "NodeKind.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/TreeCursorC.h"
#include "support/NameHash.h"
#include "support/NodeAccess.h"
#include "support/SymbolAccess.h"

// Both trees are walked in pre-order side by side. The sequence of (depth,
// node) pairs that a pre-order walk gives determines a tree, and comparing two
// such sequences pair by pair, with the smaller depth first and the end of a
// walk before everything, is the same as comparing the trees the recursive
// way (the root, then the arguments in turn, a list that ends first coming
// first): a walk that reaches a smaller depth sooner has run out of arguments
// at that level.

namespace qorv::math::algexpr {

namespace {

using detail::NodeKind;

int sign(bool less, bool greater) { return less ? -1 : (greater ? 1 : 0); }

// For two pointers of which one at least is null: the null one first.
int compareAbsent(const void* a, const void* b) { return static_cast<int>(a != nullptr) - static_cast<int>(b != nullptr); }

template <class T>
int compareValues(T a, T b) {
    return sign(a < b, b < a);
}

int compareTexts(std::u16string_view a, std::u16string_view b) { return compareValues(a.compare(b), 0); }

// Decimal texts by the number they write when they are canonical ("-"
// first for negatives, no leading zeros): the sign, then the length, then
// the digits. Injective on all texts, so it is a total order whatever they hold.
int compareIntegerTexts(const std::u16string& a, const std::u16string& b) {
    const bool a_negative = !a.empty() && a[0] == u'-';
    const bool b_negative = !b.empty() && b[0] == u'-';
    if (a_negative != b_negative) {
        return a_negative ? -1 : 1;
    }
    int magnitude = compareValues(a.size(), b.size());
    if (magnitude == 0) {
        magnitude = compareTexts(a, b);
    }
    return a_negative ? -magnitude : magnitude;
}

const SymbolC* symbolOf(const NodeABC* node, NodeKind kind) {
    return kind == NodeKind::ExtendedSymbol
               ? detail::NodeAccess::symbol(*static_cast<const ExtendedSymbolNodeC*>(node))
               : detail::NodeAccess::symbol(*static_cast<const ExtendedFunctionNodeC*>(node));
}

std::u16string_view nameOf(const SymbolC* symbol) {
    return symbol != nullptr ? std::u16string_view(detail::SymbolAccess::name(*symbol)) : std::u16string_view();
}

int compareNames(const NodeABC* a, const NodeABC* b, NodeKind kind) {
    const SymbolC* x = symbolOf(a, kind);
    const SymbolC* y = symbolOf(b, kind);
    return x == y ? 0 : compareTexts(nameOf(x), nameOf(y));
}

int codeOf(const NodeABC* node, NodeKind kind) {
    return kind == NodeKind::CoreSymbol ? static_cast<const CoreSymbolNodeC*>(node)->getCode()
                                        : static_cast<const CoreFunctionNodeC*>(node)->getCode();
}

int compareIntegers(const IntegerNodeC* a, const IntegerNodeC* b) {
    const IntegerValueABC* x = a->getValue();
    const IntegerValueABC* y = b->getValue();
    if (x == nullptr || y == nullptr) {
        return compareAbsent(x, y);
    }
    const int by_value = compareValues(x->getValue(), y->getValue());
    return by_value != 0 ? by_value : compareIntegerTexts(a->toString(), b->toString());
}

// By value with NaN last, then by text.
int compareFloats(const FloatNodeC* a, const FloatNodeC* b) {
    const FloatValueABC* x = a->getValue();
    const FloatValueABC* y = b->getValue();
    if (x == nullptr || y == nullptr) {
        return compareAbsent(x, y);
    }
    const double u = x->getValue();
    const double v = y->getValue();
    const bool u_nan = std::isnan(u);
    const bool v_nan = std::isnan(v);
    const int by_value = u_nan || v_nan ? sign(!u_nan, !v_nan) : compareValues(u, v);
    return by_value != 0 ? by_value : compareTexts(a->toString(), b->toString());
}

std::u16string_view idOf(const NodeABC* node) {
    const char16_t* id = node->qCastableId();
    return id != nullptr ? std::u16string_view(id) : std::u16string_view();
}

int compareOthers(const NodeABC* a, const NodeABC* b) {
    const int by_id = compareTexts(idOf(a), idOf(b));
    return by_id != 0 ? by_id : compareTexts(a->toString(), b->toString());
}

int compareSameKind(const NodeABC* a, const NodeABC* b, NodeKind kind) {
    switch (kind) {
        case NodeKind::Integer:
            return compareIntegers(static_cast<const IntegerNodeC*>(a), static_cast<const IntegerNodeC*>(b));
        case NodeKind::Float:
            return compareFloats(static_cast<const FloatNodeC*>(a), static_cast<const FloatNodeC*>(b));
        case NodeKind::CoreSymbol:
        case NodeKind::CoreFunction:
            return compareValues(codeOf(a, kind), codeOf(b, kind));
        case NodeKind::ExtendedSymbol:
        case NodeKind::ExtendedFunction:
            return compareNames(a, b, kind);
        case NodeKind::Other:
            break;
    }
    return compareOthers(a, b);
}

std::uint64_t hashText(std::u16string_view text) { return detail::hashName(text.data(), text.size()); }

std::uint64_t hashDouble(double value) {
    if (std::isnan(value)) {
        return 0x7FF8000000000000ull;
    }
    if (value == 0) {
        value = 0;  // -0 ties with 0
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A hash of the node alone that is equal for nodes whose compareSameKind is 0:
// made from the leading keys of the comparison only.
std::uint64_t hashHead(const NodeABC* node) {
    const NodeKind kind = detail::kindOf(node);
    std::uint64_t payload = 0;
    switch (kind) {
        case NodeKind::Integer: {
            const IntegerValueABC* value = static_cast<const IntegerNodeC*>(node)->getValue();
            payload = value != nullptr ? static_cast<std::uint64_t>(value->getValue()) : 0x5A5A5A5Aull;
            break;
        }
        case NodeKind::Float: {
            const FloatValueABC* value = static_cast<const FloatNodeC*>(node)->getValue();
            payload = value != nullptr ? hashDouble(value->getValue()) : 0x5A5A5A5Aull;
            break;
        }
        case NodeKind::CoreSymbol:
        case NodeKind::CoreFunction:
            payload = static_cast<std::uint64_t>(static_cast<std::uint32_t>(codeOf(node, kind)));
            break;
        case NodeKind::ExtendedSymbol:
        case NodeKind::ExtendedFunction: {
            const SymbolC* symbol = symbolOf(node, kind);
            payload = symbol != nullptr ? detail::SymbolAccess::hash(*symbol) : hashText(std::u16string_view());
            break;
        }
        case NodeKind::Other:
            payload = detail::combineHash(hashText(idOf(node)), hashText(node->toString()));
            break;
    }
    return detail::combineHash(static_cast<std::uint64_t>(kind), payload);
}

}  // namespace

int compareHeads(const NodeABC* a, const NodeABC* b) {
    if (a == nullptr || b == nullptr) {
        return compareAbsent(a, b);
    }
    const NodeKind kind = detail::kindOf(a);
    const NodeKind other = detail::kindOf(b);
    return kind != other ? compareValues(kind, other) : compareSameKind(a, b, kind);
}

bool equalHeads(const NodeABC* a, const NodeABC* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    const NodeKind kind = detail::kindOf(a);
    if (kind != detail::kindOf(b)) {
        return false;
    }
    switch (kind) {
        case NodeKind::CoreSymbol:
        case NodeKind::CoreFunction:
            return codeOf(a, kind) == codeOf(b, kind);
        case NodeKind::ExtendedSymbol:
        case NodeKind::ExtendedFunction: {
            const SymbolC* x = symbolOf(a, kind);
            const SymbolC* y = symbolOf(b, kind);
            return x == y || nameOf(x) == nameOf(y);
        }
        default:
            return compareSameKind(a, b, kind) == 0;
    }
}

int compareTrees(const NodeABC* a, const NodeABC* b) {
    if (a == b) {
        return 0;
    }
    TreeCursorC x(a, PreOrder);
    TreeCursorC y(b, PreOrder);
    for (;; x.next(), y.next()) {
        if (x.node() == nullptr || y.node() == nullptr) {
            return compareAbsent(x.node(), y.node());
        }
        if (x.depth() != y.depth()) {
            return compareValues(x.depth(), y.depth());
        }
        const int heads = compareHeads(x.node(), y.node());
        if (heads != 0) {
            return heads;
        }
    }
}

bool equalTrees(const NodeABC* a, const NodeABC* b) {
    if (a == b) {
        return true;
    }
    TreeCursorC x(a, PreOrder);
    TreeCursorC y(b, PreOrder);
    for (;; x.next(), y.next()) {
        if (x.node() == nullptr || y.node() == nullptr) {
            return x.node() == y.node();
        }
        if (x.depth() != y.depth() || !equalHeads(x.node(), y.node())) {
            return false;
        }
    }
}

std::size_t hashTree(const NodeABC* tree) {
    std::uint64_t hash = 0x243F6A8885A308D3ull;
    for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next()) {
        hash = detail::combineHash(hash, cursor.depth());
        hash = detail::combineHash(hash, hashHead(cursor.node()));
    }
    return static_cast<std::size_t>(hash);
}

}  // namespace qorv::math::algexpr
