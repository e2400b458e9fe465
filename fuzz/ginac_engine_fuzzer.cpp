// SPDX-License-Identifier: MIT
// The GiNaC engine route after execute: conversion to GiNaC, evaluation,
// ordering and writing back. Each input's bytes build a random tree of at
// most kMaxNodes nodes (the GiNaC client's core functions and operations,
// integers, fractions, floats, i, pi, e, a few symbols and unknown functions)
// that the GiNaC session evaluates, exactly or numerically, within small
// limits. Findings: a crash, a leak, an exception that leaves execute, an
// evaluation past kBudgetSeconds, a null result without a reason, and a
// result that does not read back or holds a name that is neither the
// vocabulary's nor one of the input's own.
//
// Input layout: the first byte picks exact or numeric evaluation (bit 0),
// real symbols (bit 1) and polynomial mode (bit 2); then each byte is one
// step of a stack machine in post-order: a leaf (symbol, number, constant)
// is pushed, a function pops its arguments (what is missing is filled with
// x) and pushes the call.
//
// Polynomial mode exercises the polynomial layer: the second byte picks one
// of its operations (expand, factor, simplify, gcd, lcm, quo, rem), and the
// tree is built from sums, products and small powers of symbols and
// rationals. Beyond the findings above, an expansion, factorisation or
// simplification whose value at a rational point differs from its input's,
// and a quotient and remainder that do not give back the dividend there,
// are findings: the values are computed by plain exact arithmetic, which
// takes no polynomial route.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "algexpr/algexpr.h"
#include "algexpr/ginac.h"

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::ExtendedFunctionNodeC;
using qorv::math::algexpr::ExtendedSymbolNodeC;
using qorv::math::algexpr::NodeABC;
using qorv::math::algexpr::NodeVisitorBC;
using qorv::math::algexpr::SubstitutionC;
using qorv::math::algexpr::ginac::GinacLimitsS;
using qorv::math::algexpr::ginac::GinacSessionC;
using qorv::oss::PointerTC;

namespace {

constexpr std::size_t kMaxNodes = 48;
// Processor time of the whole process (the worker thread computes, the
// calling thread waits), not wall time: on a loaded machine an input of
// half a second without AddressSanitizer took 7.5 s of wall time with it,
// and 3.8 s of processor time. The engine bounds a composition to about a
// second, and AddressSanitizer makes GiNaC about eight times slower: an
// input of 1.5 s in a release build took over 10 s here. fuzz/run.sh gives
// this target a timeout beyond the budget, so that what runs past the
// budget is reported as such and a runaway still stops.
constexpr double kBudgetSeconds = 15.0;

struct Function {
    const char* name;
    int arity;
};

// The core functions and operations (with arities they take, and a few they
// refuse), and unknown functions of the input's own.
const Function kFunctions[] = {
    {"plus", 2},   {"plus", 3},    {"minus", 2},   {"minus", 1},    {"times", 2},    {"times", 3},
    {"divide", 2}, {"power", 2},   {"neg", 1},     {"sin", 1},      {"cos", 1},      {"tan", 1},
    {"exp", 1},    {"log", 1},     {"sqrt", 1},    {"abs", 1},      {"asin", 1},     {"acos", 1},
    {"atan", 1},   {"sinh", 1},    {"cosh", 1},    {"tanh", 1},     {"diff", 2},     {"diff", 3},
    {"expand", 1}, {"simplify", 1}, {"factor", 1}, {"series", 4},   {"pdiff", 2},    {"order", 1},
    {"conjugate", 1}, {"real_part", 1}, {"imag_part", 1}, {"csgn", 1}, {"step", 1}, {"atan2", 2},
    {"f", 1},      {"g", 2},       {"h", 3},       {"divide", 1},
};
const char* const kLeaves[] = {"x", "y", "z", "0", "1", "2", "-3", "7", "divide(1,2)", "divide(-2,3)", "0.5",
                               "-1.25", "1e20", "i", "pi", "e", "123456789012345678901234567890"};
constexpr std::size_t kFunctionCount = sizeof kFunctions / sizeof *kFunctions;
constexpr std::size_t kLeafCount = sizeof kLeaves / sizeof *kLeaves;

// Polynomial mode's alphabet: a power's exponent is the small integer its
// byte gives, not a subtree.
const Function kPolyFunctions[] = {{"plus", 2}, {"plus", 3}, {"minus", 2}, {"minus", 1}, {"times", 2},
                                   {"times", 3}, {"neg", 1},  {"power", 1}, {"divide", 2}};
const char* const kPolyLeaves[] = {"x", "y", "z", "x", "0", "1", "2", "-3", "7", "divide(1,2)", "divide(-2,3)",
                                   "123456789012345678901234567890"};
const char* const kPolyOperations[] = {"expand", "factor", "simplify", "gcd", "lcm", "quo", "rem"};
constexpr std::size_t kPolyFunctionCount = sizeof kPolyFunctions / sizeof *kPolyFunctions;
constexpr std::size_t kPolyLeafCount = sizeof kPolyLeaves / sizeof *kPolyLeaves;
constexpr std::size_t kPolyOperationCount = sizeof kPolyOperations / sizeof *kPolyOperations;

[[noreturn]] void finding(const char* what, const std::string& input, const std::string& detail) {
    std::fprintf(stderr, "ginac_engine: %s\n  input: %s\n  %s\n", what, input.c_str(), detail.c_str());
    std::abort();
}

GinacSessionC& session() {
    static GinacSessionC* installed = [] {
        auto* made = new GinacSessionC();
        GinacLimitsS limits;
        limits.depth = 60;
        limits.diff_depth = 30;
        limits.simplify_depth = 40;
        limits.series_depth = 10;
        limits.parts_depth = 8;
        limits.integer_digits = 2000;
        limits.total_digits = 20000;
        limits.expand_terms = 2000;
        limits.expand_digits = 50000;
        limits.denominator_degree = 20;
        limits.factor_degree = 12;
        limits.factor_multivariate_degree = 6;
        limits.factor_multivariate_terms = 40;
        limits.diff_order = 6;
        limits.series_order = 6;
        limits.result_nodes = 20000;
        limits.polynomial_terms = 2000;
        made->setLimits(limits);
        made->setDigits(20);
        CASSessionBC::setSession(PointerTC<CASSessionBC>(made));
        return made;
    }();
    return *installed;
}

std::string call(const char* name, const std::vector<std::string>& arguments) {
    std::string text = std::string(name) + "(";
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        text += (k > 0 ? "," : "") + arguments[k];
    }
    return text + ")";
}

