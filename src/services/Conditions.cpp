// SPDX-License-Identifier: MIT
#include "services/Conditions.h"

#include <new>

#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/TreeSearch.h"
#include "support/NodeAccess.h"
#include "support/SymbolAccess.h"
#include "tree/NodeKind.h"

namespace qorv::math::algexpr::detail {

namespace {

using TestE = PatternC::DataS::TestE;

bool isPositive(const NodeABC* node, NodeKind kind) {
    if (kind == NodeKind::Integer) {
        const IntegerValueABC* value = static_cast<const IntegerNodeC*>(node)->getValue();
        return value != nullptr && value->getValue() > 0;
    }
    if (kind == NodeKind::Float) {
        const FloatValueABC* value = static_cast<const FloatNodeC*>(node)->getValue();
        return value != nullptr && value->getValue() > 0;
    }
    return false;
}

}  // namespace

void tellProblem(bool out_of_memory, const std::u16string& why, std::u16string& problem) noexcept {
    try {
        if (out_of_memory) {
            problem.assign(u"out of memory");
        } else {
            problem = why;
        }
    } catch (const std::bad_alloc&) {
        problem.clear();
    }
}

bool isSlot(const NodeABC* node) {
    if (kindOf(node) != NodeKind::ExtendedSymbol) {
        return false;
    }
    const SymbolC* symbol = NodeAccess::symbol(*static_cast<const ExtendedSymbolNodeC*>(node));
    return symbol != nullptr && SymbolAccess::name(*symbol) == u"_";
}

bool builtInCondition(const std::u16string& name, TestE& test) {
    static const std::pair<const char16_t*, TestE> kBuiltIn[] = {{u"integer", TestE::Integer},
                                                                 {u"number", TestE::Number},
                                                                 {u"positive", TestE::Positive},
                                                                 {u"symbol", TestE::Symbol},
                                                                 {u"free", TestE::Free}};
    for (const auto& [text, built_in] : kBuiltIn) {
        if (name == text) {
            test = built_in;
            return true;
        }
    }
    return false;
}

bool passesBuiltIn(TestE test, const NodeABC* node, const NodeABC* free_of) {
    const NodeKind kind = kindOf(node);
    switch (test) {
        case TestE::Integer:
            return kind == NodeKind::Integer;
        case TestE::Number:
            return kind == NodeKind::Integer || kind == NodeKind::Float;
        case TestE::Positive:
            return isPositive(node, kind);
        case TestE::Symbol:
            return kind == NodeKind::ExtendedSymbol && !isSlot(node);
        case TestE::Free:
            return !hasSubtree(node, free_of);
        case TestE::Client:
            break;
    }
    return false;
}

}  // namespace qorv::math::algexpr::detail
