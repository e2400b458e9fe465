// SPDX-License-Identifier: MIT
#include "GinacBuilderC.h"

#include <iterator>
#include <utility>

#include "Estimates.h"
#include "FunctionTableC.h"
#include "Numbers.h"
#include "OpaquePowers.h"
#include "SupportNames.h"
#include "TreeCheckC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::ginac::detail {

using qorv::oss::PointerTC;

namespace {

std::u16string name(OperationE operation) { return nameOf(operation); }

RefusalC misuse(OperationE operation, const char16_t* what) { return RefusalC(name(operation) + u": " + what); }

// A whole number from `low` to `limit`, for orders and positions.
std::size_t wholeNumber(OperationE operation, const GiNaC::ex& e, std::size_t low, std::size_t limit, const char16_t* what) {
    if (GiNaC::is_exactly_a<GiNaC::numeric>(e)) {
        const auto& n = GiNaC::ex_to<GiNaC::numeric>(e);
        if (n.is_integer() && n >= static_cast<long>(low) && n <= static_cast<long>(limit)) {
            return static_cast<std::size_t>(n.to_long());
        }
    }
    throw RefusalC(name(operation) + u": " + what + u" must be a whole number from " + count(low) + u" to " +
                   count(limit));
}

const GiNaC::symbol& variable(OperationE operation, const GiNaC::ex& e) {
    if (!GiNaC::is_a<GiNaC::symbol>(e)) {
        throw misuse(operation, u"the variable must be a symbol");
    }
    return GiNaC::ex_to<GiNaC::symbol>(e);
}

GiNaC::ex unary(OperationE operation, const GiNaC::ex& a) {
    switch (operation) {
        case OperationE::Neg:
            return -a;
        case OperationE::Sin:
            checkPeriodicArgument(u"sin", a);
            return GiNaC::sin(a);
        case OperationE::Cos:
            checkPeriodicArgument(u"cos", a);
            return GiNaC::cos(a);
        case OperationE::Tan:
            checkPeriodicArgument(u"tan", a);
            return GiNaC::tan(a);
        case OperationE::Exp:
            return GiNaC::exp(a);
        case OperationE::Log:
            return GiNaC::log(a);
        case OperationE::Sqrt:
            return GiNaC::sqrt(a);
        case OperationE::Abs:
            return GiNaC::abs(a);
        case OperationE::Asin:
            return GiNaC::asin(a);
        case OperationE::Acos:
            return GiNaC::acos(a);
        case OperationE::Atan:
            return GiNaC::atan(a);
        case OperationE::Sinh:
            return GiNaC::sinh(a);
        case OperationE::Cosh:
            return GiNaC::cosh(a);
        case OperationE::Tanh:
            return GiNaC::tanh(a);
        case OperationE::Order:
            return GiNaC::Order(a);
        case OperationE::Conjugate:
            return GiNaC::conjugate_function(a);
        case OperationE::RealPart:
            return GiNaC::real_part_function(a);
        case OperationE::ImagPart:
            return GiNaC::imag_part_function(a);
        case OperationE::Csgn:
            return GiNaC::csgn(a);
        case OperationE::Step:
            return GiNaC::step(a);
        case OperationE::Expand:
            checkExpansion(a, u"expand", false);
            return a.expand();
        case OperationE::Simplify:
            checkExpansion(a, u"simplify", false);
            return normalForm(a);
        case OperationE::Factor:
            checkExpansion(a, u"factor", true);
            return factorForm(a);
        default:
            throw misuse(operation, u"not a function of one argument");
    }
}

}  // namespace

GinacBuilderC::GinacBuilderC(const std::vector<OperationE>& operations, const TreeCheckC& check,
                             const std::vector<GiNaC::ex>& symbols, unsigned long working_digits)
    : NodeVisitorABC(PostOrder), operations(operations), check(check), working_digits(working_digits) {
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        symbol_map.emplace(check.symbols()[i], &symbols[i]);
    }
}

GinacBuilderC::~GinacBuilderC() = default;

GiNaC::ex GinacBuilderC::build(NodeABC& root) {
    root.traverse(*this);
    return values.back();
}

OperationE GinacBuilderC::operationOf(int code) const {
    return code >= 0 && static_cast<std::size_t>(code) < operations.size() ? operations[static_cast<std::size_t>(code)]
                                                                            : OperationE::None;
}

// Takes the finished arguments of `node` off `produced`: how many there are
// and how many values they left.
std::pair<std::size_t, std::size_t> GinacBuilderC::arguments(const ParentNodeABC& node) {
    std::size_t count = 0;
    for (unsigned int i = 0, n = node.numChildren(); i < n; ++i) {
        count += node.child(i) != nullptr ? 1 : 0;
    }
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        total += produced.back();
        produced.pop_back();
    }
    return {count, total};
}

void GinacBuilderC::leaf(GiNaC::ex value) {
    values.push_back(std::move(value));
    produced.push_back(1);
    ++position;
}

