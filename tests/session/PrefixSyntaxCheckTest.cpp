// SPDX-License-Identifier: MIT
// The strict syntax check: where and why a text departs from the grammar, and
// that what passes reads into the tree the grammar gives, printing included.
#include <cstdlib>
#include <random>
#include <tuple>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

using C = PrefixSyntaxCheckC;

// Each rule broken alone first, then the cases where rules meet: the first one
// broken from left to right wins.
TEST(PrefixSyntaxCheckTest, SaysWhereAndWhyATextDeparts) {
    const std::tuple<const char16_t*, C::ProblemE, std::size_t> cases[] = {
        {u"f(x", C::UnclosedParenthesis, 3},
        {u"f(", C::UnclosedParenthesis, 2},
        {u"f(x,", C::UnclosedParenthesis, 4},
        {u"f(x))", C::ClosesNothing, 4},
        {u"f(x)y", C::TextAfterExpression, 4},
        {u"f(a,,b)", C::EmptyArgument, 4},
        {u"f()", C::NoArguments, 2},
        {u"(x)", C::MissingName, 0},
        {u"1 2", C::SpaceInsideToken, 1},
        {u"si n(x)", C::SpaceInsideToken, 2},
        {u"  ", C::EmptyText, 2},
        {u"", C::EmptyText, 0},

        {u"f(x \t", C::UnclosedParenthesis, 5},
        {u"g(f(x)", C::UnclosedParenthesis, 6},
        {u"f(a,,b", C::EmptyArgument, 4},     // before the missing ")"
        {u"f(x y", C::SpaceInsideToken, 3},   // likewise
        {u"a \t b c", C::SpaceInsideToken, 1},
        {u"f(x)) y", C::ClosesNothing, 4},
        {u"f(x)  )", C::ClosesNothing, 6},
        {u")", C::ClosesNothing, 0},
        {u"a)b", C::ClosesNothing, 1},  // ")" is never part of a name
        {u"f( )", C::NoArguments, 3},
        {u"f(,a)", C::EmptyArgument, 2},
        {u"f(a,)", C::EmptyArgument, 4},
        {u"f(a, )", C::EmptyArgument, 5},
        {u"g(f(x)y)", C::TextAfterExpression, 6},
        {u"g(f(x) (y))", C::TextAfterExpression, 7},
        {u"f(x)(y)", C::TextAfterExpression, 4},
        {u"f((x))", C::MissingName, 2},
        {u"f(a, (b))", C::MissingName, 5},
        {u"x,y", C::CommaOutside, 1},
        {u",x", C::CommaOutside, 0},
        {u"f(x) ,y", C::CommaOutside, 5},
    };
    for (const auto& [text, problem, position] : cases) {
        const C check(text);
        EXPECT_FALSE(check.isWellFormed()) << narrow(text);
        EXPECT_EQ(check.getProblem(), problem) << narrow(text);
        EXPECT_EQ(check.getPosition(), position) << narrow(text);
        EXPECT_STREQ(check.getMessage(), C::getMessage(problem));
    }
}

TEST(PrefixSyntaxCheckTest, WhitespaceStandsBetweenTokensOnly) {
    for (const char16_t* text : {u"x", u"  f(x)  ", u"f( g(x) , 2 )", u" f\t(\na ,\rb\n)\r", u"f (x)", u"+(1,2)",
                                 u"f(g(x),h(y,z))", u"\u00a0", u"a\u00a0b(c\u000bd)"}) {
        const C check(text);
        EXPECT_TRUE(check.isWellFormed()) << narrow(text) << ": " << check.getMessage();
        EXPECT_EQ(check.getPosition(), std::u16string_view(text).size());
        EXPECT_STREQ(check.getMessage(), "");
    }
}

