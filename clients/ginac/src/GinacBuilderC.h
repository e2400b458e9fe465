// SPDX-License-Identifier: MIT
// GinacBuilderC: turns the steps of an InputPlanC into a GiNaC expression,
// in one pass over the steps with a value stack, and carries out the
// operations (diff, expand, ...) as it meets them, inner ones first.
// Arguments of a plus (times) merged into their parent are handed up instead
// of being built, so long sums and products are built once. The plan checked
// what the input asks for; the checks here are those only GiNaC's values can
// answer (Estimates.h): a power of a number GiNaC computed, an expansion of
// what an operation produced, the growth of a derivative order by order,
// and whole numbers where the vocabulary wants them. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_GINACBUILDERC_H
#define ALGEXPR_GINAC_SRC_GINACBUILDERC_H

#include <ginac/ginac.h>

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "EngineVocabulary.h"
#include "InputPlanC.h"
#include "KeptRootsC.h"
#include "algexpr/SymbolC.h"
#include "algexpr/ginac/GinacLimitsS.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::ginac::detail {

class GinacBuilderC {
public:
    /// `symbols`: the GiNaC symbol of each of plan.symbols(), same order.
    GinacBuilderC(const InputPlanC& plan, const std::vector<GiNaC::ex>& symbols, const GinacLimitsS& limits,
                  unsigned long working_digits);
    ~GinacBuilderC();

    /// The expression of the plan's tree.
    GiNaC::ex build();
    /// Builds all but the root: the values of the root's arguments (in
    /// order) when the root is a core function, else nothing; finish()
    /// then builds the root from them.
    std::vector<GiNaC::ex> buildArguments();
    GiNaC::ex finish();
    /// The symbol of each unknown function met, by GiNaC serial.
    const std::unordered_map<unsigned, qorv::oss::PointerTC<SymbolC>>& functions() const { return function_symbols; }
    /// The roots kept as symbols in what build(), buildArguments() and
    /// finish() give (KeptRootsC).
    const KeptRootsC& roots() const { return kept_roots; }

private:
    void step(const InputPlanC::StepS& step);
    void core(const InputPlanC::StepS& step);
    void keptRootsFor(OperationE operation, std::vector<GiNaC::ex>& operands) const;
    void function(const InputPlanC::StepS& step);
    void leaf(const InputPlanC::StepS& step);
    std::size_t arguments(std::size_t arity);
    unsigned serialFor(const std::u16string& name, SymbolC* symbol, std::size_t arity);
    GiNaC::ex apply(OperationE operation, std::vector<GiNaC::ex>& arguments);
    GiNaC::ex unary(OperationE operation, const GiNaC::ex& a);
    GiNaC::ex specialUnary(OperationE operation, const GiNaC::ex& a) const;
    GiNaC::ex derivative(std::vector<GiNaC::ex>& arguments) const;
    GiNaC::ex series(std::vector<GiNaC::ex>& arguments) const;
    void refuseInfinity() const;
    static std::vector<GiNaC::ex>& spareValues();
    static std::vector<std::size_t>& spareProduced();

    static constexpr std::size_t kKeptSteps = std::size_t{1} << 16;

    const InputPlanC& plan;
    const std::vector<GiNaC::ex>& symbols;
    const GinacLimitsS& limits;
    unsigned long working_digits;
    bool real_symbols = false;  // some symbol is real or positive: a log may split over a positive factor
    std::unordered_map<unsigned, qorv::oss::PointerTC<SymbolC>> function_symbols;
    std::unordered_map<const SymbolC*, std::unordered_map<std::size_t, unsigned>> serials;  // by symbol and arity
    std::vector<GiNaC::ex> values;
    std::vector<std::size_t> produced;  // how many values each finished node left
    std::size_t infinities = 0;         // infinity leaves not yet taken as the point of a series
    GiNaC::ex infinity_mark;            // the stand-in for infinity, which only a series point may hold
    KeptRootsC kept_roots;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
