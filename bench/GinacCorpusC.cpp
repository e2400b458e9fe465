// SPDX-License-Identifier: MIT
#include "GinacCorpusC.h"

#include <benchmark/benchmark.h>

namespace qorv::math::algexpr::bench {

namespace {

constexpr int kMaxDepth = 5;

const char* const kSymbols[] = {"a", "b", "c", "x", "y", "z", "t", "alpha", "beta", "k1", "k2", "omega"};

struct Function {
    const char* prefix;
    const char* infix;  // a GiNaC function name, or an operator for the arithmetic
    std::size_t arity;
};

// Weighted by repetition.
const Function kFunctions[] = {
    {"plus", "+", 2}, {"plus", "+", 3}, {"plus", "+", 4}, {"minus", "-", 2}, {"times", "*", 2},  {"times", "*", 3},
    {"plus", "+", 2}, {"times", "*", 2}, {"divide", "/", 2}, {"power", "^", 2}, {"neg", "-", 1},  {"sin", "sin", 1},
    {"cos", "cos", 1}, {"tan", "tan", 1}, {"exp", "exp", 1},  {"log", "log", 1},  {"sqrt", "sqrt", 1},
    {"f", "f", 1},     {"g", "g", 2},     {"h", "h", 3}};

const Function kFlatFunctions[] = {
    {"plus", "+", 2}, {"plus", "+", 3}, {"plus", "+", 4}, {"minus", "-", 2}, {"times", "*", 2}, {"times", "*", 3},
    {"plus", "+", 2}, {"times", "*", 2}, {"power", "^", 2}, {"neg", "-", 1},  {"sin", "sin", 1},  {"cos", "cos", 1},
    {"exp", "exp", 1}, {"log", "log", 1}};

}  // namespace

GinacCorpusC::GinacCorpusC(std::uint64_t seed, KindE kind) : state(seed), kind(kind) {}

std::size_t GinacCorpusC::below(std::size_t n) {
    // xorshift64*
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return static_cast<std::size_t>((state * 2685821657736338717ull) >> 33) % n;
}

void GinacCorpusC::leaf(std::string& prefix, std::string& infix) {
    if (this->kind == KindE::Flat) {
        const std::string text = below(2) == 0 ? kSymbols[below(6)] : std::to_string(1 + below(9));
        prefix += text;
        infix += text;
        return;
    }
    const std::size_t kind = below(20);
    if (kind < 10) {
        const char* symbol = kSymbols[below(sizeof kSymbols / sizeof *kSymbols)];
        prefix += symbol;
        infix += symbol;
    } else if (kind < 16) {
        const bool negative = below(4) == 0;
        const std::string digits = std::to_string(1 + below(999));
        prefix += (negative ? "-" : "") + digits;
        infix += negative ? "(-" + digits + ")" : digits;
    } else if (kind < 17) {
        std::string digits = std::to_string(1 + below(9));
        for (std::size_t i = 0, n = 15 + below(15); i < n; ++i) {
            digits += static_cast<char>('0' + below(10));
        }
        prefix += digits;
        infix += digits;
    } else if (kind < 19) {
        // Moderate magnitudes: huge floats under exp or tan would measure
        // CLN's arithmetic, not the reading and writing of expressions.
        const std::string text = std::to_string(below(1000)) + "." + std::to_string(1 + below(99)) +
                                 (below(3) == 0 ? "e" + std::to_string(static_cast<int>(below(7)) - 3) : "");
        prefix += text;
        infix += text;
    } else if (below(2) == 0) {
        prefix += "pi";
        infix += "Pi";
    } else {
        prefix += "e";
        infix += "exp(1)";
    }
}

void GinacCorpusC::node(std::string& prefix, std::string& infix, int depth) {
    if (depth >= kMaxDepth || below(10) < static_cast<std::size_t>(2 + 2 * depth)) {
        leaf(prefix, infix);
        return;
    }
    const Function& function = this->kind == KindE::Flat
                                   ? kFlatFunctions[below(sizeof kFlatFunctions / sizeof *kFlatFunctions)]
                                   : kFunctions[below(sizeof kFunctions / sizeof *kFunctions)];
    const std::string name = function.prefix;
    prefix += name;
    prefix += '(';
    if (name == "power") {
        // A small exponent, as GiNaC would compute enormous numbers otherwise.
        const char* const exponents[][2] = {{"2", "2"}, {"3", "3"}, {"-1", "(-1)"}, {"divide(1,2)", "(1/2)"}};
        const std::size_t pick = below(this->kind == KindE::Flat ? 2 : 4);
        infix += '(';
        node(prefix, infix, depth + 1);
        prefix += ',';
        prefix += exponents[pick][0];
        infix += ")^";
        infix += exponents[pick][1];
        prefix += ')';
        return;
    }
    const bool operation = name == "plus" || name == "minus" || name == "times" || name == "divide" || name == "neg";
    infix += operation ? "(" : std::string(function.infix) + "(";
    if (name == "neg") {
        infix += '-';
    }
    for (std::size_t i = 0; i < function.arity; ++i) {
        if (i > 0) {
            prefix += ',';
            infix += operation ? function.infix : ",";
        }
        node(prefix, infix, depth + 1);
    }
    prefix += ')';
    infix += ')';
}

void GinacCorpusC::append(std::string& prefix, std::string& infix) { node(prefix, infix, 0); }

void GinacCorpusC::lines(std::size_t size, std::vector<std::string>& prefix, std::vector<std::string>& infix) {
    std::size_t total = 0;
    while (total < size) {
        std::string p;
        std::string i;
        // At least a function at the top: a bare leaf is no test of either reader.
        while (p.find('(') == std::string::npos) {
            p.clear();
            i.clear();
            append(p, i);
        }
        total += p.size();
        prefix.push_back(std::move(p));
        infix.push_back(std::move(i));
    }
}

bool GinacCorpusC::startBenchmarks(int& argc, char** argv, std::size_t& size) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind("--size=", 0) == 0) {
            size = std::stoul(std::string(argv[i]).substr(7));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    benchmark::Initialize(&argc, argv);
    return !benchmark::ReportUnrecognizedArguments(argc, argv);
}

}  // namespace qorv::math::algexpr::bench
