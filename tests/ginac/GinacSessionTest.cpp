// SPDX-License-Identifier: MIT
// The GiNaC client through the session: the texts results take, their one
// order, reading back and idempotence, the operations, the numeric flag and
// its precision, and the limits and failures that end in a null result with
// a reason. Each case reads prefix text, executes it and prints the result.
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "GinacFixture.h"

using namespace ginac_tests;

namespace {

TEST(GinacSessionTest, GivesExactResultsAsAPersonWritesThem) {
    expectResults({
        {"divide(1,3)", "divide(1,3)"},
        {"plus(divide(1,2),divide(1,3))", "divide(5,6)"},
        {"power(2,100)", "1267650600228229401496703205376"},
        {"sin(divide(pi,6))", "divide(1,2)"},
        {"minus(power(2,70),minus(power(2,70),1))", "1"},
        {"minus(x,y)", "minus(x,y)"},
        {"divide(x,y)", "divide(x,y)"},
        {"plus(x,1)", "plus(x,1)"},
        {"sqrt(-1)", "i"},
        {"99999999999999999999999999", "99999999999999999999999999"},
        {"simplify(minus(plus(x,1),x))", "1"},
        {"simplify(divide(minus(power(x,2),1),minus(x,1)))", "plus(x,1)"},
        {"diff(power(x,3),x)", "times(3,power(x,2))"},
        {"factor(minus(power(x,2),1))", "times(minus(x,1),plus(x,1))"},
    });
    DigitsGuard digits(30);
    EXPECT_EQ(numeric("divide(1,3)"), "0.333333333333333333333333333333");
}

TEST(GinacSessionTest, WritesEachKindOfTermInItsOwnForm) {
    expectResults({
        {"divide(-1,3)", "divide(-1,3)"},
        {"neg(x)", "neg(x)"},
        {"times(x,-3)", "times(-3,x)"},
        {"divide(times(2,x),times(3,y))", "divide(times(2,x),times(3,y))"},
        {"divide(neg(x),3)", "divide(neg(x),3)"},
        {"divide(-2,x)", "divide(-2,x)"},
        {"power(x,-1)", "divide(1,x)"},
        {"power(x,divide(1,2))", "sqrt(x)"},
        {"power(x,divide(-1,2))", "divide(1,sqrt(x))"},
        {"power(x,divide(3,2))", "power(x,divide(3,2))"},
        {"power(x,neg(y))", "power(x,neg(y))"},
        {"exp(1)", "e"},
        {"power(e,x)", "exp(x)"},
        {"times(pi,2,x)", "times(2,pi,x)"},
        {"plus(1,times(2,i))", "plus(1,times(2,i))"},
        {"minus(1,times(2,i))", "minus(1,times(2,i))"},
        {"times(-2,i)", "times(-2,i)"},
        {"divide(i,2)", "divide(i,2)"},
        {"times(i,x)", "times(i,x)"},
        {"plus(x,0.5)", "plus(x,0.5)"},
        {"times(-2.5,x)", "times(-2.5,x)"},
        {"plus(1,neg(power(x,2)),times(2,x))", "plus(neg(power(x,2)),times(2,x),1)"},
        {"expand(power(minus(x,1),2))", "plus(minus(power(x,2),times(2,x)),1)"},
        {"plus(y,x,z)", "plus(x,y,z)"},
        {"times(z,y,x)", "times(x,y,z)"},
        {"plus(sin(x),1,power(x,2),x)", "plus(power(x,2),x,sin(x),1)"},
        {"times(sin(x),cos(x),y,x,sqrt(2))", "times(sqrt(2),x,y,cos(x),sin(x))"},
        {"plus(times(x,y),power(y,2),power(x,2))", "plus(power(x,2),times(x,y),power(y,2))"},
        {"times(plus(x,1),x,sin(x))", "times(x,sin(x),plus(x,1))"},
    });
}

// GiNaC orders terms by when their symbols were made; the client does not.
TEST(GinacSessionTest, OrderDependsOnTheExpressionAloneNotOnWhatWasReadBefore) {
    const std::vector<std::string> lines = {"minus(x,y)", "factor(minus(power(y,2),power(x,2)))",
                                            "simplify(divide(1,minus(y,x)))", "plus(b,a,times(c,a))"};
    std::vector<std::string> first;
    for (const std::string& line : lines) {
        first.push_back(eval(line));
    }
    for (const char* before : {"y", "c", "plus(zz,y,c,b)", "f(y,x)"}) {
        eval(before);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(eval(lines[i]), first[i]) << lines[i] << " after " << before;
        }
    }
    EXPECT_EQ(first[0], "minus(x,y)");
    EXPECT_EQ(first[3], "plus(times(a,c),a,b)");
}

