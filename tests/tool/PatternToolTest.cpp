// SPDX-License-Identifier: MIT
// The pattern commands of the tool: match, rewrite and check, run as a
// separate process with the numeric engine.
#include "ToolFixture.h"

namespace tool_tests {
namespace {

class PatternToolTest : public ToolFixture {
protected:
    PatternToolTest() : ToolFixture({"--engine=numeric"}) {}

    std::string file(const std::string& name, const std::string& text) {
        std::ofstream(dir + name, std::ios::binary) << text;
        return dir + name;
    }
};

TEST_F(PatternToolTest, MatchPrintsTheBindings) {
    EXPECT_EQ(run({"match", "times(wild(a,number),x)", "times(x,3)", "times(y,3)", "plus(", "f(x)"}),
              (Result{"a = 3\nno match\n\nno match\n",
                      "algexpr: argument 3, column 6: unclosed '('\n  plus(\n       ^\n", 1}));
    EXPECT_EQ(run({"match", "plus(x,wilds(r))"}, "plus(1,x,y)\nplus(x)\n"), (Result{"r = (1, y)\nr = ()\n", "", 0}));
    EXPECT_EQ(run({"match", "--from", "infix", "--to", "infix", "wild(a)^2", "sin(x + 1)^2"}),
              (Result{"a = sin(x + 1)\n", "", 0}));
    EXPECT_EQ(run({"match", "f(x)", "f(x)"}), (Result{"match\n", "", 0}));
    EXPECT_EQ(run({"match", "wild(a,colour)", "x"}).err,
              "algexpr: the PATTERN: unknown condition 'colour'\n");
    EXPECT_EQ(run({"match"}).status, 2);
    EXPECT_EQ(run({"match", "f(", "x"}).status, 2);
}

TEST_F(PatternToolTest, RewriteByARuleFile) {
    const std::string rules = file("rules.txt",
                                   "# cleaning up\n"
                                   "times(1,wild(a)) -> wild(a)\n"
                                   "\n"
                                   "plus(0,wilds(r)) -> plus(wilds(r))   # zero\n"
                                   "log(times(wild(a),wild(b))) -> plus(log(wild(a)),log(wild(b))) if "
                                   "and(positive(wild(a)),positive(wild(b)))\n");
    EXPECT_EQ(run({"rewrite", "--rules", rules, "times(1,plus(0,x,y))", "log(times(2,3))", "log(times(x,3))"}),
              (Result{"plus(x,y)\nplus(log(2),log(3))\nlog(times(x,3))\n", "", 0}));
    const std::string infix = file("infix.txt", "1*wild(a) -> wild(a)\nwild(a)^1 -> wild(a)\n");
    EXPECT_EQ(run({"rewrite", "--from", "infix", "--to", "infix", "--rules", infix, "1*(y^1)"}),
              (Result{"y\n", "", 0}));
    const std::string loop = file("loop.txt", "f(wild(a)) -> g(wild(a))\ng(wild(a)) -> f(wild(a))\n");
    EXPECT_EQ(run({"rewrite", "--rules", loop, "--steps", "50", "f(x)", "h(x)"}),
              (Result{"\nh(x)\n",
                      "algexpr: argument 1: the rules had not settled after 50 steps (a loop? --steps sets the "
                      "budget)\n",
                      1}));
}

TEST_F(PatternToolTest, RuleFileErrorsNameFileLineAndColumn) {
    const std::string bad = file("bad.txt", "f(x) -> g(x)\n  f(x) g(x)\n");
    EXPECT_EQ(run({"rewrite", "--rules", bad, "x"}),
              (Result{"", "algexpr: " + bad + ":2:12: expected '->' and a replacement\n", 2}));
    const std::string unbound = file("unbound.txt", "\n f(wild(a)) -> wild(b)\n");
    EXPECT_EQ(run({"rewrite", "--rules", unbound, "x"}).err,
              "algexpr: " + unbound + ":2:2: the wildcard b is not in the pattern\n");
    const std::string infix = file("infix.txt", "x -> 2*+\n");
    EXPECT_EQ(run({"rewrite", "--from", "infix", "--rules", infix, "x"}).err.substr(0, 9 + infix.size() + 5),
              "algexpr: " + infix + ":1:9:");
    EXPECT_EQ(run({"rewrite", "--rules", dir + "none.txt", "x"}).err,
              "algexpr: cannot open '" + dir + "none.txt'\n");
    EXPECT_EQ(run({"rewrite", "x"}).status, 2);
    EXPECT_EQ(run({"rewrite", "--rules", bad, "--steps", "many", "x"}).status, 2);
}

// A condition holds for either order of a product's arguments; what a
// sequence leaves of a sum is written so that it reads back; --eval hands
// each result to the engine.
TEST_F(PatternToolTest, RewrittenResultsReadAndEvaluate) {
    const std::string rules = file("log.txt", "log(times(wild(a),wild(b))) -> plus(log(wild(a)),log(wild(b))) if "
                                              "positive(wild(a))\n"
                                              "f(wild(a),wilds(r)) -> plus(wild(a),plus(wilds(r)))\n");
    EXPECT_EQ(run({"rewrite", "--rules", rules, "log(times(2,y))", "log(times(y,2))", "log(times(x,y))"}),
              (Result{"plus(log(2),log(y))\nplus(log(2),log(y))\nlog(times(x,y))\n", "", 0}));
    EXPECT_EQ(run({"rewrite", "--rules", rules, "f(5,x,y)", "f(5,x)", "f(5)"}),
              (Result{"plus(5,plus(x,y))\nplus(5,x)\nplus(5,0)\n", "", 0}));
    const std::string trig = file("trig.txt", "plus(power(sin(wild(x)),2),power(cos(wild(x)),2)) -> 1\n");
    EXPECT_EQ(run({"rewrite", "--rules", trig, "times(3,plus(power(sin(x),2),power(cos(x),2)))"}).out, "times(3,1)\n");
    EXPECT_EQ(run({"rewrite", "--eval", "--rules", trig, "times(3,plus(power(sin(x),2),power(cos(x),2)))",
                   "plus(x,power(sin(y),2),power(cos(y),2))"}),
              (Result{"3\nplus(x,power(sin(y),2),power(cos(y),2))\n", "", 0}));
    const std::string forms = file("positive.txt", "accept times(wild(a),wild(b)) if positive(wild(a))\n");
    EXPECT_EQ(run({"check", "--accept", forms, "times(2,y)", "times(y,2)", "times(x,y)"}).out,
              "accepted: times(wild(a),wild(b)) if positive(wild(a))\n"
              "accepted: times(wild(a),wild(b)) if positive(wild(a))\nnot accepted\n");
}

// Byte offsets in messages count from 1, in input lines and rule files alike.
TEST_F(PatternToolTest, ByteOffsetsCountFromOne) {
    const std::string bad = file("bytes.txt", "x -> y\n\xff -> z\n");
    EXPECT_EQ(run({"rewrite", "--rules", bad, "x"}).err, "algexpr: " + bad + ": not valid UTF-8 (at byte 8)\n");
    EXPECT_EQ(run({"print"}, "\xff\n").err, "algexpr: line 1: invalid UTF-8 at byte 1\n");
}

TEST_F(PatternToolTest, CheckTellsWhichForm) {
    const std::string forms = file("forms.txt",
                                   "accept divide(wild(p,integer),wild(q,integer,positive))\n"
                                   "wild(n,integer)\n"
                                   "reject divide(wild(a),1)\n");
    EXPECT_EQ(run({"check", "--accept", forms, "divide(3,4)", "7", "divide(3,1)", "divide(x,2)", "divide(_,2)"}),
              (Result{"accepted: divide(wild(p,integer),wild(q,integer,positive))\n"
                      "accepted: wild(n,integer)\n"
                      "rejected: divide(wild(a),1)\n"
                      "not accepted\n"
                      "not accepted\n",
                      "", 0}));
    EXPECT_EQ(run({"check", "--editing", "--accept", forms, "divide(_,2)"}),
              (Result{"accepted: divide(wild(p,integer),wild(q,integer,positive))\n", "", 0}));
    const std::string any = file("any.txt", "f(wild(a))\n");
    EXPECT_EQ(run({"check", "--accept", any, "f(_)"}), (Result{"not accepted: a slot is left\n", "", 0}));
    EXPECT_EQ(run({"check", "--accept", file("arrow.txt", "f(x) -> y\n"), "x"}).err,
              "algexpr: " + dir + "arrow.txt:1:6: a form has no '->'\n");
    EXPECT_EQ(run({"check", "x"}).status, 2);
}

}  // namespace
}  // namespace tool_tests
