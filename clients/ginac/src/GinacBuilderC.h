// SPDX-License-Identifier: MIT
// GinacBuilderC: turns a checked tree (TreeCheckC) into a GiNaC expression,
// bottom-up with an explicit value stack, and carries out the operations
// (diff, expand, ...) as it meets them, inner ones first. Arguments of a
// plus (times) merged into their parent are handed up instead of being
// built, so long sums and products are built once. Each operation checks its
// arguments and its limits first and throws RefusalC when it cannot go on.
// Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_GINACBUILDERC_H
#define ALGEXPR_GINAC_SRC_GINACBUILDERC_H

#include <ginac/ginac.h>

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Vocabulary.h"
#include "algexpr/NodeVisitorABC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {
class NodeABC;
class ParentNodeABC;
class SymbolC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::ginac::detail {

class TreeCheckC;

class GinacBuilderC : public NodeVisitorABC {
public:
    /// `symbols`: the GiNaC symbol of each of check.symbols(), same order.
    GinacBuilderC(const std::vector<OperationE>& operations, const TreeCheckC& check,
                  const std::vector<GiNaC::ex>& symbols, unsigned long working_digits);
    ~GinacBuilderC() override;

    /// The expression of the tree that `check` walked.
    GiNaC::ex build(NodeABC& root);
    /// The symbol of each unknown function met, by GiNaC serial.
    const std::unordered_map<unsigned, qorv::oss::PointerTC<SymbolC>>& functions() const { return function_symbols; }

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;

private:
    struct SerialKey {
        const SymbolC* symbol;
        std::size_t arity;
        bool operator==(const SerialKey& other) const { return symbol == other.symbol && arity == other.arity; }
    };
    struct SerialKeyHash {
        std::size_t operator()(const SerialKey& key) const {
            return std::hash<const void*>()(key.symbol) * 31 + key.arity;
        }
    };

    OperationE operationOf(int code) const;
    std::pair<std::size_t, std::size_t> arguments(const ParentNodeABC& node);
    unsigned serialFor(const std::u16string& name, SymbolC* symbol, std::size_t arity);
    void leaf(GiNaC::ex value);
    GiNaC::ex apply(OperationE operation, std::vector<GiNaC::ex>& arguments) const;

    const std::vector<OperationE>& operations;
    const TreeCheckC& check;
    std::unordered_map<const SymbolC*, const GiNaC::ex*> symbol_map;
    std::unordered_map<unsigned, qorv::oss::PointerTC<SymbolC>> function_symbols;
    std::unordered_map<SerialKey, unsigned, SerialKeyHash> serials;
    unsigned long working_digits;
    std::vector<GiNaC::ex> values;
    std::vector<std::size_t> produced;  // how many values each finished node left
    std::size_t position = 0;           // post-order position of the next node
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
