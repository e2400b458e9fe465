// SPDX-License-Identifier: MIT
// The answers the engines give with their checks on, compared with their
// inputs once more, independently. Each input's bytes build a small random
// tree (sums, products, quotients, small powers, roots, exp, log, the
// trigonometric functions, abs, of x, y and small rationals; a power's
// exponent is a small whole or half number its byte picks) and pick an
// operation: simplify, expand or factor with GiNaC, or, where the build has
// Giac, one of those or integrate with a second, never-current Giac session
// (on smaller trees of arithmetic and roots: what Giac does quickly).
// An answer the engine gives (passed or unchecked) must not be proven wrong
// by the check's arithmetic at points of another seed; an evaluation that
// throws, crashes or leaks is a finding as everywhere.
//
// Input layout: the first byte picks the operation (bits 0-1), the engine
// (bit 2) and real symbols for GiNaC (bit 3); then each byte is one step of
// a stack machine in post-order, as in the GiNaC engine's target.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "AnswerCheckC.h"
#include "AssumedFactsC.h"
#include "OperationE.h"
#include "VocabularyTC.h"
#include "algexpr/SymbolAssumptionS.h"
#include "algexpr/algexpr.h"
#include "algexpr/ginac.h"
#ifdef ALGEXPR_FUZZ_WITH_GIAC
#include "algexpr/giac/GiacSessionC.h"
#endif

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::ginac::GinacEngineC;
using qorv::math::algexpr::ginac::GinacLimitsS;
using qorv::math::algexpr::ginac::GinacSessionC;
using qorv::oss::PointerTC;
namespace support = qorv::math::algexpr::support;

namespace {

constexpr int kMaxNodes = 16;
constexpr int kGiacNodes = 10;  // in a tree Giac gets
constexpr int kGiacRoots = 2;   // roots nested in a tree Giac gets
// Not the check's own seed: other points.
constexpr std::uint64_t kOtherSeed = 0x0f1e2d3c4b5a6978ULL;

using Words = support::VocabularyTC<support::OperationE>;

struct Function {
    const char* name;
    int arity;
};

const Function kFunctions[] = {{"plus", 2}, {"plus", 3}, {"minus", 2}, {"times", 2}, {"times", 3}, {"divide", 2},
                               {"power", 2}, {"neg", 1},  {"sqrt", 1},  {"exp", 1},   {"log", 1},   {"sin", 1},
                               {"cos", 1},  {"tan", 1},  {"abs", 1},   {"asin", 1},  {"atan", 1},  {"sinh", 1}};
const char* const kLeaves[] = {"x", "y", "x", "1", "2", "-1", "3", "divide(1,2)", "divide(-1,3)", "divide(1,3)", "pi"};
constexpr std::size_t kFunctionCount = sizeof kFunctions / sizeof *kFunctions;
constexpr std::size_t kArithmeticCount = 8;     // plus ... neg
constexpr std::size_t kGiacFunctionCount = 9;   // plus ... sqrt
constexpr std::size_t kLeafCount = sizeof kLeaves / sizeof *kLeaves;
const char* const kExponents[] = {"2", "3", "-1", "divide(1,2)", "divide(-1,2)", "divide(3,2)", "-2", "4"};
constexpr std::size_t kExponentCount = sizeof kExponents / sizeof *kExponents;
const char* const kOperations[] = {"simplify", "expand", "factor", "integrate"};

[[noreturn]] void finding(const char* what, const std::string& input, const std::string& detail) {
    std::fprintf(stderr, "checked_answers: %s\n  input: %s\n  %s\n", what, input.c_str(), detail.c_str());
    std::abort();
}

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::string call(const char* name, const std::vector<std::string>& arguments) {
    std::string text = std::string(name) + "(";
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        text += (k > 0 ? "," : "") + arguments[k];
    }
    return text + ")";
}

// A subtree, how deep roots (sqrt, half powers) nest in it, and whether it
// holds a symbol.
struct Built {
    std::string text;
    int roots = 0;
    bool symbolic = false;
};

// The tree the bytes build, of the first `functions` of kFunctions and at
// most `max_nodes` nodes: the subtrees left on the stack added up; empty
// when roots nest deeper than `max_roots`, or, without `constant_roots`,
// when a root is of a constant.
std::string build(const std::uint8_t* data, std::size_t size, std::size_t functions, int max_nodes, int max_roots,
                  bool constant_roots) {
    std::vector<Built> stack;
    for (std::size_t i = 0; i < size && i < static_cast<std::size_t>(max_nodes); ++i) {
        const std::uint8_t byte = data[i];
        if (byte < 112 || stack.empty()) {
            const std::string leaf = kLeaves[byte % kLeafCount];
            stack.push_back(Built{leaf, 0, leaf == "x" || leaf == "y"});
            continue;
        }
        const Function& f = kFunctions[static_cast<std::size_t>(byte - 112) % functions];
        std::vector<std::string> arguments(static_cast<std::size_t>(f.arity), "x");
        int roots = 0;
        bool symbolic = static_cast<int>(stack.size()) < f.arity;  // an x fills what is missing
        for (int k = f.arity - 1; k >= 0 && !stack.empty(); --k) {
            arguments[static_cast<std::size_t>(k)] = stack.back().text;
            roots = std::max(roots, stack.back().roots);
            symbolic = symbolic || stack.back().symbolic;
            stack.pop_back();
        }
        const std::string name = f.name;
        if (name == "power") {  // small whole or half exponents keep the work small
            arguments[1] = kExponents[static_cast<std::size_t>(byte - 112) / kFunctionCount % kExponentCount];
        }
        const bool root = name == "sqrt" || (name == "power" && arguments[1].rfind("divide", 0) == 0);
        roots += root ? 1 : 0;
        if (roots > max_roots || (root && !symbolic && !constant_roots)) {
            return std::string();
        }
        stack.push_back(Built{call(f.name, arguments), roots, symbolic});
    }
    std::string text = stack.empty() ? "x" : stack.back().text;
    for (std::size_t k = stack.size(); k-- > 1;) {
        text = "plus(" + stack[k - 1].text + "," + text + ")";
    }
    return text;
}

