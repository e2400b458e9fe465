// SPDX-License-Identifier: MIT
// The algexpr tool end to end with the GiNaC engine, its default when built:
// exact results text for text, the operations as commands, eval --numeric
// and its digits, and inputs too deep or too large, each answered with a
// message on its own line. Skipped, naming the package, when the tool was
// built without GiNaC; EngineChoice holds either way.
#include <chrono>
#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ToolFixture.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace {

using namespace tool_tests;

class GinacToolTest : public ToolFixture {
protected:
    GinacToolTest() : ToolFixture({}) {}

    void SetUp() override {
        if (!ALGEXPR_TOOL_HAS_GINAC) {
            GTEST_SKIP() << "the tool was built without GiNaC; install libginac-dev (scripts/install-deps.sh) "
                            "and rebuild to test its GiNaC engine";
        }
        ToolFixture::SetUp();
    }

    // The output of one command line, which must succeed without a message.
    std::string out(const std::vector<std::string>& words, const std::string& input = "") {
        const Result r = run(words, input);
        EXPECT_EQ(r.status, 0) << ::testing::PrintToString(words) << r.err;
        EXPECT_EQ(r.err, "") << ::testing::PrintToString(words);
        return r.out;
    }
};

class EngineChoice : public ToolFixture {
protected:
    EngineChoice() : ToolFixture({}) {}
};

