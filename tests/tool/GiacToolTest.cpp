// SPDX-License-Identifier: MIT
// The algexpr tool end to end with --engine giac: integrate, limit and solve
// as commands with their options, a line without a value failing alone, eval
// with the numeric flag, and an engine that lacks an operation naming the
// one that has it. Skipped, naming the package, when the tool was built
// without Giac.
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ToolFixture.h"

namespace {

using namespace tool_tests;

class GiacToolTest : public ToolFixture {
protected:
    GiacToolTest() : ToolFixture({"--engine", "giac"}) {}

    void SetUp() override {
        if (!ALGEXPR_TOOL_HAS_GIAC) {
            GTEST_SKIP() << "the tool was built without Giac; install libgiac-dev (scripts/install-deps.sh) "
                            "and rebuild to test its Giac engine";
        }
        ToolFixture::SetUp();
    }
};

TEST_F(GiacToolTest, IntegratesTakesLimitsAndSolves) {
    EXPECT_EQ(run({"integrate", "x", "times(3,power(x,2))"}), (Result{"power(x,3)\n", "", 0}));
    EXPECT_EQ(run({"integrate", "--lower", "0", "--upper", "2", "x", "times(3,power(x,2))"}), (Result{"8\n", "", 0}));
    EXPECT_EQ(run({"limit", "x", "infinity", "divide(x,plus(x,1))"}), (Result{"1\n", "", 0}));
    EXPECT_EQ(run({"limit", "--side", "below", "x", "0", "divide(1,x)"}), (Result{"neg(infinity)\n", "", 0}));
    EXPECT_EQ(run({"solve", "--from", "infix", "--to", "infix", "x"}, "x^2 - 4\nx^2 + 1\n"),
              (Result{"[-2, 2]\n[]\n", "", 0}));
    EXPECT_EQ(run({"solve", "--from", "infix", "--to", "infix", "x", "x^2 = 3*x - 2"}), (Result{"[1, 2]\n", "", 0}));
    EXPECT_EQ(run({"--to", "latex", "solve", "x", "minus(power(x,2),2)"}),
              (Result{"\\left[ -\\sqrt{2}, \\sqrt{2} \\right]\n", "", 0}));
}

TEST_F(GiacToolTest, CubicsWithOneRealRootGiveItInRadicals) {
    const std::pair<const char*, const char*> cases[] = {
        {"x^3 + x + 1", "[((sqrt(93) - 9)/18)^(1/3) - ((sqrt(93) + 9)/18)^(1/3)]"},
        {"x^3 = x + 1", "[(-(sqrt(69) - 9)/18)^(1/3) + ((sqrt(69) + 9)/18)^(1/3)]"},  // both cube roots positive
        {"2*x^3 + 3*x^2 + 5", "[-(-(2*sqrt(30) - 11)/8)^(1/3) - ((2*sqrt(30) + 11)/8)^(1/3) - 1/2]"},
        {"x^3 + 3*x^2 + 3*x + 3", "[-2^(1/3) - 1]"},  // p = 0
        {"(x^3 + x + 1)*(x - 1)", "[((sqrt(93) - 9)/18)^(1/3) - ((sqrt(93) + 9)/18)^(1/3), 1]"},
        // Three real roots would need complex radicals: floats, as before.
        {"x^3 - 3*x + 1", "[-1.8793852415718169, 0.3472963553338607, 1.532088886237956]"},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(run({"--refuse-unchecked", "--from", "infix", "--to", "infix", "solve", "x", input}),
                  (Result{std::string(expected) + "\n", "", 0}))
            << input;
    }
}

TEST_F(GiacToolTest, ComplexSolutionsOnRequestByRealThenImaginaryPart) {
    const std::pair<const char*, const char*> cases[] = {
        {"x^2 + 1", "[-i, i]"},
        {"(x^2 + 1)*(x - 2)", "[-i, i, 2]"},
        {"x^3 - 1", "[-(i*sqrt(3) + 1)/2, (i*sqrt(3) - 1)/2, 1]"},
        {"x^2 + 2*i", "[-1 + i, 1 - i]"},
        // Roots Giac names only through rootof: the real one in radicals, the others as floats.
        {"x^3 + x + 1", "[((sqrt(93) - 9)/18)^(1/3) - ((sqrt(93) + 9)/18)^(1/3), 0.34116390191400964 - 1.161541399997252*i, "
                        "0.34116390191400964 + 1.161541399997252*i]"},
        {"solve(list(x^2 + y^2 = 0, x - y = 1), list(x, y))", "[[1/2 - i/2, -1/2 - i/2], [1/2 + i/2, -1/2 + i/2]]"},
    };
    for (const auto& [input, expected] : cases) {
        const bool system = std::string(input).rfind("solve", 0) == 0;
        const std::vector<std::string> words =
            system ? std::vector<std::string>{"--complex", "--refuse-unchecked", "--from", "infix", "--to", "infix", "eval", input}
                   : std::vector<std::string>{"--complex", "--refuse-unchecked", "--from", "infix", "--to", "infix", "solve", "x", input};
        EXPECT_EQ(run(words), (Result{std::string(expected) + "\n", "", 0})) << input;
    }
    // Without the option, the real ones only.
    EXPECT_EQ(run({"--from", "infix", "--to", "infix", "solve", "x", "(x^2 + 1)*(x - 2)"}), (Result{"[2]\n", "", 0}));
}

TEST_F(GiacToolTest, AnswersThatFailTheirCheckAreRefusedOrMadeRight) {
    // Giac's antiderivative of (1-x^2)^(-1/2) does not differentiate back;
    // the input with 1/sqrt(1-x^2) gives one that does.
    EXPECT_EQ(run({"integrate", "x", "power(plus(1,times(-1,power(x,2))),divide(-1,2))"}), (Result{"asin(x)\n", "", 0}));
    // Its definite integral is two values (a wrong closed form beside the
    // float); the second try gives pi/6.
    EXPECT_EQ(run({"integrate", "--lower", "0", "--upper", "divide(1,2)", "x",
                   "power(plus(1,times(-1,power(x,2))),divide(-1,2))"}),
              (Result{"divide(pi,6)\n", "", 0}));
    // What the second try gives is still no number where one is asked for.
    EXPECT_EQ(run({"eval", "--strict", "integrate(power(plus(1,times(-1,power(x,2))),divide(-1,2)),x)"}),
              (Result{"\n", "algexpr: argument 1: not a number: x: free symbol\n", 1}));
    // Identities of positive values, wrong at negative ones (principal
    // values): GiNaC answers, and says so; where GiNaC refuses too, both
    // reasons.
    if (ALGEXPR_TOOL_HAS_GINAC) {
        EXPECT_EQ(
            run({"simplify", "--from", "infix"}, "sqrt(x)*sqrt(y)-sqrt(x*y)\n(x^3)^(1/3)\n(x^3)^(1/3)+1/(x^101+x)\n"),
            (Result{"minus(times(sqrt(x),sqrt(y)),sqrt(times(x,y)))\npower(power(x,3),divide(1,3))\n\n",
                    "algexpr: line 1: answered by GiNaC: Giac's simplified form differs from the input at x = -7/2, "
                    "y = -22/7; refused\n"
                    "algexpr: line 2: answered by GiNaC: Giac's simplified form differs from the input at x = -7/2; "
                    "refused\n"
                    "algexpr: line 3: cannot evaluate: Giac's simplified form differs from the input at x = -7/2; "
                    "refused; asked of GiNaC: simplify: the fractions have denominators of degree 101 in all; a "
                    "common denominator is limited to degree 100\n",
                    1}));
    }
    EXPECT_EQ(run({"--no-check", "simplify", "--from", "infix", "sqrt(x)*sqrt(y)-sqrt(x*y)"}), (Result{"0\n", "", 0}));
    // Each digit written is computed (MPFR), none comes from a double.
    EXPECT_EQ(run({"eval", "--numeric", "--digits", "30", "pi", "divide(1,3)"}),
              (Result{"3.14159265358979323846264338328\n0.333333333333333333333333333333\n", "", 0}));
    // Without --numeric its floats are doubles: no more digits than one holds.
    EXPECT_EQ(run({"eval", "--digits", "30", "divide(1.0,3)"}),
              (Result{"0.33333333333333331\n",
                      "algexpr: note: --digits 30: the Giac engine's floats are doubles; written with 17 digits\n", 0}));
    // What the check cannot cover is said, or refused when asked.
    const char* const infinite[] = {"integrate", "--lower", "0", "--upper", "infinity", "x", "exp(neg(x))"};
    EXPECT_EQ(run(std::vector<std::string>(std::begin(infinite), std::end(infinite))),
              (Result{"1\n", "algexpr: argument 1: unchecked: the check integrates over finite intervals only\n", 0}));
    std::vector<std::string> refusing{"--refuse-unchecked"};
    refusing.insert(refusing.end(), std::begin(infinite), std::end(infinite));
    EXPECT_EQ(run(refusing).status, 1);
}

TEST_F(GiacToolTest, ALineWithoutAValueFailsAlone) {
    EXPECT_EQ(run({"limit", "x", "0"}, "divide(sin(x),x)\ndivide(1,x)\ncos(x)\n"),
              (Result{"1\n\n1\n",
                      "algexpr: line 2: cannot evaluate: limit: no value, the limits from above and from below differ\n",
                      1}));
    EXPECT_EQ(run({"eval", "--numeric", "integrate(exp(neg(power(x,2))),x,neg(infinity),infinity)"}),
              (Result{"1.772453850905516\n", "", 0}));
    EXPECT_EQ(run({"eval", "--numeric", "x"}), (Result{"\n", "algexpr: argument 1: not a number: x: free symbol\n", 1}));
}

TEST_F(GiacToolTest, GivesTheSameBytesInEveryProcess) {
    // Giac orders sums and products by its own hash values and addresses;
    // what the tool writes must not show it: three processes (with their own
    // address layouts), one output.
    const std::string input =
        "integrate(times(power(x,2),exp(x),sin(y),cos(z)),x)\n"
        "expand(power(plus(x,y,z,1),4))\n"
        "factor(minus(power(x,12),power(y,12)))\n"
        "series(divide(exp(x),minus(minus(1,y),x)),x,0,4)\n"
        "solve(plus(power(x,4),times(-5,power(x,2)),6),x)\n"
        "simplify(divide(plus(power(a,2),times(2,a,b),power(b,2)),plus(a,b)))\n"
        "diff(times(f(x,y),g(y,x),power(x,y)),x)\n"
        "limit(divide(minus(exp(times(a,x)),1),x),x,0)\n";
    const Result first = run({"eval"}, input);
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.status, 0);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(run({"eval"}, input), first);
    }
}

