// SPDX-License-Identifier: MIT
#include "ResultShaperC.h"

#include <new>
#include <utility>
#include <vector>

#include "MessageText.h"
#include "RefusalC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::support {

using KindE = ResultGraphC::KindE;
using qorv::oss::PointerTC;

namespace {

const char16_t* const kNames[] = {u"plus", u"minus", u"times", u"divide", u"power", u"neg",
                                  u"sqrt", u"pi",    u"e",     u"i",      u"pdiff", u"order"};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == static_cast<std::size_t>(ResultShaperC::NameE::Count),
              "a name for each");

bool isUnit(const RealS& r) {
    return r.form == RealS::FormE::Float ? r.digits == "1" && r.exponent == 0 : r.form == RealS::FormE::Integer && r.digits == "1";
}

}  // namespace

const char16_t* ResultShaperC::nameOf(NameE name) { return kNames[static_cast<std::size_t>(name)]; }

ResultShaperC::ResultShaperC(ResultGraphC& graph, const ContextS& context)
    : graph(graph), context(context), layout(graph, context.max_height), original_size(graph.size()) {}

ResultShaperC::~ResultShaperC() = default;

NodeABC* ResultShaperC::write(IdT root) {
    layout.prepare();
    return expression(root).release();
}

std::u16string ResultShaperC::reason(IdT root, bool numbers) const {
    const ResultGraphC::FunctionS* function = nullptr;
    std::vector<bool> used(graph.symbols().size(), false);  // symbols met, by index
    bool order = false;
    bool complex = false;
    for (IdT id = 0; id < original_size && id <= root; ++id) {
        const ResultGraphC::NodeS node = graph.node(id);  // a copy: writing adds nodes
        if (node.kind == KindE::Symbol) {
            used[node.data] = true;
        } else if (node.kind == KindE::Function || node.kind == KindE::Derivative) {
            const IdT index = node.kind == KindE::Function ? node.data : graph.derivatives()[node.data].function;
            const ResultGraphC::FunctionS& f = graph.functions()[index];
            if (f.unknown && (function == nullptr || f.name < function->name)) {
                function = &f;
            }
        } else if (node.kind == KindE::Order) {
            order = true;
        } else if (node.kind == KindE::Number) {
            complex = complex || graph.numberOf(id).complex;
        }
    }
    // The symbol first by name.
    std::u16string symbol;
    IdT symbol_index = kNoId;
    for (IdT index = 0; index < used.size(); ++index) {
        if (used[index]) {
            const PointerTC<SymbolC>& s = graph.symbols()[index];
            std::u16string name = s ? s->getName() : std::u16string();
            if (symbol_index == kNoId || name < symbol) {
                symbol = std::move(name);
                symbol_index = index;
            }
        }
    }
    if (symbol_index != kNoId) {
        return symbol + u": free symbol";
    }
    if (function != nullptr) {
        return function->name + u": unknown function";
    }
    if (order) {
        return u"an order term, not a number";
    }
    return complex && numbers ? u"not a real number" : u"";
}

ResultShaperC::NodeP ResultShaperC::counted(NodeABC* node) {
    NodeP owner(node);
    if (!owner) {
        throw std::bad_alloc();
    }
    if (++nodes > context.max_nodes) {
        throw RefusalC(u"the result has more than " + count(context.max_nodes) + u" nodes");
    }
    return owner;
}

void ResultShaperC::attach(ParentNodeABC& parent, NodeP child) {
    const unsigned int before = parent.numChildren();
    parent.addChild(child.release());  // deletes the node when the list cannot grow
    if (parent.numChildren() == before) {
        throw std::bad_alloc();
    }
}

ParentNodeABC* ResultShaperC::structure(NameE name) {
    const int code = context.codes[static_cast<std::size_t>(name)];
    if (code >= 0) {
        return new (std::nothrow) CoreFunctionNodeC(code);
    }
    PointerTC<SymbolC> symbol = context.session.lookupSymbol(nameOf(name));
    if (!symbol) {
        throw std::bad_alloc();
    }
    return new (std::nothrow) ExtendedFunctionNodeC(symbol);
}

