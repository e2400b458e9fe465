// SPDX-License-Identifier: MIT
#include "GinacBuilderC.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>
#include <new>
#include <numeric>
#include <utility>

#include "Estimates.h"
#include "FloatEvaluation.h"
#include "FunctionTableC.h"
#include "Numbers.h"
#include "OperandsF.h"
#include "ComplexRules.h"
#include "Equations.h"
#include "GinacFunctions.h"
#include "GinacWalkerTC.h"
#include "NormalForms.h"
#include "NumberOperations.h"
#include "RealFunctions.h"
#include "SupportNames.h"
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

std::u16string name(OperationE operation) { return Words::nameOf(operation); }

RefusalC misuse(OperationE operation, const char16_t* what) { return RefusalC(name(operation) + u": " + what); }

// A whole number from `low` to `limit`, for orders and positions.
std::size_t wholeNumber(OperationE operation, const GiNaC::ex& e, std::size_t low, std::size_t limit, const char16_t* what) {
    if (isExactly<GiNaC::numeric>(e)) {
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

// What an order of a derivative costs, in result nodes, for each part of it.
constexpr double kOrderCost = 4.0;

// The parts of an expression counted as often as they occur: the nodes it
// would be written with.
double treeSize(const GiNaC::ex& e) {
    GinacWalkerTC<double> walker;
    return walker.run(
        e, [](const GiNaC::ex&) { return true; },
        [](const GiNaC::ex&, const double* parts, std::size_t count) {
            double size = 1.0;
            for (std::size_t i = 0; i < count; ++i) {
                size += parts[i];
            }
            return size;
        });
}

// GiNaC's normal form (simplify, and factor's first step) takes every part
// apart as often as it occurs, function arguments included, though parts
// are shared: what real_part makes of a tower of powers holds a few hundred
// distinct parts and millions of occurrences (simplify of it ran for
// minutes; found by the engine fuzzer). Each occurrence costs about as
// much as kNormalCost result parts (640,000 of them took a second).
constexpr double kNormalCost = 4.0;

void checkNormalSize(const GiNaC::ex& e, const char16_t* operation, const GinacLimitsS& limits) {
    const double size = treeSize(e);
    if (kNormalCost * size > static_cast<double>(limits.result_nodes)) {
        throw RefusalC(std::u16string(operation) + u": the expression has about " + approximately(size) +
                       u" parts counted as often as they occur; " + operation + u" is limited to " +
                       approximately(static_cast<double>(limits.result_nodes) / kNormalCost));
    }
}

// The parts of the first derivative of e by x, from above, counted as often
// as they occur: the product and chain rules repeat a function's whole call
// for each argument that holds x (h(x,x,h(x,x,...)) nested d deep gives 3^d
// terms).
double derivativeSize(const GiNaC::ex& e, const GiNaC::symbol& x) {
    struct Sizes {
        double size;
        double derivative;
    };
    GinacWalkerTC<Sizes> walker;
    const Sizes total = walker.run(
        e, [](const GiNaC::ex& part) { return !isExactly<GiNaC::numeric>(part); },
        [&x](const GiNaC::ex& part, const Sizes* parts, std::size_t count) {
            Sizes result{1.0, part.is_equal(x) ? 1.0 : 0.0};
            for (std::size_t i = 0; i < count; ++i) {
                result.size += parts[i].size;
            }
            const bool sum = isExactly<GiNaC::add>(part);
            for (std::size_t i = 0; i < count; ++i) {
                if (parts[i].derivative > 0.0) {
                    result.derivative += parts[i].derivative + (sum ? 0.0 : result.size);
                }
            }
            result.derivative = std::min(result.derivative, 1e300);
            return result;
        });
    return total.derivative;
}

// GiNaC puts the point into the expression exactly: around a point of many
// digits, a power with x in its exponent becomes a number of more digits
// than any limit (x^x around 10^29 has 10^30 digits), which GiNaC would try
// to compute.
void checkSeriesPoint(const GiNaC::ex& e, const GiNaC::symbol& x, const GiNaC::ex& point) {
    if (!isExactly<GiNaC::numeric>(point) || GiNaC::ex_to<GiNaC::numeric>(point).is_zero() ||
        log10Magnitude(GiNaC::abs(GiNaC::ex_to<GiNaC::numeric>(point))) < 6.0) {
        return;
    }
    GinacWalkerTC<unsigned char> walker;
    const bool power_of_x = walker.run(e, [](const GiNaC::ex&) { return true; },
                                       [&x](const GiNaC::ex& part, const unsigned char* parts, std::size_t count) {
                                           unsigned char found = isExactly<GiNaC::power>(part) &&
                                                                         part.op(1).has(x) ? 1 : 0;
                                           for (std::size_t i = 0; found == 0 && i < count; ++i) {
                                               found = parts[i];
                                           }
                                           return found;
                                       }) != 0;
    if (power_of_x) {
        throw RefusalC(u"series: around a point of more than six digits, a power with the variable in its exponent "
                       u"would be a number beyond every limit");
    }
}

// 1 for a series point at infinity, -1 at minus infinity, 0 for a finite
// one; `mark` stands for infinity.
int infinitePoint(const GiNaC::ex& point, const GiNaC::ex& mark) {
    if (point.is_equal(mark)) {
        return 1;
    }
    return (-point).is_equal(mark) ? -1 : 0;
}

// The common denominator q of the fractional exponents of the powers of the
// local variable u (x - a, or x itself at infinity) in e, and those powers:
// the series in powers of u^(1/q) is the series in t = u^(1/q). Powers of
// anything else but u are left to GiNaC (sqrt(1 + x) has a series in x).
long puiseuxDenominator(const GiNaC::ex& e, const GiNaC::symbol& x, const GiNaC::ex& u, std::size_t most,
                        std::vector<GiNaC::ex>& powers) {
    const long beyond = static_cast<long>(most) + 1;
    GinacWalkerTC<long> walker;
    return walker.run(e, [&x](const GiNaC::ex& part) { return part.has(x); },
                      [&u, &powers, beyond](const GiNaC::ex& part, const long* parts, std::size_t count) {
                          long q = 1;
                          for (std::size_t i = 0; i < count && q < beyond; ++i) {
                              q = std::min(std::lcm(q, parts[i]), beyond);
                          }
                          if (q < beyond && isExactly<GiNaC::power>(part) &&
                              isExactly<GiNaC::numeric>(part.op(1)) && (part.op(0) - u).is_zero()) {
                              const GiNaC::numeric& k = GiNaC::ex_to<GiNaC::numeric>(part.op(1));
                              if (k.is_rational() && !k.is_integer()) {
                                  q = k.denom() >= beyond ? beyond : std::min(std::lcm(q, k.denom().to_long()), beyond);
                                  powers.push_back(part);
                              }
                          }
                          return q;
                      });
}

// The exponent m of t in a term c*t^m of a sum (0 for any other term).
long degreeOfTerm(const GiNaC::ex& term, const GiNaC::symbol& t) {
    if (term.is_equal(t)) {
        return 1;
    }
    if (isExactly<GiNaC::power>(term) && term.op(0).is_equal(t) &&
        term.op(1).info(GiNaC::info_flags::integer)) {
        return GiNaC::ex_to<GiNaC::numeric>(term.op(1)).to_long();
    }
    if (isExactly<GiNaC::mul>(term)) {
        long m = 0;
        for (std::size_t i = 0; i < term.nops(); ++i) {
            m += degreeOfTerm(term.op(i), t);  // a factor is no mul: one level
        }
        return m;
    }
    return 0;
}

// The order k of the pole of a sum at t = 0 from its terms c*t^m (0 for none).
long poleOrder(const GiNaC::ex& e, const GiNaC::symbol& t) {
    if (!isExactly<GiNaC::add>(e)) {
        return std::max(0L, -degreeOfTerm(e, t));
    }
    long k = 0;
    for (std::size_t i = 0; i < e.nops(); ++i) {
        k = std::max(k, -degreeOfTerm(e.op(i), t));
    }
    return k;
}


// Whether a function of e (but log) has an argument with a pole at t = 0,
// or a power of e with t in its exponent a base that vanishes or has a pole
// there: exp(1/t) and t^t have no power series at 0, and GiNaC, finding
// out, loses memory.
bool essentialSingularity(const GiNaC::ex& e, const GiNaC::symbol& t) {
    GinacWalkerTC<unsigned char> walker;
    return walker.run(e, [&t](const GiNaC::ex& part) { return part.has(t); },
                      [&t](const GiNaC::ex& part, const unsigned char* parts, std::size_t count) -> unsigned char {
                          for (std::size_t i = 0; i < count; ++i) {
                              if (parts[i] != 0) {
                                  return 1;
                              }
                          }
                          if (isExactly<GiNaC::power>(part) && part.op(1).has(t)) {
                              // x^x at 0: a logarithm in the exponent, no power series.
                              // 2^(1/t) too; (1 + t)^(1/t) has one.
                              const GiNaC::ex& base = part.op(0);
                              if (poleOrder(base, t) > 0) {
                                  return 1;
                              }
                              const GiNaC::ex at = base.subs(t == 0);
                              return at.is_zero() || (poleOrder(part.op(1), t) > 0 && !at.is_equal(1)) ? 1 : 0;
                          }
                          return GiNaC::is_a<GiNaC::function>(part) &&
                                         !isFunction(part, GiNaC::log_SERIAL::serial) &&
                                         std::any_of(part.begin(), part.end(),
                                                     [&t](const GiNaC::ex& a) { return poleOrder(a, t) > 0; })
                                     ? 1
                                     : 0;
                      }) != 0;
}

// A power of a sum with a pole at t = 0, (t^-k*B)^c, as t^(-k*c)*B^c, and
// log(t^-k*B) as -k*log(t) + log(B) (t is positive): GiNaC expands the
// former through a pole it catches, and loses memory each time. Walks
// without recursion.
// atan(A) of an A with a pole at t = 0 (t > 0) whose leading coefficient c
// is a real number: sign(c)*pi/2 - atan(1/A), since atan(A) + atan(1/A) is
// pi/2 where A's real part is positive and -pi/2 where it is negative, as
// c*t^-k makes it near 0. Otherwise A unchanged (GiNaC has no series there).
GiNaC::ex inverseTangentAtPole(const GiNaC::ex& e, const GiNaC::symbol& t) {
    const GiNaC::ex& a = e.op(0);
    const long k = poleOrder(a, t);
    if (k == 0) {
        return e;
    }
    const GiNaC::ex c = (a * GiNaC::pow(t, k)).expand().subs(t == 0);
    if (!isExactly<GiNaC::numeric>(c) || !c.info(GiNaC::info_flags::real) || c.is_zero()) {
        return e;
    }
    const int sign = GiNaC::ex_to<GiNaC::numeric>(c).is_positive() ? 1 : -1;
    // 1/(1/t^2 + 1/t) as t^2/(t + 1): GiNaC expands the former through a pole.
    const GiNaC::ex inverse = (1 / a).info(GiNaC::info_flags::rational_function) ? (1 / a).normal() : 1 / a;
    return sign * GiNaC::Pi / 2 - GiNaC::atan(inverse);
}

GiNaC::ex polesTakenOut(const GiNaC::ex& e, const GiNaC::symbol& t) {
    GinacWalkerTC<GiNaC::ex> walker;
    return walker.run(
        e, [&t](const GiNaC::ex& part) { return part.has(t); },
        [&t](const GiNaC::ex& part, const GiNaC::ex* values, std::size_t count) -> GiNaC::ex {
            GiNaC::ex rebuilt = part;
            if (count != 0) {
                OperandsF operands(values);
                rebuilt = part.map(operands);
            }
            if (isFunction(rebuilt, GiNaC::atan_SERIAL::serial)) {
                return inverseTangentAtPole(rebuilt, t);
            }
            const bool power = isExactly<GiNaC::power>(rebuilt);
            const bool logarithm = isFunction(rebuilt, GiNaC::log_SERIAL::serial);
            if ((!power && !logarithm) || !isExactly<GiNaC::add>(rebuilt.op(0))) {
                return rebuilt;
            }
            const GiNaC::ex& base = rebuilt.op(0);
            const long k = poleOrder(base, t);
            if (k == 0) {
                return rebuilt;
            }
            const GiNaC::ex rest = (base * GiNaC::pow(t, k)).expand();
            if (logarithm) {
                return -k * GiNaC::log(t) + GiNaC::log(rest);  // log(t^-k*B) of a positive t
            }
            const GiNaC::ex& c = rebuilt.op(1);
            return GiNaC::pow(t, -k * c) * GiNaC::pow(rest, c);
        });
}

// Zeta of whole arguments beyond this is refused (exact values, through
// Bernoulli numbers, of as many digits); polylog of orders beyond this too.
constexpr long kMaxZetaArgument = 1000;
constexpr std::size_t kMaxPolylogOrder = 100;

// gamma(n) of a whole n is (n-1)!, of half a whole number a product as long,
// and lgamma the logarithm of one: refused before GiNaC computes one beyond
// the digits allowed.
void checkGammaArgument(OperationE operation, const GiNaC::ex& a, const GinacLimitsS& limits) {
    if (!isExactly<GiNaC::numeric>(a) || !GiNaC::ex_to<GiNaC::numeric>(a).is_rational()) {
        return;
    }
    const GiNaC::numeric size = GiNaC::abs(GiNaC::ex_to<GiNaC::numeric>(a));
    const double digits = size > 1000000000 ? 1e10 : std::lgamma(size.to_double() + 1.0) / std::log(10.0);
    if (digits > static_cast<double>(limits.integer_digits)) {
        throw RefusalC(name(operation) + u": the exact result would have about " + approximately(digits) +
                       u" digits; integers are limited to " + count(limits.integer_digits));
    }
}

// log(a)/log(10); a whole power of 10 (or its inverse) gives its exponent.
GiNaC::ex logarithm10(const GiNaC::ex& a) {
    if (isExactly<GiNaC::numeric>(a) && GiNaC::ex_to<GiNaC::numeric>(a).is_rational() &&
        GiNaC::ex_to<GiNaC::numeric>(a).is_positive()) {
        const GiNaC::numeric& n = GiNaC::ex_to<GiNaC::numeric>(a);
        const bool inverse = n.numer().is_equal(1) && !n.denom().is_equal(1);
        GiNaC::numeric rest = inverse ? n.denom() : n;
        long k = 0;
        while (rest.is_integer() && rest > 1 && GiNaC::irem(rest, 10).is_zero()) {
            rest = rest / 10;
            ++k;
        }
        if (rest.is_equal(1)) {
            return inverse ? -k : k;
        }
    }
    return GiNaC::log(a) / GiNaC::log(GiNaC::ex(10));
}

// pi, e and i; other core names stand for functions or nothing.
GiNaC::ex constantOf(const InputPlanC::StepS& step) {
    switch (step.operation) {
        case OperationE::Pi:
            return GiNaC::Pi;
        case OperationE::E:
            return GiNaC::exp(GiNaC::ex(1));
        case OperationE::I:
            return GiNaC::I;
        case OperationE::None:
            throw RefusalC(step.node->toString() + u": a core name the engine does not know");
        default:
            if (Words::support(step.operation, kColumn) == support::SupportE::Refuses) {
                throw RefusalC(support::notOffered(Words::nameOf(step.operation)));
            }
            throw RefusalC(step.node->toString() + u": a function, used as a value");
    }
}

}  // namespace

GinacBuilderC::GinacBuilderC(const InputPlanC& plan, const std::vector<GiNaC::ex>& symbols, const GinacLimitsS& limits,
                             unsigned long working_digits)
    : plan(plan),
      symbols(symbols),
      limits(limits),
      working_digits(working_digits),
      infinity_mark(GiNaC::symbol("infinity")) {
    for (const GiNaC::ex& symbol : symbols) {
        real_symbols = real_symbols || symbol.info(GiNaC::info_flags::real);
    }
    // The stacks of the builder before this one, for their capacity.
    values.swap(spareValues());
    produced.swap(spareProduced());
    values.reserve(plan.steps().size());
    produced.reserve(plan.steps().size());
}

GinacBuilderC::~GinacBuilderC() {
    values.clear();
    produced.clear();
    if (produced.capacity() <= kKeptSteps) {  // a huge expression's are not kept for every small one after it
        values.swap(spareValues());
        produced.swap(spareProduced());
    }
}

std::vector<GiNaC::ex>& GinacBuilderC::spareValues() {
    static thread_local std::vector<GiNaC::ex> spare;
    return spare;
}

std::vector<std::size_t>& GinacBuilderC::spareProduced() {
    static thread_local std::vector<std::size_t> spare;
    return spare;
}

GiNaC::ex GinacBuilderC::build() {
    buildArguments();
    return finish();
}

std::vector<GiNaC::ex> GinacBuilderC::buildArguments() {
    const std::vector<InputPlanC::StepS>& steps = plan.steps();
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        step(steps[i]);
    }
    if (steps.empty() || steps.back().kind != InputPlanC::StepS::KindE::Core || steps.back().merged) {
        return {};
    }
    if (steps.back().operation != OperationE::Series) {
        refuseInfinity();
    }
    std::vector<GiNaC::ex> arguments = values;  // the root's arguments are all that is left
    for (GiNaC::ex& argument : arguments) {
        argument = kept_roots.settled(argument);
    }
    return arguments;
}