TEST_F(GiacToolTest, NothingGiacWritesItselfReachesTheOutput) {
    // Giac writes "sym2rxroot error" lines to std::cerr itself for this
    // limit; the tool asks the client to keep them out, in its own process
    // and in its worker's.
    const char* limit = "limit(sin(sqrt(log(power(x,x)))),x,0)";
    EXPECT_EQ(run({"eval", limit}), (Result{"0\n", "", 0}));
    EXPECT_EQ(run({"--in-process", "eval", limit}), (Result{"0\n", "", 0}));
}

TEST_F(GiacToolTest, WritesResultsAsTheGinacEngineDoes) {
    if (!ALGEXPR_TOOL_HAS_GINAC) {
        GTEST_SKIP() << "the tool was built without GiNaC";
    }
    // Where both engines compute the same expression (the symbols real for
    // both), they write it with the same text: the order of terms and
    // factors, signs of factors, quotients, roots, series and complex numbers.
    const std::string input =
        "expand(power(plus(x,y,1),3))\n"
        "factor(minus(power(x,4),1))\n"
        "factor(minus(power(x,6),power(y,6)))\n"
        "diff(times(power(x,3),y,sin(x)),x)\n"
        "series(divide(1,minus(1,x)),x,0,4)\n"
        "plus(divide(x,3),divide(y,2),-1)\n"
        "times(minus(y,x),minus(x,z))\n"
        "expand(times(minus(x,1),minus(2,x),plus(y,3)))\n"
        "diff(divide(1,plus(x,1)),x)\n"
        "divide(x,times(3,minus(1,y)))\n"
        "power(x,divide(-1,2))\n"
        "plus(x,times(2,i))\n";
    const Result giac = run({"--real", "x,y,z", "eval"}, input);
    EXPECT_EQ(giac.err, "");
    EXPECT_EQ(run({"--engine", "ginac", "--real", "x,y,z", "eval"}, input), giac);
    EXPECT_EQ(giac.out.substr(0, giac.out.find('\n')),
              "plus(power(x,3),times(3,power(x,2),y),times(3,x,power(y,2)),power(y,3),times(3,power(x,2)),"
              "times(6,x,y),times(3,power(y,2)),times(3,x),times(3,y),1)");
}

