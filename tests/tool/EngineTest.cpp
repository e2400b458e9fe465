// The reference session's evaluation through AlgebraicExpressionC::execute:
// exact integers and their overflow, floats, partial folding, reasons, the
// strict flag, and a tree a million levels deep.
#include <cstddef>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "algexpr/algexpr.h"
#include "refclient/FloatValueFactoryC.h"
#include "refclient/IntegerValueFactoryC.h"
#include "refclient/NumericEngineC.h"
#include "refclient/NumericSessionC.h"

using namespace qorv::math::algexpr;
using namespace qorv::math::algexpr::refclient;
using qorv::oss::PointerTC;

namespace {

std::u16string widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CASSessionBC::setSession(PointerTC<CASSessionBC>(new NumericSessionC())); }

    static PointerTC<AlgebraicExpressionC> read(const std::string& text) {
        PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(widen(text));
        EXPECT_TRUE(e) << text;
        return e;
    }

    // The printed result of a lenient evaluation; "null" for none.
    static std::string eval(const std::string& text, std::string* reason = nullptr) {
        PointerTC<AlgebraicExpressionC> e = read(text);
        std::u16string why = u"untouched";
        PointerTC<AlgebraicExpressionC> r = e->execute(false, &why);
        if (reason != nullptr) {
            *reason = narrow(why);
        }
        return r ? narrow(r->toPrefixString(0, qorv::math::Standard)) : "null";
    }
};

TEST_F(EngineTest, IntegersStayExactUntilTheyOverflow) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"plus(1,2)", "3"},
        {"times(2,3,4)", "24"},
        {"minus(5)", "-5"},
        {"minus(5,7)", "-2"},
        {"divide(6,3)", "2"},
        {"divide(-7,7)", "-1"},
        {"divide(1,4)", "0.25"},
        {"power(2,10)", "1024"},
        {"power(-2,63)", "-9223372036854775808"},
        {"power(2,63)", "9223372036854775808.0"},
        {"power(0,0)", "1"},
        {"power(-1,-3)", "-1"},
        {"power(2,-1)", "0.5"},
        {"abs(-3)", "3"},
        {"sqrt(16)", "4"},
        {"sqrt(9223372030926249001)", "3037000499"},
        {"sqrt(2)", "1.4142135623730951"},
        {"plus(9223372036854775807,1)", "9223372036854775808.0"},
        {"times(4611686018427387904,2)", "9223372036854775808.0"},
        {"minus(-9223372036854775808,1)", "-9223372036854775808.0"},
        {"neg(-9223372036854775808)", "9223372036854775808.0"},
        {"abs(-9223372036854775808)", "9223372036854775808.0"},
        {"divide(-9223372036854775808,-1)", "9223372036854775808.0"},
        {"power(3,40)", "12157665459056928768.0"},  // 3^40 rounded to a double
    };
    for (const auto& c : cases) {
        EXPECT_EQ(eval(c.in), c.out) << c.in;
    }
}

TEST_F(EngineTest, FloatsAndConstants) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"plus(1.5,2)", "3.5"},  {"times(2,0.5)", "1.0"}, {"pi", "3.141592653589793"}, {"e", "2.718281828459045"},
        {"cos(pi)", "-1.0"},     {"log(e)", "1.0"},       {"exp(0)", "1.0"},           {"exp(1000)", "1e999"},
        {"power(4,0.5)", "2.0"}, {"sin(0)", "0.0"},       {"tan(0.0)", "0.0"},         {"divide(1e999,2)", "1e999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(eval(c.in), c.out) << c.in;
    }
}

TEST_F(EngineTest, WhatCannotBeEvaluatedStaysWithTheRestFolded) {
    const struct {
        const char* in;
        const char* out;
        const char* reason;
    } cases[] = {
        {"plus(x,times(2,3))", "plus(x,6)", "x: free symbol"},
        {"f(plus(1,1),2)", "f(2,2)", "f: unknown function"},
        {"f(plus(1,1),y)", "f(2,y)", "y: free symbol"},
        {"plus(f(1),x)", "plus(f(1),x)", "f: unknown function"},
        {"divide(1,0)", "divide(1,0)", "divide: division by zero"},
        {"divide(1,0.0)", "divide(1,0.0)", "divide: division by zero"},
        {"power(0,-1)", "power(0,-1)", "power: division by zero"},
        {"log(0)", "log(0)", "log: logarithm of zero"},
        {"sqrt(-4)", "sqrt(-4)", "sqrt: the result is not a real number"},
        {"power(-8,0.5)", "power(-8,0.5)", "power: the result is not a real number"},
        {"minus(exp(1000),exp(1000))", "minus(1e999,1e999)", "minus: the result is not a real number"},
        {"minus(1,2,3)", "minus(1,2,3)", "minus: takes 1 or 2 arguments"},
        {"neg(1,2)", "neg(1,2)", "neg: takes 1 argument"},
        {"pi(1)", "pi(1)", "pi: a constant, used as a function"},
        {"times(plus,2)", "times(plus,2)", "plus: a function, used as a value"},
        {"plus(1,2)", "3", ""},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_EQ(eval(c.in, &reason), c.out) << c.in;
        EXPECT_EQ(reason, c.reason) << c.in;
    }
}