GiNaC::ex GinacBuilderC::finish() {
    if (!plan.steps().empty()) {
        step(plan.steps().back());
    }
    refuseInfinity();
    return kept_roots.settled(values.back());
}

// Infinity anywhere but as the point of a series.
void GinacBuilderC::refuseInfinity() const {
    if (infinities != 0) {
        throw RefusalC(support::notOffered(Words::nameOf(OperationE::Infinity)));
    }
}

void GinacBuilderC::step(const InputPlanC::StepS& step) {
    switch (step.kind) {
        case InputPlanC::StepS::KindE::Core:
            core(step);
            break;
        case InputPlanC::StepS::KindE::Function:
            function(step);
            break;
        default:
            leaf(step);
            break;
    }
}

// Takes the finished arguments of a node off `produced`: how many values
// they left.
std::size_t GinacBuilderC::arguments(std::size_t arity) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < arity; ++i) {
        total += produced.back();
        produced.pop_back();
    }
    return total;
}

void GinacBuilderC::core(const InputPlanC::StepS& step) {
    const std::size_t count = arguments(step.arity);
    const OperationE operation = step.operation;
    if (operation == OperationE::Minus && step.arity == 2) {
        values.back() = -values.back();  // a - b is a + (-b)
    }
    if (step.merged) {
        produced.push_back(count);
        return;
    }
    std::vector<GiNaC::ex> operands(std::make_move_iterator(values.end() - static_cast<std::ptrdiff_t>(count)),
                                    std::make_move_iterator(values.end()));
    values.resize(values.size() - count);
    GiNaC::ex result;
    if (operation == OperationE::None) {
        // A core name the engine does not know: an unknown function of that name.
        result = GiNaC::function(serialFor(step.node->toString(), nullptr, operands.size()), std::move(operands));
    } else if (Words::support(operation, kColumn) == support::SupportE::Refuses) {
        throw RefusalC(support::notOffered(Words::nameOf(operation)));
    } else if (Words::isConstant(operation)) {
        throw misuse(operation, u"a constant, used as a function");
    } else if (!Words::acceptsArity(operation, step.arity)) {
        throw RefusalC(name(operation) + u" takes " + Words::arityText(operation));
    } else {
        if (operation == OperationE::Series && operands.size() == 4 && infinitePoint(operands[2], infinity_mark) != 0) {
            --infinities;
        }
        keptRootsFor(operation, operands);
        result = oddSignOut(apply(operation, operands));
    }
    values.push_back(std::move(result));
    produced.push_back(1);
}

