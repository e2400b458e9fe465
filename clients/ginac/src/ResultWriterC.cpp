// SPDX-License-Identifier: MIT
#include "ResultWriterC.h"

#include <new>
#include <utility>

#include "GinacFunctions.h"
#include "Numbers.h"
#include "OrderedSymbolC.h"
#include "RefusalC.h"
#include "Text.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

using qorv::oss::PointerTC;

struct ResultWriterC::Task {
    enum class KindE : unsigned char {
        Expr,       // e
        Term,       // terms->at(index), a term of a sum: negated when marked negative
        Number,     // e, a number
        Integer,    // e, an integer leaf
        Float,      // e, a float leaf
        Unit,       // the imaginary unit
        Factor,     // e to the power x, x not a negative number
        Fold,       // the first `index` terms of *terms
        Pdiff,      // e (a derivative) with its first index + 1 parameters
        Call,       // e's function applied to its arguments, derivatives left out
        Structure,  // `operation` applied to `children`
    };

    KindE kind = KindE::Expr;
    GiNaC::ex e;
    GiNaC::ex x;
    std::size_t index = 0;
    const std::vector<TermS>* terms = nullptr;
    OperationE operation = OperationE::None;
    std::vector<Task> children;
    ParentNodeABC* parent = nullptr;

    static Task of(KindE kind, const GiNaC::ex& e, const GiNaC::ex& x = GiNaC::ex()) {
        Task task;
        task.kind = kind;
        task.e = e;
        task.x = x;
        return task;
    }
    static Task structure(OperationE operation, std::vector<Task> children) {
        Task task;
        task.kind = KindE::Structure;
        task.operation = operation;
        task.children = std::move(children);
        return task;
    }
};

namespace {

bool isE(const GiNaC::ex& e) {
    return GiNaC::is_exactly_a<GiNaC::function>(e) &&
           GiNaC::ex_to<GiNaC::function>(e).get_serial() == GiNaC::exp_SERIAL::serial && e.op(0).is_equal(1);
}

template <class T>
T* made(T* node) {
    if (node == nullptr) {
        throw std::bad_alloc();
    }
    return node;
}

}  // namespace

ResultWriterC::ResultWriterC(const ResultOrderC& order, const ContextS& context) : order(order), context(context) {}

ResultWriterC::~ResultWriterC() = default;

NodeABC* ResultWriterC::write(const GiNaC::ex& root) {
    stack.clear();
    stack.push_back(Task::of(Task::KindE::Expr, root));
    while (!stack.empty()) {
        Task task = std::move(stack.back());
        stack.pop_back();
        step(task);
    }
    return root_p.release();
}

void ResultWriterC::attach(ParentNodeABC* parent, NodeABC* node) {
    std::unique_ptr<NodeABC> owner(node);
    if (owner == nullptr) {
        throw std::bad_alloc();
    }
    if (++nodes > GinacEngineC::kMaxResultNodes) {
        throw RefusalC(u"the result has more than " + count(GinacEngineC::kMaxResultNodes) + u" nodes");
    }
    if (parent == nullptr) {
        root_p = std::move(owner);
        return;
    }
    const unsigned int before = parent->numChildren();
    parent->addChild(owner.release());  // deletes the node when the list cannot grow
    if (parent->numChildren() == before) {
        throw std::bad_alloc();
    }
}

// Pushes the children so that they are written in order, under `parent`.
void ResultWriterC::push(std::vector<Task>& children, ParentNodeABC* parent) {
    for (std::size_t i = children.size(); i > 0; --i) {
        children[i - 1].parent = parent;
        stack.push_back(std::move(children[i - 1]));
    }
}

void ResultWriterC::structure(ParentNodeABC* parent, OperationE operation, std::vector<Task> children) {
    ParentNodeABC* node = function(operation);
    attach(parent, node);
    push(children, node);
}

ParentNodeABC* ResultWriterC::function(OperationE operation) {
    const int code = context.codes[static_cast<std::size_t>(operation)];
    if (code >= 0) {
        return made(new (std::nothrow) CoreFunctionNodeC(code));
    }
    PointerTC<SymbolC> symbol = context.session.lookupSymbol(nameOf(operation));
    if (!symbol) {
        throw std::bad_alloc();
    }
    return made(new (std::nothrow) ExtendedFunctionNodeC(symbol));
}