TEST(GinacSessionTest, CarriesOutTheOperations) {
    expectResults({
        {"diff(sin(x),x)", "cos(x)"},
        {"diff(power(x,4),x,2)", "times(12,power(x,2))"},
        {"diff(sin(x),x,0)", "sin(x)"},
        {"diff(f(times(2,x)),x)", "times(2,pdiff(f(times(2,x)),1))"},
        {"diff(g(x,y),y,2)", "pdiff(pdiff(g(x,y),2),2)"},
        {"diff(abs(x),x)", "divide(plus(x,conjugate(x)),times(2,abs(x)))"},  // along the real line
        {"expand(times(plus(x,1),plus(x,-1)))", "minus(power(x,2),1)"},
        {"simplify(plus(divide(1,x),divide(1,y)))", "divide(plus(x,y),times(x,y))"},
        {"simplify(minus(power(sin(x),2),minus(1,power(cos(x),2))))",
         "minus(plus(power(cos(x),2),power(sin(x),2)),1)"},  // no trigonometric identities
        {"series(exp(x),x,0,3)", "plus(1,x,divide(power(x,2),2),order(power(x,3)))"},
        {"series(sin(x),x,0,4)", "plus(minus(x,divide(power(x,3),6)),order(power(x,4)))"},
        {"plus(f(x),f(x),g(x))", "plus(times(2,f(x)),g(x))"},
        {"expand(times(f(plus(x,1)),plus(x,1)))", "plus(times(x,f(plus(x,1))),f(plus(x,1)))"},
    });
}

// Every result reads back through the session, and evaluating it again
// gives the very same text.
TEST(GinacSessionTest, ResultsReadBackAndAreFixedPoints) {
    const char* leaves[] = {"x", "y", "z", "1", "2", "-3", "divide(1,2)", "pi", "e", "i", "0.5", "f(x)", "g(x,y)"};
    const char* unary[] = {"neg", "sin", "cos", "exp", "sqrt", "abs", "atan", "sinh", "f", "expand", "simplify"};
    const char* binary[] = {"plus", "minus", "times", "divide", "power", "g"};
    std::mt19937 random(12345);
    std::vector<std::string> texts;
    for (int line = 0; line < 300; ++line) {
        std::vector<std::string> stack;
        const int size = 2 + static_cast<int>(random() % 10);
        for (int i = 0; i < size; ++i) {
            const unsigned choice = random() % 10;
            if (stack.size() >= 2 && choice < 5) {
                const std::string b = stack.back();
                stack.pop_back();
                const std::string a = stack.back();
                stack.pop_back();
                const char* op = binary[random() % (sizeof binary / sizeof *binary)];
                const bool small_power = std::string(op) == "power";
                stack.push_back(std::string(op) + "(" + a + "," + (small_power ? std::to_string(random() % 4) : b) + ")");
            } else if (!stack.empty() && choice < 7) {
                stack.back() = std::string(unary[random() % (sizeof unary / sizeof *unary)]) + "(" + stack.back() + ")";
            } else {
                stack.push_back(leaves[random() % (sizeof leaves / sizeof *leaves)]);
            }
        }
        std::string text = stack.front();
        for (std::size_t i = 1; i < stack.size(); ++i) {
            text = "plus(" + text + "," + stack[i] + ")";
        }
        texts.push_back(text);
    }
    int evaluated = 0;
    for (const std::string& text : texts) {
        const Outcome first = run(text);
        if (first.text == "null") {
            continue;  // a pole or a division by zero
        }
        ++evaluated;
        const Outcome second = run(first.text);
        EXPECT_EQ(second.text, first.text) << text;
    }
    EXPECT_GT(evaluated, 250);
}