// An operation whose meaning depends on the symbols its arguments hold gets
// the kept roots that hold its variable back (all of them without one), and
// a numerical one the roots' values.
void GinacBuilderC::keptRootsFor(OperationE operation, std::vector<GiNaC::ex>& operands) const {
    if (kept_roots.empty()) {
        return;
    }
    switch (operation) {
        case OperationE::Nintegrate:
        case OperationE::Nsolve:
            for (GiNaC::ex& operand : operands) {
                operand = kept_roots.valued(operand);
            }
            return;
        case OperationE::Diff:
        case OperationE::Series:
        case OperationE::Solve:
        case OperationE::Apart:
        case OperationE::Quo:
        case OperationE::Rem: {
            std::size_t index = 0;
            const bool variable = operation != OperationE::Quo && operation != OperationE::Rem && operands.size() > 1 &&
                                  GiNaC::is_a<GiNaC::symbol>(operands[1]) && !KeptRootsC::standsIn(operands[1], index);
            for (GiNaC::ex& operand : operands) {
                operand = kept_roots.released(operand, variable ? &operands[1] : nullptr);
            }
            return;
        }
        default:
            return;
    }
}

void GinacBuilderC::function(const InputPlanC::StepS& step) {
    const std::size_t count = arguments(step.arity);
    const PointerTC<SymbolC> symbol = static_cast<ExtendedFunctionNodeC*>(step.node)->getSymbol();
    if (!symbol) {
        throw RefusalC(u"a function without a name");
    }
    const unsigned serial = serialFor(symbol->getName(), symbol.get(), count);
    GiNaC::exvector operands(std::make_move_iterator(values.end() - static_cast<std::ptrdiff_t>(count)),
                             std::make_move_iterator(values.end()));
    values.resize(values.size() - count);
    values.push_back(GiNaC::function(serial, std::move(operands)));
    produced.push_back(1);
}