ParentNodeABC* ResultWriterC::functionOfSerial(unsigned serial) {
    const OperationE operation = operationOfSerial(serial);
    if (operation != OperationE::None) {
        return function(operation);
    }
    const auto known = context.functions.find(serial);
    PointerTC<SymbolC> symbol =
        known != context.functions.end() ? known->second : context.session.lookupSymbol(functionName(serial));
    if (!symbol) {
        throw std::bad_alloc();
    }
    return made(new (std::nothrow) ExtendedFunctionNodeC(symbol));
}

NodeABC* ResultWriterC::constant(OperationE operation) {
    const int code = context.codes[static_cast<std::size_t>(operation)];
    if (code >= 0) {
        return made(new (std::nothrow) CoreSymbolNodeC(code));
    }
    return named(nameOf(operation));
}

NodeABC* ResultWriterC::named(const std::u16string& name) {
    PointerTC<SymbolC> symbol = context.session.lookupSymbol(name);
    if (!symbol) {
        throw std::bad_alloc();
    }
    return made(new (std::nothrow) ExtendedSymbolNodeC(symbol));
}

// A product: coefficient first, negative powers below a divide:
// times(-3,x), neg(x), divide(times(2,x),times(3,y)), divide(neg(x),3).
//
// GiNaC multiplies a number into a lone sum as it builds the product
// (2*(x+1) becomes 2*x+2), so a part of a quotient made of a number and one
// sum would not read back as it was: then the number stands before the
// quotient instead, times(2,divide(plus(x,1),y)), neg(divide(plus(x,1),y)).
ResultWriterC::Task ResultWriterC::product(const GiNaC::ex& e, bool negate) {
    const ProductLayoutS& layout = order.product(e);
    GiNaC::numeric coefficient = realIfReal(negate ? -layout.coefficient : layout.coefficient);
    if (coefficient.is_equal(GiNaC::numeric(1)) || coefficient.is_equal(GiNaC::numeric(-1))) {
        coefficient = coefficient.is_positive() ? 1 : -1;  // 1.0 too: GiNaC drops it from what reads back
    }
    const auto loneSum = [](const std::vector<FactorS>& factors) {
        return factors.size() == 1 && GiNaC::is_exactly_a<GiNaC::add>(factors[0].base) && factors[0].exponent.is_equal(1);
    };
    const bool numbered_top = !coefficient.is_rational() || !coefficient.numer().is_equal(1);
    const bool numbered_bottom = coefficient.is_rational() && !coefficient.denom().is_equal(1);
    if (!layout.denominator.empty() && ((numbered_top && loneSum(layout.numerator)) ||
                                        (numbered_bottom && loneSum(layout.denominator)))) {
        std::vector<Task> top;
        std::vector<Task> bottom;
        for (const FactorS& factor : layout.numerator) {
            top.push_back(Task::of(Task::KindE::Factor, factor.base, factor.exponent));
        }
        if (top.empty()) {
            top.push_back(Task::of(Task::KindE::Integer, GiNaC::numeric(1)));
        }
        for (const FactorS& factor : layout.denominator) {
            bottom.push_back(Task::of(Task::KindE::Factor, factor.base, factor.exponent));
        }
        std::vector<Task> parts;
        parts.push_back(top.size() == 1 ? std::move(top.front()) : Task::structure(OperationE::Times, std::move(top)));
        parts.push_back(bottom.size() == 1 ? std::move(bottom.front())
                                           : Task::structure(OperationE::Times, std::move(bottom)));
        Task quotient = Task::structure(OperationE::Divide, std::move(parts));
        std::vector<Task> outer;
        if (coefficient.is_equal(-1)) {
            outer.push_back(std::move(quotient));
            return Task::structure(OperationE::Neg, std::move(outer));
        }
        outer.push_back(number(coefficient));
        outer.push_back(std::move(quotient));
        return Task::structure(OperationE::Times, std::move(outer));
    }
    std::vector<Task> top;
    std::vector<Task> bottom;
    bool negated = false;
    bool unit = false;
    GiNaC::numeric real = coefficient;
    if (!coefficient.is_real() && coefficient.real().is_zero()) {
        real = coefficient.imag();
        unit = true;
    }
    if (!real.is_real()) {
        top.push_back(Task::of(Task::KindE::Number, coefficient));
    } else if (real.is_rational()) {
        const GiNaC::numeric p = real.numer();
        const GiNaC::numeric q = real.denom();
        if (!GiNaC::abs(p).is_equal(1)) {
            top.push_back(Task::of(Task::KindE::Integer, p));
        } else if (p.is_negative()) {
            negated = true;
        }
        if (!q.is_equal(1)) {
            bottom.push_back(Task::of(Task::KindE::Integer, q));
        }
    } else {
        top.push_back(Task::of(Task::KindE::Float, real));
    }
    if (unit) {
        top.push_back(Task::of(Task::KindE::Unit, GiNaC::ex()));
    }
    for (const FactorS& factor : layout.numerator) {
        top.push_back(Task::of(Task::KindE::Factor, factor.base, factor.exponent));
    }
    for (const FactorS& factor : layout.denominator) {
        bottom.push_back(Task::of(Task::KindE::Factor, factor.base, factor.exponent));
    }
    if (top.empty()) {
        top.push_back(Task::of(Task::KindE::Integer, GiNaC::numeric(negated ? -1 : 1)));
        negated = false;
    }
    Task numerator = top.size() == 1 ? std::move(top.front()) : Task::structure(OperationE::Times, std::move(top));
    if (negated) {
        std::vector<Task> inner;
        inner.push_back(std::move(numerator));
        numerator = Task::structure(OperationE::Neg, std::move(inner));
    }
    if (bottom.empty()) {
        return numerator;
    }
    Task denominator =
        bottom.size() == 1 ? std::move(bottom.front()) : Task::structure(OperationE::Times, std::move(bottom));
    std::vector<Task> parts;
    parts.push_back(std::move(numerator));
    parts.push_back(std::move(denominator));
    return Task::structure(OperationE::Divide, std::move(parts));
}