TEST(GinacSessionTest, NumericFlagGivesOneNumberAtTheSessionsPrecision) {
    EXPECT_EQ(numeric("power(2,100)"), "1267650600228229401496703205376");
    EXPECT_EQ(numeric("divide(4,2)"), "2");
    EXPECT_EQ(numeric("sin(0)"), "0");
    EXPECT_EQ(numeric("pi"), "3.1415926535897932");
    EXPECT_EQ(numeric("divide(1,3)"), "0.33333333333333333");
    EXPECT_EQ(numeric("plus(0.1,0.2)"), "0.3");
    EXPECT_EQ(numeric("sqrt(2)"), "1.414213562373095");  // the 17th digit is a 0
    EXPECT_EQ(numeric("exp(1000000)"), "3.0332153968020875e434294");
    {
        DigitsGuard digits(50);
        EXPECT_EQ(numeric("pi"), "3.1415926535897932384626433832795028841971693993751");
        EXPECT_EQ(numeric("divide(2,3)"), "0.66666666666666666666666666666666666666666666666667");
    }
    expectRefused({{"plus(x,y)", "x: free symbol"}, {"f(1)", "f: unknown function"}, {"order(x)", "x: free symbol"}},
                  true);
    EXPECT_EQ(run("cos(i)", true).text, "1.5430806348152438") << "real, though i is in it";
    // Complex values: each part on its own, an integer where it is exact.
    EXPECT_EQ(numeric("i"), "i");
    EXPECT_EQ(numeric("log(-1)"), "times(3.1415926535897932,i)");
    EXPECT_EQ(numeric("plus(1,i)"), "plus(1,i)");
    EXPECT_EQ(numeric("sqrt(-2)"), "times(1.414213562373095,i)");
    EXPECT_EQ(numeric("power(sin(4),2)"), "0.57275001690430676");
    EXPECT_EQ(numeric("times(cos(2),cos(2))"), "0.17317818956819404");
    EXPECT_EQ(numeric("minus(divide(1,3),times(2,i))"), "minus(0.33333333333333333,times(2,i))");
    EXPECT_EQ(run("sqrt(-2)", true).reason, "");
}

// A float is what is written: 1.0e300 is 10^300, with the working precision
// after its point, so its sine is that of 10^300; a float with no digit
// after its point left (a huge computed one) has no meaningful sine.
TEST(GinacSessionTest, PeriodicFunctionsOfLargeArgumentsAreExactOrRefused) {
    EXPECT_EQ(eval("sin(1.0e300)"), "-0.985750425160377");  // -0.98575042516037699661...
    EXPECT_EQ(numeric("sin(power(10,300))"), "-0.985750425160377");
    EXPECT_EQ(numeric("cos(power(10,22))"), "0.52321478539513895");
    const Outcome huge = run("tan(exp(776.2e3))");
    EXPECT_EQ(huge.text, "null");
    EXPECT_EQ(huge.reason.rfind("tan: a float argument of about 10^337,099 has no significant digit after its point", 0), 0u)
        << huge.reason;
    const Outcome exact = run("sin(power(10,1000000))", true);
    EXPECT_EQ(exact.reason, "sin: an argument of about 10^1,000,000 is too large to reduce; the limit is 10^10,000");
    EXPECT_EQ(eval("sin(power(10,999999))").substr(0, 6), "sin(10") << "exact, it stays as it is";
}

TEST(GinacSessionTest, ReasonIsEmptyExactlyForRealNumbers) {
    EXPECT_EQ(run("divide(5,6)").reason, "");
    EXPECT_EQ(run("sqrt(2)").reason, "");
    EXPECT_EQ(run("plus(y,x)").reason, "x: free symbol");
    EXPECT_EQ(run("g(2)").reason, "g: unknown function");
    EXPECT_EQ(run("plus(1,i)").reason, "not a real number");
}

TEST(GinacSessionTest, DigitsAreBoundedWithAMessage) {
    std::u16string message;
    EXPECT_FALSE(session().setDigits(GinacEngineC::kMaxDigits + 1, &message));
    EXPECT_EQ(narrow(message), "digits must be at most 10,000");
    EXPECT_FALSE(session().setDigits(0, &message));
    EXPECT_EQ(narrow(message), "digits must be at least 1");
    EXPECT_EQ(session().getDigits(), GinacEngineC::kDefaultDigits);
    DigitsGuard digits(GinacEngineC::kMaxDigits);
    const std::string third = numeric("divide(1,3)");
    EXPECT_EQ(third.size(), GinacEngineC::kMaxDigits + 2);
}