// The serial of an unknown function, remembered for the evaluation by symbol.
unsigned GinacBuilderC::serialFor(const std::u16string& name, SymbolC* symbol, std::size_t arity) {
    if (symbol != nullptr) {
        const auto known = serials.find(symbol);
        if (known != serials.end()) {
            const auto found = known->second.find(arity);
            if (found != known->second.end()) {
                return found->second;
            }
        }
    }
    const unsigned serial = FunctionTableC::instance().serialFor(name, arity);
    if (symbol != nullptr) {
        serials[symbol].emplace(arity, serial);
        function_symbols.emplace(serial, PointerTC<SymbolC>(symbol));
    }
    return serial;
}

void GinacBuilderC::leaf(const InputPlanC::StepS& step) {
    GiNaC::ex value;
    switch (step.kind) {
        case InputPlanC::StepS::KindE::Symbol:
            value = symbols[step.symbol];
            break;
        case InputPlanC::StepS::KindE::Integer: {
            const IntegerValueABC* integer = static_cast<IntegerNodeC*>(step.node)->getValue();
            if (integer == nullptr) {
                throw RefusalC(u"an integer without a value");
            }
            value = integerOf(*integer, limits.integer_digits);
            break;
        }
        case InputPlanC::StepS::KindE::Float: {
            const FloatValueABC* number = static_cast<FloatNodeC*>(step.node)->getValue();
            if (number == nullptr) {
                throw RefusalC(u"a float without a value");
            }
            value = floatOf(*number, working_digits);
            break;
        }
        default:
            if (step.operation == OperationE::Infinity) {
                value = infinity_mark;
                ++infinities;
                break;
            }
            value = constantOf(step);
            break;
    }
    values.push_back(std::move(value));
    produced.push_back(1);
}