// The subtrees the bytes build, the last one on top.
std::vector<std::string> build(const std::uint8_t* data, std::size_t size, bool polynomial) {
    std::vector<std::string> stack;
    std::size_t nodes = 0;
    for (std::size_t i = 0; i < size && nodes < kMaxNodes; ++i, ++nodes) {
        const std::uint8_t byte = data[i];
        if (byte < 96 || stack.empty()) {
            stack.emplace_back(polynomial ? kPolyLeaves[byte % kPolyLeafCount] : kLeaves[byte % kLeafCount]);
            continue;
        }
        const Function& f = polynomial ? kPolyFunctions[(byte - 96) % kPolyFunctionCount]
                                       : kFunctions[(byte - 96) % kFunctionCount];
        std::vector<std::string> arguments(static_cast<std::size_t>(f.arity), "x");
        for (int k = f.arity - 1; k >= 0 && !stack.empty(); --k) {
            arguments[static_cast<std::size_t>(k)] = stack.back();
            stack.pop_back();
        }
        if (polynomial && std::string(f.name) == "power") {
            arguments.push_back(std::to_string(byte / kPolyFunctionCount % 6));
        }
        stack.push_back(call(f.name, arguments));
    }
    return stack;
}

// The stack as one tree: what lies below the top is added to it.
std::string joined(const std::vector<std::string>& stack) {
    std::string text = stack.empty() ? "x" : stack.back();
    for (std::size_t k = stack.size(); k-- > 1;) {
        text = "plus(" + stack[k - 1] + "," + text + ")";
    }
    return text;
}

// The names of a tree's symbols and unknown functions.
class NamesC : public NodeVisitorBC {
public:
    NamesC() : NodeVisitorBC(qorv::math::algexpr::PreOrder) {}
    std::set<std::u16string> names;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
        names.insert(node.toString());
        return true;
    }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, qorv::math::algexpr::VisitationOrderE) override {
        names.insert(node.toString());
        return true;
    }
};