TEST_F(GinacToolTest, ExactResultsTextForText) {
    const struct {
        std::vector<std::string> words;
        const char* result;
    } table[] = {
        {{"eval", "plus(divide(1,2),divide(1,3))"}, "divide(5,6)"},
        {{"eval", "power(2,100)"}, "1267650600228229401496703205376"},
        {{"eval", "minus(x,y)"}, "minus(x,y)"},
        {{"print", "99999999999999999999999999"}, "99999999999999999999999999"},
        {{"simplify", "divide(minus(power(x,2),1),minus(x,1))"}, "plus(x,1)"},
        {{"eval", "--numeric", "--digits", "30", "divide(1,3)"}, "0.333333333333333333333333333333"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(out(row.words), std::string(row.result) + "\n") << ::testing::PrintToString(row.words);
    }
    const std::string factored = out({"factor", "minus(power(x,2),1)"});
    EXPECT_EQ(factored.rfind("times(", 0), 0u) << factored;
    EXPECT_EQ(out({"eval"}, factored), factored);  // and it stays so
    // The order of a result is its own, not that of the names read before.
    EXPECT_EQ(out({"eval"}, "plus(y,z)\nminus(x,y)\ntimes(y,x)\nminus(y,x)\n"),
              "plus(y,z)\nminus(x,y)\ntimes(x,y)\nplus(neg(x),y)\n");
}

// Each operation command gives what eval gives for its core function, and
// takes the notations and strict reading as the other commands do, its
// operands included.
TEST_F(GinacToolTest, OperationsAreShorthandsForTheirCoreFunctions) {
    const struct {
        std::vector<std::string> words;
        const char* as_eval;
    } shorthands[] = {
        {{"diff", "x", "sin(x)"}, "diff(sin(x),x)"},
        {{"diff", "--order", "3", "x", "times(sin(x),power(x,4))"}, "diff(times(sin(x),power(x,4)),x,3)"},
        {{"expand", "power(plus(x,y,1),3)"}, "expand(power(plus(x,y,1),3))"},
        {{"simplify", "plus(divide(1,x),divide(1,y))"}, "simplify(plus(divide(1,x),divide(1,y)))"},
        {{"factor", "minus(power(x,4),1)"}, "factor(minus(power(x,4),1))"},
        {{"series", "x", "0", "5", "divide(sin(x),x)"}, "series(divide(sin(x),x),x,0,5)"},
        {{"series", "x", "divide(pi,2)", "3", "sin(x)"}, "series(sin(x),x,divide(pi,2),3)"},
    };
    for (const auto& row : shorthands) {
        const std::string expected = out({"eval", row.as_eval});
        EXPECT_NE(expected, "\n");
        EXPECT_EQ(out(row.words), expected) << ::testing::PrintToString(row.words);
    }
    EXPECT_EQ(out({"diff", "x", "f(times(2,x))"}), "times(2,pdiff(f(times(2,x)),1))\n");
    // Notations in and out, for the inputs and the operands alike.
    EXPECT_EQ(out({"diff", "--from", "infix", "--to", "infix", "x", "x^3 + 1/x"}), "3*x^2 - 1/x^2\n");
    EXPECT_EQ(out({"series", "--from", "infix", "x", "1", "2", "log(x)"}),
              out({"eval", "series(log(x),x,1,2)"}));
    EXPECT_EQ(out({"simplify", "--to", "latex", "divide(minus(power(x,2),1),minus(x,1))"}), "x + 1\n");
    // One line per input: a blank line stays blank, a line that does not
    // read or cannot be worked on is empty, and the rest go on.
    EXPECT_EQ(run({"diff", "x"}, "power(x,2)\n\nf(x\ndivide(1,minus(x,x))\nsin(x)\n"),
              (Result{"times(2,x)\n\n\n\ncos(x)\n",
                      "algexpr: line 3, column 4: unclosed '('\n  f(x\n     ^\n"
                      "algexpr: line 4: cannot evaluate: division by zero\n",
                      1}));
    // Operands that do not read, or orders out of range, are set-up errors.
    EXPECT_EQ(run({"diff", "f(", "x"}), (Result{"", "algexpr: the VAR, column 3: unclosed '('\n  f(\n    ^\n", 2}));
    EXPECT_EQ(run({"series", "x", "plus(1,", "3", "x"}).status, 2);
    EXPECT_EQ(run({"diff", "--order", "51", "x", "x"}).err,
              "algexpr: --order takes a whole number from 0 to 50, not '51'\nTry 'algexpr --help'.\n");
    EXPECT_EQ(run({"series", "x", "0", "0", "x"}).err,
              "algexpr: series ORDER takes a whole number from 1 to 100, not '0'\nTry 'algexpr --help'.\n");
    // What the engine refuses about the operands is said on each line.
    EXPECT_EQ(run({"diff", "2", "sin(x)"}),
              (Result{"\n", "algexpr: argument 1: cannot evaluate: diff: the variable must be a symbol\n", 1}));
    // A vocabulary without the operation cannot run its command.
    std::ofstream(dir + "names") << "plus\ntimes\n";
    EXPECT_EQ(run({"--core-names", dir + "names", "diff", "x", "x"}).err,
              "algexpr: the vocabulary has no 'diff' for the diff command\n");
}

TEST_F(GinacToolTest, NumericGivesExactlyTheDigitsAskedFor) {
    // 17 significant digits by default, trailing zeros included; integers
    // stay whole.
    EXPECT_EQ(out({"eval", "--numeric", "divide(1,4)", "pi", "power(2,100)", "divide(10,2)", "sin(1)"}),
              "0.25000000000000000\n3.1415926535897932\n1267650600228229401496703205376\n5\n0.84147098480789651\n");
    EXPECT_EQ(out({"eval", "--numeric", "--digits", "3", "divide(2,3)", "divide(power(10,30),3)"}), "0.667\n3.33e29\n");
    EXPECT_EQ(out({"eval", "--numeric", "--digits=5", "--float-format", "engineering", "times(1000,pi)"}), "3.1416e3\n");
    // 1000 digits of e.
    const std::string e = out({"eval", "--numeric", "--digits", "1000", "e"});
    EXPECT_EQ(e.size(), 1002u);
    EXPECT_EQ(e.substr(0, 12), "2.7182818284");
    EXPECT_EQ(e.substr(991), "8957035035\n");
    // What has no value fails its line; a complex value is a + b i, each part
    // with the digits asked for.
    EXPECT_EQ(run({"eval", "--numeric", "plus(x,1)", "sqrt(-1)", "divide(1,0)", "2"}),
              (Result{"\ni\n\n2\n",
                      "algexpr: argument 1: not a number: x: free symbol\n"
                      "algexpr: argument 3: not a number: division by zero\n",
                      1}));
    EXPECT_EQ(out({"eval", "--numeric", "--digits", "5", "power(-8,divide(1,3))", "power(sin(4),2)"}),
              "plus(1.0000,times(1.7321,i))\n0.57275\n");
    // Without --numeric, --digits is the precision of floats the engine computes.
    EXPECT_EQ(out({"eval", "sin(0.5)"}), "0.479425538604203\n");
    EXPECT_EQ(out({"eval", "--digits", "25", "sin(0.5)"}), "0.4794255386042030002732879\n");
    // --strict keeps the result exact but asks for a real number.
    EXPECT_EQ(run({"eval", "--strict", "divide(1,3)", "plus(x,1)"}),
              (Result{"divide(1,3)\n\n", "algexpr: argument 2: not a number: x: free symbol\n", 1}));
    // The bounds of --digits.
    const struct {
        std::vector<std::string> words;
        const char* error;
    } refused[] = {
        {{"eval", "--numeric", "--digits", "10001", "x"},
         "--digits takes at most 10000 with the GiNaC engine (the most digits it computes floats with), not 10001"},
        {{"print", "--digits", "20000", "x"},
         "--digits takes at most 10000 with the GiNaC engine (the most digits it computes floats with), not 20000"},
        {{"eval", "--numeric", "--digits", "0", "x"}, "--digits with --numeric takes 1 to 10000, not 0"},
        {{"eval", "--numeric", "--float-format", "fixed", "x"},
         "--numeric writes --digits significant digits: --float-format takes standard, scientific or engineering "
         "with it"},
    };
    for (const auto& row : refused) {
        EXPECT_EQ(run(row.words), (Result{"", "algexpr: " + std::string(row.error) + "\nTry 'algexpr --help'.\n", 2}))
            << ::testing::PrintToString(row.words);
    }
}

// An integral with fewer correct digits than asked for is given with a note
// on standard error (the values and refusals: GinacFormsTest).
TEST_F(GinacToolTest, NumericOperationsGiveOnlyRightDigits) {
    EXPECT_EQ(run({"eval", "--from", "infix", "nintegrate(sin(200*x),x,0,10)"}),
              (Result{"0.00683729774550416\n",
                      "algexpr: argument 1: unchecked: nintegrate: 15 correct digits, not 17 (the evaluations the "
                      "function's size allows); Arb's integral comes no closer than the answer's digits within its "
                      "evaluations\n",
                      0}));
}

TEST_F(GinacToolTest, RealSymbolsOnRequestAndTheLimitsInTheHelp) {
    EXPECT_EQ(out({"eval", "log(exp(x))", "times(y,conjugate(y))"}), "log(exp(x))\ntimes(y,conjugate(y))\n");
    EXPECT_EQ(out({"eval", "--real", "x,y", "log(exp(x))", "times(y,conjugate(y))", "times(z,conjugate(z))"}),
              "x\npower(y,2)\ntimes(z,conjugate(z))\n");
    EXPECT_EQ(run({"eval", "--real", "x,,y", "x"}).status, 2);
    EXPECT_EQ(run({"--engine", "numeric", "eval", "--real", "x", "x"}).status, 2);
    const std::string help = out({"eval", "--help"});
    EXPECT_NE(help.find("deeper than " + std::to_string(qorv::math::algexpr::ginac::GinacEngineC::kMaxDepth) + " levels"),
              std::string::npos);
    EXPECT_NE(help.find("order above\n" + std::to_string(qorv::math::algexpr::ginac::GinacEngineC::kMaxDiffOrder)),
              std::string::npos);
}

TEST_F(GinacToolTest, DeepAndHugeInputsFailTheirLineWithinSeconds) {
    std::string input, expected_err;
    std::size_t line = 0;
    for (const std::size_t depth : {100000, 1000000}) {
        for (const char* name : {"sin", "f"}) {
            input += nested(name, depth, "x") + "\n";
            const std::string levels = depth == 100000 ? "100,000" : "1,000,000";
            expected_err += "algexpr: line " + std::to_string(++line) + ": cannot evaluate: the expression is nested " +
                            levels + " levels deep; the limit is 10,000\n";
        }
    }
    input += nested("sin", 10000, "x") + "\n";
    const auto start = std::chrono::steady_clock::now();
    const Result r = run({"eval"}, input);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, expected_err);
    EXPECT_EQ(r.out, "\n\n\n\n" + nested("sin", 10000, "x") + "\n");
    const Result diff = run({"diff", "x"}, nested("f", 1000000, "x") + "\n" + nested("sin", 600, "x") + "\n");
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out, "\n\n");
    EXPECT_EQ(firstLines(diff.err),
              (std::vector<std::string>{
                  "algexpr: line 1: cannot evaluate: the expression is nested 1,000,001 levels deep; the limit is 10,000",
                  "algexpr: line 2: cannot evaluate: diff: the expression is nested 600 levels deep; the limit for "
                  "diff is 500"}));

    // Sizes: refused before computing.
    const auto size_start = std::chrono::steady_clock::now();
    EXPECT_EQ(run({"eval", "power(3,power(10,9))"}),
              (Result{"\n",
                      "algexpr: argument 1: cannot evaluate: power: the result would hold an integer of about "
                      "477,121,254 digits; exact integers are limited to 1,000,000 digits\n",
                      1}));
    const Result expand = run({"expand", "power(plus(x,y,z,w),1000)"});
    EXPECT_EQ(expand.status, 1);
    EXPECT_NE(expand.err.find("150,000 terms"), std::string::npos) << expand.err;
    EXPECT_LT(std::chrono::steady_clock::now() - size_start, std::chrono::seconds(30));
}

