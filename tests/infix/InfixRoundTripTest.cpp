// SPDX-License-Identifier: MIT
// Random trees written in infix and read back give the same prefix text, and
// no sign stands directly after an operator: every operator, equations and
// lists with 1 to 4 arguments (none: f() does not read), negative numbers, floats with exponents and
// infinities, core symbols, calls of other functions, null children. LaTeX
// writes every one of them, with no product that mixes \cdot and
// juxtaposition and no call as a base without parentheses.
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "InfixFixture.h"

namespace testing_doubles {
namespace {

class RandomTrees {
public:
    RandomTrees(const TreeBuilder& build, std::uint64_t seed) : build(build), state(seed) {}

    // A tree at most `levels` deep.
    NodeABC* tree(int levels) {
        if (levels > 0 && below(10) < 6) {
            return function(levels - 1);
        }
        return leaf();
    }

    std::set<std::pair<int, unsigned int>> operators_seen;  // code, arity

private:
    std::uint64_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    unsigned int below(unsigned int n) { return static_cast<unsigned int>(next() % n); }

    NodeABC* function(int levels) {
        static const unsigned int arities[] = {1, 1, 1, 2, 2, 2, 2, 3, 3, 4};
        const unsigned int arity = arities[below(10)];
        ParentNodeABC* node;
        const unsigned int kind = below(12);
        if (kind < 7 || kind >= 10) {
            const int code = kind < 7 ? static_cast<int>(kind % 6) : static_cast<int>(kind + 6);  // plus ... neg, equal, list
            node = build.core(code, {});
            operators_seen.insert({code, arity});
        } else if (kind == 7) {
            node = build.core(6, {});  // sin
        } else {
            node = build.fn(kind == 8 ? u"f" : u"g", {});
        }
        for (unsigned int i = 0; i < arity; ++i) {
            node->addChild(tree(levels));
        }
        if (arity > 1 && below(40) == 0) {
            node->replaceChild(below(arity), nullptr);  // absent from every text
        }
        return node;
    }

    NodeABC* leaf() {
        static const double reals[] = {0.5, -0.5, 2.5, -2.5, 1e21, -1e21, 1.5e-7, -3.25e-12, 1.0 / 0.0, -1.0 / 0.0};
        switch (below(5)) {
            case 0:
                return build.sym(below(2) == 0 ? u"x" : u"y_1");
            case 1:
                return new CoreSymbolNodeC(13 + static_cast<int>(below(3)));  // pi, e, i
            case 2:
                return build.integer(static_cast<std::int64_t>(below(41)) - 20);
            default:
                return new FloatNodeC(new ShortestFloat(reals[below(10)]));
        }
    }

