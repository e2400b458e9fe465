// SPDX-License-Identifier: MIT
#include "GenBuilderC.h"

#include <cstdint>
#include <iterator>
#include <utility>

#include "Operations.h"
#include "Refusal.h"
#include "TreeCheckC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/NodeCast.h"
#include "algexpr/SymbolC.h"
#include "algexpr/TreeWalk.h"
#include "algexpr/Utf8C.h"
#include "algexpr/giac/IntegerValueC.h"

namespace qorv::math::algexpr::giac::detail {

using ::giac::gen;

namespace {

// A Giac integer from decimal digits, through GMP for large ones.
gen integerOf(bool negative, const std::string& digits) {
    if (digits.size() <= 18) {
        const long long magnitude = std::stoll(digits);
        return gen(static_cast<long long>(negative ? -magnitude : magnitude));
    }
    mpz_t z;
    mpz_init(z);
    mpz_set_str(z, digits.c_str(), 10);
    if (negative) {
        mpz_neg(z, z);
    }
    try {
        gen value(z);
        mpz_clear(z);
        return value;
    } catch (...) {
        mpz_clear(z);
        throw;
    }
}

}  // namespace

GenBuilderC::GenBuilderC(const std::vector<OperationE>& operations, const TreeCheckC& check, std::size_t integer_digits,
                         ::giac::context* context)
    : operations(operations), integer_digits(integer_digits), context(context) {
    std::size_t k = 0;
    for (const std::u16string& name : check.symbols()) {
        const std::string id = "algexpr_s" + std::to_string(k++);
        symbols.emplace(name, gen(::giac::identificateur(id)));
        our_names.emplace(id, name);
    }
    k = 0;
    for (const std::u16string& name : check.functions()) {
        const std::string id = "algexpr_f" + std::to_string(k++);
        functions.emplace(name, gen(::giac::identificateur(id)));
        our_names.emplace(id, name);
    }
}

GenBuilderC::~GenBuilderC() = default;

gen GenBuilderC::build(NodeABC& root) {
    walk(root);
    return values.back();
}

std::vector<gen> GenBuilderC::buildArguments(NodeABC& root, OperationE& operation) {
    held_root = &root;
    held = nullptr;
    walk(root);
    held_root = nullptr;
    if (held == nullptr) {
        operation = OperationE::None;
        return {};
    }
    operation = operationOf(held->getCode());
    return values;  // the root's arguments are all that is left
}

gen GenBuilderC::finish() {
    if (held != nullptr) {
        CoreFunctionNodeC& root = *held;
        held = nullptr;
        applyCore(root);
    }
    return values.back();
}

// Bottom-up: each node's value from those of its arguments, in post-order.
void GenBuilderC::walk(NodeABC& root) {
    for (NodeABC* node : postOrder(&root)) {
        if (auto* core = dynCast<CoreFunctionNodeC>(node)) {
            if (node == held_root) {
                held = core;
            } else {
                applyCore(*core);
            }
        } else if (auto* function = dynCast<ExtendedFunctionNodeC>(node)) {
            applyFunction(*function);
        } else if (const auto* constant = dynCast<CoreSymbolNodeC>(node)) {
            pushConstant(*constant);
        } else if (const auto* symbol = dynCast<ExtendedSymbolNodeC>(node)) {
            pushSymbol(*symbol);
        } else if (const auto* number = dynCast<FloatNodeC>(node)) {
            pushFloat(*number);
        } else if (const auto* integer = dynCast<IntegerNodeC>(node)) {
            pushInteger(*integer);
        }
    }
}

OperationE GenBuilderC::operationOf(int code) const {
    return code >= 0 && static_cast<std::size_t>(code) < operations.size() ? operations[static_cast<std::size_t>(code)]
                                                                            : OperationE::None;
}

// Takes the values of the node's arguments off the stack.
std::vector<gen> GenBuilderC::arguments(const ParentNodeABC& node) {
    std::size_t count = 0;
    for (unsigned int i = 0, n = node.numChildren(); i < n; ++i) {
        count += node.child(i) != nullptr ? 1 : 0;
    }
    std::vector<gen> taken(std::make_move_iterator(values.end() - static_cast<std::ptrdiff_t>(count)),
                           std::make_move_iterator(values.end()));
    values.resize(values.size() - count);
    return taken;
}

// An unknown function applied: Giac's of(f, arguments).
void GenBuilderC::call(const std::u16string& name, std::vector<gen> arguments) {
    if (arguments.empty()) {
        throw RefusalC(name + u": an unknown function needs arguments");
    }
    const gen& function = functions.at(name);
    const gen inner = arguments.size() == 1 ? arguments[0]
                                            : vectorOf(arguments, ::giac::_SEQ__VECT);
    values.push_back(::giac::symbolic(::giac::at_of, ::giac::makesequence(function, inner)));
}

void GenBuilderC::applyCore(CoreFunctionNodeC& node) {
    std::vector<gen> operands = arguments(node);
    const OperationE operation = operationOf(node.getCode());
    if (operation == OperationE::None) {
        call(node.toString(), std::move(operands));
        return;
    }
    if (Words::support(operation, kColumn) == support::SupportE::Refuses) {
        throw RefusalC(support::notOffered(Words::nameOf(operation)));
    }
    if (Words::isConstant(operation)) {
        throw RefusalC(std::u16string(Words::nameOf(operation)) + u": a constant, used as a function");
    }
    if (!Words::acceptsArity(operation, operands.size())) {
        throw RefusalC(std::u16string(Words::nameOf(operation)) + u" takes " + Words::arityText(operation));
    }
    values.push_back(apply(operation, operands, integer_digits, context));
}

void GenBuilderC::applyFunction(ExtendedFunctionNodeC& node) {
    std::vector<gen> operands = arguments(node);
    if (!node.getSymbol()) {
        throw RefusalC(u"a function without a name");
    }
    call(node.getSymbol()->getName(), std::move(operands));
}

void GenBuilderC::pushConstant(const CoreSymbolNodeC& node) {
    switch (operationOf(node.getCode())) {
        case OperationE::Pi:
            values.push_back(::giac::cst_pi);
            return;
        case OperationE::E:
            values.push_back(::giac::exp(gen(1), context));
            return;
        case OperationE::I:
            values.push_back(::giac::cst_i);
            return;
        case OperationE::Infinity:
            values.push_back(::giac::plus_inf);
            return;
        case OperationE::None:
            throw RefusalC(node.toString() + u": a core name the engine does not know");
        default:
            throw RefusalC(node.toString() + u": a function, used as a value");
    }
}

void GenBuilderC::pushSymbol(const ExtendedSymbolNodeC& node) {
    if (!node.getSymbol()) {
        throw RefusalC(u"a symbol without a name");
    }
    values.push_back(symbols.at(node.getSymbol()->getName()));
}

void GenBuilderC::pushFloat(const FloatNodeC& node) {
    if (node.getValue() == nullptr || !node.getValue()->isFinite()) {
        throw RefusalC(u"a float without a finite value");
    }
    // Giac's own doubles lose their last bits: an MPFR float keeps all 53.
    values.push_back(gen(::giac::real_object(node.getValue()->getValue())));
}

void GenBuilderC::pushInteger(const IntegerNodeC& node) {
    const IntegerValueABC* value = node.getValue();
    if (value == nullptr) {
        throw RefusalC(u"an integer without a value");
    }
    if (const auto* ours = dynamic_cast<const IntegerValueC*>(value)) {
        values.push_back(integerOf(ours->isNegative(), ours->digits()));
    } else {
        values.push_back(gen(static_cast<long long>(value->getValue())));
    }
}

}  // namespace qorv::math::algexpr::giac::detail
