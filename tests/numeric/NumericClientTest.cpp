// SPDX-License-Identifier: MIT
// The numeric client: what the number factories accept and decline, what
// the values print in every display form, and evaluation through the session
// (AlgebraicExpressionC::execute): exact integers and their overflow, floats,
// partial folding, reasons and the strict flag. Deep trees go through the tool.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "algexpr/algexpr.h"
#include "algexpr/numeric/FloatValueC.h"
#include "algexpr/numeric/FloatValueFactoryC.h"
#include "algexpr/numeric/IntegerValueC.h"
#include "algexpr/numeric/IntegerValueFactoryC.h"
#include "algexpr/numeric/NumericEngineC.h"
#include "algexpr/numeric/NumericSessionC.h"

using namespace qorv::math::algexpr;
using namespace qorv::math::algexpr::numeric;
using qorv::math::NumberDisplayFormatE;
using qorv::oss::PointerTC;

namespace {

// For messages: the text, ASCII as it is.
std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::uint64_t bits(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

std::string print(const PointerTC<AlgebraicExpressionC>& e) {
    return e ? narrow(e->toPrefixString(0, qorv::math::Standard)) : "null";
}

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// Each accepted text's value also prints as decimal that reads back.
TEST(IntegerValueTest, ReadsOneSignOfFourAndDecimalDigitsWithin64BitsOnly) {
    IntegerValueFactoryC factory;
    const auto read = [&](const std::u16string& text) {
        std::unique_ptr<IntegerValueABC> value(factory.fromString(text));
        return value ? std::optional<std::int64_t>(value->getValue()) : std::nullopt;
    };
    const struct {
        const char16_t* text;
        std::int64_t value;
    } cases[] = {{u"+7", 7},
                 {u"-7", -7},
                 {u"\u20137", -7},
                 {u"\u22127", -7},
                 {u"007", 7},
                 {u"-0", 0},
                 {u"9223372036854775807", kMax},
                 {u"-9223372036854775808", kMin},
                 {u"\u22129223372036854775808", kMin}};
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.text), c.value) << narrow(c.text);
        EXPECT_EQ(read(IntegerValueC(c.value).toString()), c.value);
    }
    for (const char16_t* text : {u"", u"-", u"+", u"--1", u"+-1", u"1-2", u"1.0", u"1e3", u" 1", u"1 ", u"\u0661",
                                 u"9223372036854775808", u"-9223372036854775809", u"99999999999999999999"}) {
        EXPECT_FALSE(read(text)) << narrow(text);
    }
    // From a double: only whole numbers in range.
    for (const double x : {2.0, -9223372036854775808.0}) {
        std::unique_ptr<IntegerValueABC> value(factory.fromDouble(x));
        EXPECT_TRUE(value && static_cast<double>(value->getValue()) == x) << x;
    }
    for (const double x : {2.5, 9223372036854775808.0, std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        EXPECT_EQ(std::unique_ptr<IntegerValueABC>(factory.fromDouble(x)), nullptr) << x;
    }
}

// Values beyond the double range read as infinity or zero with the text's
// sign, however far beyond. (What the printer writes, -0.0 and 1e999
// included, reads back in the round-trip test.)
TEST(FloatValueTest, ReadsDecimalFloatsWithSignsAndExponents) {
    const double inf = HUGE_VAL;
    const std::u16string zeros(400, u'0');
    const struct {
        std::u16string text;
        double value;
    } cases[] = {{u".5", 0.5},
                 {u"5.", 5.0},
                 {u"+2.5", 2.5},
                 {u"1E-3", 0.001},
                 {u"2.5e+3", 2500.0},
                 {u"\u22121e\u22123", -0.001},
                 {u"\u20132.5E\u20131", -0.25},
                 {u"99999999999999999999", 1e20},
                 {u"4.9e-324", 4.9e-324},
                 {u"1e99999999999999999999", inf},
                 {u"0.000001e315", inf},
                 {u"1e-999", 0.0},
                 {u"-1e-999", -0.0},
                 {u"100000e-330", 0.0},
                 {u"1" + zeros + u"e-5", inf},  // beyond by the digits, not the exponent
                 {u"0." + zeros + u"1e5", 0.0}};
    FloatValueFactoryC factory;
    for (const auto& c : cases) {
        std::unique_ptr<FloatValueABC> value(factory.fromString(c.text));
        EXPECT_TRUE(value && bits(value->getValue()) == bits(c.value)) << narrow(c.text);
    }
    for (const char16_t* text :
         {u"",     u".",     u"-",   u"+.",  u"e5",    u"1e", u"1e+", u"1e--3", u"1.2.3", u"--1",
          u"1e5e", u"1e1.5", u"inf", u"nan", u"0x1p3", u" 1", u"1 ",  u"1-2",   u"1,5",   u"\uff11"}) {
        EXPECT_EQ(std::unique_ptr<FloatValueABC>(factory.fromString(text)), nullptr) << narrow(text);
    }
}