    const TreeBuilder& build;
    std::uint64_t state;
};

// What in a LaTeX text breaks the writer's readability rules, or "": a
// product that mixes \cdot with juxtaposition (a space that is no part of
// " + ", " - ", " = ", " \cdot ", ", " or the bars and brackets), or a
// call's parentheses with an exponent right after them. Groups are told
// apart by braces and \left \right pairs; within one, " + ", " - ", " = "
// and "," end a product.
std::string latexFault(const std::u16string& text) {
    struct Group {
        std::size_t open;  // where its opening delimiter starts
        bool dot;
        bool juxtaposed;
    };
    std::vector<Group> groups{{0, false, false}};
    const auto at = [&](std::size_t i, const char16_t* piece) {
        return text.compare(i, std::char_traits<char16_t>::length(piece), piece) == 0;
    };
    const auto letter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    std::size_t i = 0;
    while (i < text.size()) {
        if (at(i, u"\\left(") || at(i, u"\\left|") || at(i, u"\\left[")) {
            groups.push_back({i, false, false});
            i += 6;
        } else if (at(i, u"\\right)") || at(i, u"\\right|") || at(i, u"\\right]")) {
            const Group group = groups.back();
            groups.pop_back();
            if (groups.empty()) {
                return "unbalanced";
            }
            if (at(i, u"\\right)^") && group.open > 0 &&
                (letter(text[group.open - 1]) || text[group.open - 1] == u'}')) {
                return "a call as a base without parentheses";
            }
            i += 7;
        } else if (text[i] == u'\\') {
            i += 1;
            const std::size_t name = i;
            while (i < text.size() && letter(text[i])) {
                ++i;
            }
            i += i == name ? 1 : 0;  // \_ and the like
        } else if (text[i] == u'{' || text[i] == u'}') {
            if (text[i] == u'{') {
                groups.push_back({i, false, false});
            } else {
                groups.pop_back();
                if (groups.empty()) {
                    return "unbalanced";
                }
            }
            ++i;
        } else if (text[i] == u',' || at(i, u" + ") || at(i, u" - ") || at(i, u" = ")) {
            groups.back().dot = groups.back().juxtaposed = false;
            i += text[i] == u',' ? 1 : 3;
        } else if (at(i, u" \\cdot ")) {
            groups.back().dot = true;
            i += 7;
        } else if (text[i] == u' ') {
            const bool separator = i == 0 || text[i - 1] == u',' || text[i - 1] == u'|' || text[i - 1] == u'[' ||
                                   at(i + 1, u"\\right");
            groups.back().juxtaposed = groups.back().juxtaposed || !separator;
            ++i;
        } else {
            ++i;
        }
        if (groups.back().dot && groups.back().juxtaposed) {
            return "a product that mixes \\cdot and juxtaposition";
        }
    }
    return groups.size() == 1 ? "" : "unbalanced";
}

class InfixRoundTripTest : public InfixTest {};

TEST_F(InfixRoundTripTest, TheLatexCheckFindsFaults) {
    EXPECT_EQ(latexFault(u"3 \\cdot 7 \\sqrt{x} + \\left(\\sin\\left(x\\right)\\right)^{2}"),
              "a product that mixes \\cdot and juxtaposition");
    EXPECT_EQ(latexFault(u"3 \\cdot 7 + \\operatorname{f}\\left(x\\right)^{2}"), "a call as a base without parentheses");
    EXPECT_EQ(latexFault(u"2 x \\sqrt{y} + \\frac{a b}{c \\cdot 2} - \\left| x \\right| \\cdot \\mathrm{y\\_1}"), "");
}

TEST_F(InfixRoundTripTest, RandomTreesComeBack) {
    RandomTrees random(build, 0x1F1C5EEDull);
    InfixPrintVisitorC infix;
    LatexPrintVisitorC latex;
    InfixReaderC reader;
    int call_bases = 0;
    for (int i = 0; i < 20000 && !HasFailure(); ++i) {
        std::unique_ptr<NodeABC> tree(random.tree(1 + i % 5));
        const std::u16string expected = print(tree.get());
        const std::u16string text = infix.getExpressionString(tree.get(), 0, qorv::math::Standard);
        ASSERT_FALSE(text.empty()) << narrow(expected) << ": " << narrow(infix.getErrorMessage());
        for (const char16_t* signs : {u"+ -", u"- -", u"*-", u"/-", u"^-", u"--"}) {
            EXPECT_EQ(text.find(signs), std::u16string::npos) << narrow(text);  // a sign right after an operator
        }
        PointerTC<AlgebraicExpressionC> back = reader.read(text);
        ASSERT_TRUE(back) << narrow(text) << ": " << reader.getErrorPosition() << " "
                          << narrow(reader.getErrorMessage());
        EXPECT_EQ(back->toPrefixString(0, qorv::math::Standard), expected) << narrow(text);
        const std::u16string latex_text = latex.getExpressionString(tree.get(), 0, qorv::math::Standard);
        EXPECT_FALSE(latex_text.empty()) << narrow(expected);
        EXPECT_EQ(latexFault(latex_text), "") << narrow(latex_text);
        call_bases += latex_text.find(u"\\right)\\right)^{") != std::u16string::npos ? 1 : 0;
    }
    EXPECT_GT(call_bases, 0);
    for (const int code : {0, 1, 2, 3, 4, 5, 16, 17}) {
        for (unsigned int arity = 1; arity <= 4; ++arity) {
            EXPECT_EQ(random.operators_seen.count({code, arity}), 1u) << code << " " << arity;
        }
    }
}

}  // namespace
}  // namespace testing_doubles
