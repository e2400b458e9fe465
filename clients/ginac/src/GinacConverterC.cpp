// SPDX-License-Identifier: MIT
#include "GinacConverterC.h"

#include <string>
#include <typeinfo>
#include <vector>

#include "EngineVocabulary.h"
#include "FunctionTableC.h"
#include "GinacFunctions.h"
#include "Numbers.h"
#include "KeptRootsC.h"
#include "OrderedSymbolC.h"
#include "PairsC.h"
#include "SupportNames.h"

namespace qorv::math::algexpr::ginac::detail {

using support::IdT;
using support::ResultGraphC;

GinacConverterC::GinacConverterC(const ContextS& context) : context(&context) {}

void GinacConverterC::reset(const ContextS& given) { context = &given; }

namespace {

using ClassE = GinacClassE;

ClassE classOf(const GiNaC::ex& e) {
    const GiNaC::registered_class_info* info = &GiNaC::ex_to<GiNaC::basic>(e).get_class_info();
    if (info == &GiNaC::numeric::get_class_info_static()) {
        return ClassE::Numeric;
    }
    if (info == &GiNaC::add::get_class_info_static()) {
        return ClassE::Add;
    }
    if (info == &GiNaC::mul::get_class_info_static()) {
        return ClassE::Mul;
    }
    if (info == &GiNaC::power::get_class_info_static()) {
        return ClassE::Power;
    }
    if (info == &GiNaC::function::get_class_info_static() || info == &GiNaC::fderivative::get_class_info_static()) {
        return ClassE::Function;
    }
    return ClassE::Other;
}

bool isSequence(ClassE c) { return c == ClassE::Add || c == ClassE::Mul; }

// Whether a sum's or product's overall coefficient is its neutral number.
bool neutral(const GiNaC::ex& e, ClassE c) {
    const GiNaC::ex& overall = PairsC::overall(e);
    return c == ClassE::Add ? overall.is_zero() : overall.is_equal(1);
}

}  // namespace

IdT GinacConverterC::convert(const GiNaC::ex& result, ResultGraphC& target) {
    graph = &target;
    function_indices.clear();
    for (const qorv::oss::PointerTC<SymbolC>& symbol : context->symbols) {
        target.addSymbol(symbol);  // graph symbol index = rank
    }
    // Each kept root before what holds it: a root's base holds only those
    // made before it.
    kept_root_ids.clear();
    for (const GiNaC::ex& root : context->kept_roots) {
        kept_root_ids.push_back(convertMore(root));
    }
    return convertMore(result);
}

IdT GinacConverterC::convertMore(const GiNaC::ex& result) {
    const auto count = [](const GiNaC::ex& e) -> std::size_t {
        const ClassE c = classOf(e);
        if (c == ClassE::Numeric) {
            return 0;
        }
        return isSequence(c) ? PairsC::pairs(e).size() + (neutral(e, c) ? 0 : 1) : e.nops();
    };
    const auto operand = [](const GiNaC::ex& e, std::size_t i) -> GiNaC::ex {
        if (!isSequence(classOf(e))) {
            return e.op(i);
        }
        const GiNaC::epvector& pairs = PairsC::pairs(e);
        return i < pairs.size() ? pairs[i].rest : PairsC::overall(e);
    };
    // A part that cannot be written refuses the result. The walk meets parts
    // in GiNaC's order, which changes from process to process: it goes on
    // past such a part, and the first reason in text order is given.
    std::u16string refused;
    const IdT root = walker.runOver(result, count, operand, [this, &refused](const GiNaC::ex& e, const IdT* parts, std::size_t n) {
        const ClassE c = classOf(e);
        try {
            return isSequence(c) ? sequence(e, c == ClassE::Add, parts, n) : part(e, c, parts, n);
        } catch (const RefusalC& refusal) {
            if (refused.empty() || refusal.reason() < refused) {
                refused = refusal.reason();
            }
            return graph->constant(ResultGraphC::ConstantE::Pi);  // a stand-in until the walk ends
        }
    });
    if (!refused.empty()) {
        throw RefusalC(refused);
    }
    return root;
}

// A sum or product from the converted rests of its pairs (and its overall
// coefficient, the last part when there is one).
IdT GinacConverterC::sequence(const GiNaC::ex& e, bool sum, const IdT* parts, std::size_t count) {
    const GiNaC::epvector& pairs = PairsC::pairs(e);
    terms.clear();
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const GiNaC::ex& coefficient = pairs[i].coeff;
        if (coefficient.is_equal(1)) {
            terms.push_back(parts[i]);
        } else if (!sum) {
            terms.push_back(graph->power(parts[i], numberNode(GiNaC::ex_to<GiNaC::numeric>(coefficient))));
        } else {
            terms.push_back(scaled(pairs[i].rest, parts[i], GiNaC::ex_to<GiNaC::numeric>(coefficient)));
        }
    }
    if (count > pairs.size()) {
        terms.push_back(parts[pairs.size()]);
    }
    return sum ? graph->sum(terms.data(), terms.size()) : product(terms.data(), terms.size());
}