TEST_F(EngineTest, StrictEvaluationGivesANumberOrNullWithTheReason) {
    std::u16string reason;
    EXPECT_FALSE(read("plus(x,1)")->execute(true, &reason));
    EXPECT_EQ(narrow(reason), "x: free symbol");
    PointerTC<AlgebraicExpressionC> r = read("plus(1,1)")->execute(true, &reason);
    ASSERT_TRUE(r);
    EXPECT_EQ(narrow(r->toPrefixString(0, qorv::math::Standard)), "2");
    EXPECT_EQ(reason, u"");
    EXPECT_FALSE(read("f(1)")->execute(true, nullptr));  // no text wanted
}

TEST_F(EngineTest, TheInputIsNeverChanged) {
    PointerTC<AlgebraicExpressionC> e = read("plus(x,times(2,3))");
    PointerTC<AlgebraicExpressionC> r = e->execute(false, nullptr);
    ASSERT_TRUE(r);
    EXPECT_NE(r.get(), e.get());
    EXPECT_EQ(narrow(e->toPrefixString(0, qorv::math::Standard)), "plus(x,times(2,3))");
}

TEST_F(EngineTest, HandBuiltOddities) {
    std::u16string reason;
    PointerTC<AlgebraicExpressionC> empty(new AlgebraicExpressionC(nullptr));
    EXPECT_FALSE(empty->execute(false, &reason));
    EXPECT_EQ(narrow(reason), "nothing to evaluate");

    // plus(1, <null>, 2, <integer without a value>): null children count as
    // absent; the value-less number stays.
    auto* plus = new CoreFunctionNodeC(0);
    PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(plus));
    plus->addChild(new IntegerNodeC(IntegerValueFactoryC().fromInt64(1)));
    plus->addChild(new IntegerNodeC(nullptr));
    plus->addChild(new IntegerNodeC(IntegerValueFactoryC().fromInt64(2)));
    plus->replaceChild(1, nullptr);
    PointerTC<AlgebraicExpressionC> r = e->execute(false, &reason);
    ASSERT_TRUE(r);
    EXPECT_EQ(narrow(r->toPrefixString(0, qorv::math::Standard)), "3");
    plus->addChild(new IntegerNodeC(nullptr));
    r = e->execute(false, &reason);
    ASSERT_TRUE(r);
    EXPECT_EQ(narrow(r->toPrefixString(0, qorv::math::Standard)), "plus(1,2,)");
    EXPECT_EQ(narrow(reason), "a number without a value");
}

// The engine goes by names, not codes: "plus" at code 1 of another list.
TEST_F(EngineTest, EngineLearnsItsCodesFromTheNameList) {
    static const char16_t* const names[] = {u"zeta", u"plus", u""};
    NumericEngineC engine(names);
    IntegerValueFactoryC integers;
    FloatValueFactoryC floats;
    CoreFunctionNodeC sum(1);
    sum.addChild(new IntegerNodeC(integers.fromInt64(2)));
    sum.addChild(new FloatNodeC(floats.fromDouble(0.5)));
    std::u16string reason;
    std::unique_ptr<NodeABC> result(engine.evaluate(sum, integers, floats, false, reason));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(narrow(result->toString()), "2.5");
    CoreFunctionNodeC zeta(0);
    zeta.addChild(new IntegerNodeC(integers.fromInt64(2)));
    EXPECT_EQ(std::unique_ptr<NodeABC>(engine.evaluate(zeta, integers, floats, true, reason)), nullptr);
    EXPECT_NE(reason, u"");
}

TEST_F(EngineTest, AMillionLevelsDeep) {
    const std::size_t n = 1000000;
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text += "neg(";
    }
    text += "1" + std::string(n, ')');
    EXPECT_EQ(eval(text), "1");

    std::string partial;
    for (std::size_t i = 0; i < n; ++i) {
        partial += "f(";
    }
    const std::string folded = partial + "2" + std::string(n, ')');
    partial += "plus(1,1)" + std::string(n, ')');
    EXPECT_EQ(eval(partial), folded);
}

}  // namespace