ResultShaperC::NodeP ResultShaperC::apply(NameE name, NodeP a, NodeP b) {
    NodeP node = counted(structure(name));
    auto& parent = static_cast<ParentNodeABC&>(*node);
    attach(parent, std::move(a));
    if (b) {
        attach(parent, std::move(b));
    }
    return node;
}

ResultShaperC::NodeP ResultShaperC::applyAll(NameE name, std::vector<NodeP> children) {
    if (children.size() == 1) {
        return std::move(children.front());
    }
    NodeP node = counted(structure(name));
    for (NodeP& child : children) {
        attach(static_cast<ParentNodeABC&>(*node), std::move(child));
    }
    return node;
}

ResultShaperC::NodeP ResultShaperC::constant(NameE name) {
    const int code = context.codes[static_cast<std::size_t>(name)];
    if (code >= 0) {
        return counted(new (std::nothrow) CoreSymbolNodeC(code));
    }
    PointerTC<SymbolC> symbol = context.session.lookupSymbol(nameOf(name));
    if (!symbol) {
        throw std::bad_alloc();
    }
    return counted(new (std::nothrow) ExtendedSymbolNodeC(symbol));
}

template <class NodeT, class ValueT>
ResultShaperC::NodeP ResultShaperC::leafOwning(ValueT* made) {
    std::unique_ptr<ValueT> value(made);
    if (!value) {
        throw std::bad_alloc();
    }
    auto* node = new (std::nothrow) NodeT(value.get());
    if (node != nullptr) {
        value.release();  // the node owns it, also when counting it refuses
    }
    return counted(node);
}

ResultShaperC::NodeP ResultShaperC::integer(bool negative, const std::string& digits) {
    return leafOwning<IntegerNodeC>(context.numbers.integer(negative, digits));
}

// 7, divide(-1,3), 0.5.
ResultShaperC::NodeP ResultShaperC::real(const RealS& value) {
    switch (value.form) {
        case RealS::FormE::Integer:
            return integer(value.negative, value.digits);
        case RealS::FormE::Rational:
            return apply(NameE::Divide, integer(value.negative, value.digits), integer(false, value.denominator));
        case RealS::FormE::Float:
            break;
    }
    return leafOwning<FloatNodeC>(context.numbers.decimal(value));
}

// i, times(2,i), neg(i), divide(i,2), times(0.5,i).
ResultShaperC::NodeP ResultShaperC::imaginary(const RealS& b) {
    if (b.form == RealS::FormE::Float) {
        return apply(NameE::Times, real(b), constant(NameE::I));
    }
    NodeP top = constant(NameE::I);
    if (b.digits != "1") {
        top = apply(NameE::Times, integer(b.negative, b.digits), std::move(top));
    } else if (b.negative) {
        top = apply(NameE::Neg, std::move(top));
    }
    if (b.form == RealS::FormE::Integer) {
        return top;
    }
    return apply(NameE::Divide, std::move(top), integer(false, b.denominator));
}

// A number: its real form, the imaginary forms above, or a + b i as a sum
// of its two parts: plus(1,times(2,i)), minus(1,i).
ResultShaperC::NodeP ResultShaperC::number(NumberS value) {  // a copy: the graph grows below
    if (!value.complex) {
        return real(value.real);
    }
    if (value.real.isZero()) {
        return imaginary(value.imag);
    }
    NumberS re;
    re.real = value.real;
    NumberS im = value;
    im.real = RealS();
    const IdT a = graph.number(re);
    const IdT b = graph.number(im);
    return fold({{a, re.isNegative()}, {b, im.isNegative()}});
}

// Terms left to right: minus for a negative term, plus for a run of
// positive ones; a negative first term keeps its sign (-1, times(-3,x),
// neg(x)).
ResultShaperC::NodeP ResultShaperC::fold(const std::vector<ResultLayoutC::TermS>& terms) {
    NodeP result = term(ResultLayoutC::TermS{terms.front().term, false});
    for (std::size_t i = 1; i < terms.size();) {
        if (terms[i].negative) {
            result = apply(NameE::Minus, std::move(result), term(terms[i]));
            ++i;
            continue;
        }
        std::vector<NodeP> run;
        run.push_back(std::move(result));
        for (; i < terms.size() && !terms[i].negative; ++i) {
            run.push_back(term(terms[i]));
        }
        result = applyAll(NameE::Plus, std::move(run));
    }
    return result;
}