GiNaC::ex GinacBuilderC::unary(OperationE operation, const GiNaC::ex& a) {
    switch (operation) {
        case OperationE::Neg:
            return -a;
        case OperationE::Sin:
            checkPeriodicArgument(u"sin", a);
            checkInverseArgument(u"sin", a, limits);
            return GiNaC::sin(a);
        case OperationE::Cos:
            checkPeriodicArgument(u"cos", a);
            checkInverseArgument(u"cos", a, limits);
            return GiNaC::cos(a);
        case OperationE::Tan:
            checkPeriodicArgument(u"tan", a);
            checkInverseArgument(u"tan", a, limits);
            return GiNaC::tan(a);
        case OperationE::Exp:
            checkExponentialArgument(u"exp", a);
            return GiNaC::exp(a);
        case OperationE::Log:
            return GiNaC::log(a);
        case OperationE::Sqrt:
            return kept_roots.power(a, GiNaC::numeric(1, 2));
        case OperationE::Abs:
            return absoluteValue(a, limits);
        case OperationE::Asin:
            return inverseSine(GiNaC::asin_SERIAL::serial, a);
        case OperationE::Acos:
            return inverseSine(GiNaC::acos_SERIAL::serial, a);
        case OperationE::Atan:
            return GiNaC::atan(a);
        case OperationE::Sinh:
            checkExponentialArgument(u"sinh", a);
            return GiNaC::sinh(a);
        case OperationE::Cosh:
            checkExponentialArgument(u"cosh", a);
            return GiNaC::cosh(a);
        case OperationE::Tanh:
            return GiNaC::tanh(a);
        case OperationE::Order:
            return GiNaC::Order(a);
        case OperationE::Conjugate:
            return GiNaC::conjugate_function(a);
        case OperationE::RealPart:
            checkParts(a, u"real_part", limits);
            return GiNaC::real_part_function(a);
        case OperationE::ImagPart:
            checkParts(a, u"imag_part", limits);
            return GiNaC::imag_part_function(a);
        case OperationE::Csgn:
            return GiNaC::csgn(a);
        case OperationE::Step:
            return GiNaC::step(a);
        case OperationE::Expand: {
            const GiNaC::ex b = binomialProducts(a);
            checkExpansion(b, u"expand", false, limits);
            return real_symbols ? splitPositiveLogs(b.expand()) : b.expand();
        }
        case OperationE::Simplify: {
            const GiNaC::ex b = binomialProducts(a);
            checkExpansion(b, u"simplify", false, limits);
            checkNormalSize(b, u"simplify", limits);
            return normalForm(b);
        }
        case OperationE::Factor: {
            const GiNaC::ex b = binomialProducts(a);
            checkExpansion(b, u"factor", true, limits);
            checkNormalSize(b, u"factor", limits);
            return factorForm(b);
        }
        default:
            return specialUnary(operation, a);
    }
}

// The special functions, sec ... acot and log10; anything else is refused.
GiNaC::ex GinacBuilderC::specialUnary(OperationE operation, const GiNaC::ex& a) const {
    switch (operation) {
        case OperationE::Gamma:
        case OperationE::Lgamma:
            checkGammaArgument(operation, a, limits);
            return operation == OperationE::Gamma ? GiNaC::tgamma(a) : GiNaC::lgamma(a);
        case OperationE::Zeta:
            if (isExactly<GiNaC::numeric>(a) && GiNaC::ex_to<GiNaC::numeric>(a).is_integer() &&
                GiNaC::abs(GiNaC::ex_to<GiNaC::numeric>(a)) > kMaxZetaArgument) {
                throw misuse(operation, u"an exact value for whole arguments of at most 1000 in size only");
            }
            return GiNaC::zeta(a);
        case OperationE::Erf:
            return erfOf(a);
        case OperationE::Erfc:
            return erfcOf(a);
        case OperationE::Floor:
            return floorOf(a);
        case OperationE::Ceil:
            return ceilOf(a);
        case OperationE::Frac:
            return a - floorOf(a);
        case OperationE::Sign:
            return signOf(a);
        case OperationE::Sec:
        case OperationE::Csc:
        case OperationE::Cot:
            checkPeriodicArgument(name(operation).c_str(), a);
            return operation == OperationE::Sec   ? 1 / GiNaC::cos(a)
                   : operation == OperationE::Csc ? 1 / GiNaC::sin(a)
                                                  : GiNaC::cos(a) / GiNaC::sin(a);
        case OperationE::Asec:
            return inverseSine(GiNaC::acos_SERIAL::serial, 1 / a);
        case OperationE::Acsc:
            return inverseSine(GiNaC::asin_SERIAL::serial, 1 / a);
        case OperationE::Acot:
            // acot(0) is pi/2, the limit from above, as Giac and SymPy have it.
            return a.is_zero() ? GiNaC::ex(GiNaC::Pi / 2) : GiNaC::atan(1 / a);
        case OperationE::Log10:
            return logarithm10(a);
        default:
            throw misuse(operation, u"not a function of one argument");
    }
}