TEST(FloatValueTest, PrintsEachForm) {
    using namespace qorv::math;
    const struct {
        double value;
        unsigned long digits;
        NumberDisplayFormatE format;
        const char16_t* text;
    } cases[] = {
        {1e21, 0, Standard, u"1e21"},
        {1.5e-7, 0, Standard, u"1.5e-7"},
        {-0.0, 0, Standard, u"-0.0"},
        {1234567.0, 3, Standard, u"1.23e6"},
        {100.0, 3, Standard, u"100."},  // exactly 3 digits, as the GiNaC client writes it
        {1e20, 0, Standard, u"100000000000000000000.0"},
        {1e21, 0, Fixed, u"1000000000000000000000.0"},
        {1.0, 0, Scientific, u"1e0"},
        {1234.5, 2, Scientific, u"1.2e3"},
        {12345.0, 0, Engineering, u"12.345e3"},
        {123456.0, 2, Engineering, u"120e3"},
        {999.9, 2, Engineering, u"1.0e3"},
        {1.5, 0, static_cast<NumberDisplayFormatE>(42), u"1.5"},  // not a format: Standard
        {-HUGE_VAL, 5, Engineering, u"-1e999"},
        {std::nan(""), 3, Fixed, u"nan"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloatValueC::format(c.value, c.digits, c.format), c.text)
            << c.value << " digits " << c.digits << " format " << c.format;
    }
    // Huge digit counts are capped, and still exact: 0.1 is
    // 0.1000000000000000055511151231257827..., 55 decimals.
    const std::u16string text = FloatValueC::format(0.1, std::numeric_limits<unsigned long>::max(), Fixed);
    EXPECT_EQ(text.size(), 2 + FloatValueC::kMaxDigits);
    EXPECT_EQ(text.substr(0, 30), u"0.1000000000000000055511151231");
    EXPECT_EQ(FloatValueC::format(4.9e-324, 0, Fixed), u"0." + std::u16string(323, u'0') + u"5");
}

// Shortest round trip in every form, over special values and random bits;
// the text always reads as a float, never as an integer.
TEST(FloatValueTest, EveryFormReadsBackToTheSameDoubleAsAFloat) {
    std::mt19937_64 random(20240601);
    std::vector<double> values = {0.0,          -0.0,    1.0,     0.1,      1e21,     1e-7,
                                  DBL_TRUE_MIN, DBL_MIN, DBL_MAX, -DBL_MAX, HUGE_VAL, -HUGE_VAL};
    for (int i = 0; i < 20000; ++i) {
        double x;
        const std::uint64_t b = random();
        std::memcpy(&x, &b, sizeof x);
        if (!std::isnan(x)) {
            values.push_back(x);
        }
    }
    for (const double x : values) {
        for (int format = qorv::math::Standard; format <= qorv::math::Engineering; ++format) {
            const std::u16string text = FloatValueC::format(x, 0, static_cast<NumberDisplayFormatE>(format));
            double back = 7.0;
            ASSERT_TRUE(FloatValueC::parse(text, back)) << narrow(text);
            ASSERT_EQ(bits(back), bits(x)) << narrow(text);
            ASSERT_NE(text.find_first_of(u".e"), std::u16string::npos) << narrow(text);
        }
    }
}

// Nothing is needed to make a session: it comes with the built-in
// vocabulary, numbered in the order builtinCoreNames lists it, its engine and
// its factories.
TEST(NumericSessionTest, DefaultConstructedHasTheBuiltInVocabulary) {
    static_assert(std::is_default_constructible_v<NumericSessionC>);
    PointerTC<NumericSessionC> session(new NumericSessionC);
    const char16_t* const* names = NumericEngineC::builtinCoreNames();
    int code = 0;
    for (; names[code][0] != 0; ++code) {
        PointerTC<CoreElementC> element = session->lookupCoreElement(names[code]);
        EXPECT_TRUE(element && element->getCode() == code) << narrow(names[code]);
    }
    // Every name of the engines' vocabulary, those it refuses too (so that
    // each has the code it has in every engine).
    EXPECT_GT(code, 70);
    EXPECT_TRUE(session->lookupCoreElement(u"diff") && session->lookupCoreElement(u"erf"));
    EXPECT_TRUE(session->getCASEngine() && session->getIntegerValueFactory() && session->getFloatValueFactory());
}

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CASSessionBC::setSession(PointerTC<CASSessionBC>(new NumericSessionC())); }

    // The printed result ("null" for none) and the reason, of a lenient or a
    // strict evaluation of `text`, which is left as it was.
    static std::string eval(const std::string& text, bool strict = false, std::string* reason = nullptr) {
        PointerTC<AlgebraicExpressionC> e =
            AlgebraicExpressionC::fromPrefixString(std::u16string(text.begin(), text.end()));
        EXPECT_TRUE(e) << text;
        std::u16string why = u"untouched";
        PointerTC<AlgebraicExpressionC> r = e->execute(strict, reason != nullptr ? &why : nullptr);
        EXPECT_NE(r.get(), e.get());
        EXPECT_EQ(print(e), text);
        if (reason != nullptr) {
            *reason = narrow(why);
        }
        return print(r);
    }
};