// coefficient * rest for a term of a sum: a product with that coefficient
// (a product's own coefficient multiplied in).
IdT GinacConverterC::scaled(const GiNaC::ex& rest, IdT converted, const GiNaC::numeric& coefficient) {
    if (graph->kind(converted) != ResultGraphC::KindE::Product) {
        return graph->product(numberNode(coefficient), &converted, 1);
    }
    GiNaC::numeric total = coefficient;
    if (isExactly<GiNaC::mul>(rest)) {
        total = total * GiNaC::ex_to<GiNaC::numeric>(PairsC::overall(rest));
    }
    const ResultGraphC::NodeS node = graph->node(converted);
    factors.assign(graph->children(converted), graph->children(converted) + node.count);
    return graph->product(total.is_equal(1) ? support::kNoId : numberNode(total), factors.data(), factors.size());
}

IdT GinacConverterC::numberNode(const GiNaC::numeric& n) {
    return graph->number(numberOf(n, context->digits, context->max_digits));
}

IdT GinacConverterC::part(const GiNaC::ex& e, ClassE c, const IdT* parts, std::size_t count) {
    switch (c) {
        case ClassE::Numeric:
            return numberNode(GiNaC::ex_to<GiNaC::numeric>(e));
        case ClassE::Power:
            return graph->power(parts[0], parts[1]);
        case ClassE::Function:
            return function(e, parts, count);
        default:
            break;
    }
    const GiNaC::basic& object = GiNaC::ex_to<GiNaC::basic>(e);
    if (isExactly<GiNaC::lst>(e)) {
        return graph->function(wordIndex(OperationE::List), parts, count);
    }
    if (isExactly<GiNaC::relational>(e) && GiNaC::ex_to<GiNaC::relational>(e).info(GiNaC::info_flags::relation_equal)) {
        return graph->function(wordIndex(OperationE::Equal), parts, count);
    }
    if (typeid(object) == typeid(OrderedSymbolC)) {
        std::size_t kept = 0;
        return KeptRootsC::standsIn(e, kept) ? kept_root_ids.at(kept)
                                             : graph->symbol(static_cast<const OrderedSymbolC&>(object).rank());
    }
    if (isExactly<GiNaC::constant>(e) && e.is_equal(GiNaC::Pi)) {
        return graph->constant(ResultGraphC::ConstantE::Pi);
    }
    std::u16string what = utf16(GiNaC::ex_to<GiNaC::basic>(e).class_name());
    if (isExactly<GiNaC::constant>(e)) {
        what = u"constant " + constantName(e);
    }
    throw RefusalC(u"the result holds GiNaC's " + what + u", which has no name here");
}