TEST(PrefixSyntaxCheckTest, NumberTextsFollowTheReadersRule) {
    for (const char16_t* text : {u"12", u"-3.5", u"1e5", u"2.5E-3", u"1e", u"+", u"", u"\u22125", u"\u20131e\u2212"}) {
        EXPECT_TRUE(C::readsAsNumber(text)) << narrow(text);
    }
    for (const char16_t* text : {u"e5", u"E", u"x1", u"2x", u"1e5e", u"1ee", u"1 2", u"e"}) {
        EXPECT_FALSE(C::readsAsNumber(text)) << narrow(text);
    }
}

// A million levels: the check keeps a count, not a stack.
TEST(PrefixSyntaxCheckTest, DeepText) {
    const std::size_t depth = 1000000;
    std::u16string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += u"f( ";
    }
    text += u"x" + std::u16string(depth, u')');
    EXPECT_TRUE(C(text).isWellFormed());
    const C unclosed(std::u16string_view(text).substr(0, text.size() - 1));
    EXPECT_EQ(unclosed.getProblem(), C::UnclosedParenthesis);
    EXPECT_EQ(unclosed.getPosition(), text.size() - 1);
    const C extra(text + u")");
    EXPECT_EQ(extra.getProblem(), C::ClosesNothing);
    EXPECT_EQ(extra.getPosition(), text.size());
}

// The shape the grammar gives a text: a function (with its arguments) or a
// leaf (a number text or a name).
struct Shape {
    std::u16string name;
    std::vector<Shape> arguments;
};

class StrictTextTest : public SessionTest {
protected:
    // Names in the strict sense, some of them core names and some close to
    // number texts; function names may be number texts.
    const std::vector<std::u16string> leaf_names{u"x", u"pi", u"_", u"y2", u"e", u"E5", u"2x", u"1e5e", u"a+b",
                                                 u"\u00a0", u"\u00e9t\u00e9", std::u16string(1, char16_t(0xD800))};
    const std::vector<std::u16string> function_names{u"f", u"g", u"sin", u"plus", u"+", u"1e", u"h\u2212k",
                                                     u"\U0001D465"};
    const std::vector<std::u16string> numbers{u"0", u"42", u"-7", u"1.5", u"2e3", u"-0.25E-2", u"+3"};