// execute(session, ...) evaluates with that session, current or not: here one
// whose code 0, plus to the current session, is minus.
TEST_F(EngineTest, ASessionThatIsNotCurrentEvaluatesWhatItIsGiven) {
    const char16_t* const names[] = {u"minus", u"plus", u""};
    const PointerTC<CASSessionBC> other(new NumericSessionC(names));
    const PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"plus(7,2)");
    ASSERT_TRUE(e);
    std::u16string why = u"untouched";
    EXPECT_EQ(print(e->execute(other, false, &why)), "5");
    EXPECT_EQ(why, u"");
    EXPECT_EQ(print(e->execute(false, &why)), "9");
    why = u"untouched";
    EXPECT_FALSE(e->execute(PointerTC<CASSessionBC>(), false, &why));
    EXPECT_EQ(why, u"untouched");
}

// Also in strict mode: the same number, or null for the same reason.
TEST_F(EngineTest, FoldsWhatItCanAndGivesTheFirstReasonInPostOrder) {
    const struct {
        const char* in;
        const char* out;
        const char* reason;
    } cases[] = {
        // Integers stay exact and become floats only where a step overflows.
        {"times(2,3,4)", "24", ""},
        {"minus(5)", "-5", ""},
        {"minus(5,7)", "-2", ""},
        {"divide(-7,7)", "-1", ""},
        {"divide(1,4)", "0.25", ""},
        {"power(-2,63)", "-9223372036854775808", ""},
        {"power(2,63)", "9223372036854775808.0", ""},
        {"power(0,0)", "1", ""},
        {"power(-1,-3)", "-1", ""},
        {"power(2,-1)", "0.5", ""},
        {"abs(-3)", "3", ""},
        {"sqrt(9223372030926249001)", "3037000499", ""},
        {"sqrt(2)", "1.4142135623730951", ""},
        {"plus(9223372036854775807,1)", "9223372036854775808.0", ""},
        {"times(4611686018427387904,2)", "9223372036854775808.0", ""},
        {"minus(-9223372036854775808,1)", "-9223372036854775808.0", ""},
        {"neg(-9223372036854775808)", "9223372036854775808.0", ""},
        {"abs(-9223372036854775808)", "9223372036854775808.0", ""},
        {"divide(-9223372036854775808,-1)", "9223372036854775808.0", ""},
        // Floats and constants.
        {"plus(1.5,2)", "3.5", ""},
        {"pi", "3.141592653589793", ""},
        {"log(e)", "1.0", ""},
        {"cos(pi)", "-1.0", ""},
        {"sin(1)", "0.8414709848078965", ""},
        {"tan(1)", "1.5574077246549023", ""},
        {"exp(1000)", "1e999", ""},

        {"power(4,0.5)", "2.0", ""},
        // What cannot be evaluated stays, with the rest folded.
        {"f(plus(1,1),2)", "f(2,2)", "f: unknown function"},
        {"f(plus(1,1),y)", "f(2,y)", "y: free symbol"},
        {"plus(f(1),x)", "plus(f(1),x)", "f: unknown function"},
        {"divide(1,0)", "divide(1,0)", "divide: division by zero"},
        {"divide(1,0.0)", "divide(1,0.0)", "divide: division by zero"},
        {"power(0,-1)", "power(0,-1)", "power: division by zero"},
        {"log(0)", "log(0)", "log: logarithm of zero"},
        {"sqrt(-4)", "sqrt(-4)", "sqrt: the result is not a real number"},
        {"minus(exp(1000),exp(1000))", "minus(1e999,1e999)", "minus: the result is not a real number"},
        {"minus(1,2,3)", "minus(1,2,3)", "minus: takes 1 or 2 arguments"},
        {"neg(1,2)", "neg(1,2)", "neg: takes 1 argument"},
        {"pi(1)", "pi(1)", "pi: a constant, used as a function"},
        {"times(plus,2)", "times(plus,2)", "plus: a function, used as a value"},
        // The real functions beyond the elementary ones (values checked
        // against SymPy by the tool's tests), exact where the value is an
        // integer, and the names the engine has but refuses.
        {"gamma(5)", "24", ""},
        {"gamma(21)", "2432902008176640000", ""},
        {"gamma(22)", "51090942171709431808.0", ""},
        {"gamma(0)", "gamma(0)", "gamma: a pole of gamma"},
        {"gamma(-2.0)", "gamma(-2.0)", "gamma: a pole of gamma"},
        {"lgamma(0)", "lgamma(0)", "lgamma: defined for positive arguments only"},
        {"zeta(1)", "zeta(1)", "zeta: the pole of zeta"},
        {"floor(-2.5)", "-3", ""},
        {"ceil(-2.5)", "-2", ""},
        {"frac(-2.25)", "0.75", ""},
        {"frac(7)", "0", ""},
        {"sign(-0.5)", "-1", ""},
        {"sign(0)", "0", ""},
        {"min(3,-2,2.5)", "-2", ""},
        {"max(3,-2,2.5)", "3", ""},
        {"max(9223372036854775807,9223372036854775806)", "9223372036854775807", ""},
        {"log10(1000)", "3", ""},
        {"log10(0)", "log10(0)", "log10: logarithm of zero"},
        {"acot(0)", "1.5707963267948966", ""},
        {"cot(0)", "cot(0)", "cot: division by zero"},
        {"asec(0)", "asec(0)", "asec: division by zero"},
        {"asin(2)", "asin(2)", "asin: the result is not a real number"},
        {"atan2(0,0)", "atan2(0,0)", "atan2: the angle of the origin"},
        {"diff(x,x)", "diff(x,x)", "x: free symbol"},
        {"diff(2,3)", "diff(2,3)", "diff: not offered by this engine"},
        {"plus(i,1)", "plus(i,1)", "i: not offered by this engine"},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_EQ(eval(c.in, false, &reason), c.out) << c.in;
        EXPECT_EQ(reason, c.reason) << c.in;
        EXPECT_EQ(eval(c.in, true, &reason), *c.reason == 0 ? c.out : "null") << c.in;
        EXPECT_EQ(reason, c.reason) << c.in;
    }
    EXPECT_EQ(eval("f(1)", true), "null");  // no reason wanted
}