// GiNaC's own warnings (a function name used with two arities, say) never
// reach standard error: it carries the tool's messages only.
TEST_F(GinacToolTest, StandardErrorCarriesOnlyTheToolsMessages) {
    EXPECT_EQ(run({"eval"}, "f(x)\nf(x,y)\nplus(f(x,y,z),g(x),g(x,y))\ndiff(f(x,y),x)\n"),
              (Result{"f(x)\nf(x,y)\nplus(f(x,y,z),g(x),g(x,y))\npdiff(f(x,y),1)\n", "", 0}));
}

TEST_F(EngineChoice, GinacIsTheDefaultWhenBuiltAndItsAbsenceIsNamed) {
    const Result version = run({"--version"});
    const Result help = run({"--help"});
    EXPECT_NE(help.out.find("and with the Giac engine only (--engine giac):"), std::string::npos);
    EXPECT_NE(help.out.find("sin(x)^2 + cos(x)^2 stays as it is"), std::string::npos);
    if (ALGEXPR_TOOL_HAS_GINAC) {
        EXPECT_NE(version.out.find("\n  ginac    GiNaC "), std::string::npos) << version.out;
        EXPECT_NE(help.out.find("  ginac    (default) GiNaC"), std::string::npos);
        EXPECT_EQ(run({"eval", "divide(1,3)"}).out, "divide(1,3)\n");
        EXPECT_EQ(run({"--engine", "numeric", "eval", "divide(1,4)"}).out, "0.25\n");
        EXPECT_EQ(run({"simplify", "--engine", "numeric", "x"}).err,
                  "algexpr: simplify needs the GiNaC or the Giac engine: leave out --engine numeric\n"
                  "Try 'algexpr --help'.\n");
        return;
    }
    const std::string missing =
        "this algexpr was built without GiNaC: install libginac-dev (scripts/install-deps.sh does) and rebuild";
    EXPECT_NE(version.out.find(missing), std::string::npos) << version.out;
    EXPECT_NE(help.out.find("built without GiNaC"), std::string::npos);
    EXPECT_EQ(run({"eval", "divide(1,4)"}).out, "0.25\n");
    EXPECT_EQ(run({"--engine", "ginac", "eval", "x"}),
              (Result{"", "algexpr: --engine ginac: " + missing + "\nTry 'algexpr --help'.\n", 2}));
    const std::string instead = version.out.find("\n  giac ") != std::string::npos ? "add --engine giac" : missing;
    EXPECT_EQ(run({"diff", "x", "x"}),
              (Result{"", "algexpr: diff needs the GiNaC or the Giac engine: " + instead + "\nTry 'algexpr --help'.\n",
                      2}));
}