// A number: 7, divide(-1,3), 0.5, i, times(2,i), divide(i,2), plus(1,times(2,i)).
ResultWriterC::Task ResultWriterC::number(const GiNaC::numeric& given) {
    const GiNaC::numeric value = realIfReal(given);
    if (value.is_real()) {
        if (value.is_integer()) {
            return Task::of(Task::KindE::Integer, value);
        }
        if (!value.is_rational()) {
            return Task::of(Task::KindE::Float, value);
        }
        std::vector<Task> parts;
        parts.push_back(Task::of(Task::KindE::Integer, value.numer()));
        parts.push_back(Task::of(Task::KindE::Integer, value.denom()));
        return Task::structure(OperationE::Divide, std::move(parts));
    }
    if (!value.real().is_zero()) {
        const GiNaC::numeric re = value.real();
        const GiNaC::numeric im = value.imag() * GiNaC::I;
        pieces.push_back({TermS{re, ResultOrderC::isNegative(re)}, TermS{im, ResultOrderC::isNegative(im)}});
        ResultOrderC::arrange(pieces.back());
        return fold(pieces.back(), 2);
    }
    const GiNaC::numeric b = value.imag();
    std::vector<Task> parts;
    if (!b.is_rational()) {
        parts.push_back(Task::of(Task::KindE::Float, b));
        parts.push_back(Task::of(Task::KindE::Unit, GiNaC::ex()));
        return Task::structure(OperationE::Times, std::move(parts));
    }
    const GiNaC::numeric p = b.numer();
    Task top = Task::of(Task::KindE::Unit, GiNaC::ex());
    if (!GiNaC::abs(p).is_equal(1)) {
        parts.push_back(Task::of(Task::KindE::Integer, p));
        parts.push_back(std::move(top));
        top = Task::structure(OperationE::Times, std::move(parts));
    } else if (p.is_negative()) {
        parts.push_back(std::move(top));
        top = Task::structure(OperationE::Neg, std::move(parts));
    }
    if (b.denom().is_equal(1)) {
        return top;
    }
    std::vector<Task> quotient;
    quotient.push_back(std::move(top));
    quotient.push_back(Task::of(Task::KindE::Integer, b.denom()));
    return Task::structure(OperationE::Divide, std::move(quotient));
}