GinacSessionC& ginacSession() {
    static GinacSessionC* installed = [] {
        auto* made = new GinacSessionC();
        GinacLimitsS limits;
        limits.depth = 60;
        limits.integer_digits = 2000;
        limits.total_digits = 20000;
        limits.expand_terms = 2000;
        limits.factor_degree = 12;
        limits.factor_multivariate_degree = 6;
        limits.result_nodes = 20000;
        limits.polynomial_terms = 2000;
        made->setLimits(limits);
        CASSessionBC::setSession(PointerTC<CASSessionBC>(made));
        return made;
    }();
    return *installed;
}

#ifdef ALGEXPR_FUZZ_WITH_GIAC
PointerTC<CASSessionBC> giacSession() {
    static PointerTC<qorv::math::algexpr::giac::GiacSessionC> made = [] {
        PointerTC<qorv::math::algexpr::giac::GiacSessionC> session(new qorv::math::algexpr::giac::GiacSessionC());
        session->setFilterStandardStreams(true);
        return session;
    }();
    return made;
}
#endif

// The check's context for an engine's column and symbols, at the other seed.
support::AnswerCheckC::ContextS contextFor(support::EngineColumnE column, bool real_x, const char16_t* engine) {
    static std::vector<support::OperationE> words[2];
    std::vector<support::OperationE>& kept = words[column == support::EngineColumnE::Giac ? 1 : 0];
    if (kept.empty()) {
        std::vector<int> codes;
        Words::mapCodes(GinacEngineC::builtinCoreNames(), column, kept, &codes);
    }
    // x real, as the session is told (the only assumption the target makes).
    static const support::AssumedFactsC kRealX = [] {
        support::AssumedFactsC facts;
        std::u16string why;
        using qorv::math::algexpr::SymbolAssumptionS;
        facts.merge({SymbolAssumptionS(u"x", SymbolAssumptionS::KindE::Real)}, why);
        return facts;
    }();
    support::AnswerCheckC::ContextS context;
    context.words = kept.data();
    context.count = kept.size();
    context.symbols = column == support::EngineColumnE::Giac ? support::AnswerCheckC::SymbolsE::Real
                                                             : support::AnswerCheckC::SymbolsE::Complex;
    context.facts = real_x ? &kRealX : nullptr;
    context.engine = engine;
    context.seed = kOtherSeed;
    return context;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    GinacSessionC& ginac = ginacSession();
    const bool real_x = (data[0] & 8) != 0;
    ginac.setRealSymbols(real_x ? std::vector<std::u16string>{u"x"} : std::vector<std::u16string>{});
    const char* operation = kOperations[data[0] & 3];
    const bool with_giac = (data[0] & 4) != 0 || std::string(operation) == "integrate";
#ifndef ALGEXPR_FUZZ_WITH_GIAC
    if (with_giac) {
        return 0;
    }
#endif
    // Giac gets smaller trees of arithmetic and roots of what holds a symbol
    // (arithmetic only to integrate): integrals of nested transcendental
    // functions, roots of constants (i among them) and logarithms of sums
    // of logarithms can keep it for minutes, which nothing here can
    // interrupt.
    const std::size_t functions = std::string(operation) == "integrate" ? kArithmeticCount
                                  : with_giac                           ? kGiacFunctionCount
                                                                        : kFunctionCount;
    const std::string tree = with_giac ? build(data + 1, size - 1, functions, kGiacNodes, kGiacRoots, false)
                                       : build(data + 1, size - 1, functions, kMaxNodes, kMaxNodes, true);
    if (tree.empty()) {
        return 0;
    }
    const std::string input =
        std::string(operation) == "integrate" ? call(operation, {tree, "x"}) : call(operation, {tree});
    PointerTC<AlgebraicExpressionC> expression =
        AlgebraicExpressionC::fromPrefixString(std::u16string(input.begin(), input.end()));
    if (!expression) {
        finding("the built text does not read", input, "");
    }
    std::u16string reason;
    PointerTC<AlgebraicExpressionC> answer;
    try {
#ifdef ALGEXPR_FUZZ_WITH_GIAC
        answer = with_giac ? expression->execute(giacSession(), false, &reason) : expression->execute(false, &reason);
#else
        answer = expression->execute(false, &reason);
#endif
    } catch (...) {
        finding("an exception left execute", input, "");
    }
    if (!answer) {
        return 0;  // refused: the engine or its check said why
    }
    const support::AnswerCheckC::ContextS context =
        with_giac ? contextFor(support::EngineColumnE::Giac, false, u"Giac")
                  : contextFor(support::EngineColumnE::Ginac, real_x, u"GiNaC");
    std::u16string why;
    if (support::AnswerCheckC::run(*expression->getNode(), *answer->getNode(), context, why) ==
        support::AnswerCheckC::VerdictE::Failed) {
        finding("an answer given is wrong at other points", input,
                narrow(answer->toPrefixString(0, qorv::math::Standard)) + ": " + narrow(why));
    }
    return 0;
}
