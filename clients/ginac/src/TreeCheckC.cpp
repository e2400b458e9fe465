// SPDX-License-Identifier: MIT
#include "TreeCheckC.h"

#include "SupportNames.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

bool isSum(OperationE operation, std::size_t arity) {
    return operation == OperationE::Plus || (operation == OperationE::Minus && arity == 2);
}

// Whether an argument's arguments join those of its parent, as GiNaC would
// flatten them: sums into sums (a - b being a + (-b)), products into products.
bool joins(OperationE child, std::size_t child_arity, OperationE parent, std::size_t parent_arity, bool first) {
    if (parent == OperationE::Times) {
        return child == OperationE::Times;
    }
    const bool sum_parent = parent == OperationE::Plus || (parent == OperationE::Minus && parent_arity == 2 && first);
    return sum_parent && isSum(child, child_arity);
}

// The depth limit of an operation's first argument, 0 when it has none.
std::size_t operandLimit(OperationE operation) {
    switch (operation) {
        case OperationE::Diff:
            return GinacEngineC::kMaxDiffDepth;
        case OperationE::Simplify:
        case OperationE::Factor:
            return GinacEngineC::kMaxSimplifyDepth;
        case OperationE::Series:
            return GinacEngineC::kMaxSeriesDepth;
        default:
            return 0;
    }
}

}  // namespace

TreeCheckC::TreeCheckC(const std::vector<OperationE>& operations)
    : NodeVisitorABC(PreOrder | PostOrder), operations(operations) {}

TreeCheckC::~TreeCheckC() = default;

void TreeCheckC::run(NodeABC& root) {
    root.traverse(*this);
    tree_depth = values.empty() ? 0 : values.back().depth;
    if (tree_depth > GinacEngineC::kMaxDepth) {
        throw RefusalC(u"the expression is nested " + count(tree_depth) + u" levels deep; the limit is " +
                       count(GinacEngineC::kMaxDepth));
    }
    if (!violation.empty()) {
        throw RefusalC(violation);
    }
}

OperationE TreeCheckC::operationOf(int code) const {
    return code >= 0 && static_cast<std::size_t>(code) < operations.size() ? operations[static_cast<std::size_t>(code)]
                                                                            : OperationE::None;
}

void TreeCheckC::enter(OperationE operation) { frames.push_back(Frame{operation, values.size()}); }

void TreeCheckC::leave() {
    const Frame frame = frames.back();
    frames.pop_back();
    const std::size_t arity = values.size() - frame.first;
    std::size_t depth = 0;
    for (std::size_t i = frame.first; i < values.size(); ++i) {
        const Value& child = values[i];
        const bool joined = joins(child.operation, child.arity, frame.operation, arity, i == frame.first);
        if (joined) {
            merges[child.position] = 1;
        }
        const std::size_t below = child.depth + (joined ? 0 : 1);
        depth = below > depth ? below : depth;
    }
    const std::size_t limit = operandLimit(frame.operation);
    if (limit != 0 && violation.empty() && frame.first < values.size() && values[frame.first].depth > limit) {
        violation = std::u16string(nameOf(frame.operation)) + u": the expression is nested " +
                    count(values[frame.first].depth) + u" levels deep; the limit for " + nameOf(frame.operation) +
                    u" is " + count(limit);
    }
    values.resize(frame.first);
    values.push_back(Value{depth, frame.operation, arity, merges.size()});
    merges.push_back(0);
}

void TreeCheckC::leaf() {
    values.push_back(Value{0, OperationE::None, 0, merges.size()});
    merges.push_back(0);
}

bool TreeCheckC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) {
    if (order == PreOrder) {
        enter(operationOf(node.getCode()));
    } else {
        leave();
    }
    return true;
}

bool TreeCheckC::visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE order) {
    if (order == PreOrder) {
        enter(OperationE::None);
    } else {
        leave();
    }
    return true;
}

bool TreeCheckC::visitCoreSymbolNode(CoreSymbolNodeC&) {
    leaf();
    return true;
}

bool TreeCheckC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) {
    SymbolC* symbol = node.getSymbol().get();
    if (symbol != nullptr && symbol_set.insert(symbol).second) {
        symbol_list.push_back(symbol);
    }
    leaf();
    return true;
}

bool TreeCheckC::visitFloatNode(FloatNodeC&) {
    leaf();
    return true;
}

bool TreeCheckC::visitIntegerNode(IntegerNodeC&) {
    leaf();
    return true;
}

}  // namespace qorv::math::algexpr::ginac::detail
