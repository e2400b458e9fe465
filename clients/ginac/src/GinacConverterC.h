// SPDX-License-Identifier: MIT
// GinacConverterC: a GiNaC result as a support::ResultGraphC, in one walk
// (GinacWalkerTC), each part of the result once: numbers exactly (floats
// rounded to the digits shown), the evaluation's symbols, pi and e, the
// vocabulary's functions by code, unknown functions by the symbol of their
// name, their derivatives, order terms, sums, products and powers. What has
// no meaning in the vocabulary is refused (RefusalC) with the reason: a
// derivative of one of GiNaC's own functions (D[0](conjugate)(x)), GiNaC's
// other constants and functions, its internal symbols. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_GINACCONVERTERC_H
#define ALGEXPR_GINAC_SRC_GINACCONVERTERC_H

#include <ginac/ginac.h>

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "EngineVocabulary.h"
#include "GinacWalkerTC.h"
#include "ResultGraphC.h"
#include "algexpr/SymbolC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::ginac::detail {

/// The classes a result is made of, told apart by the address of their
/// registration: one virtual call instead of a type comparison for each
/// class asked about.
enum class GinacClassE : unsigned char { Numeric, Add, Mul, Power, Function, Other };

class GinacConverterC {
public:
    struct ContextS {
        const std::vector<int>& codes;                                                  // core code by operation
        const std::vector<qorv::oss::PointerTC<SymbolC>>& symbols;                      // by OrderedSymbolC rank
        const std::unordered_map<unsigned, qorv::oss::PointerTC<SymbolC>>& functions;  // unknown ones by serial
        unsigned long digits;                                                           // of floats
        std::size_t max_digits;                                                         // of integers
        const std::vector<GiNaC::ex>& kept_roots;  // written for their stand-ins (KeptRootsC)
    };

    explicit GinacConverterC(const ContextS& context);

    /// The same converter for another evaluation, its containers kept for
    /// their capacity.
    void reset(const ContextS& context);

    /// Converts `result` into `graph` (which must be empty) and returns the
    /// root's node.
    support::IdT convert(const GiNaC::ex& result, support::ResultGraphC& graph);
    /// Converts another expression into the graph of the last convert(), with
    /// the same symbols and functions (equal parts get equal nodes).
    support::IdT convertMore(const GiNaC::ex& result);

private:
    support::IdT part(const GiNaC::ex& e, GinacClassE c, const support::IdT* parts, std::size_t count);
    support::IdT sequence(const GiNaC::ex& e, bool sum, const support::IdT* parts, std::size_t count);
    support::IdT scaled(const GiNaC::ex& rest, support::IdT converted, const GiNaC::numeric& coefficient);
    support::IdT numberNode(const GiNaC::numeric& n);
    support::IdT function(const GiNaC::ex& e, const support::IdT* parts, std::size_t count);
    support::IdT functionIndex(unsigned serial);
    support::IdT wordIndex(OperationE operation);
    support::IdT product(const support::IdT* parts, std::size_t count);

    const ContextS* context;
    support::ResultGraphC* graph = nullptr;
    std::unordered_map<unsigned, support::IdT> function_indices;  // graph function by serial
    std::vector<support::IdT> kept_root_ids;                      // graph node by stand-in
    std::vector<support::IdT> factors;
    std::vector<support::IdT> terms;
    GinacWalkerTC<support::IdT> walker;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
