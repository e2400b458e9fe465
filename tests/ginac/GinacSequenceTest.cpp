// SPDX-License-Identifier: MIT
// Evaluations one after the other: the worker keeps its containers and the
// symbols it made from one to the next, and each answer must still be the
// one the expression gives alone, whatever came before it.
#include <string>
#include <vector>

#include "GinacFixture.h"

using namespace ginac_tests;

namespace {

// The symbol of a rank is made again when its name or its domain changes.
TEST(GinacSequenceTest, SymbolsFollowTheirNamesAndDomains) {
    EXPECT_EQ(eval("plus(x,y)"), "plus(x,y)");
    EXPECT_EQ(eval("plus(a,y)"), "plus(a,y)");
    EXPECT_EQ(eval("plus(y,x)"), "plus(x,y)");
    EXPECT_EQ(eval("times(x,conjugate(x))"), "times(x,conjugate(x))");
    session().setRealSymbols({u"x"});
    EXPECT_EQ(eval("times(x,conjugate(x))"), "power(x,2)");
    EXPECT_EQ(eval("times(a,conjugate(a))"), "times(a,conjugate(a))") << "only x is real";
    session().setRealSymbols({});
    EXPECT_EQ(eval("times(x,conjugate(x))"), "times(x,conjugate(x))") << "x complex again";
}

// Past the symbols an expression's list holds (eight), a map takes over:
// every occurrence still finds its own symbol.
TEST(GinacSequenceTest, ManySymbolsAreEachTheirOwn) {
    for (int count : {7, 8, 9, 10, 40}) {
        std::string input = "plus(";
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            names.push_back("s" + std::string(1, static_cast<char>('a' + i / 26)) +
                            std::string(1, static_cast<char>('a' + i % 26)));
        }
        for (const std::string& name : names) {
            input += name + ",";
        }
        input += names.front() + "," + names.back() + "," + names[names.size() / 2] + ")";
        std::string expected = "plus(";
        for (std::size_t i = 0; i < names.size(); ++i) {
            const bool twice = i == 0 || i + 1 == names.size() || i == names.size() / 2;
            expected += (i == 0 ? "" : ",") + (twice ? "times(2," + names[i] + ")" : names[i]);
        }
        EXPECT_EQ(eval(input + ""), expected + ")") << count << " symbols";
    }
}

// An evaluation refused half-way (while building, or while converting the
// result back) leaves nothing behind for the next one.
TEST(GinacSequenceTest, AnAnswerAfterARefusalIsTheAnswerAlone) {
    const std::string alone = eval("plus(x,times(2,f(x)),divide(1,3))");
    EXPECT_EQ(run("plus(x,sin(y),divide(1,0))").text, "null");
    EXPECT_EQ(eval("plus(x,times(2,f(x)),divide(1,3))"), alone);
    EXPECT_EQ(run("series(abs(x),x,1,3)").text, "null");
    EXPECT_EQ(eval("plus(x,times(2,f(x)),divide(1,3))"), alone);
    EXPECT_EQ(eval("pdiff(f(x,y),2)"), "pdiff(f(x,y),2)");
}

// A huge expression, then small ones: what the huge one grew is let go, and
// the small ones read as before.
TEST(GinacSequenceTest, SmallAnswersAfterAHugeOne) {
    std::string sum = "plus(";
    for (int i = 0; i < 70000; ++i) {
        sum += "sin(x),";
    }
    sum += "y)";
    EXPECT_EQ(eval(sum), "plus(y,times(70000,sin(x)))");
    EXPECT_EQ(eval("plus(x,1)"), "plus(x,1)");
    EXPECT_EQ(eval("times(2.5,x)"), "times(2.5,x)");
}

// Floats rounded to few and to many digits: the powers of ten and five
// made once serve the small exponents, computed ones the larger.
TEST(GinacSequenceTest, FloatsRoundAlikeAtEveryPrecision) {
    EXPECT_EQ(numeric("divide(1,3)"), "0.33333333333333333");
    {
        DigitsGuard guard(100);
        EXPECT_EQ(numeric("divide(2,3)"), "0." + std::string(99, '6') + "7");
        EXPECT_EQ(numeric("times(1.5,power(10,90))"), "1.5e90");
    }
    EXPECT_EQ(numeric("divide(2,3)"), "0.66666666666666667");
    EXPECT_EQ(numeric("times(1.5,power(10,-90))"), "1.5e-90");
}

}  // namespace
