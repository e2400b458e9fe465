// SPDX-License-Identifier: MIT
// The algexpr tool end to end with the numeric engine (--engine numeric
// first on every command line), so that these hold whether or not the tool
// was built with GiNaC: each test spawns the binary with arguments and
// standard input, and checks standard output, standard error and the exit
// status.
#include <cstddef>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ToolFixture.h"

namespace {

using namespace tool_tests;

class ToolTest : public ToolFixture {
protected:
    ToolTest() : ToolFixture({"--engine=numeric"}) {}
};

// Blank lines and lines that fail give empty lines; each failure is named on
// standard error and makes the status 1.
TEST_F(ToolTest, EveryInputGivesOneOutputLine) {
    EXPECT_EQ(run({"print"}, "plus( 1 , x )\n\nf()\n \t\r\nsin(pi)"),
              (Result{"plus(1,x)\n\n\n\nsin(pi)\n", "algexpr: line 3, column 3: no arguments\n  f()\n    ^\n", 1}));
    EXPECT_EQ(run({"print"}, ""), (Result{"", "", 0}));
    // Arguments are inputs; after "--", a leading dash starts an expression.
    EXPECT_EQ(run({"print", "-5", "f()", "", "--", "--x"}),
              (Result{"-5\n\n\n--x\n", "algexpr: argument 2, column 3: no arguments\n  f()\n    ^\n", 1}));
    // A byte order mark, letters of two to four bytes, U+2212 as a minus
    // sign, CRLF; then a line with a bad byte, a good one, and one cut short.
    EXPECT_EQ(
        run({"print"}, "\uFEFFf(\u03b1,\U0001d465,\u20ac,\u22123)\r\nx\xC3\x28y\nz\nf(\xE2\x82"),
        (Result{"f(\u03b1,\U0001d465,\u20ac,-3)\n\nz\n\n",
                "algexpr: line 2: invalid UTF-8 at byte 3\nalgexpr: line 4: invalid UTF-8: cut short at the end\n",
                1}));
    // So does output that cannot be written.
    EXPECT_EQ(run({"print", "x"}, "", "/dev/full"), (Result{"", "algexpr: error writing standard output\n", 1}));
}

// Each rule of the strict grammar, where it is first broken; whitespace
// between tokens is fine. Columns count code points, from 1.
TEST_F(ToolTest, StrictReadingSaysWhereATextGoesWrong) {
    EXPECT_EQ(run({"print", "f( g(x) , 2 )", "  f(x)  ", "f(\tx,\ny\r)"}),
              (Result{"f(g(x),2)\nf(x)\nf(x,y)\n", "", 0}));
    const Result r = run({"print", "f(x", "f(", "f(x,", "f(x))", "f(x)y", "f(a,,b)", "f()", "(x)", "1 2", "si n(x)",
                          "a,b", "plus(1-2,3)", "f(\u03b1,\U0001d465,(y))", "f(x)\u00a0"});
    EXPECT_EQ(r.out, std::string(14, '\n'));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(firstLines(r.err), (std::vector<std::string>{
                                     "algexpr: argument 1, column 4: unclosed '('",
                                     "algexpr: argument 2, column 3: unclosed '('",
                                     "algexpr: argument 3, column 5: unclosed '('",
                                     "algexpr: argument 4, column 5: ')' closes nothing",
                                     "algexpr: argument 5, column 5: text after the expression",
                                     "algexpr: argument 6, column 5: empty argument",
                                     "algexpr: argument 7, column 3: no arguments",
                                     "algexpr: argument 8, column 1: a function needs a name",
                                     "algexpr: argument 9, column 2: space inside a name or number",
                                     "algexpr: argument 10, column 3: space inside a name or number",
                                     "algexpr: argument 11, column 2: ',' outside parentheses",
                                     "algexpr: argument 12, column 6: number not accepted",
                                     "algexpr: argument 13, column 7: a function needs a name",
                                     "algexpr: argument 14, column 5: text after the expression",
                                 }));
    // On standard input too, the caret under the place; a tab before it is
    // repeated so that the caret lines up, and a blank line is no error.
    // A control character shows as "?".
    EXPECT_EQ(run({"eval"}, "plus(1,2)3\n \t \n\tf(a b)\nplus(1, 2e)\nf(\x01 x)\n"),
              (Result{"\n\n\n\n\n",
                      "algexpr: line 1, column 10: text after the expression\n  plus(1,2)3\n           ^\n"
                      "algexpr: line 3, column 5: space inside a name or number\n  \tf(a b)\n  \t   ^\n"
                      "algexpr: line 4, column 9: number not accepted\n  plus(1, 2e)\n          ^\n"
                      "algexpr: line 5, column 4: space inside a name or number\n  f(? x)\n     ^\n",
                      1}));
}

// A long line is shown as a window around the place, cut with "...".
TEST_F(ToolTest, ALongLineShowsAWindowAroundThePlace) {
    const std::string args(100, 'a');
    const Result middle = run({"print", "f(" + args + "," + args + ",," + args + ")"});
    EXPECT_EQ(middle.err, "algexpr: argument 1, column 205: empty argument\n  ..." + std::string(35, 'a') + ",," +
                              std::string(35, 'a') + "...\n" + std::string(41, ' ') + "^\n");
    const Result end = run({"print", "g(" + args + args});
    EXPECT_EQ(end.err, "algexpr: argument 1, column 203: unclosed '('\n  ..." + std::string(72, 'a') + "\n" +
                           std::string(77, ' ') + "^\n");
    const Result start = run({"print", ")" + args});
    EXPECT_EQ(start.err,
              "algexpr: argument 1, column 1: ')' closes nothing\n  )" + std::string(71, 'a') + "...\n  ^\n");
}

// --lax reads as the library does: blanks dropped, a missing ")" supplied,
// what follows the last ")" ignored; what does not read even so is named,
// and where, in the text as given.
TEST_F(ToolTest, LaxReadsAsTheLibraryDoes) {
    EXPECT_EQ(run({"print", "--lax", "f(x", "f(x)y", "(x)", "1 2", "si n(x)", "f()", "g(1, 2 -)"}),
              (Result{"f(x)\nf(x)\n(x)\n12\nsin(x)\n\n\n",
                      "algexpr: argument 6, column 3: no arguments\n  f()\n    ^\n"
                      "algexpr: argument 7, column 6: number not accepted\n  g(1, 2 -)\n       ^\n",
                      1}));
    EXPECT_EQ(run({"eval", "--lax"}, "plus(1,2)3\n").out, "3\n");
    // subst's replacement follows: one argument stays one, unless --lax.
    const Result strict = run({"subst", "z", "x,y", "f(z)"});
    EXPECT_EQ(strict, (Result{"", "algexpr: the replacement, column 2: ',' outside parentheses\n  x,y\n   ^\n", 2}));
    EXPECT_EQ(run({"subst", "--lax", "z", "x,y", "f(z)"}).out, "f(x,y)\n");
}

// --from infix reads infix, with errors placed as for prefix; subst's
// replacement follows it.
TEST_F(ToolTest, InfixIn) {
    EXPECT_EQ(run({"print", "--from", "infix"},
                  "2*x + sin(pi/6)\n-x^2\na-b-c\n2^3^2\nx**2\n-3*x\na+(b+c)\n\n(-3)^2\nx \u2212 1\n"),
              (Result{"plus(times(2,x),sin(divide(pi,6)))\nneg(power(x,2))\nminus(minus(a,b),c)\npower(2,power(3,2))\n"
                      "power(x,2)\ntimes(-3,x)\nplus(a,plus(b,c))\n\npower(-3,2)\nminus(x,1)\n",
                      "", 0}));
    EXPECT_EQ(run({"eval", "--from=infix"}, "2*\n\u03b1 + (1\n1 + 2\n"),
              (Result{"\n\n3\n",
                      "algexpr: line 1, column 3: expected an operand\n  2*\n    ^\n"
                      "algexpr: line 2, column 7: unclosed '('\n  \u03b1 + (1\n        ^\n",
                      1}));
    EXPECT_EQ(run({"subst", "--from", "infix", "x", "y+1", "x^2"}).out, "power(plus(y,1),2)\n");
    EXPECT_EQ(run({"subst", "--from", "infix", "x", "y+", "x^2"}),
              (Result{"", "algexpr: the replacement, column 3: expected an operand\n  y+\n    ^\n", 2}));
    // The operators need their core names.
    std::ofstream(dir + "names") << "plus\n";
    const Result r = run({"--core-names", dir + "names", "tree", "--from", "infix", "a+b", "a*b"});
    EXPECT_EQ(r.out, "0 core-function plus code=0\n1 symbol a\n1 symbol b\n");
    EXPECT_EQ(firstLines(r.err),
              (std::vector<std::string>{"algexpr: argument 2, column 2: the vocabulary has no 'times' for '*'"}));
}

// A name that looks like a typo of a core name is read as it is, with a
// warning that points at it; output and status stay as they are.
TEST_F(ToolTest, TyposArePointedOut) {
    EXPECT_EQ(run({"print", "sinn(x)", "plus(Sin(x),sinn(y),sinn(z))", "pluss(x,1)", "PI"}),
              (Result{"sinn(x)\nplus(Sin(x),sinn(y),sinn(z))\npluss(x,1)\nPI\n",
                      "algexpr: argument 1, column 1: warning: unknown function 'sinn'; did you mean 'sin'?\n"
                      "  sinn(x)\n  ^\n"
                      "algexpr: argument 2, column 6: warning: unknown function 'Sin'; did you mean 'sin'?\n"
                      "  plus(Sin(x),sinn(y),sinn(z))\n       ^\n"
                      "algexpr: argument 2, column 13: warning: unknown function 'sinn'; did you mean 'sin'?\n"
                      "  plus(Sin(x),sinn(y),sinn(z))\n              ^\n"
                      "algexpr: argument 3, column 1: warning: unknown function 'pluss'; did you mean 'plus'?\n"
                      "  pluss(x,1)\n  ^\n"
                      "algexpr: argument 4, column 1: warning: unknown symbol 'PI'; did you mean 'pi'?\n  PI\n  ^\n",
                      0}));
    // Never one- or two-letter names as functions, one-letter ones as
    // symbols, nor the exempt names; a symbol only by case.
    EXPECT_EQ(run({"print", "f(I,E,Pi(x),xi,tau(x),Phi(x),cot(x),coth(x),sinn,x,ab(y))"}).err, "");
    // In infix, on standard input, in an operation's input; a lax text that
    // splits the name is named without a place.
    EXPECT_EQ(run({"eval", "--from", "infix"}, "1 + 1\nx + 2*Cos(y)^2\n"),
              (Result{"2\nplus(x,times(2,power(Cos(y),2)))\n",
                      "algexpr: line 2, column 7: warning: unknown function 'Cos'; did you mean 'cos'?\n"
                      "  x + 2*Cos(y)^2\n        ^\n",
                      0}));
    EXPECT_EQ(run({"print", "--lax", "si nn(x)"}).err,
              "algexpr: argument 1: warning: unknown function 'sinn'; did you mean 'sin'?: si nn(x)\n");
    // The vocabulary is the session's.
    std::ofstream(dir + "names") << "add\n";
    EXPECT_EQ(firstLines(run({"--core-names", dir + "names", "print", "sinn(x)", "addd(x,Add)"}).err),
              (std::vector<std::string>{
                  "algexpr: argument 2, column 1: warning: unknown function 'addd'; did you mean 'add'?",
                  "algexpr: argument 2, column 8: warning: unknown symbol 'Add'; did you mean 'add'?"}));
}

// Names judged no typo once are passed by the symbol afterwards: a typo
// after them, on a later line, is still found and placed.
TEST_F(ToolTest, TyposArePlacedAmongNamesSeenBefore) {
    EXPECT_EQ(run({"print"}, "plus(foo(x),y)\nplus(foo(x),sinn(y),y)\nplus(y,foo(Sin(x)),sinn(x))\n"),
              (Result{"plus(foo(x),y)\nplus(foo(x),sinn(y),y)\nplus(y,foo(Sin(x)),sinn(x))\n",
                      "algexpr: line 2, column 13: warning: unknown function 'sinn'; did you mean 'sin'?\n"
                      "  plus(foo(x),sinn(y),y)\n              ^\n"
                      "algexpr: line 3, column 12: warning: unknown function 'Sin'; did you mean 'sin'?\n"
                      "  plus(y,foo(Sin(x)),sinn(x))\n             ^\n"
                      "algexpr: line 3, column 20: warning: unknown function 'sinn'; did you mean 'sin'?\n"
                      "  plus(y,foo(Sin(x)),sinn(x))\n                     ^\n",
                      0}));
}

// Lines of every length and script one after the other: each comes out
// whole, whatever the line before it held.
TEST_F(ToolTest, LinesOfAnyLengthAndScriptOneAfterTheOther) {
    std::string wide_sum = "plus(x";
    for (int i = 0; i < 40000; ++i) {  // past what the line and text buffers keep
        wide_sum += ",y";
    }
    wide_sum += ")";
    const std::string input = "plus(\u03b1,\u00e9t\u00e9(x))\n" + wide_sum + "\nf(x)\n\u03b2\n" + wide_sum +
                              "\nplus(x,\U00010000)\n";
    EXPECT_EQ(run({"print"}, input), (Result{input, "", 0}));
}

// --to infix and --to latex on print, subst and eval; a name that is no
// identifier fails its line in infix.
TEST_F(ToolTest, InfixAndLatexOut) {
    EXPECT_EQ(run({"print", "--to", "infix", "plus(times(2,x),sin(divide(pi,6)))", "neg(neg(x))", "power(-3,2)",
                   "plus(x,-3)", "plus(x)", "f(a+b)", "minus(a,minus(b,c))"}),
              (Result{"2*x + sin(pi/6)\n-(-x)\n(-3)^2\nx + (-3)\nplus(x)\n\na - (b - c)\n",
                      "algexpr: argument 6: the name 'a+b' has no infix form\n", 1}));
    EXPECT_EQ(run({"print", "--to", "latex", "plus(times(2,x),sin(divide(pi,6)))", "abs(alpha)", "times(2.5e3,x)",
                   "f(x,y_1)"}),
              (Result{"2 x + \\sin\\left(\\frac{\\pi}{6}\\right)\n\\left| \\alpha \\right|\n2500.0 x\n"
                      "\\operatorname{f}\\left(x, y_{1}\\right)\n",
                      "", 0}));
    EXPECT_EQ(run({"print", "--to=LaTeX", "--float-format", "scientific", "times(2.5e3,x)"}).out,
              "2.5 \\cdot 10^{3} \\cdot x\n");
    EXPECT_EQ(run({"eval", "--from", "infix", "--to", "infix", "x + 2*3", "2^10/4"}).out, "x + 6\n256\n");
    EXPECT_EQ(run({"subst", "--from", "infix", "--to", "latex", "x", "y+1", "x^2"}).out, "\\left(y + 1\\right)^{2}\n");
}

TEST_F(ToolTest, EvalFoldsWhatItCanAndStrictAsksForNumbers) {
    EXPECT_EQ(run({"eval"}, "plus(x,times(2,3))\ndivide(2,3)\n\npower(2,64)\n"),
              (Result{"plus(x,6)\n0.6666666666666666\n\n18446744073709551616.0\n", "", 0}));
    EXPECT_EQ(run({"eval", "--strict", "plus(x,1)", "plus(1,1)"}),
              (Result{"\n2\n", "algexpr: argument 1: not a number: x: free symbol\n", 1}));
    // --digits and --float-format reach the floats, in either option form.
    EXPECT_EQ(run({"print", "--digits", "3", "f(0.333333,2)"}).out, "f(0.333,2)\n");
    EXPECT_EQ(run({"eval", "--float-format", "fixed", "--digits=2", "divide(2,3)"}).out, "0.67\n");
    EXPECT_EQ(run({"--float-format=Scientific", "print", "1500.0"}).out, "1.5e3\n");
    EXPECT_EQ(run({"subst", "--float-format", "engineering", "x", "0.00015", "f(x)"}).out, "f(150e-6)\n");
    EXPECT_EQ(run({"tree", "--float-format", "scientific", "--format", "json", "1500.0"}).out,
              "{\"kind\":\"float\",\"value\":\"1.5e3\"}\n");
}

TEST_F(ToolTest, SubstByNameByCoreNameAndByCodeAndInAPipe) {
    EXPECT_EQ(run({"subst", "x", "plus(y,1)", "times(x,x)"}).out, "times(plus(y,1),plus(y,1))\n");
    EXPECT_EQ(run({"subst", "pi", "3", "sin(pi)"}).out, "sin(3)\n");
    EXPECT_EQ(run({"subst", "--code", "13", "3", "sin(pi)"}).out, "sin(3)\n");
    const Result substituted = run({"subst", "x", "0.5"}, "plus(x,1)\n\nf(x)\ng(\n");
    EXPECT_EQ(substituted,
              (Result{"plus(0.5,1)\n\nf(0.5)\n\n", "algexpr: line 4, column 3: unclosed '('\n  g(\n    ^\n", 1}));
    EXPECT_EQ(run({"eval"}, substituted.out), (Result{"1.5\n\nf(0.5)\n\n", "", 0}));
}

// Text and dot give a block per expression and nothing for a failed line;
// JSON gives a line per input.
TEST_F(ToolTest, TreeAsTextJsonAndDot) {
    EXPECT_EQ(run({"tree", "plus(2,times(3,x),0.5)", "f()", "sin(pi)"}),
              (Result{"0 core-function plus code=0\n1 integer 2\n1 core-function times code=2\n2 integer 3\n"
                      "2 symbol x\n1 float 0.5\n\n0 core-function sin code=6\n1 core-symbol pi code=13\n",
                      "algexpr: argument 2, column 3: no arguments\n  f()\n    ^\n", 1}));
    EXPECT_EQ(run({"tree", "--format", "json"}, "f(\"a\\b\",1e999)\n\nf()\n"),
              (Result{"{\"kind\":\"function\",\"name\":\"f\",\"children\":[{\"kind\":\"symbol\",\"name\":"
                      "\"\\\"a\\\\b\\\"\"},{\"kind\":\"float\",\"value\":\"1e999\"}]}\n\n\n",
                      "algexpr: line 3, column 3: no arguments\n  f()\n    ^\n", 1}));
    EXPECT_EQ(run({"tree", "--format=dot", "f(x,2)"}).out,
              "digraph \"argument 1\" {\n  graph [ordering=out];\n  node [fontname=\"Helvetica\"];\n"
              "  n0 [label=\"f\", shape=ellipse];\n  n1 [label=\"x\", shape=plaintext];\n  n0 -> n1;\n"
              "  n2 [label=\"2\", shape=box];\n  n0 -> n2;\n}\n");
}

TEST_F(ToolTest, CoreNamesFileReplacesTheVocabulary) {
    std::ofstream(dir + "names") << "# mine\nadd\n\n  sin \r\n";
    const std::string names = "--core-names=" + dir + "names";
    EXPECT_EQ(run({names, "tree", "add(1,plus)"}).out, "0 core-function add code=0\n1 integer 1\n1 symbol plus\n");
    // The engine knows sin but not add, and plus is an ordinary name now.
    EXPECT_EQ(run({"eval", names, "add(sin(0),plus(1,2))"}).out, "add(0.0,plus(1,2))\n");
    // A name that reads as a number names a function, never a symbol: kept,
    // with one warning however often it is used.
    std::ofstream(dir + "signs") << "+\n1e\nx\n";
    EXPECT_EQ(run({"--core-names", dir + "signs", "tree", "+(1,x)", "1e(+(2,3))"}),
              (Result{"0 core-function + code=0\n1 integer 1\n1 core-symbol x code=2\n\n"
                      "0 core-function 1e code=1\n1 core-function + code=0\n2 integer 2\n2 integer 3\n",
                      "algexpr: warning: " + dir +
                          "signs:1: '+' reads as a number where it stands alone, so it "
                          "can name a core function but never a core symbol\nalgexpr: warning: " +
                          dir +
                          "signs:2: '1e' reads as a number where it stands alone, so it can name a core function "
                          "but never a core symbol\n",
                      0}));
    std::ofstream(dir + "bad") << "\t ab\tc\n";
    EXPECT_EQ(run({"--core-names", dir + "bad", "print", "x"}).err,
              "algexpr: " + dir + "bad:1, column 5: a name holds no whitespace, '(', ')' or ','\n");
    for (const char* content : {"a\na\n", "f(x)\n", "a b\n", "a,b\n", "\xC3\x28\n"}) {
        std::ofstream(dir + "bad") << content;
        const Result r = run({"--core-names", dir + "bad", "print", "x"});
        EXPECT_EQ(r.status, 2) << content;
        EXPECT_EQ(r.out, "") << content;
        EXPECT_NE(r.err.find("bad:"), std::string::npos) << r.err;
    }
    EXPECT_EQ(run({"--core-names", dir + "missing", "print", "x"}).status, 2);
}

// (CommandLineTest has the messages.)
TEST_F(ToolTest, UsageErrorsExitTwoWithoutOutput) {
    for (const char* line : {"", "frobnicate", "print --bogus", "print --digits x", "print --format standard",
                             "print --strict", "subst x", "subst x f() x"}) {
        std::istringstream words(line);
        const Result r = run({std::istream_iterator<std::string>(words), {}}, "x\n");
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_EQ(r.err.rfind("algexpr: ", 0), 0u) << line << r.err;
    }
    EXPECT_EQ(run({"eval", "--format", "fixed", "x"}).err,
              "algexpr: --format is the tree's form (text, json or dot); for the float form write --float-format "
              "fixed\nTry 'algexpr --help'.\n");
}

// The general help, a command's own, and the version.
TEST_F(ToolTest, HelpAndVersion) {
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: algexpr [OPTION...]", 0), 0u);
    EXPECT_NE(help.out.find("\n  --float-format F "), std::string::npos);
    EXPECT_NE(help.out.find("\n  --lax "), std::string::npos);
    EXPECT_EQ(run({"tree", "--help"}).out.rfind("Usage: algexpr tree [--format text|json|dot]", 0), 0u);
    EXPECT_EQ(run({"eval", "-h"}).out.rfind("Usage: algexpr eval", 0), 0u);
    const Result version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(::testing::internal::RE::PartialMatch(version.out, "^algexpr [0-9]+\\.[0-9]+\\.[0-9]+\n")) << version.out;
    EXPECT_NE(version.out.find("\n  numeric  64-bit integers and doubles"), std::string::npos) << version.out;
}

TEST_F(ToolTest, AMillionLevelsDeepThroughEveryCommand) {
    const std::size_t n = 1000000;
    const std::string fs = nested("f", n, "x");
    const std::string input = nested("neg", n, "1") + "\n" + nested("f", n, "times(x,plus(1,1))") + "\n";
    EXPECT_EQ(run({"print"}, input), (Result{input, "", 0}));
    EXPECT_EQ(run({"eval"}, input), (Result{"1\n" + nested("f", n, "times(x,2)") + "\n", "", 0}));
    EXPECT_EQ(run({"subst", "x", "y"}, fs), (Result{nested("f", n, "y") + "\n", "", 0}));
    // Errors deep inside, and at the end, of such a line.
    const Result refused = run({"print"}, nested("f", n, "1-2") + "\n" + nested("g", n, "x").substr(0, 3 * n));
    EXPECT_EQ(refused.out, "\n\n");
    EXPECT_EQ(firstLines(refused.err), (std::vector<std::string>{"algexpr: line 1, column 2000001: number not accepted",
                                                                 "algexpr: line 2, column 3000001: unclosed '('"}));

    std::string text, json, close;
    for (std::size_t i = 0; i < n; ++i) {
        text += std::to_string(i) + " function f\n";
        json += "{\"kind\":\"function\",\"name\":\"f\",\"children\":[";
        close += "]}";
    }
    EXPECT_EQ(run({"tree"}, fs), (Result{text + "1000000 symbol x\n", "", 0}));
    EXPECT_EQ(run({"tree", "--format", "json"}, fs),
              (Result{json + "{\"kind\":\"symbol\",\"name\":\"x\"}" + close + "\n", "", 0}));
    EXPECT_NE(run({"tree", "--format", "dot"}, fs).out.find("  n999999 -> n1000000;\n}\n"), std::string::npos);
}

TEST_F(ToolTest, AMillionLevelsDeepInInfixAndLatex) {
    const std::size_t n = 1000000;
    const std::string fs = nested("f", n, "x");
    EXPECT_EQ(run({"print", "--to", "infix"}, fs), (Result{fs + "\n", "", 0}));
    std::string latex;
    for (std::size_t i = 0; i < n; ++i) {
        latex += "\\operatorname{f}\\left(";
    }
    latex += "x";
    for (std::size_t i = 0; i < n; ++i) {
        latex += "\\right)";
    }
    EXPECT_EQ(run({"print", "--to", "latex"}, fs), (Result{latex + "\n", "", 0}));
    EXPECT_EQ(run({"print", "--from", "infix"}, std::string(n, '(') + "x" + std::string(n, ')')),
              (Result{"x\n", "", 0}));
}

}  // namespace