// Evaluation runs in the worker process; a typo warning found there comes
// back with its line's answer, and failed lines keep theirs too.
TEST_F(GinacToolTest, TypoWarningsComeBackFromTheWorker) {
    EXPECT_EQ(run({"eval"}, "sinn(0)\nplus(1,1)\ndivide(Cos(x),0)\n"),
              (Result{"sinn(0)\n2\n\n",
                      "algexpr: line 1, column 1: warning: unknown function 'sinn'; did you mean 'sin'?\n"
                      "  sinn(0)\n  ^\n"
                      "algexpr: line 3, column 8: warning: unknown function 'Cos'; did you mean 'cos'?\n"
                      "  divide(Cos(x),0)\n         ^\n"
                      "algexpr: line 3: cannot evaluate: division by zero\n",
                      1}));
}

// A series without its order term evaluates at a point; the new operations
// have their lines in the help, and the names the GiNaC engine does not
// offer are refused.
TEST_F(GinacToolTest, SeriesDropTheirOrderTermOnRequestAndTheOperationsAreListed) {
    EXPECT_EQ(out({"series", "--drop-order", "x", "0", "4", "exp(x)", "power(x,2)", "divide(sin(x),x)"}),
              "plus(1,x,divide(power(x,2),2),divide(power(x,3),6))\npower(x,2)\nminus(1,divide(power(x,2),6))\n");
    EXPECT_EQ(out({"series", "--drop-order", "x", "0", "1", "sin(x)"}), "0\n");
    EXPECT_EQ(out({"eval"}, out({"subst", "x", "0.1"}, out({"series", "--drop-order", "x", "0", "4", "exp(x)"}))),
              "1.1051666666666667\n");
    EXPECT_EQ(run({"diff", "--drop-order", "x", "x"}).status, 2);
    const std::string help = out({"eval", "--help"});
    for (const char* line : {"\n  factorial(n) ", "\n  binomial(n,k) ", "\n  gcd(a,b) ", "\n  lcm(a,b) ", "\n  mod(a,b) ",
                             "\n  quo(a,b[,x]) ", "\n  rem(a,b[,x]) ", "\n  nintegrate(f,x,a,b) ", "\n  nsolve(f,x,a,b) "}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
    EXPECT_NE(out({"series", "--help"}).find("--drop-order"), std::string::npos);
    EXPECT_EQ(run({"eval", "integrate(x,x)"}).err,
              "algexpr: argument 1: cannot evaluate: integrate: not offered by this engine\n");
    EXPECT_EQ(out({"--from", "infix", "--to", "infix", "eval", "mod(-7,3)", "sqrt(72)", "nsolve(x^2-2,x,0,2)"}),
              "2\n6*sqrt(2)\n1.414213562373095\n");
}

// GiNaC's positive and real symbols through --assume (with --real beside
// it); what it has no symbols for is refused with the reason, never dropped.
TEST_F(GinacToolTest, AssumptionsOfPositiveSymbolsAndRefusalsOfTheRest) {
    const struct {
        std::vector<std::string> words;
        Result result;
    } rows[] = {
        {{"--assume", "x>0", "--assume", "y positive", "expand", "sqrt(power(x,2))", "log(times(x,y))",
          "log(times(2,z))", "log(times(x,power(log(times(x,y)),2)))"},
         {"x\nplus(log(x),log(y))\nlog(times(2,z))\nplus(log(x),log(power(plus(log(x),log(y)),2)))\n", "", 0}},
        {{"--assume", "x>=0, x != 0", "--real", "y", "eval", "sqrt(power(x,2))", "log(exp(y))"}, {"x\ny\n", "", 0}},
        {{"--assume", "n integer", "eval", "n"},
         {"", "algexpr: --assume: GiNaC cannot assume n integer: its symbols are complex, real or positive (> 0)\n", 2}},
        {{"--assume", "x<0", "eval", "x"},
         {"", "algexpr: --assume: GiNaC cannot assume x < 0: its symbols are complex, real or positive (> 0)\n", 2}},
        {{"--engine", "numeric", "--assume", "x>0", "eval", "x"},
         {"", "algexpr: --assume does not suit the numeric engine: its symbols stand for no values\n"
              "Try 'algexpr --help'.\n", 2}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(run(row.words), row.result) << ::testing::PrintToString(row.words);
    }
}

}  // namespace

namespace {

TEST_F(GinacToolTest, LinearEquationsAndSystemsAsGiacWritesThemOthersRefusedNamingGiac) {
    const std::pair<const char*, const char*> solved[] = {
        {"solve(list(x+y=3,x-y=1),list(x,y))", "[[2, 1]]\n"},
        {"solve(list(x+y+z=1,x-y=2,z=x/3),list(x,y,z))", "[[9/7, -5/7, 3/7]]\n"},
        {"solve(list(a*x+y=1,x-y=2),list(x,y))", "[[3/(a + 1), -(2*a - 1)/(a + 1)]]\n"},
        {"solve(list(2*x+3*y=a,x-y=b),list(x,y))", "[[a/5 + 3*b/5, a/5 - 2*b/5]]\n"},
        {"solve(list(x+y=1,x+y=2),list(x,y))", "[]\n"},  // inconsistent
        {"solve(a*x-3=b,x)", "[(b + 3)/a]\n"},
        {"solve(x*y-1,x)", "[1/y]\n"},
    };
    for (const auto& [input, expected] : solved) {
        for (const char* engine : {"ginac", "giac"}) {
            if (std::string(engine) == "giac" && !ALGEXPR_TOOL_HAS_GIAC) {
                continue;
            }
            EXPECT_EQ(out({"--engine", engine, "--refuse-unchecked", "--from", "infix", "--to", "infix", "eval", input}),
                      expected)
                << engine << ": " << input;
        }
    }
    const std::pair<const char*, const char*> refused[] = {
        {"solve(list(x^2+y=1,x-y=0),list(x,y))",
         "solve: the GiNaC engine solves systems of linear equations only; Giac (--engine giac) solves polynomial ones"},
        {"solve(x^2-1,x)", "solve: the GiNaC engine solves linear equations only; Giac (--engine giac) solves this one"},
        {"solve(x*sin(x)-1,x)", "solve: the GiNaC engine solves linear equations only; Giac (--engine giac) solves this one"},
        {"solve(list(x+y=1),list(x,y))", "solve: no single values, the solutions depend on a variable"},
        {"solve(0*x,x)", "solve: no value, every value of the variable is a solution"},
        {"solve(list(x=1),list(x,x))", "solve: a variable named twice"},
        {"list(1,2)+1", "plus: a list as an argument (lists are solve's)"},
        {"sin(equal(x,1))", "sin: an equation as an argument (equations are solve's)"},
    };
    for (const auto& [input, reason] : refused) {
        EXPECT_EQ(run({"--from", "infix", "eval", input}).err,
                  std::string("algexpr: argument 1: cannot evaluate: ") + reason + "\n")
            << input;
    }
}

}  // namespace