TEST(GinacSessionTest, FailuresGiveNullWithTheReason) {
    expectRefused({
        {"divide(1,0)", "division by zero"},
        {"log(0)", "log(0)"},
        {"tan(divide(pi,2))", "simple pole"},
        {"minus(1,2,3)", "minus takes 1 or 2 arguments"},
        {"divide(1)", "divide takes 2 arguments"},
        {"pi(2)", "pi: a constant, used as a function"},
        {"plus(sin,1)", "sin: a function, used as a value"},
        {"diff(sin(x),2)", "diff: the variable must be a symbol"},
        {"diff(sin(x),x,51)", "diff: the order must be a whole number from 0 to 50"},
        {"series(exp(x),x,0,0)", "series: the order must be a whole number from 1 to 100"},
        {"pdiff(sin(x),1)", "pdiff: the first argument must be an unknown function applied to arguments"},
        {"pdiff(f(x),2)", "pdiff: the argument position must be a whole number from 1 to 1"},
    });
}

TEST(GinacSessionTest, SizeLimitsRefuseBeforeComputing) {
    const auto start = std::chrono::steady_clock::now();
    expectRefused({
        {"power(3,power(10,9))", "power: the result would hold an integer of about 477,121,254 digits"},
        {"power(times(2,x),power(10,8))", "power: the result would hold an integer of about 30,102,999 digits"},
        {"power(power(2,divide(1,2)),power(10,10))", "power: the result would hold an integer of about"},
        {"expand(power(plus(x,y,1),1000))", "expand: expanding would give up to 501,501 terms"},
        {"expand(power(plus(x,1),10000))", "expand: expanding would give up to 10,001 terms and 30,"},
        {"simplify(plus(power(plus(x,1),100000),divide(1,x)))", "simplify: expanding would give"},
        {"factor(power(plus(x,y,z),1000))", "factor: expanding would give up to 501,501 terms"},
        // A degree past 2^53 in the term bound (the polynomial route declines
        // degrees past 2^40 to this path).
        {"expand(power(plus(times(8,x),power(x,7625597484987)),19683))",
         "expand: expanding would give up to 19,684 terms and 466,"},
        // 1,275 terms in the end, but 27 million products of floats first.
        {"expand(power(expand(power(plus(times(2,x),y,1.0),7)),7))", "expand: expanding would form 26,978,328 products"},
        // sqrt(u)^6 is u^3, multiplied out: u's 330 terms cubed.
        {"expand(power(plus(x,sqrt(expand(power(plus(x,y,z,w,1),7)))),7))", "expand: expanding would form "},
        // 1/x and x make more terms than the degree alone allows.
        {"expand(power(plus(times(plus(x,divide(1,x)),plus(x,divide(1,minus(x,7))),power(plus(x,y,z),5)),4),5))",
         "expand: expanding would "},
    }, false, true);
    // sin(atan(u)) is u/sqrt(1 + u^2): u twice at each level, 2^40 times in all.
    std::string doubling = "x";
    std::string once = "x";
    for (int i = 0; i < 40; ++i) {
        doubling = "sin(atan(" + doubling + "))";
        once = "cos(atan(" + once + "))";
    }
    EXPECT_EQ(run("expand(" + doubling + ")").reason,
              "sin: the argument of its inverse would be written twice, in more than 2,000,000 nodes");
    EXPECT_NE(run(once).text, "null");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Just inside the integer limit, and a result beyond it.
    EXPECT_EQ(eval("power(10,999999)").size(), 1000000u);
    const Outcome big = run("times(power(10,999999),power(10,999999))");
    EXPECT_EQ(big.text, "null");
    EXPECT_EQ(big.reason.rfind("times: the result would hold an integer of about 1,999,99", 0), 0u) << big.reason;
    std::string huge(GinacEngineC::kMaxIntegerDigits + 1, '7');
    EXPECT_EQ(run(huge).reason, "an integer of about 1,000,001 digits; exact integers are limited to 1,000,000 digits");
}

