// SPDX-License-Identifier: MIT
#include "ExpressionGeneratorC.h"

#include <charconv>
#include <iterator>

#include "algexpr/numeric/FloatValueC.h"

namespace qorv::math::algexpr::bench {

namespace {

// Core names (all in the benchmark session's vocabulary) by arity, then
// names the vocabulary does not hold.
const char16_t* const kCoreUnary[] = {u"sin", u"cos", u"exp", u"log", u"sqrt", u"negate", u"abs", u"tan"};
const char16_t* const kCoreBinary[] = {u"power", u"divide", u"minus", u"equal", u"less", u"diff"};
const char16_t* const kCoreVariadic[] = {u"plus", u"times", u"list", u"and"};
const char16_t* const kCoreSymbols[] = {u"pi", u"e", u"i", u"infinity"};
const char16_t* const kFunctions[] = {u"f", u"g",         u"h",          u"BesselJ", u"gamma", u"LegendreP",
                                      u"F", u"potential", u"myFunction", u"zeta",    u"erf",   u"hypergeometric2F1"};
const char16_t* const kSymbols[] = {
    u"x",     u"y",  u"z",  u"t",        u"a",           u"b",    u"n",   u"k",     u"alpha", u"beta",   u"theta",
    u"omega", u"x1", u"x2", u"velocity", u"temperature", u"mass", u"r_0", u"phi_1", u"delta", u"lambda", u"epsilon"};

template <std::size_t N>
std::size_t count(const char16_t* const (&)[N]) {
    return N;
}

// How likely a node at this depth is an application, in percent: expressions
// of a few levels, rarely more than six.
std::size_t applicationPercent(std::size_t depth) {
    static const std::size_t kPercent[] = {100, 60, 45, 30, 20, 10, 5};
    return depth < std::size(kPercent) ? kPercent[depth] : 0;
}

void appendAscii(std::u16string& out, const char* first, const char* last) { out.append(first, last); }

}  // namespace

ExpressionGeneratorC::ExpressionGeneratorC(std::uint64_t seed) : state(seed) {}

// splitmix64: small, fast and the same everywhere.
std::uint64_t ExpressionGeneratorC::next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::size_t ExpressionGeneratorC::below(std::size_t n) { return static_cast<std::size_t>(next() % n); }

void ExpressionGeneratorC::appendExpression(std::u16string& out) {
    frames.clear();
    std::size_t arity = appendNode(out, 0);
    if (arity > 0) {
        frames.push_back(Frame{arity, 0, 0});
    }
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.written == frame.arity) {
            out += u')';
            frames.pop_back();
            continue;
        }
        if (frame.written > 0) {
            out += u',';
        }
        ++frame.written;
        const std::size_t depth = frame.depth + 1;
        arity = appendNode(out, depth);  // may grow the stack: `frame` is not used after this
        if (arity > 0) {
            frames.push_back(Frame{arity, 0, depth});
        }
    }
}

std::u16string ExpressionGeneratorC::lines(std::size_t size) {
    std::u16string text;
    text.reserve(size + 4096);
    while (text.size() < size) {
        appendExpression(text);
        text += u'\n';
    }
    return text;
}

std::size_t ExpressionGeneratorC::appendNode(std::u16string& out, std::size_t depth) {
    if (below(100) >= applicationPercent(depth)) {
        appendLeaf(out);
        return 0;
    }
    const std::size_t kind = below(100);
    std::size_t arity = 0;
    if (kind < 30) {
        out += kCoreUnary[below(count(kCoreUnary))];
        arity = 1;
    } else if (kind < 50) {
        out += kCoreBinary[below(count(kCoreBinary))];
        arity = 2;
    } else if (kind < 75) {
        out += kCoreVariadic[below(count(kCoreVariadic))];
        arity = 2 + below(3);
    } else {
        out += kFunctions[below(count(kFunctions))];
        arity = 1 + below(4);
    }
    out += u'(';
    return arity;
}

void ExpressionGeneratorC::appendLeaf(std::u16string& out) {
    const std::size_t kind = below(100);
    if (kind < 45) {
        out += kSymbols[below(count(kSymbols))];
    } else if (kind < 55) {
        out += kCoreSymbols[below(count(kCoreSymbols))];
    } else if (kind < 85) {
        appendInteger(out);
    } else {
        appendFloat(out);
    }
}

void ExpressionGeneratorC::appendInteger(std::u16string& out) {
    // Mostly small numbers, some large, a few negative.
    std::int64_t value = static_cast<std::int64_t>(below(10) < 8 ? below(100) : below(1000000000));
    if (below(10) == 0) {
        value = -value;
    }
    char text[24];
    std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    appendAscii(out, text, result.ptr);
}

void ExpressionGeneratorC::appendFloat(std::u16string& out) {
    // A mantissa of up to six digits, not ending in 0, scaled by 10^-1 to
    // 10^-9, written as the numeric client's float value writes it, so
    // that it reads as a float and prints back the same.
    static const double kScale[] = {1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8, 1e-9};
    std::uint64_t mantissa = 1 + below(999999);
    if (mantissa % 10 == 0) {
        ++mantissa;
    }
    double value = static_cast<double>(mantissa) * kScale[below(std::size(kScale))];
    if (below(10) == 0) {
        value = -value;
    }
    out += numeric::FloatValueC(value).toString();
}

std::u16string ExpressionGeneratorC::deep(std::size_t n) {
    std::u16string text;
    text.reserve(3 * n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        text += u"f(";
    }
    text += u'x';
    text.append(n, u')');
    return text;
}

std::u16string ExpressionGeneratorC::wide(std::size_t n) {
    static const char16_t* const kArguments[] = {u"x", u"17", u"y", u"0.5", u"pi", u"-3", u"velocity", u"2.5e-7"};
    std::u16string text = u"f(";
    text.reserve(6 * n + 3);
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) {
            text += u',';
        }
        text += kArguments[i % std::size(kArguments)];
    }
    text += u')';
    return text;
}

}  // namespace qorv::math::algexpr::bench