// A term of a sum, its sign turned when it is written negative.
ResultShaperC::NodeP ResultShaperC::term(const ResultLayoutC::TermS& t) {
    if (graph.kind(t.term) == KindE::Number) {
        const NumberS& value = graph.numberOf(t.term);
        return number(t.negative ? value.negated() : value);
    }
    if (layout.productOrNull(t.term) != nullptr) {
        return product(t.term, t.negative);
    }
    return expression(t.term);
}

ResultShaperC::NodeP ResultShaperC::factor(IdT base, IdT exponent) {
    if (exponent == layout.one()) {
        return expression(base);
    }
    if (layout.isHalf(exponent)) {
        return apply(NameE::Sqrt, expression(base));
    }
    return apply(NameE::Power, expression(base), expression(exponent));
}

ResultShaperC::NodeP ResultShaperC::call(IdT id) {
    const ResultGraphC::NodeS node = graph.node(id);  // a copy: writing adds nodes
    const IdT index = node.kind == KindE::Function ? node.data : graph.derivatives()[node.data].function;
    const ResultGraphC::FunctionS& function = graph.functions()[index];
    if (function.constant && node.count == 0) {
        return named(function);
    }
    ParentNodeABC* made = nullptr;
    if (function.code >= 0) {
        made = new (std::nothrow) CoreFunctionNodeC(function.code);
    } else {
        PointerTC<SymbolC> symbol = function.symbol ? function.symbol : context.session.lookupSymbol(function.name);
        if (!symbol) {
            throw std::bad_alloc();
        }
        made = new (std::nothrow) ExtendedFunctionNodeC(symbol);
    }
    NodeP result = counted(made);
    for (std::size_t i = 0; i < node.count; ++i) {
        attach(static_cast<ParentNodeABC&>(*result), expression(graph.child(id, i)));
    }
    return result;
}

// A constant of the engine's, written as a name alone: infinity.
ResultShaperC::NodeP ResultShaperC::named(const ResultGraphC::FunctionS& function) {
    if (function.code >= 0) {
        return counted(new (std::nothrow) CoreSymbolNodeC(function.code));
    }
    PointerTC<SymbolC> symbol = function.symbol ? function.symbol : context.session.lookupSymbol(function.name);
    if (!symbol) {
        throw std::bad_alloc();
    }
    return counted(new (std::nothrow) ExtendedSymbolNodeC(symbol));
}

// pdiff(pdiff(f(x,y),1),2): the first position innermost.
ResultShaperC::NodeP ResultShaperC::derivative(IdT id) {
    NodeP result = call(id);
    for (unsigned position : graph.derivatives()[graph.node(id).data].positions) {
        result = apply(NameE::Pdiff, std::move(result), integer(false, std::to_string(position + 1)));
    }
    return result;
}

ResultShaperC::NodeP ResultShaperC::expression(IdT id) {
    const ResultGraphC::NodeS node = graph.node(id);  // a copy: writing adds nodes
    switch (node.kind) {
        case KindE::Number:
            return number(graph.numberOf(id));
        case KindE::Symbol:
            return counted(new (std::nothrow) ExtendedSymbolNodeC(graph.symbols()[node.data]));
        case KindE::Constant:
            return constant(node.data == static_cast<IdT>(ResultGraphC::ConstantE::Pi) ? NameE::Pi : NameE::E);
        case KindE::Function:
            return call(id);
        case KindE::Derivative:
            return derivative(id);
        case KindE::Order: {
            // An order term has no coefficient (engines drop it when reading
            // one), so the sign a normalised base gives its power goes too.
            const IdT argument = graph.child(id, 0);
            const bool lone = layout.productOrNull(argument) != nullptr && graph.kind(argument) == KindE::Power;
            return apply(NameE::Order, lone ? product(argument, false, true) : expression(argument));
        }
        case KindE::Product:
            return product(id, false);
        case KindE::Sum:
            return fold(layout.sum(id).shown);
        case KindE::Power:
            break;
    }
    if (layout.productOrNull(id) != nullptr) {
        return product(id, false);
    }
    const IdT base = graph.child(id, 0);
    const IdT exponent = graph.child(id, 1);
    if (graph.kind(exponent) == KindE::Number && !graph.numberOf(exponent).complex &&
        graph.numberOf(exponent).isNegative()) {
        const IdT positive = graph.number(graph.numberOf(exponent).negated());
        return apply(NameE::Divide, integer(false, "1"), factor(base, positive));
    }
    return factor(base, exponent);
}