// Chains 10^5 and 10^6 deep give the depth error at once; chains within the
// limit give a result. A neg chain would prove nothing: GiNaC cancels it.
TEST(GinacSessionTest, DeepChainsGiveTheDepthErrorOrAResultWithinSeconds) {
    session();
    for (const char* function : {"sin", "f"}) {
        for (std::size_t depth : {std::size_t{100000}, std::size_t{1000000}}) {
            PointerTC<AlgebraicExpressionC> chain = AlgebraicExpressionC::fromPrefixString(wide(nested(function, depth, "x")));
            ASSERT_TRUE(chain);
            std::u16string reason;
            const auto start = std::chrono::steady_clock::now();
            EXPECT_FALSE(chain->execute(false, &reason));
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
            EXPECT_EQ(narrow(reason), std::string("the expression is nested ") + (depth == 100000 ? "100,000" : "1,000,000") +
                                          " levels deep; the limit is 10,000");
        }
        const std::string deepest = nested(function, GinacEngineC::kMaxDepth, "x");
        EXPECT_EQ(eval(deepest), deepest);
    }
    const Outcome diff = run("diff(" + nested("sin", GinacEngineC::kMaxDiffDepth + 1, "x") + ",x)");
    EXPECT_EQ(diff.reason, "diff: the expression is nested 501 levels deep; the limit for diff is 500");
    // Sums and products nested as deep as one likes are flat to GiNaC.
    std::string plus;
    for (int i = 0; i < 200000; ++i) {
        plus += "plus(x,";
    }
    plus += "1" + std::string(200000, ')');
    EXPECT_EQ(eval(plus), "plus(times(200000,x),1)");
    std::string sum;
    for (int i = 0; i < 200000; ++i) {
        sum += "minus(";
    }
    sum += "x";
    for (int i = 0; i < 200000; ++i) {
        sum += ",y)";
    }
    EXPECT_EQ(eval(sum), "minus(x,times(200000,y))");
}

TEST(GinacSessionTest, UnknownFunctionsOfAnyArityLeaveStandardErrorClean) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(eval("plus(h(x),h(x,y),h(x,y,z))"), "plus(h(x),h(x,y),h(x,y,z))");
    EXPECT_EQ(eval("plus(beta(x),psi(x),tgamma(x),beta(x,y))"), "plus(beta(x),beta(x,y),psi(x),tgamma(x))");
    EXPECT_EQ(eval("csgn(x)"), "csgn(x)");  // GiNaC's own
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Positive and real symbols, set as assumptions or with setRealSymbols (its
// real case, which leaves the others); what GiNaC has no symbols for is
// refused and changes nothing.
TEST(GinacSessionTest, AssumptionsGivePositiveAndRealSymbolsOrAreRefused) {
    using KindE = SymbolAssumptionS::KindE;
    ASSERT_TRUE(session().setAssumptions({{u"x", KindE::Positive}, {u"y", KindE::NonNegative}, {u"y", KindE::NonZero}}));
    EXPECT_EQ(eval("sqrt(power(x,2))"), "x");
    EXPECT_EQ(eval("expand(log(times(x,y,z)))"), "plus(log(x),log(y),log(z))");
    EXPECT_EQ(eval("expand(log(times(2,z)))"), "log(times(2,z))");
    session().setRealSymbols({u"z"});
    EXPECT_EQ(session().getRealSymbols(), std::vector<std::u16string>{u"z"});
    EXPECT_EQ(session().getAssumptions().size(), 4u);
    EXPECT_EQ(eval("plus(log(exp(z)),sqrt(power(x,2)))"), "plus(x,z)");
    std::u16string message;
    EXPECT_FALSE(session().setAssumptions({{u"n", KindE::Integer}}, &message));
    EXPECT_EQ(narrow(message), "GiNaC cannot assume n integer: its symbols are complex, real or positive (> 0)");
    EXPECT_FALSE(session().setAssumptions({{u"x", KindE::Negative}}));
    EXPECT_FALSE(session().setAssumptions({{u"x", KindE::NonZero}}));
    EXPECT_EQ(session().getAssumptions().size(), 4u);
    ASSERT_TRUE(session().setAssumptions({}));
    EXPECT_EQ(eval("sqrt(power(x,2))"), "sqrt(power(x,2))");
    EXPECT_TRUE(session().getRealSymbols().empty());
}

}  // namespace