ResultWriterC::Task ResultWriterC::fold(const std::vector<TermS>& terms, std::size_t count) {
    Task task = Task::of(Task::KindE::Fold, GiNaC::ex());
    task.terms = &terms;
    task.index = count;
    return task;
}

ResultWriterC::Task ResultWriterC::term(const TermS& term) {
    if (GiNaC::is_exactly_a<GiNaC::mul>(term.term)) {
        return product(term.term, term.negative);
    }
    if (GiNaC::is_exactly_a<GiNaC::numeric>(term.term)) {
        const GiNaC::numeric& value = GiNaC::ex_to<GiNaC::numeric>(term.term);
        return number(term.negative ? -value : value);
    }
    return Task::of(Task::KindE::Expr, term.term);
}

void ResultWriterC::step(Task& task) {
    ParentNodeABC* const parent = task.parent;
    const GiNaC::ex& e = task.e;
    switch (task.kind) {
        case Task::KindE::Structure:
            structure(parent, task.operation, std::move(task.children));
            return;
        case Task::KindE::Integer: {
            std::unique_ptr<IntegerValueABC> value(integerValue(GiNaC::ex_to<GiNaC::numeric>(e)));
            auto* node = made(new (std::nothrow) IntegerNodeC(value.get()));
            value.release();
            attach(parent, node);
            return;
        }
        case Task::KindE::Float: {
            std::unique_ptr<FloatValueABC> value(floatValue(GiNaC::ex_to<GiNaC::numeric>(e), context.digits));
            auto* node = made(new (std::nothrow) FloatNodeC(value.get()));
            value.release();
            attach(parent, node);
            return;
        }
        case Task::KindE::Unit:
            attach(parent, constant(OperationE::I));
            return;
        case Task::KindE::Number: {
            Task written = number(GiNaC::ex_to<GiNaC::numeric>(e));
            written.parent = parent;
            step(written);  // never a Number again: one level
            return;
        }
        case Task::KindE::Factor: {
            std::vector<Task> parts;
            if (task.x.is_equal(1)) {
                Task base = Task::of(Task::KindE::Expr, e);
                base.parent = parent;
                stack.push_back(std::move(base));
                return;
            }
            parts.push_back(Task::of(Task::KindE::Expr, e));
            if (task.x.is_equal(GiNaC::numeric(1, 2))) {
                structure(parent, OperationE::Sqrt, std::move(parts));
                return;
            }
            parts.push_back(Task::of(Task::KindE::Expr, task.x));
            structure(parent, OperationE::Power, std::move(parts));
            return;
        }
        case Task::KindE::Term: {
            Task written = term((*task.terms)[task.index]);
            written.parent = parent;
            stack.push_back(std::move(written));
            return;
        }
        case Task::KindE::Fold: {
            const std::vector<TermS>& terms = *task.terms;
            const std::size_t k = task.index;
            auto termTask = [&terms](std::size_t i) {
                Task t = Task::of(Task::KindE::Term, GiNaC::ex());
                t.terms = &terms;
                t.index = i;
                return t;
            };
            std::vector<Task> parts;
            if (k == 1) {
                if (!terms[0].negative) {
                    Task only = termTask(0);
                    only.parent = parent;
                    stack.push_back(std::move(only));
                    return;
                }
                parts.push_back(termTask(0));
                structure(parent, OperationE::Neg, std::move(parts));
                return;
            }
            if (terms[k - 1].negative) {
                parts.push_back(fold(terms, k - 1));
                parts.push_back(termTask(k - 1));
                structure(parent, OperationE::Minus, std::move(parts));
                return;
            }
            std::size_t first = k - 1;
            while (first > 1 && !terms[first - 1].negative) {
                --first;
            }
            parts.push_back(fold(terms, first));
            for (std::size_t i = first; i < k; ++i) {
                parts.push_back(termTask(i));
            }
            structure(parent, OperationE::Plus, std::move(parts));
            return;
        }
        case Task::KindE::Pdiff: {
            std::vector<unsigned> parameters;
            for (unsigned parameter : GiNaC::ex_to<GiNaC::fderivative>(e).derivatives()) {
                parameters.push_back(parameter);
            }
            std::vector<Task> parts;
            if (task.index == 0) {
                parts.push_back(Task::of(Task::KindE::Call, e));
            } else {
                Task inner = Task::of(Task::KindE::Pdiff, e);
                inner.index = task.index - 1;
                parts.push_back(std::move(inner));
            }
            parts.push_back(Task::of(Task::KindE::Integer, GiNaC::numeric(static_cast<long>(parameters[task.index]) + 1)));
            structure(parent, OperationE::Pdiff, std::move(parts));
            return;
        }
        case Task::KindE::Call: {
            ParentNodeABC* node = functionOfSerial(GiNaC::ex_to<GiNaC::function>(e).get_serial());
            attach(parent, node);
            std::vector<Task> arguments;
            for (std::size_t i = 0; i < e.nops(); ++i) {
                arguments.push_back(Task::of(Task::KindE::Expr, e.op(i)));
            }
            push(arguments, node);
            return;
        }
        case Task::KindE::Expr:
            break;
    }
    // Task::KindE::Expr
    Task next = Task::of(Task::KindE::Expr, GiNaC::ex());
    if (GiNaC::is_exactly_a<GiNaC::numeric>(e)) {
        next = number(GiNaC::ex_to<GiNaC::numeric>(e));
    } else if (const auto* symbol = dynamic_cast<const OrderedSymbolC*>(&GiNaC::ex_to<GiNaC::basic>(e))) {
        attach(parent, made(new (std::nothrow) ExtendedSymbolNodeC(context.symbols.at(symbol->rank()))));
        return;
    } else if (GiNaC::is_a<GiNaC::symbol>(e)) {
        attach(parent, named(utf16(GiNaC::ex_to<GiNaC::symbol>(e).get_name())));
        return;
    } else if (GiNaC::is_exactly_a<GiNaC::constant>(e)) {
        attach(parent, e.is_equal(GiNaC::Pi) ? constant(OperationE::Pi)
                                             : named(constantName(e)));
        return;
    } else if (isE(e)) {
        attach(parent, constant(OperationE::E));
        return;
    } else if (GiNaC::is_exactly_a<GiNaC::fderivative>(e)) {
        next = Task::of(Task::KindE::Pdiff, e);
        next.index = GiNaC::ex_to<GiNaC::fderivative>(e).derivatives().size() - 1;
    } else if (GiNaC::is_a<GiNaC::function>(e)) {
        next = Task::of(Task::KindE::Call, e);
    } else if (GiNaC::is_exactly_a<GiNaC::power>(e)) {
        const GiNaC::ex exponent = e.op(1);
        if (GiNaC::is_exactly_a<GiNaC::numeric>(exponent) && isRealNumber(GiNaC::ex_to<GiNaC::numeric>(exponent)) &&
            ResultOrderC::isNegative(GiNaC::ex_to<GiNaC::numeric>(exponent))) {
            std::vector<Task> parts;
            parts.push_back(Task::of(Task::KindE::Integer, GiNaC::numeric(1)));
            parts.push_back(Task::of(Task::KindE::Factor, e.op(0), -exponent));
            next = Task::structure(OperationE::Divide, std::move(parts));
        } else {
            next = Task::of(Task::KindE::Factor, e.op(0), exponent);
        }
    } else if (GiNaC::is_exactly_a<GiNaC::mul>(e)) {
        next = product(e, false);
    } else if (GiNaC::is_exactly_a<GiNaC::add>(e)) {
        const SumLayoutS& layout = order.sum(e);
        next = fold(layout.shown, layout.shown.size());
    } else {
        throw RefusalC(u"the result holds a GiNaC " + utf16(GiNaC::ex_to<GiNaC::basic>(e).class_name()) +
                       u", which cannot be written as an expression");
    }
    next.parent = parent;
    stack.push_back(std::move(next));
}

}  // namespace qorv::math::algexpr::ginac::detail