    template <class T>
    const T& pick(const std::vector<T>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    }
    bool chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; }

    Shape makeShape(int depth) {
        if (depth == 0 || chance(30)) {
            return {chance(50) ? pick(numbers) : pick(leaf_names), {}};
        }
        Shape shape{pick(function_names), {}};
        const int count = std::uniform_int_distribution<int>(1, 4)(random);
        for (int i = 0; i < count; ++i) {
            shape.arguments.push_back(makeShape(depth - 1));
        }
        return shape;
    }

    // Zero to two whitespace characters.
    std::u16string space() {
        static const char16_t kinds[] = u" \t\n\r";
        std::u16string text;
        for (int n = std::uniform_int_distribution<int>(0, 2)(random); n > 0; --n) {
            text += kinds[std::uniform_int_distribution<int>(0, 3)(random)];
        }
        return text;
    }

    std::u16string write(const Shape& shape) {
        std::u16string text = shape.name;
        if (!shape.arguments.empty()) {
            text += space() + u"(";
            for (const Shape& argument : shape.arguments) {
                text += space() + write(argument) + space() + u",";
            }
            text.back() = u')';
        }
        return text;
    }

    // The tree the grammar gives: functions with their names and arguments,
    // number texts as the number factories' values, other leaves as names.
    void expectTree(const NodeABC* node, const Shape& shape) {
        ASSERT_NE(node, nullptr);
        SCOPED_TRACE(narrow(shape.name));
        if (!shape.arguments.empty()) {
            auto* function = static_cast<ParentNodeABC*>(node->lookUpBase(ParentNodeABC::getCastableId()));
            ASSERT_NE(function, nullptr);
            EXPECT_EQ(function->toString(), shape.name);
            ASSERT_EQ(function->numChildren(), shape.arguments.size());
            for (unsigned int i = 0; i < function->numChildren(); ++i) {
                expectTree(function->child(i), shape.arguments[i]);
            }
        } else if (C::readsAsNumber(shape.name)) {
            const bool is_float = shape.name.find_first_of(u".eE") != std::u16string::npos;
            if (auto* integer = static_cast<IntegerNodeC*>(node->lookUpBase(IntegerNodeC::getCastableId()))) {
                EXPECT_FALSE(is_float);
                EXPECT_EQ(integer->getValue()->getValue(), std::strtoll(narrow(shape.name).c_str(), nullptr, 10));
            } else {
                auto* real = static_cast<FloatNodeC*>(node->lookUpBase(FloatNodeC::getCastableId()));
                ASSERT_NE(real, nullptr);
                EXPECT_EQ(real->getValue()->getValue(), std::strtod(narrow(shape.name).c_str(), nullptr));
            }
        } else {
            EXPECT_TRUE(node->lookUpBase(CoreSymbolNodeC::getCastableId()) ||
                        node->lookUpBase(ExtendedSymbolNodeC::getCastableId()));
            EXPECT_EQ(node->toString(), shape.name);
        }
    }

    // A random tree of every node kind, each function with children, each
    // name a name in the strict sense (code 7 prints as "?<7>?").
    NodeABC* makeTree(int depth) {
        if (depth == 0 || chance(30)) {
            switch (std::uniform_int_distribution<int>(0, 3)(random)) {
                case 0:
                    return new CoreSymbolNodeC(chance(80) ? 3 : 7);
                case 1:
                    return build.sym(pick(leaf_names).c_str());
                case 2:
                    return build.integer(std::uniform_int_distribution<int>(-99, 99)(random));
                default:
                    return build.real(std::uniform_real_distribution<double>(-1e6, 1e6)(random));
            }
        }
        ParentNodeABC* node = chance(50) ? static_cast<ParentNodeABC*>(new CoreFunctionNodeC(chance(80) ? 1 : 7))
                                         : build.fn(pick(function_names).c_str(), {});
        for (int n = std::uniform_int_distribution<int>(1, 3)(random); n > 0; --n) {
            node->addChild(makeTree(depth - 1));
        }
        return node;
    }

    std::mt19937 random{20240613};
};

TEST_F(StrictTextTest, WhatPassesReadsAsTheGrammarSaysAndPrintsStrictly) {
    for (int round = 0; round < 300; ++round) {
        const Shape shape = makeShape(4);
        const std::u16string text = space() + write(shape) + space();
        SCOPED_TRACE(narrow(text));
        ASSERT_TRUE(C(text).isWellFormed()) << C(text).getMessage() << " at " << C(text).getPosition();
        PointerTC<AlgebraicExpressionC> e = read(text);
        ASSERT_TRUE(e);
        expectTree(e->getNode(), shape);
        EXPECT_TRUE(C(e->toPrefixString(0, qorv::math::Standard)).isWellFormed());
    }
}

TEST_F(StrictTextTest, EveryPrintedTreePassesWhenItsFunctionsHaveChildren) {
    for (int round = 0; round < 300; ++round) {
        AlgebraicExpressionC tree(makeTree(5));
        const std::u16string text = tree.toPrefixString(round % 4, static_cast<qorv::math::NumberDisplayFormatE>(round % 4));
        EXPECT_TRUE(C(text).isWellFormed()) << narrow(text);
    }
    // A function without children prints as "f()", a name holding a space
    // as it is: neither is strict.
    AlgebraicExpressionC childless(build.fn(u"g", {build.sym(u"x"), build.fn(u"f", {})}));
    const C no_arguments(childless.toPrefixString(0, qorv::math::Standard));
    EXPECT_EQ(no_arguments.getProblem(), C::NoArguments);
    EXPECT_EQ(no_arguments.getPosition(), 6u);
    AlgebraicExpressionC spaced(build.fn(u"g", {build.sym(u"a b")}));
    EXPECT_EQ(C(spaced.toPrefixString(0, qorv::math::Standard)).getProblem(), C::SpaceInsideToken);
}

}  // namespace
}  // namespace testing_doubles
