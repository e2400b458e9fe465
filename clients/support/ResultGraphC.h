// SPDX-License-Identifier: MIT
// ResultGraphC: a computed expression on its way from an engine to an
// algexpr tree, in terms no engine owns: sums, products, powers, exact
// numbers (integers of any size, rationals, floats already rounded, complex
// numbers of those), symbols, the constants pi and e, functions by name,
// derivatives of unknown functions, and order terms. An engine converts its
// result into one in a single pass, children before parents; ResultShaperC
// then orders and writes it by the client's rules.
//
//   ResultGraphC graph;
//   IdT x = graph.symbol(graph.addSymbol(session.lookupSymbol(u"x")));
//   IdT two = graph.number(NumberS::integer(false, "2"));
//   IdT root = graph.sum({graph.product(two, {x}), graph.number(NumberS::integer(false, "1"))});  // 2x + 1
//
// Nodes are numbered in the order they are made, so a node's children always
// have smaller numbers; equal nodes are made once (a second request returns
// the first node), so two nodes are equal exactly when their numbers are.
// The graph owns its nodes and tables; the symbols it holds are shared
// (PointerTC). Not thread-safe: one graph per evaluation.
#ifndef ALGEXPR_CLIENTS_SUPPORT_RESULTGRAPHC_H
#define ALGEXPR_CLIENTS_SUPPORT_RESULTGRAPHC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "algexpr/SymbolC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::support {

using IdT = std::uint32_t;
constexpr IdT kNoId = ~IdT{0};

/// A real number as written: an integer, a rational p/q (q > 1, lowest
/// terms) or a float d.ddd x 10^exponent already rounded to the digits
/// shown. Digits are ASCII, without leading zeros ("0" for the integer
/// zero; a float's are also without trailing zeros, and empty for zero).
struct RealS {
    enum class FormE : unsigned char { Integer, Rational, Float };
    FormE form = FormE::Integer;
    bool negative = false;
    std::string digits = "0";   // the integer's or numerator's magnitude, or a float's significant digits
    std::string denominator;    // Rational only
    std::int64_t exponent = 0;  // Float only: the decimal exponent of the first digit

    bool isZero() const { return form == FormE::Float ? digits.empty() : digits == "0"; }
    bool isOne() const { return form == FormE::Integer && !negative && digits == "1"; }
    bool isMinusOne() const { return form == FormE::Integer && negative && digits == "1"; }
    RealS negated() const;
    /// A double near the value (infinite beyond the double range).
    double approximate() const;
};

/// A number: a real one, or a complex one with a nonzero imaginary part.
struct NumberS {
    RealS real;
    RealS imag;
    bool complex = false;

    static NumberS integer(bool negative, std::string digits);
    NumberS negated() const;
    /// Whether it counts as negative when written: its real part, or its
    /// imaginary part when the real part is zero.
    bool isNegative() const;
};

class ResultGraphC {
public:
    enum class KindE : unsigned char {
        Number,      // numbers()[data]
        Symbol,      // symbols()[data]
        Constant,    // ConstantE(data)
        Function,    // functions()[data] of the children
        Derivative,  // derivatives()[data] of the children
        Power,       // children: base, exponent
        Product,     // children: the factors, none a number; data: the coefficient's number, kNoId for 1
        Sum,         // children: the terms (numbers among them)
        Order,       // the order term of a series; child: its argument
    };
    enum class ConstantE : IdT { Pi, E };

    struct NodeS {
        KindE kind;
        IdT data;
        IdT first;  // first child in the child list
        IdT count;  // number of children
    };
    /// A function as written: its name, and either the core code it is
    /// written with (>= 0), or the symbol of its name (null: looked up in the
    /// session by name when written). `unknown` marks functions the engine
    /// knows nothing of (the reason names them). `constant` marks a name
    /// written alone, as a symbol, in a Function node without children (an
    /// engine's constants beyond pi and e, such as infinity).
    struct FunctionS {
        std::u16string name;
        int code = -1;
        qorv::oss::PointerTC<SymbolC> symbol;
        bool unknown = false;
        bool constant = false;
    };
    /// A partial derivative of an unknown function: function()[function]
    /// differentiated by its arguments at the 0-based `positions` (ascending,
    /// repeated for higher derivatives).
    struct DerivativeS {
        IdT function;
        std::vector<unsigned> positions;
    };

    ResultGraphC();
    ~ResultGraphC();
    ResultGraphC(const ResultGraphC&) = delete;
    ResultGraphC& operator=(const ResultGraphC&) = delete;

    /// Empties the graph, keeping its memory for the next result.
    void clear();

    IdT addSymbol(qorv::oss::PointerTC<SymbolC> symbol);
    IdT addFunction(FunctionS function);
    IdT addDerivative(DerivativeS derivative);

    IdT number(const NumberS& value);
    IdT symbol(IdT symbol_index);
    IdT constant(ConstantE constant);
    IdT function(IdT function_index, const IdT* arguments, std::size_t count);
    IdT derivative(IdT derivative_index, const IdT* arguments, std::size_t count);
    IdT power(IdT base, IdT exponent);
    /// `coefficient`: a Number node, or kNoId for 1.
    IdT product(IdT coefficient, const IdT* factors, std::size_t count);
    IdT sum(const IdT* terms, std::size_t count);
    IdT order(IdT argument);

    std::size_t size() const { return nodes.size(); }
    const NodeS& node(IdT id) const { return nodes[id]; }
    KindE kind(IdT id) const { return nodes[id].kind; }
    const IdT* children(IdT id) const { return child_list.data() + nodes[id].first; }
    IdT child(IdT id, std::size_t i) const { return child_list[nodes[id].first + i]; }
    const NumberS& numberOf(IdT id) const { return number_list[nodes[id].data]; }
    const std::vector<qorv::oss::PointerTC<SymbolC>>& symbols() const { return symbol_list; }
    const std::vector<FunctionS>& functions() const { return function_list; }
    const std::vector<DerivativeS>& derivatives() const { return derivative_list; }
    const std::vector<NumberS>& numbers() const { return number_list; }

private:
    IdT make(KindE kind, IdT data, const IdT* children, std::size_t count);
    std::size_t hashOf(KindE kind, IdT data, const IdT* children, std::size_t count) const;
    IdT add(KindE kind, IdT data, const IdT* children, std::size_t count, std::size_t hash);
    void grow();

    std::vector<NodeS> nodes;
    std::vector<IdT> child_list;
    std::vector<NumberS> number_list;
    std::vector<qorv::oss::PointerTC<SymbolC>> symbol_list;
    std::vector<FunctionS> function_list;
    std::vector<DerivativeS> derivative_list;
    // Every node by content (numbers by value): open addressing, linear
    // probing, kNoId for a free slot; a power of two at least twice the nodes.
    std::vector<IdT> table;
    std::vector<std::size_t> hashes;  // by node
};

}  // namespace qorv::math::algexpr::support

#endif