// GiNaC keeps a product's number as one operand among its factors.
IdT GinacConverterC::product(const IdT* parts, std::size_t count) {
    IdT coefficient = support::kNoId;
    factors.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (graph->kind(parts[i]) != ResultGraphC::KindE::Number) {
            factors.push_back(parts[i]);
        } else if (coefficient == support::kNoId) {
            coefficient = parts[i];
        } else {
            throw RefusalC(u"the result holds a product of two numbers");
        }
    }
    return graph->product(coefficient, factors.data(), factors.size());
}

IdT GinacConverterC::function(const GiNaC::ex& e, const IdT* parts, std::size_t count) {
    const unsigned serial = GiNaC::ex_to<GiNaC::function>(e).get_serial();
    const OperationE operation = operationOfSerial(serial);
    if (operation == OperationE::Exp && e.op(0).is_equal(1)) {
        return graph->constant(ResultGraphC::ConstantE::E);
    }
    if (operation == OperationE::Order) {
        return graph->order(parts[0]);
    }
    const IdT index = functionIndex(serial);
    if (!isExactly<GiNaC::fderivative>(e) && (operation == OperationE::Min || operation == OperationE::Max)) {
        // GiNaC's min and max take two arguments: min(min(a,b),c) is min(a,b,c).
        std::vector<IdT> flat;
        for (std::size_t i = 0; i < count; ++i) {
            const bool same = graph->kind(parts[i]) == ResultGraphC::KindE::Function && graph->node(parts[i]).data == index;
            const IdT* inner = same ? graph->children(parts[i]) : &parts[i];
            flat.insert(flat.end(), inner, inner + (same ? graph->node(parts[i]).count : 1));
        }
        return graph->function(index, flat.data(), flat.size());
    }
    if (!isExactly<GiNaC::fderivative>(e)) {
        return graph->function(index, parts, count);
    }
    if (operation == OperationE::Floor || operation == OperationE::Ceil || operation == OperationE::Sign ||
        operation == OperationE::Min || operation == OperationE::Max) {
        throw RefusalC(u"the result holds a derivative of " + functionName(serial) +
                       u", which is not a function where it jumps");
    }
    if (!graph->functions()[index].unknown) {
        throw RefusalC(u"the result holds a derivative of " + functionName(serial) +
                       u", which has no meaning for complex arguments");
    }
    ResultGraphC::DerivativeS derivative{index, {}};
    for (unsigned position : GiNaC::ex_to<GiNaC::fderivative>(e).derivatives()) {
        derivative.positions.push_back(position);
    }
    return graph->derivative(graph->addDerivative(std::move(derivative)), parts, count);
}

// The graph function of a vocabulary word GiNaC holds as an object of its
// own (a lst, a relational), once per graph.
IdT GinacConverterC::wordIndex(OperationE operation) {
    const unsigned key = ~0u - static_cast<unsigned>(operation);  // beyond any serial
    const auto known = function_indices.find(key);
    if (known != function_indices.end()) {
        return known->second;
    }
    ResultGraphC::FunctionS function;
    function.name = Words::nameOf(operation);
    function.code = context->codes[static_cast<std::size_t>(operation)];
    const IdT index = graph->addFunction(std::move(function));
    function_indices.emplace(key, index);
    return index;
}

IdT GinacConverterC::functionIndex(unsigned serial) {
    const auto known = function_indices.find(serial);
    if (known != function_indices.end()) {
        return known->second;
    }
    ResultGraphC::FunctionS function;
    const OperationE operation = operationOfSerial(serial);
    if (operation != OperationE::None) {
        function.name = Words::nameOf(operation);
        function.code = context->codes[static_cast<std::size_t>(operation)];
    } else if (const std::u16string* name = FunctionTableC::instance().registeredName(serial)) {
        function.name = *name;
        function.unknown = true;
        const auto symbol = context->functions.find(serial);
        if (symbol != context->functions.end()) {
            function.symbol = symbol->second;
        }
    } else {
        throw RefusalC(u"the result holds GiNaC's function " + functionName(serial) + u", which has no name here");
    }
    const IdT index = graph->addFunction(std::move(function));
    function_indices.emplace(serial, index);
    return index;
}

}  // namespace qorv::math::algexpr::ginac::detail