GiNaC::ex GinacBuilderC::apply(OperationE operation, std::vector<GiNaC::ex>& arguments) {
    // Lists and equations are solve's arguments (and its answers) only.
    if (operation != OperationE::Solve) {
        for (const GiNaC::ex& a : arguments) {
            const bool list = isExactly<GiNaC::lst>(a);
            if (list || (operation != OperationE::List && isExactly<GiNaC::relational>(a))) {
                throw misuse(operation, list ? u"a list as an argument (lists are solve's)"
                                             : u"an equation as an argument (equations are solve's)");
            }
        }
    }
    switch (operation) {
        case OperationE::Solve:
            return solveLinear(arguments[0], arguments[1]);
        case OperationE::List:
            return GiNaC::lst(arguments.begin(), arguments.end());
        case OperationE::Equal:
            return arguments[0] == arguments[1];
        case OperationE::Plus:
        case OperationE::Minus:  // a binary minus's second argument is negated already
            if (operation == OperationE::Minus && arguments.size() == 1) {
                return -arguments[0];
            }
            return evaluated(GiNaC::add(arguments));
        case OperationE::Times:
            return evaluated(GiNaC::mul(arguments));
        case OperationE::Divide:
            return arguments[0] / arguments[1];
        case OperationE::Power:
            checkPower(arguments[0], arguments[1], limits);
            return kept_roots.power(arguments[0], arguments[1]);
        case OperationE::Atan2:
            return GiNaC::atan2(arguments[0], arguments[1]);
        case OperationE::Min:
        case OperationE::Max:
            return extremeOfAll(operation == OperationE::Max, arguments);
        case OperationE::Polylog:
            return GiNaC::Li(wholeNumber(operation, arguments[0], 1, kMaxPolylogOrder, u"the order"), arguments[1]);
        case OperationE::Diff:
            return derivative(arguments);
        case OperationE::Series:
            return series(arguments);
        case OperationE::Factorial:
        case OperationE::Binomial:
        case OperationE::Gcd:
        case OperationE::Lcm:
        case OperationE::Mod:
        case OperationE::Quo:
        case OperationE::Rem:
        case OperationE::Nintegrate:
        case OperationE::Nsolve:
            return numberOperation(operation, arguments, limits, working_digits);
        case OperationE::Apart:
            // The polynomial layer takes it at the root; what reaches here it declined.
            throw misuse(operation, u"only of a quotient of polynomials in symbols, as the whole expression");
        case OperationE::Pdiff: {
            const GiNaC::ex& g = arguments[0];
            if (!GiNaC::is_a<GiNaC::function>(g) ||
                FunctionTableC::instance().registeredName(GiNaC::ex_to<GiNaC::function>(g).get_serial()) == nullptr) {
                throw misuse(operation, u"the first argument must be an unknown function applied to arguments");
            }
            GiNaC::paramset parameters;
            if (isExactly<GiNaC::fderivative>(g)) {
                parameters = GiNaC::ex_to<GiNaC::fderivative>(g).derivatives();
            }
            const std::size_t k = wholeNumber(operation, arguments[1], 1, g.nops(), u"the argument position");
            parameters.insert(static_cast<unsigned>(k - 1));
            GiNaC::exvector inner;
            inner.reserve(g.nops());
            for (std::size_t i = 0; i < g.nops(); ++i) {
                inner.push_back(g.op(i));
            }
            return evaluated(GiNaC::fderivative(GiNaC::ex_to<GiNaC::function>(g).get_serial(), parameters, inner));
        }
        default:
            return unary(operation, arguments[0]);
    }
}


// diff(f,x,n), one order at a time: GiNaC cannot be interrupted, so before
// each next order the growth so far predicts its size, and a derivative
// whose orders together would exceed the result's node limit is refused
// instead of computed (each order costs about its size).
GiNaC::ex GinacBuilderC::derivative(std::vector<GiNaC::ex>& arguments) const {
    const GiNaC::symbol& x = variable(OperationE::Diff, arguments[1]);
    const std::size_t n =
        arguments.size() == 3 ? wholeNumber(OperationE::Diff, arguments[2], 0, limits.diff_order, u"the order") : 1;
    GiNaC::ex e = arguments[0];
    double before = treeSize(e);
    double work = 0.0;
    for (std::size_t k = 1; k <= n; ++k) {
        const double first = k == 1 ? derivativeSize(e, x) : 0.0;
        if (first > static_cast<double>(limits.result_nodes)) {
            throw RefusalC(u"diff: the derivative would have about " + approximately(first) +
                           u" parts; results are limited to " + count(limits.result_nodes));
        }
        e = e.diff(x, 1);
        if (k == n) {
            break;
        }
        const double size = treeSize(e);
        const double next = size * std::max(1.0, size / std::max(before, 1.0));
        work += size;
        // Each order costs a few times its size (measured: the 8th derivative
        // of a chain of 10 sines, 0.6 million parts, took a second).
        if (kOrderCost * (work + next) > static_cast<double>(limits.result_nodes)) {
            throw RefusalC(u"diff: the derivative of order " + count(k + 1) + u" would take work for about " +
                           approximately(kOrderCost * (work + next)) + u" result parts; the limit is " +
                           count(limits.result_nodes));
        }
        before = size;
    }
    return e;
}