GiNaC::ex GinacBuilderC::apply(OperationE operation, std::vector<GiNaC::ex>& arguments) const {
    switch (operation) {
        case OperationE::Plus:
        case OperationE::Minus:  // a binary minus's second argument is negated already
            if (operation == OperationE::Minus && arguments.size() == 1) {
                return -arguments[0];
            }
            return GiNaC::dynallocate<GiNaC::add>(arguments);
        case OperationE::Times:
            return GiNaC::dynallocate<GiNaC::mul>(arguments);
        case OperationE::Divide:
            return arguments[0] / arguments[1];
        case OperationE::Power:
            checkPower(arguments[0], arguments[1]);
            return GiNaC::pow(arguments[0], arguments[1]);
        case OperationE::Diff: {
            const GiNaC::symbol& x = variable(operation, arguments[1]);
            const std::size_t n = arguments.size() == 3
                                      ? wholeNumber(operation, arguments[2], 0, GinacEngineC::kMaxDiffOrder, u"the order")
                                      : 1;
            return arguments[0].diff(x, static_cast<unsigned>(n));
        }
        case OperationE::Series: {
            const GiNaC::symbol& x = variable(operation, arguments[1]);
            const std::size_t n = wholeNumber(operation, arguments[3], 1, GinacEngineC::kMaxSeriesOrder, u"the order");
            const GiNaC::ex series = arguments[0].series(x == arguments[2], static_cast<int>(n));
            return GiNaC::is_exactly_a<GiNaC::pseries>(series) ? GiNaC::ex_to<GiNaC::pseries>(series).convert_to_poly(false)
                                                               : series;
        }
        case OperationE::Pdiff: {
            const GiNaC::ex& g = arguments[0];
            if (!GiNaC::is_a<GiNaC::function>(g) ||
                FunctionTableC::instance().registeredName(GiNaC::ex_to<GiNaC::function>(g).get_serial()) == nullptr) {
                throw misuse(operation, u"the first argument must be an unknown function applied to arguments");
            }
            GiNaC::paramset parameters;
            if (GiNaC::is_exactly_a<GiNaC::fderivative>(g)) {
                parameters = GiNaC::ex_to<GiNaC::fderivative>(g).derivatives();
            }
            const std::size_t k = wholeNumber(operation, arguments[1], 1, g.nops(), u"the argument position");
            parameters.insert(static_cast<unsigned>(k - 1));
            GiNaC::exvector inner;
            inner.reserve(g.nops());
            for (std::size_t i = 0; i < g.nops(); ++i) {
                inner.push_back(g.op(i));
            }
            return GiNaC::dynallocate<GiNaC::fderivative>(GiNaC::ex_to<GiNaC::function>(g).get_serial(), parameters,
                                                          inner);
        }
        default:
            return unary(operation, arguments[0]);
    }
}

bool GinacBuilderC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE) {
    const auto [children, count] = arguments(node);
    const OperationE operation = operationOf(node.getCode());
    const bool merged = check.merged()[position++] != 0;
    if (operation == OperationE::Minus && children == 2) {
        values.back() = -values.back();
    }
    if (merged) {
        produced.push_back(count);
        return true;
    }
    std::vector<GiNaC::ex> operands(std::make_move_iterator(values.end() - static_cast<std::ptrdiff_t>(count)),
                                    std::make_move_iterator(values.end()));
    values.resize(values.size() - count);
    GiNaC::ex result;
    if (operation == OperationE::None) {
        // A core name the engine does not know: an unknown function of that name.
        result = GiNaC::function(serialFor(node.toString(), nullptr, operands.size()), std::move(operands));
    } else if (isConstant(operation)) {
        throw misuse(operation, u"a constant, used as a function");
    } else if (!acceptsArity(operation, children)) {
        throw RefusalC(name(operation) + u" takes " + utf16(arityText(operation)));
    } else {
        result = apply(operation, operands);
    }
    values.push_back(std::move(result));
    produced.push_back(1);
    return true;
}

bool GinacBuilderC::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE) {
    const std::size_t count = arguments(node).second;
    ++position;
    const PointerTC<SymbolC> symbol = node.getSymbol();
    if (!symbol) {
        throw RefusalC(u"a function without a name");
    }
    const unsigned serial = serialFor(symbol->getName(), symbol.get(), count);
    GiNaC::exvector operands(std::make_move_iterator(values.end() - static_cast<std::ptrdiff_t>(count)),
                              std::make_move_iterator(values.end()));
    values.resize(values.size() - count);
    values.push_back(GiNaC::function(serial, std::move(operands)));
    produced.push_back(1);
    return true;
}

// The serial of an unknown function, remembered for the evaluation by symbol.
unsigned GinacBuilderC::serialFor(const std::u16string& name, SymbolC* symbol, std::size_t arity) {
    const SerialKey key{symbol, arity};
    if (symbol != nullptr) {
        const auto found = serials.find(key);
        if (found != serials.end()) {
            return found->second;
        }
    }
    const unsigned serial = FunctionTableC::instance().serialFor(name, arity);
    if (symbol != nullptr) {
        serials.emplace(key, serial);
        function_symbols.emplace(serial, PointerTC<SymbolC>(symbol));
    }
    return serial;
}

bool GinacBuilderC::visitCoreSymbolNode(CoreSymbolNodeC& node) {
    switch (operationOf(node.getCode())) {
        case OperationE::Pi:
            leaf(GiNaC::Pi);
            return true;
        case OperationE::E:
            leaf(GiNaC::exp(GiNaC::ex(1)));
            return true;
        case OperationE::I:
            leaf(GiNaC::I);
            return true;
        case OperationE::None:
            throw RefusalC(node.toString() + u": a core name the engine does not know");
        default:
            throw RefusalC(node.toString() + u": a function, used as a value");
    }
}

bool GinacBuilderC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) {
    leaf(*symbol_map.at(node.getSymbol().get()));
    return true;
}

bool GinacBuilderC::visitFloatNode(FloatNodeC& node) {
    if (node.getValue() == nullptr) {
        throw RefusalC(u"a float without a value");
    }
    leaf(floatOf(*node.getValue(), working_digits));
    return true;
}

bool GinacBuilderC::visitIntegerNode(IntegerNodeC& node) {
    if (node.getValue() == nullptr) {
        throw RefusalC(u"an integer without a value");
    }
    leaf(integerOf(*node.getValue(), GinacEngineC::kMaxIntegerDigits));
    return true;
}

}  // namespace qorv::math::algexpr::ginac::detail
