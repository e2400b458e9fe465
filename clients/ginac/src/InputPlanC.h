// SPDX-License-Identifier: MIT
// InputPlanC: the one walk over an input tree before any of it reaches GiNaC
// (without recursion, at any depth). It lays the tree out as a list of
// steps in post-order, which GinacBuilderC builds from without walking the
// tree again: which plus and times nodes merge into a parent of the same
// kind, the distinct symbols. On the way it estimates, from below upwards,
// what the whole expression asks for, and refuses (RefusalC) what exceeds
// the session's limits before anything is built:
//  - the depth, and that of the operands of diff, simplify, factor, series;
//  - the digits of the exact integers products and powers of numbers would
//    compute (digits add up through products, multiply through powers of
//    known exponents), and of all of them together;
//  - the order of derivatives, nested diffs added up.
// What depends on values only GiNaC computes (a function that evaluates to a
// number, the expanded form of a produced result) is checked where it is
// built (Estimates.h).
#ifndef ALGEXPR_GINAC_SRC_INPUTPLANC_H
#define ALGEXPR_GINAC_SRC_INPUTPLANC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "EngineVocabulary.h"
#include "algexpr/NodeABC.h"
#include "algexpr/NodeVisitorABC.h"
#include "algexpr/SymbolC.h"
#include "algexpr/ginac/GinacLimitsS.h"

namespace qorv::math::algexpr::ginac::detail {

class InputPlanC : public NodeVisitorABC {
public:
    struct StepS {
        enum class KindE : unsigned char { Core, Function, Symbol, Constant, Integer, Float };
        KindE kind;
        OperationE operation;  // Core, Constant: what the core name does (None: a name the engine does not know)
        bool merged;           // Core: its arguments join its parent's
        std::uint32_t arity;   // Core, Function: the arguments present
        std::uint32_t symbol;  // Symbol: its place in symbols()
        NodeABC* node;         // the node, for its name or value
    };

    InputPlanC(const std::vector<OperationE>& operations, const GinacLimitsS& limits);
    ~InputPlanC() override;

    /// The same plan for another evaluation, its containers kept for their
    /// capacity (run() empties them).
    void reset(const std::vector<OperationE>& operations, const GinacLimitsS& limits);

    /// Walks the tree; throws RefusalC beyond a limit or for a node that
    /// cannot be evaluated (a symbol without a name).
    void run(NodeABC& root);

    /// Every node, arguments first.
    const std::vector<StepS>& steps() const { return step_list; }
    /// The distinct symbols, in the order first met.
    const std::vector<SymbolC*>& symbols() const { return symbol_list; }

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;

    /// What a subtree asks for, estimated from above.
    struct SizeS {
        std::size_t depth = 0;    // levels, merged arguments not counted
        double digits = 0.0;      // of the largest exact integer it computes
        double weight = 0.0;      // digits that an integer power of it multiplies (numbers, their products and powers)
        double total = 0.0;       // of all the exact numbers it holds and computes
        double order = 0.0;       // derivative order, nested diffs added
        bool known = false;       // a number made of integers only: magnitude bounds its value
        double magnitude = 0.0;   // log10 of its absolute value, from above
    };

private:
    struct Frame {
        OperationE operation;
        std::size_t first;  // its first argument's place on the value stack
        std::size_t step;   // its step, once known
        NodeABC* node;
        bool function;      // an extended function
    };
    struct ValueS {
        SizeS size;
        OperationE operation;  // None for leaves and extended functions
        std::size_t arity;
        std::size_t step;
    };

    OperationE operationOf(int code) const;
    void enter(OperationE operation, NodeABC& node, bool function);
    void leave();
    void leaf(StepS step, const SizeS& size);
    std::uint32_t placeOf(SymbolC* symbol);
    SizeS combine(OperationE operation, const ValueS* arguments, std::size_t count) const;
    void check(OperationE operation, const ValueS* arguments, std::size_t count, const SizeS& size);

    const std::vector<OperationE>* operations;
    const GinacLimitsS* limits;
    std::vector<Frame> frames;
    std::vector<ValueS> values;
    std::vector<StepS> step_list;
    std::vector<SymbolC*> symbol_list;
    std::unordered_map<SymbolC*, std::uint32_t> symbol_places;  // all of symbol_list once it has more than a few
    std::u16string problem;  // the first refusal met; the walk stops there
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