namespace {

// GiNaC expands atan of a constant on its branch cut (i*c real, |c| > 1) by
// calling itself on the same constant without end, until the stack runs
// out. A constant's series is the constant: atan of anything free of x
// stands in as a symbol of its own while the series is made; `back` takes
// the symbols back to the parts.
GiNaC::ex constantsStanding(const GiNaC::ex& e, const GiNaC::symbol& x, GiNaC::exmap& back) {
    std::vector<GiNaC::ex> found;
    GinacWalkerTC<unsigned char> walker;
    walker.run(e, [](const GiNaC::ex&) { return true; },
               [&x, &found](const GiNaC::ex& part, const unsigned char* parts, std::size_t count) -> unsigned char {
                   const bool holds = part.is_equal(x) || std::any_of(parts, parts + count, [](unsigned char p) { return p != 0; });
                   if (!holds && isFunction(part, GiNaC::atan_SERIAL::serial)) {
                       found.push_back(part);
                   }
                   return holds ? 1 : 0;
               });
    if (found.empty()) {
        return e;
    }
    GiNaC::exmap standing;
    for (const GiNaC::ex& part : found) {
        if (standing.count(part) == 0) {
            const GiNaC::symbol stand_in;
            standing[part] = stand_in;
            back[stand_in] = part;
        }
    }
    return e.subs(standing, GiNaC::subs_options::no_pattern);
}

// Whether f is a product of factors that hold x and factors free of x other
// than its number, and which are which.
bool splitProduct(const GiNaC::ex& f, const GiNaC::symbol& x, GiNaC::exvector& constant, GiNaC::exvector& varying,
                  GiNaC::ex& number) {
    if (!isExactly<GiNaC::mul>(f)) {
        return false;
    }
    for (std::size_t i = 0; i < f.nops(); ++i) {
        const GiNaC::ex& factor = f.op(i);
        if (factor.has(x)) {
            varying.push_back(factor);
        } else if (isExactly<GiNaC::numeric>(factor)) {
            number *= factor;
        } else {
            constant.push_back(factor);
        }
    }
    return !constant.empty() && !varying.empty();
}

// The series of such a product: the factors that hold x expanded, the
// others multiplied into each coefficient at the end, all at once, and the
// product's number last, as GiNaC does.
GiNaC::ex productSeries(const GiNaC::exvector& constant, const GiNaC::exvector& varying, const GiNaC::ex& number,
                        const GiNaC::symbol& x, const GiNaC::ex& point, int order) {
    const GiNaC::ex rest = GiNaC::mul(varying).series(x == point, order);
    if (!isExactly<GiNaC::pseries>(rest)) {
        return rest * GiNaC::mul(constant) * number;
    }
    const auto& terms = GiNaC::ex_to<GiNaC::pseries>(rest);
    GiNaC::epvector scaled;
    scaled.reserve(terms.nops());
    for (std::size_t i = 0; i < terms.nops(); ++i) {
        GiNaC::ex coefficient = terms.coeffop(i);
        if (!GiNaC::is_order_function(coefficient)) {
            GiNaC::exvector factors(constant);
            factors.push_back(coefficient);
            coefficient = GiNaC::ex(GiNaC::mul(factors)) * number;
        }
        scaled.emplace_back(coefficient, terms.exponop(i));
    }
    return GiNaC::pseries(x == point, std::move(scaled));
}

// f's series in x around `point`. GiNaC multiplies the series of a
// product's factors in its own order of the factors, which follows hash
// values that differ from process to process, and a number that meets a
// sum alone is spread over its terms: -1/6*y*(496/k + 2.25) in one process,
// -1/3*y*(248/k + 1.125) in another. Such products, alone or as terms of a
// sum, are therefore expanded by productSeries: the same form in every
// process. An f free of x is its own series, exact (GiNaC's would add an
// order term for some constants and not for others).
GiNaC::ex seriesOf(const GiNaC::ex& f, const GiNaC::symbol& x, const GiNaC::ex& point, int order) {
    if (!f.has(x)) {
        return f;
    }
    GiNaC::exvector constant;
    GiNaC::exvector varying;
    GiNaC::ex number = 1;
    if (splitProduct(f, x, constant, varying, number)) {
        return productSeries(constant, varying, number, x, point, order);
    }
    const auto splits = [&x](const GiNaC::ex& term) {
        GiNaC::exvector c;
        GiNaC::exvector v;
        GiNaC::ex n = 1;
        return splitProduct(term, x, c, v, n);
    };
    bool split = false;
    for (std::size_t i = 0; !split && isExactly<GiNaC::add>(f) && i < f.nops(); ++i) {
        split = splits(f.op(i));
    }
    if (!split) {
        return f.series(x == point, order);
    }
    // A sum: its terms' series added up, as GiNaC adds them.
    GiNaC::ex sum;
    for (std::size_t i = 0; i < f.nops(); ++i) {
        const GiNaC::ex& term = f.op(i);
        constant.clear();
        varying.clear();
        number = 1;
        GiNaC::ex series;
        if (!term.has(x)) {
            series = GiNaC::pseries(x == point, GiNaC::epvector{GiNaC::expair(term, 0)});
        } else if (splitProduct(term, x, constant, varying, number)) {
            series = productSeries(constant, varying, number, x, point, order);
        } else {
            series = term.series(x == point, order);
        }
        if (!isExactly<GiNaC::pseries>(series)) {
            return f.series(x == point, order);
        }
        sum = i == 0 ? series : GiNaC::ex_to<GiNaC::pseries>(sum).add_series(GiNaC::ex_to<GiNaC::pseries>(series));
    }
    return sum;
}

// f's series where the local variable u (x - a, or 1/x at infinity) is
// t^q: in t, as a polynomial, written back with t = u^(1/q) (see
// GinacBuilderC::series); `powers` are f's fractional powers of u.
GiNaC::ex rootSeries(const GiNaC::ex& function, const GiNaC::symbol& x, const GiNaC::ex& point, int infinite, long q,
                     int order, const std::vector<GiNaC::ex>& powers, const std::u16string& none) {
    const GiNaC::possymbol positive("t");
    const GiNaC::symbol plain("t");
    const GiNaC::symbol& t = infinite != 0 ? static_cast<const GiNaC::symbol&>(positive) : plain;
    GiNaC::ex f = function;
    GiNaC::ex back;
    if (infinite != 0) {
        f = f.subs(x == infinite / GiNaC::pow(t, q));
        // A rational function of t as one quotient: GiNaC expands
        // 1/(1/t - 1) through a pole it catches, and loses memory each
        // time (t/(1 - t) it expands directly).
        if (f.info(GiNaC::info_flags::rational_function)) {
            f = f.normal();
        } else {
            f = polesTakenOut(f, t);
        }
        back = GiNaC::pow(infinite / GiNaC::ex(x), GiNaC::numeric(1, q));
    } else {
        GiNaC::exmap roots;
        for (const GiNaC::ex& p : powers) {
            roots.emplace(p, GiNaC::pow(t, GiNaC::ex_to<GiNaC::numeric>(p.op(1)) * q));
        }
        f = f.subs(roots).subs(x == point + GiNaC::pow(t, q));
        back = GiNaC::pow(x - point, GiNaC::numeric(1, q));
    }
    if (essentialSingularity(f, t)) {
        throw RefusalC(none);
    }
    GiNaC::ex result = seriesOf(f, t, 0, order);
    if (isExactly<GiNaC::pseries>(result)) {
        result = GiNaC::ex_to<GiNaC::pseries>(result).convert_to_poly(false);
    }
    if (infinite != 0) {
        // log(t) of a positive t, t = (1/(s*x))^(1/q): -log(s*x)/q.
        result = result.subs(GiNaC::log(t) == -GiNaC::log(infinite * x) / q);
    }
    return result.subs(t == back);
}

}  // namespace