// Trees that text cannot give; and the engine itself, which learns its codes
// from the name list ("plus" at code 1 here) and, when strict, stops with
// null at the first problem.
TEST_F(EngineTest, HandBuiltTreesAndTheEngineItself) {
    std::u16string reason;
    EXPECT_FALSE(PointerTC<AlgebraicExpressionC>(new AlgebraicExpressionC(nullptr))->execute(false, &reason));
    EXPECT_EQ(narrow(reason), "nothing to evaluate");
    // plus(1, <null>, 2): a null child counts as absent; a number without a
    // value stays.
    IntegerValueFactoryC integers;
    FloatValueFactoryC floats;
    auto* plus = new CoreFunctionNodeC(0);
    PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(plus));
    plus->addChild(new IntegerNodeC(integers.fromInt64(1)));
    plus->addChild(new IntegerNodeC(nullptr));
    plus->addChild(new IntegerNodeC(integers.fromInt64(2)));
    plus->replaceChild(1, nullptr);
    EXPECT_EQ(print(e->execute(false, &reason)), "3");
    plus->addChild(new IntegerNodeC(nullptr));
    EXPECT_EQ(print(e->execute(false, &reason)), "plus(1,2,)");
    EXPECT_EQ(narrow(reason), "a number without a value");

    static const char16_t* const names[] = {u"zeta", u"plus", u""};
    const NumericEngineC engine(names);
    CoreFunctionNodeC sum(1);
    sum.addChild(new IntegerNodeC(integers.fromInt64(2)));
    sum.addChild(new FloatNodeC(floats.fromDouble(0.5)));
    std::unique_ptr<NodeABC> result(engine.evaluate(sum, integers, floats, true, reason));
    EXPECT_TRUE(result && result->toString() == u"2.5");
    sum.addChild(new CoreFunctionNodeC(0));  // zeta(), which it does not evaluate
    EXPECT_EQ(std::unique_ptr<NodeABC>(engine.evaluate(sum, integers, floats, true, reason)), nullptr);
    EXPECT_NE(reason, u"");
}

}  // namespace
