// SPDX-License-Identifier: MIT
// ResultShaperC: writes an engine's result, converted into a ResultGraphC,
// as a new algexpr tree in the order of ResultLayoutC and in the forms a
// person writes (GinacEngineC.h lists them with examples):
//  - numbers: integers as they are, rationals divide(p,q), floats, i for the
//    imaginary unit, a + b i as plus(a,times(b,i)) (minus for a negative b);
//  - products: the coefficient first, neg(x) for -x, negative powers in a
//    denominator (divide(times(2,x),times(3,y))), sqrt for the power 1/2;
//    a rational coefficient inside the quotient, divide(times(2,plus(x,1)),y)
//    (engines that multiply a number into a lone sum read that back as
//    (2*x + 2)/y: the same value, not the same expression); a float or
//    complex one beside a lone sum above the line before the quotient,
//    times(0.5,divide(plus(x,1),y));
//  - sums: left to right with minus for negative terms, a negative first
//    term with its sign (plus(neg(x),y)); series in ascending powers with
//    the order term last (ResultLayoutC);
//  - derivatives of unknown functions as nested pdiff(f(...),k);
//  - an engine's constants (FunctionS::constant) as their name alone.
// Any engine can plug in: convert its result into the graph (one pass,
// children first), give its number classes through NumberMakerABC and the
// codes of the names written, and call write().
//
//   ResultShaperC shaper(graph, context);
//   std::unique_ptr<NodeABC> tree(shaper.write(root));   // the caller owns it
//   std::u16string why = shaper.reason(root, true);       // "x: free symbol", ...
//
// The graph is only added to (negated sums, split numbers); the tree's nodes
// come from the session's symbols and context.numbers. Writing recurses as
// deep as the graph is high (bounded by context.max_height), throws RefusalC
// past context.max_nodes nodes or max_height levels, and std::bad_alloc.
#ifndef ALGEXPR_CLIENTS_SUPPORT_RESULTSHAPERC_H
#define ALGEXPR_CLIENTS_SUPPORT_RESULTSHAPERC_H

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "NumberMakerABC.h"
#include "ResultGraphC.h"
#include "ResultLayoutC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/ParentNodeABC.h"

namespace qorv::math::algexpr::support {

class ResultShaperC {
public:
    /// The names the shaper writes structure with.
    enum class NameE : unsigned char { Plus, Minus, Times, Divide, Power, Neg, Sqrt, Pi, E, I, Pdiff, Order, Count };
    /// plus, minus, times, divide, power, neg, sqrt, pi, e, i, pdiff, order.
    static const char16_t* nameOf(NameE name);

    /// The codes of the names above (ContextS::codes), -1 where there is
    /// none, from an engine's first code of each operation
    /// (VocabularyTC::mapCodes).
    using CodesT = std::array<int, static_cast<std::size_t>(NameE::Count)>;
    template <class Words>
    static CodesT codesOf(const std::vector<int>& codes) {
        using Operation = typename Words::Operation;
        static const std::array<Operation, static_cast<std::size_t>(NameE::Count)> operations = [] {
            std::array<Operation, static_cast<std::size_t>(NameE::Count)> of{};
            for (std::size_t name = 0; name < of.size(); ++name) {
                of[name] = Words::named(nameOf(static_cast<NameE>(name)));
            }
            return of;
        }();
        CodesT result;
        for (std::size_t name = 0; name < result.size(); ++name) {
            const auto operation = static_cast<std::size_t>(operations[name]);
            result[name] = operation < codes.size() ? codes[operation] : -1;
        }
        return result;
    }

    struct ContextS {
        CASSessionBC& session;         // symbols for names without a core code
        const int* codes;              // the core code of each NameE, -1 where there is none
        NumberMakerABC& numbers;
        std::size_t max_nodes;         // of the tree written
        std::size_t max_height;        // of the graph
    };

    ResultShaperC(ResultGraphC& graph, const ContextS& context);
    ~ResultShaperC();
    ResultShaperC(const ResultShaperC&) = delete;
    ResultShaperC& operator=(const ResultShaperC&) = delete;

    /// The tree of `root`, owned by the caller.
    NodeABC* write(IdT root);

    /// Why the result under `root` is no real number, or empty when it is
    /// one: the first free symbol by name ("x: free symbol"), else the first
    /// unknown function ("f: unknown function"), else an order term, else
    /// (when `numbers` is set) a number off the real line.
    std::u16string reason(IdT root, bool numbers) const;

private:
    using NodeP = std::unique_ptr<NodeABC>;

    NodeP expression(IdT id);
    NodeP product(IdT id, bool negate, bool without_coefficient = false);
    NodeP quotient(const NumberS& coefficient, const ResultLayoutC::ProductS& layout);
    NodeP number(NumberS value);
    NodeP imaginary(const RealS& b);
    NodeP real(const RealS& value);
    NodeP integer(bool negative, const std::string& digits);
    NodeP fold(const std::vector<ResultLayoutC::TermS>& terms);
    NodeP term(const ResultLayoutC::TermS& term);
    NodeP factor(IdT base, IdT exponent);
    NodeP call(IdT id);
    NodeP named(const ResultGraphC::FunctionS& function);
    NodeP derivative(IdT id);
    NodeP constant(NameE name);
    NodeP apply(NameE name, NodeP a, NodeP b = NodeP());
    NodeP applyAll(NameE name, std::vector<NodeP> children);
    ParentNodeABC* structure(NameE name);
    NodeP counted(NodeABC* node);
    // A number leaf owning `made` (a value from the client's factory; null
    // when there was no memory), counted.
    template <class NodeT, class ValueT>
    NodeP leafOwning(ValueT* made);
    void attach(ParentNodeABC& parent, NodeP child);

    ResultGraphC& graph;
    const ContextS& context;
    ResultLayoutC layout;
    std::size_t original_size;  // nodes the engine made; the layout adds more
    std::size_t nodes = 0;       // written so far
};

}  // namespace qorv::math::algexpr::support

#endif
