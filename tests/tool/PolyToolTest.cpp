// SPDX-License-Identifier: MIT
// The polynomial operations through the tool with both engines: the cases
// that were slow, refused or wrong before FLINT took them, each giving the
// same bytes with GiNaC and with Giac. Skipped without both engines.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ToolFixture.h"

namespace {

using namespace tool_tests;

class PolyToolTest : public ToolFixture {
protected:
    PolyToolTest() : ToolFixture({}) {}

    void SetUp() override {
        if (!ALGEXPR_TOOL_HAS_GINAC || !ALGEXPR_TOOL_HAS_GIAC) {
            GTEST_SKIP() << "the tool was built without GiNaC or Giac; install libginac-dev and libgiac-dev "
                            "(scripts/install-deps.sh) and rebuild";
        }
        ToolFixture::SetUp();
    }

    // The command's output with GiNaC, checked to be Giac's too.
    std::string both(const std::vector<std::string>& words) {
        std::vector<std::string> ginac = {"--engine", "ginac"};
        std::vector<std::string> giac = {"--engine", "giac"};
        ginac.insert(ginac.end(), words.begin(), words.end());
        giac.insert(giac.end(), words.begin(), words.end());
        const Result a = run(ginac);
        const Result b = run(giac);
        EXPECT_EQ(a.err, "") << words.back().substr(0, 80);
        EXPECT_TRUE(a == b) << words.back().substr(0, 80) << "\nGiNaC: " << a.out.substr(0, 200)
                            << "\nGiac:  " << b.out.substr(0, 200) << "\n" << b.err;
        return a.out;
    }
};

// The terms of a written sum: its top-level arguments.
std::size_t terms(const std::string& text) {
    std::size_t count = 1;
    int depth = 0;
    for (char c : text) {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        count += depth == 1 && c == ',' ? 1 : 0;
    }
    return count;
}

TEST_F(PolyToolTest, ExpandsWhatWasSlowOrWrongTheSameWithBothEngines) {
    const std::string s = "plus(x,y,z,w)";
    // Giac left a product of two sums; GiNaC took seconds.
    const std::string expand2 = both({"expand", "times(plus(power(" + s + ",15),w),power(" + s + ",15))"});
    EXPECT_EQ(terms(expand2), 6272u);
    // Fateman's f*(f+1), f = (1+x+y+z+t)^20: past GiNaC's result limit before.
    const std::string f = "power(plus(1,x,y,z,t),20)";
    EXPECT_EQ(terms(both({"expand", "times(" + f + ",plus(" + f + ",1))"})), 135751u);
    EXPECT_EQ(both({"expand", "power(plus(sin(x),1),3)"}),
              "plus(power(sin(x),3),times(3,power(sin(x),2)),times(3,sin(x)),1)\n");
}

TEST_F(PolyToolTest, FactorsGcdAndIntegersTheSameWithBothEngines) {
    EXPECT_EQ(terms(both({"factor", "minus(power(x,100),1)"})), 9u);
    EXPECT_EQ(both({"factor", "expand(times(power(plus(x,y,z,1),8),power(minus(plus(x,2),y),5)))"}),
              "times(power(plus(minus(x,y),2),5),power(plus(x,y,z,1),8))\n");
    EXPECT_EQ(both({"factor", "expand(power(plus(x,y,z),30))"}), "power(plus(x,y,z),30)\n");
    EXPECT_EQ(both({"factor", "360"}), "times(power(2,3),power(3,2),5)\n");
    EXPECT_EQ(both({"factor", "divide(minus(power(x,2),1),plus(x,2))"}),
              "divide(times(minus(x,1),plus(x,1)),plus(x,2))\n");
    const std::string gcd = both({"eval", "gcd(expand(times(power(plus(x,1),200),power(minus(x,1),100))),"
                                          "expand(times(power(plus(x,1),100),power(minus(x,2),50))))"});
    EXPECT_EQ(terms(gcd), 101u);
    EXPECT_EQ(gcd.rfind("plus(power(x,100),times(100,power(x,99)),", 0), 0u);
    EXPECT_EQ(both({"simplify", "plus(divide(x,2),divide(1,times(3,y)))"}), "divide(plus(times(3,x,y),2),times(6,y))\n");
    EXPECT_EQ(both({"eval", "rem(plus(power(x,3),y),plus(times(2,x),1),x)"}), "minus(y,divide(1,8))\n");
}

TEST_F(PolyToolTest, RefusalsNameTheCountWithBothEngines) {
    for (const char* engine : {"ginac", "giac"}) {
        EXPECT_EQ(run({"--engine", engine, "expand", "power(plus(x,y,z,1),1000)"}).err,
                  "algexpr: argument 1: cannot evaluate: expand: expanding would give up to 167,668,501 terms and "
                  "101,271,774,604 digits of coefficients; the limits are 150,000 terms and 5,000,000 digits\n")
            << engine;
        // In one symbol FLINT computes every coefficient up to the degree,
        // however few terms the result has (a power of degree 390,650 took 9 s).
        EXPECT_EQ(run({"--engine", engine, "expand",
                       "power(plus(power(x,78130),times(123456789012345678901234567890,x),1),5)"}).err,
                  "algexpr: argument 1: cannot evaluate: expand: expanding would work with all 390,651 coefficients "
                  "of a polynomial in one symbol, 58,206,999 digits; the limit is 5,000,000 digits\n")
            << engine;
    }
    // One symbol of a power counts, whatever else the ring holds; in two
    // FLINT works sparsely, and the same degrees are no cost.
    const std::string big = "plus(power(x,78130),times(123456789012345678901234567890,x),1)";
    EXPECT_EQ(run({"expand", "times(y,power(" + big + ",5))"}).err,
              "algexpr: argument 1: cannot evaluate: expand: expanding would work with all 390,651 coefficients "
              "of a polynomial in one symbol, 58,206,999 digits; the limit is 5,000,000 digits\n");
    EXPECT_EQ(terms(run({"expand", "power(plus(power(x,78130),times(123456789012345678901234567890,y),1),5)"}).out),
              21u);
    // GiNaC keeps the power (Giac makes it exp(10^30*log(x+1)) as it evaluates it).
    EXPECT_EQ(run({"--engine", "ginac", "expand", "power(plus(x,1),power(10,30))"}).err,
              "algexpr: argument 1: cannot evaluate: expand: expanding would give up to 10^30 terms and 10^59 "
              "digits of coefficients; the limits are 150,000 terms and 5,000,000 digits\n");
}

TEST_F(PolyToolTest, PartialFractionsTheSameWithBothEnginesAndChecked) {
    EXPECT_EQ(both({"--from", "infix", "--to", "infix", "--refuse-unchecked", "apart", "x", "1/(x^2-1)"}),
              "1/(2*(x - 1)) - 1/(2*(x + 1))\n");
    EXPECT_EQ(both({"--from", "infix", "--to", "infix", "--refuse-unchecked", "apart", "x", "(x^4+1)/(x^2*(x+1)^3)"}),
              "-3/x + 4/(x + 1) + 1/x^2 + 2/(x + 1)^3\n");
    for (const char* engine : {"ginac", "giac"}) {
        EXPECT_EQ(run({"--engine", engine, "--from", "infix", "apart", "x", "sin(x)/(x-1)"}).err,
                  "algexpr: argument 1: cannot evaluate: apart: only of a quotient of polynomials in symbols, as the "
                  "whole expression\n")
            << engine;
    }
    EXPECT_EQ(run({"apart"}).err.substr(0, 27), "algexpr: apart needs a VAR\n");
}

}  // namespace