// A series in the local variable u: x - a around a, 1/x at infinity, -1/x
// at minus infinity; terms below u^n, then order(u^n). Where u has
// fractional powers, the series is GiNaC's in t = u^(1/q), q their common
// denominator, written back with t = u^(1/q): around a point each power
// u^k becomes t^(kq), which holds for the principal powers at every x; at
// infinity x is 1/t^q with t positive (x real and tending to infinity), so
// that sqrt(x^2 + 1) is x*sqrt(1 + 1/x^2) there.
GiNaC::ex GinacBuilderC::series(std::vector<GiNaC::ex>& arguments) const {
    const GiNaC::symbol& x = variable(OperationE::Series, arguments[1]);
    const std::size_t n = wholeNumber(OperationE::Series, arguments[3], 1, limits.series_order, u"the order");
    const GiNaC::ex& point = arguments[2];
    const int infinite = infinitePoint(point, infinity_mark);
    if (point.has(x)) {
        // A series of x around a point that depends on x means nothing (and
        // GiNaC's attempt leaves objects behind when it fails).
        throw misuse(OperationE::Series, u"the point must not hold the variable");
    }
    if (infinite == 0) {
        checkSeriesPoint(arguments[0], x, point);
    }
    checkExponentSums(arguments[0], limits);
    GiNaC::exmap back;
    const GiNaC::ex f = constantsStanding(arguments[0], x, back);
    const auto restored = [&back](const GiNaC::ex& e) { return back.empty() ? e : e.subs(back, GiNaC::subs_options::no_pattern); };
    std::vector<GiNaC::ex> powers;
    const GiNaC::ex u = infinite != 0 ? GiNaC::ex(x) : x - point;
    const long q = puiseuxDenominator(f, x, u, limits.series_order, powers);
    const double order = static_cast<double>(q) * static_cast<double>(n);
    if (order > static_cast<double>(limits.series_order)) {
        throw RefusalC(u"series: the fractional powers of the variable ask for a series of order " +
                       approximately(order) + u" in their common root; the limit is " + count(limits.series_order));
    }
    const std::u16string none = u"series: no series in powers of the variable around " +
                                std::u16string(infinite > 0 ? u"infinity" : infinite < 0 ? u"minus infinity" : u"this point") +
                                u" (an essential singularity such as exp(1/x) at 0 or exp(x) at infinity, a branch point "
                                u"other than a power of x - a, or a function GiNaC does not expand there); a limit may say "
                                u"more";
    GiNaC::ex result;
    try {
        if (infinite == 0 && q == 1) {
            const GiNaC::symbol local("t");
            if (essentialSingularity(f.subs(x == point + local), local)) {
                throw RefusalC(none);
            }
            result = seriesOf(f, x, point, static_cast<int>(n));
        } else {
            return restored(rootSeries(f, x, point, infinite, q, static_cast<int>(order), powers, none));
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        // GiNaC's "division by zero", "pow(0,0)" or "trying to assemble a
        // Puiseux series": no expansion in powers of t.
        throw RefusalC(none);
    }
    return restored(isExactly<GiNaC::pseries>(result) ? GiNaC::ex_to<GiNaC::pseries>(result).convert_to_poly(false)
                                                               : result);
}

}  // namespace qorv::math::algexpr::ginac::detail
