// SPDX-License-Identifier: MIT
#include "GinacConverterC.h"

#include <string>

#include "FunctionTableC.h"
#include "GinacFunctions.h"
#include "Numbers.h"
#include "OrderedSymbolC.h"
#include "SupportNames.h"
#include "Vocabulary.h"

namespace qorv::math::algexpr::ginac::detail {

using support::IdT;
using support::ResultGraphC;

GinacConverterC::GinacConverterC(const ContextS& context) : context(context) {}

IdT GinacConverterC::convert(const GiNaC::ex& result, ResultGraphC& target) {
    graph = &target;
    function_indices.clear();
    for (const qorv::oss::PointerTC<SymbolC>& symbol : context.symbols) {
        target.addSymbol(symbol);  // graph symbol index = rank
    }
    return walker.run(
        result, [](const GiNaC::ex& e) { return !GiNaC::is_exactly_a<GiNaC::numeric>(e); },
        [this](const GiNaC::ex& e, const IdT* parts, std::size_t count) { return part(e, parts, count); });
}

IdT GinacConverterC::part(const GiNaC::ex& e, const IdT* parts, std::size_t count) {
    if (GiNaC::is_exactly_a<GiNaC::numeric>(e)) {
        return graph->number(numberOf(GiNaC::ex_to<GiNaC::numeric>(e), context.digits, context.max_digits));
    }
    if (GiNaC::is_exactly_a<GiNaC::add>(e)) {
        return graph->sum(parts, count);
    }
    if (GiNaC::is_exactly_a<GiNaC::mul>(e)) {
        return product(parts, count);
    }
    if (GiNaC::is_exactly_a<GiNaC::power>(e)) {
        return graph->power(parts[0], parts[1]);
    }
    if (const auto* symbol = dynamic_cast<const OrderedSymbolC*>(&GiNaC::ex_to<GiNaC::basic>(e))) {
        return graph->symbol(symbol->rank());
    }
    if (GiNaC::is_a<GiNaC::function>(e)) {
        return function(e, parts, count);
    }
    if (GiNaC::is_exactly_a<GiNaC::constant>(e) && e.is_equal(GiNaC::Pi)) {
        return graph->constant(ResultGraphC::ConstantE::Pi);
    }
    std::u16string what = utf16(GiNaC::ex_to<GiNaC::basic>(e).class_name());
    if (GiNaC::is_exactly_a<GiNaC::constant>(e)) {
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
    if (!GiNaC::is_exactly_a<GiNaC::fderivative>(e)) {
        return graph->function(index, parts, count);
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

IdT GinacConverterC::functionIndex(unsigned serial) {
    const auto known = function_indices.find(serial);
    if (known != function_indices.end()) {
        return known->second;
    }
    ResultGraphC::FunctionS function;
    const OperationE operation = operationOfSerial(serial);
    if (operation != OperationE::None) {
        function.name = nameOf(operation);
        function.code = context.codes[static_cast<std::size_t>(operation)];
    } else if (const std::u16string* name = FunctionTableC::instance().registeredName(serial)) {
        function.name = *name;
        function.unknown = true;
        const auto symbol = context.functions.find(serial);
        if (symbol != context.functions.end()) {
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