TEST_F(GiacToolTest, SaysWhatItIsAndWhatItAssumes) {
    const Result help = run({"--help"});
    EXPECT_NE(help.out.find("it takes every symbol to be real"), std::string::npos);
    EXPECT_NE(run({"--version"}).out.find("\n  giac     Giac "), std::string::npos);
    EXPECT_NE(run({"integrate", "--help"}).out.find("A divergent integral has no value"), std::string::npos);
}

// Assumptions reach Giac for each line, and the check takes its points
// inside them (the product of roots, refused at negative points, passes).
TEST_F(GiacToolTest, AssumptionsReachGiacAndTheCheck) {
    const struct {
        std::vector<std::string> words;
        Result result;
    } rows[] = {
        {{"--assume", "x>0", "--assume", "y > 0", "expand", "sqrt(power(x,2))", "log(times(x,y))", "log(times(2,z))",
          "log(times(x,power(log(times(x,y)),2)))"},
         {"x\nplus(log(x),log(y))\nlog(times(2,z))\nplus(log(x),log(power(plus(log(x),log(y)),2)))\n", "", 0}},
        {{"--assume", "x>0,y>0", "simplify", "minus(times(sqrt(x),sqrt(y)),sqrt(times(x,y)))"}, {"0\n", "", 0}},
        {{"--assume", "a>0", "--no-check", "integrate", "--lower", "0", "--upper", "infinity", "x", "exp(neg(times(a,x)))"},
         {"divide(1,a)\n", "", 0}},
        {{"--assume", "n integer", "simplify", "sin(times(n,pi))", "power(-1,times(2,n))"}, {"0\n1\n", "", 0}},
        {{"--assume", "x<0", "--assume", "x!=0", "eval", "sqrt(power(x,2))"}, {"neg(x)\n", "", 0}},
        {{"--assume", "x>=0,x<0", "eval", "x"}, {"", "algexpr: --assume: x < 0 and x >= 0 exclude each other\n", 2}},
        {{"--assume", "x<0", "--assume", "x positive", "eval", "x"},
         {"", "algexpr: --assume: x > 0 and x < 0 exclude each other\n", 2}},
        {{"--assume", "x<=0", "eval", "x"},
         {"",
          "algexpr: --assume takes NAME>0, NAME>=0, NAME<0, NAME!=0 or NAME real|integer|positive|negative|"
          "nonnegative|nonzero, separated by commas, not 'x<=0'\nTry 'algexpr --help'.\n",
          2}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(run(row.words), row.result) << ::testing::PrintToString(row.words);
    }
}

}  // namespace