std::set<std::u16string> namesOf(NodeABC* node) {
    NamesC names;
    node->traverse(names);
    return names.names;
}

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// Evaluates `input` and checks what the findings name; the result, or null
// when the engine refuses.
PointerTC<AlgebraicExpressionC> evaluate(const std::string& input, bool numeric) {
    PointerTC<AlgebraicExpressionC> expression =
        AlgebraicExpressionC::fromPrefixString(std::u16string(input.begin(), input.end()));
    if (!expression) {
        finding("the built text does not read", input, "");
    }
    std::u16string reason = u"untouched";
    const std::clock_t start = std::clock();
    PointerTC<AlgebraicExpressionC> result;
    try {
        result = expression->execute(numeric, &reason);
    } catch (...) {
        finding("an exception left execute", input, "");
    }
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    if (seconds > kBudgetSeconds) {
        finding("the evaluation ran past its budget", input, std::to_string(seconds) + " s");
    }
    if (!result) {
        if (reason.empty() || reason == u"untouched") {
            finding("a null result without a reason", input, "");
        }
        return result;
    }
    const std::u16string text = result->toPrefixString(0, qorv::math::Standard);
    PointerTC<AlgebraicExpressionC> back = AlgebraicExpressionC::fromPrefixString(text);
    if (!back) {
        finding("the result does not read back", input, narrow(text));
    }
    const std::set<std::u16string> allowed = namesOf(expression->getNode());
    for (const std::u16string& name : namesOf(result->getNode())) {
        if (allowed.count(name) == 0) {
            finding("the result holds a name outside the vocabulary and the input's", input,
                    narrow(name) + " in " + narrow(text));
        }
    }
    return result;
}

std::string textOf(const PointerTC<AlgebraicExpressionC>& expression) {
    return narrow(expression->toPrefixString(0, qorv::math::Standard));
}

// The exact value of `text` at x = 2/3, y = -5/7, z = 3/11, in prefix form;
// empty where it has none (a denominator vanishes there) or it is too big.
std::string valueAtPoint(const std::string& text) {
    static const PointerTC<AlgebraicExpressionC> kPoint[] = {AlgebraicExpressionC::fromPrefixString(u"divide(2,3)"),
                                                             AlgebraicExpressionC::fromPrefixString(u"divide(-5,7)"),
                                                             AlgebraicExpressionC::fromPrefixString(u"divide(3,11)")};
    SubstitutionC point;
    point.add(u"x", kPoint[0]->getNode());
    point.add(u"y", kPoint[1]->getNode());
    point.add(u"z", kPoint[2]->getNode());
    PointerTC<AlgebraicExpressionC> expression =
        AlgebraicExpressionC::fromPrefixString(std::u16string(text.begin(), text.end()));
    PointerTC<AlgebraicExpressionC> at = expression ? expression->substitute(point) : expression;
    std::u16string reason;
    PointerTC<AlgebraicExpressionC> value = at ? at->execute(false, &reason) : at;
    return value ? textOf(value) : std::string();
}

void sameValue(const std::string& input, const std::string& left, const std::string& right, const char* what) {
    const std::string a = valueAtPoint(left);
    const std::string b = a.empty() ? a : valueAtPoint(right);
    if (!a.empty() && !b.empty() && a != b) {
        finding(what, input, a + " against " + b);
    }
}

// One of the polynomial layer's operations on the polynomials the bytes
// build, with its result's value checked.
void polynomialCase(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    const std::string operation = kPolyOperations[data[0] % kPolyOperationCount];
    const std::vector<std::string> stack = build(data + 1, size - 1, true);
    if (operation == "expand" || operation == "factor" || operation == "simplify") {
        const std::string input = call(operation.c_str(), {joined(stack)});
        PointerTC<AlgebraicExpressionC> result = evaluate(input, false);
        if (result) {
            sameValue(input, joined(stack), textOf(result), "the result's value differs from its input's");
        }
        return;
    }
    const std::string a = stack.empty() ? "x" : stack.back();
    const std::string b = stack.size() > 1 ? stack[stack.size() - 2] : "plus(x,1)";
    if (operation == "gcd" || operation == "lcm") {
        evaluate(call(operation.c_str(), {a, b}), false);
        return;
    }
    const std::string input = call("quo", {a, b, "x"});
    PointerTC<AlgebraicExpressionC> quotient = evaluate(input, false);
    PointerTC<AlgebraicExpressionC> remainder = evaluate(call("rem", {a, b, "x"}), false);
    if (quotient && remainder) {
        sameValue(input, a, call("plus", {call("times", {textOf(quotient), b}), textOf(remainder)}),
                  "quotient times divisor plus remainder is not the dividend");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    GinacSessionC& ginac = session();
    ginac.setRealSymbols((data[0] & 2) != 0 ? std::vector<std::u16string>{u"x"} : std::vector<std::u16string>{});
    if ((data[0] & 4) != 0) {
        polynomialCase(data + 1, size - 1);
    } else {
        evaluate(joined(build(data + 1, size - 1, false)), (data[0] & 1) != 0);
    }
    return 0;
}