// A product: coefficient first, negative powers below a divide:
// times(-3,x), neg(x), divide(times(2,x),times(3,y)), divide(neg(x),3).
ResultShaperC::NodeP ResultShaperC::product(IdT id, bool negate, bool without_coefficient) {
    const ResultLayoutC::ProductS& p = *layout.productOrNull(id);
    NumberS c = p.coefficient == kNoId || without_coefficient ? NumberS::integer(false, "1") : graph.numberOf(p.coefficient);
    if (negate) {
        c = c.negated();
    }
    if (!c.complex && isUnit(c.real)) {
        c = NumberS::integer(c.real.negative, "1");  // 1.0 too: engines drop it from what reads back
    }
    return quotient(c, p);
}

// A rational coefficient goes into the quotient, as people write it:
// divide(1,times(2,minus(x,1))), divide(times(2,plus(x,1)),y). A float or
// complex one beside a lone sum above the line stands before the quotient,
// times(0.5,divide(plus(x,1),y)), as engines would multiply it into the sum.
ResultShaperC::NodeP ResultShaperC::quotient(const NumberS& c, const ResultLayoutC::ProductS& p) {
    std::vector<ResultLayoutC::FactorS> above;
    std::vector<ResultLayoutC::FactorS> below;
    for (const ResultLayoutC::FactorS& f : p.factors) {
        const bool negative = graph.kind(f.exponent) == KindE::Number && !graph.numberOf(f.exponent).complex &&
                              graph.numberOf(f.exponent).isNegative();
        if (negative) {
            below.push_back(ResultLayoutC::FactorS{f.base, graph.number(graph.numberOf(f.exponent).negated())});
        } else {
            above.push_back(f);
        }
    }
    const auto loneSum = [this](const std::vector<ResultLayoutC::FactorS>& list) {
        return list.size() == 1 && graph.kind(list[0].base) == KindE::Sum && list[0].exponent == layout.one();
    };
    const bool rational = !c.complex && c.real.form != RealS::FormE::Float;
    std::vector<NodeP> top;
    std::vector<NodeP> bottom;
    if (!below.empty() && !rational && loneSum(above)) {
        for (const ResultLayoutC::FactorS& f : above) {
            top.push_back(factor(f.base, f.exponent));
        }
        if (top.empty()) {
            top.push_back(integer(false, "1"));
        }
        for (const ResultLayoutC::FactorS& f : below) {
            bottom.push_back(factor(f.base, f.exponent));
        }
        NodeP divided = apply(NameE::Divide, applyAll(NameE::Times, std::move(top)), applyAll(NameE::Times, std::move(bottom)));
        return apply(NameE::Times, number(c), std::move(divided));
    }
    bool negated = false;
    const bool unit = c.complex && c.real.isZero();
    const RealS& r = unit ? c.imag : c.real;
    if (c.complex && !unit) {
        top.push_back(number(c));
    } else if (r.form != RealS::FormE::Float) {
        if (r.digits != "1") {
            top.push_back(integer(r.negative, r.digits));
        } else {
            negated = r.negative;
        }
        if (r.form == RealS::FormE::Rational) {
            bottom.push_back(integer(false, r.denominator));
        }
    } else {
        top.push_back(real(r));
    }
    if (unit) {
        top.push_back(constant(NameE::I));
    }
    for (const ResultLayoutC::FactorS& f : above) {
        top.push_back(factor(f.base, f.exponent));
    }
    for (const ResultLayoutC::FactorS& f : below) {
        bottom.push_back(factor(f.base, f.exponent));
    }
    if (top.empty()) {
        top.push_back(integer(negated, "1"));
        negated = false;
    }
    NodeP numerator = applyAll(NameE::Times, std::move(top));
    if (negated) {
        numerator = apply(NameE::Neg, std::move(numerator));
    }
    if (bottom.empty()) {
        return numerator;
    }
    return apply(NameE::Divide, std::move(numerator), applyAll(NameE::Times, std::move(bottom)));
}

}  // namespace qorv::math::algexpr::support
