// SPDX-License-Identifier: MIT
// The polynomial layer against SymPy on random polynomials (poly_cases.txt,
// made by make_cases.py), and its edges: what it declines, what it refuses
// before any work, integer factorisation, deep input.
#include <chrono>
#include <fstream>
#include <sstream>

#include "Counting.h"
#include "PolyFixture.h"
#include "RefusalC.h"

using namespace poly_tests;
using qorv::math::algexpr::support::RefusalC;
using KindE = ResultGraphC::KindE;

namespace {

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> parts;
    std::stringstream stream(line);
    std::string part;
    while (std::getline(stream, part, '\t')) {
        parts.push_back(part);
    }
    return parts;
}

std::string refusal(OperationE operation, const std::vector<std::string>& arguments, const PolyLimitsS& limits) {
    ResultGraphC graph;
    try {
        run(graph, operation, arguments, limits);
    } catch (const RefusalC& refused) {
        return std::string(refused.reason().begin(), refused.reason().end());
    }
    return "no refusal";
}

// The (base, exponent) factors of a factor() result and its coefficient.
struct FactorsS {
    IdT coefficient = kNoId;
    std::vector<std::pair<IdT, long>> factors;
};

FactorsS factorsOf(const ResultGraphC& graph, IdT id) {
    FactorsS result;
    std::vector<IdT> parts;
    if (graph.kind(id) == KindE::Product) {
        result.coefficient = graph.node(id).data;
        parts.assign(graph.children(id), graph.children(id) + graph.node(id).count);
    } else if (graph.kind(id) == KindE::Number) {
        result.coefficient = id;
    } else {
        parts.push_back(id);
    }
    for (IdT part : parts) {
        if (graph.kind(part) == KindE::Power) {
            result.factors.emplace_back(graph.child(part, 0), std::stol(graph.numberOf(graph.child(part, 1)).real.digits));
        } else {
            result.factors.emplace_back(part, 1);
        }
    }
    return result;
}

void checkFactor(const std::vector<std::string>& line) {
    ResultGraphC graph;
    const IdT result = run(graph, OperationE::Factor, {line[1]});
    ASSERT_NE(result, kNoId) << line[1];
    GraphTextC text(graph);
    const IdT input = text.read(line[1]);
    EXPECT_TRUE(samePolynomial(graph, result, input)) << line[1];  // the product is the polynomial
    const FactorsS ours = factorsOf(graph, result);
    std::vector<std::pair<IdT, long>> expected;
    for (std::size_t i = 3; i + 1 < line.size(); i += 2) {
        expected.emplace_back(text.read(line[i]), std::stol(line[i + 1]));
    }
    ASSERT_EQ(ours.factors.size(), expected.size()) << line[1] << " gave " << text.write(result);
    for (const auto& [base, e] : ours.factors) {
        bool found = false;
        for (auto& wanted : expected) {
            if (wanted.second == e && samePolynomial(graph, base, wanted.first, true)) {
                wanted.second = 0;  // used
                found = true;
                break;
            }
        }
        EXPECT_TRUE(found) << line[1] << ": factor " << text.write(base) << "^" << e;
    }
}

void checkCase(const std::vector<std::string>& line) {
    const std::string& operation = line[0];
    ResultGraphC graph;
    GraphTextC text(graph);
    if (operation == "factor") {
        checkFactor(line);
        return;
    }
    IdT result = kNoId;
    IdT expected = kNoId;
    if (operation == "expand") {
        result = run(graph, OperationE::Expand, {line[1]});
        expected = text.read(line[2]);
        ASSERT_NE(result, kNoId) << line[1];
        EXPECT_TRUE(isExpanded(graph, result)) << line[1] << " gave " << text.write(result);
        EXPECT_TRUE(samePolynomial(graph, result, expected)) << line[1] << " gave " << text.write(result);
    } else if (operation == "gcd") {
        result = run(graph, OperationE::Gcd, {line[1], line[2]});
        ASSERT_NE(result, kNoId) << line[1];
        EXPECT_TRUE(samePolynomial(graph, result, text.read(line[3]), true)) << line[1] << ", " << line[2];
    } else if (operation == "quo" || operation == "rem") {
        result = run(graph, operation == "quo" ? OperationE::Quo : OperationE::Rem, {line[1], line[2], line[3]});
        ASSERT_NE(result, kNoId) << line[1] << " by " << line[2];
        EXPECT_TRUE(samePolynomial(graph, result, text.read(line[4]))) << operation << " " << line[1] << " by " << line[2];
    } else if (operation == "cancel") {
        result = run(graph, OperationE::Simplify, {line[1]});
        ASSERT_NE(result, kNoId) << line[1];
        // One fraction in lowest terms, equal to SymPy's: N*D' - N'*D = 0.
        const IdT expected_fraction = text.read("divide(" + line[2] + "," + line[3] + ")");
        if (graph.kind(result) == KindE::Number) {
            EXPECT_EQ(result, expected_fraction) << line[1];
            return;
        }
        const IdT difference[] = {result, graph.product(graph.number(qorv::math::algexpr::support::NumberS::integer(true, "1")),
                                                        &expected_fraction, 1)};
        const IdT sum = graph.sum(difference, 2);
        const IdT zero = PolyEngineC(graph, PolyLimitsS()).run(OperationE::Simplify, &sum, 1);
        ASSERT_NE(zero, kNoId) << line[1] << " gave " << text.write(result);
        EXPECT_EQ(text.write(zero), "0") << line[1] << " gave " << text.write(result);
    }
}

}  // namespace

TEST(PolyEngineTest, AgreesWithSympyOnRandomPolynomials) {
    std::ifstream cases(POLY_CASES_FILE);
    ASSERT_TRUE(cases.good()) << POLY_CASES_FILE;
    std::string line;
    std::size_t count = 0;
    while (std::getline(cases, line)) {
        checkCase(fields(line));
        ++count;
    }
    EXPECT_GT(count, 150u);
}

TEST(PolyEngineTest, WritesTheEnginesShapes) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // Terms in FLINT's order (the shaper orders them), coefficients in front.
        {{"power(plus(x,1),2)"}, "plus(power(x,2),times(2,x),1)"},
        {{"times(plus(x,y),minus(x,y))"}, "plus(power(x,2),times(-1,power(y,2)))"},
        {{"power(plus(sin(x),1),2)"}, "plus(power(sin(x),2),times(2,sin(x)),1)"},
        {{"times(divide(1,2),plus(x,pi))"}, "plus(times(divide(1,2),x),times(divide(1,2),pi))"},
    };
    for (const auto& [arguments, expected] : cases) {
        ResultGraphC graph;
        const IdT result = run(graph, OperationE::Expand, arguments);
        ASSERT_NE(result, kNoId) << arguments[0];
        EXPECT_EQ(GraphTextC(graph).write(result), expected) << arguments[0];
    }
}

TEST(PolyEngineTest, FactorsWithContentSignMultiplicityAndQuotients) {
    const std::pair<std::string, std::string> cases[] = {
        {"plus(times(-2,power(x,2)),2)", "times(-2,plus(x,1),plus(x,-1))"},
        {"plus(times(divide(1,2),power(x,2)),divide(-1,2))", "times(divide(1,2),plus(x,1),plus(x,-1))"},
        {"power(plus(power(x,2),times(2,x),1),3)", "power(plus(x,1),6)"},
        {"times(plus(x,2),power(x,3))", "times(power(x,3),plus(x,2))"},
        {"divide(plus(power(x,2),-1),plus(x,2))", "times(plus(x,1),plus(x,-1),power(plus(x,2),-1))"},
        {"divide(plus(power(x,2),-1),plus(x,1))", "plus(x,-1)"},
        {"plus(power(x,2),-2)", "plus(power(x,2),-2)"},
        // Integers: the prime factorisation as a product of powers.
        {"360", "times(power(2,3),power(3,2),power(5,1))"},
        {"-12", "times(-1,power(2,2),power(3,1))"},
        {"1024", "power(2,10)"},
        {"1000003", "1000003"},
    };
    for (const auto& [input, expected] : cases) {
        ResultGraphC graph;
        const IdT result = run(graph, OperationE::Factor, {input});
        ASSERT_NE(result, kNoId) << input;
        EXPECT_EQ(GraphTextC(graph).write(result), expected) << input;
    }
}

TEST(PolyEngineTest, GcdLcmAndDivisionAsTheEnginesWriteThem) {
    const std::pair<std::pair<OperationE, std::vector<std::string>>, std::string> cases[] = {
        {{OperationE::Gcd, {"plus(times(2,x),2)", "plus(times(4,x),4)"}}, "plus(times(2,x),2)"},
        {{OperationE::Gcd, {"minus(1,x)", "plus(power(x,2),-1)"}}, "plus(x,-1)"},
        {{OperationE::Gcd, {"0", "plus(x,1)"}}, "plus(x,1)"},
        {{OperationE::Lcm, {"x", "neg(x)"}}, "times(-1,x)"},
        {{OperationE::Lcm, {"plus(x,1)", "plus(x,-1)"}}, "times(plus(x,1),plus(x,-1))"},
        {{OperationE::Lcm, {"power(x,2)", "times(x,y)"}}, "times(power(x,2),y)"},
        {{OperationE::Quo, {"plus(power(x,3),y)", "plus(x,1)", "x"}}, "plus(power(x,2),times(-1,x),1)"},
        {{OperationE::Rem, {"plus(power(x,3),y)", "plus(times(2,x),1)", "x"}}, "plus(y,divide(-1,8))"},
        // The only symbol is the variable.
        {{OperationE::Rem, {"plus(power(x,3),times(2,x),1)", "plus(x,-1)"}}, "4"},
    };
    for (const auto& [call, expected] : cases) {
        ResultGraphC graph;
        const IdT result = run(graph, call.first, call.second);
        ASSERT_NE(result, kNoId) << call.second[0];
        EXPECT_EQ(GraphTextC(graph).write(result), expected) << call.second[0];
    }
}

TEST(PolyEngineTest, SimplifyGivesOneFractionWithIntegerCoefficients) {
    const std::pair<std::string, std::string> cases[] = {
        {"plus(divide(x,2),divide(1,times(3,y)))", "times(divide(1,6),plus(times(3,x,y),2),power(y,-1))"},
        {"divide(plus(power(x,2),-1),plus(x,1))", "plus(x,-1)"},
        {"divide(x,minus(1,x))", "times(-1,x,power(plus(x,-1),-1))"},
        {"divide(times(2,x),plus(times(4,y),4))", "times(divide(1,2),x,power(plus(y,1),-1))"},
        {"plus(divide(x,2),divide(1,3))", "plus(times(divide(1,2),x),divide(1,3))"},
    };
    for (const auto& [input, expected] : cases) {
        ResultGraphC graph;
        const IdT result = run(graph, OperationE::Simplify, {input});
        ASSERT_NE(result, kNoId) << input;
        EXPECT_EQ(GraphTextC(graph).write(result), expected) << input;
    }
}

TEST(PolyEngineTest, DeclinesWhatItCannotTakeExactly) {
    const std::pair<OperationE, std::vector<std::string>> cases[] = {
        {OperationE::Expand, {"power(plus(x,1.5),2)"}},                    // a float
        {OperationE::Expand, {"power(plus(power(2,divide(1,2)),1),2)"}},  // sqrt(2): bound to 2
        {OperationE::Expand, {"power(plus(x,power(x,divide(1,2))),2)"}},  // x and sqrt(x)
        {OperationE::Expand, {"power(plus(x,power(x,y)),2)"}},            // a symbolic exponent
        {OperationE::Expand, {"divide(1,plus(x,1))"}},                     // engines expand over denominators
        {OperationE::Expand, {"plus(2,3)"}},                               // numbers: the engine's own
        {OperationE::Simplify, {"plus(power(sin(x),2),power(cos(x),2))"}},  // identities between functions
        {OperationE::Gcd, {"sin(x)", "x"}},
        {OperationE::Gcd, {"divide(x,2)", "x"}},                           // rational coefficients
        {OperationE::Quo, {"x", "plus(times(x,y),1)", "x"}},               // leading coefficient y
        {OperationE::Quo, {"plus(x,y)", "y"}},                             // which variable?
        {OperationE::Simplify, {"divide(1,plus(power(plus(x,1),2),times(-1,power(x,2)),times(-2,x),-1))"}},  // 1/0
        {OperationE::Factor, {"1"}},
        {OperationE::Factor, {"123456789012345678901234567890123456789012345"}},  // may take any time
        {OperationE::Expand, {"x", "y"}},                                  // arity
    };
    for (const auto& [operation, arguments] : cases) {
        ResultGraphC graph;
        EXPECT_EQ(run(graph, operation, arguments), kNoId) << arguments[0];
    }
}

TEST(PolyEngineTest, RefusesBeyondItsLimitsBeforeAnyWork) {
    PolyLimitsS limits;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(refusal(OperationE::Expand, {"power(plus(x,1),1000000000000000000000000000000)"}, limits),
              "expand: expanding would give up to 10^30 terms and 10^59 digits of coefficients; the limits are "
              "150,000 terms and 5,000,000 digits");
    EXPECT_EQ(refusal(OperationE::Expand, {"power(plus(x,y,z,1),1000)"}, limits).substr(0, 56),
              "expand: expanding would give up to 167,668,501 terms and");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    // Exact counts: (x+y+z+w)^20 has 1771 terms.
    limits.terms = 1770;
    EXPECT_EQ(refusal(OperationE::Expand, {"power(plus(x,y,z,w),20)"}, limits).substr(0, 45),
              "expand: expanding would give up to 1771 terms");
    limits.terms = 1771;
    EXPECT_EQ(refusal(OperationE::Expand, {"power(plus(x,y,z,w),20)"}, limits), "no refusal");
    // A product's bound: 3 x 3 terms, 6 monomials of degree 2 in x and y.
    limits.terms = 5;
    EXPECT_EQ(refusal(OperationE::Expand, {"times(plus(x,y,1),plus(x,y,2))"}, limits).substr(0, 42),
              "expand: expanding would give up to 6 terms");
    // (1000x+1)^100: coefficients below (2 * 1000)^100, 331 digits; all of
    // them 101 * 332.
    limits = PolyLimitsS();
    limits.digits = 330;
    EXPECT_EQ(refusal(OperationE::Expand, {"power(plus(times(1000,x),1),100)"}, limits),
              "expand: expanding would give coefficients of up to 331 digits; the limit is 330 digits");
    limits.digits = 331;
    limits.total_digits = 33531;
    EXPECT_EQ(refusal(OperationE::Expand, {"power(plus(times(1000,x),1),100)"}, limits),
              "expand: expanding would give up to 101 terms and 33,532 digits of coefficients; the limits are "
              "150,000 terms and 33,531 digits");
    EXPECT_EQ(refusal(OperationE::Rem, {"x", "0", "x"}, PolyLimitsS()), "rem: division by zero");
    EXPECT_EQ(refusal(OperationE::Quo, {"x", "times(0,x)", "x"}, PolyLimitsS()), "quo: division by zero");
}

TEST(PolyEngineTest, DeepInputIsReadWithoutRecursion) {
    // plus(x,plus(x,plus(x,...))) 200000 deep: the layer walks the graph by id.
    ResultGraphC graph;
    GraphTextC text(graph);
    IdT chain = text.read("1");
    const IdT x = text.read("x");
    for (int i = 0; i < 200000; ++i) {
        const IdT terms[] = {x, chain};
        chain = graph.sum(terms, 2);
    }
    const IdT result = PolyEngineC(graph, PolyLimitsS()).run(OperationE::Expand, &chain, 1);
    ASSERT_NE(result, kNoId);
    EXPECT_EQ(text.write(result), "plus(times(200000,x),1)");
}

TEST(PolyEngineTest, TheSameGraphEveryTime) {
    std::string first;
    for (int i = 0; i < 3; ++i) {
        ResultGraphC graph;
        const IdT result = run(graph, OperationE::Factor, {"plus(power(x,12),times(-1,power(y,12)))"});
        const std::string written = GraphTextC(graph).write(result);
        EXPECT_TRUE(first.empty() || written == first);
        first = written;
    }
}

// The size estimates' binomials stay right where lgamma differences lose
// every digit (degrees past 2^53), and exact where a count is small.
TEST(PolyEngineTest, BinomialBoundsHoldAtHugeDegrees) {
    using qorv::math::algexpr::support::binomialBound;
    using qorv::math::algexpr::support::logBinomial;
    EXPECT_EQ(binomialBound(19683.0, 1.0), 19684.0);
    EXPECT_EQ(binomialBound(3.0, 30.0), 5456.0);
    EXPECT_EQ(logBinomial(0.0, 5.0), 0.0);
    EXPECT_NEAR(logBinomial(1.5e17, 3.0), 116.85647559779278, 1e-9);
    EXPECT_NEAR(logBinomial(100.0, 1.5e17), 3591.2017933451316, 1e-8);
    EXPECT_NEAR(logBinomial(2e6, 1000.0), 8596.779768318238, 1e-7);
    EXPECT_GE(binomialBound(1.5e17, 3.0), 5.625e50);
}

TEST(PolyEngineTest, ApartWritesEachFactorPowerOverItsOwnNumerator) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"divide(1,plus(power(x,2),-1))", "x"},
         "plus(times(divide(1,2),power(plus(x,-1),-1)),times(divide(-1,2),power(plus(x,1),-1)))"},
        // Improper: the polynomial part first.
        {{"divide(power(x,3),plus(power(x,2),-1))", "x"},
         "plus(x,times(divide(1,2),power(plus(x,-1),-1)),times(divide(1,2),power(plus(x,1),-1)))"},
        // A repeated factor and an irreducible quadratic one.
        {{"divide(1,times(power(plus(x,-1),2),plus(power(x,2),1)))", "x"},
         "plus(times(divide(1,2),x,power(plus(power(x,2),1),-1)),times(divide(1,2),power(plus(x,-1),-2)),"
         "times(divide(-1,2),power(plus(x,-1),-1)))"},
        // Factors with integer coefficients; other symbols in the numerator.
        {{"divide(y,plus(times(2,power(x,2)),times(-1,x)))", "x"},
         "plus(times(-1,y,power(x,-1)),times(2,y,power(plus(times(2,x),-1),-1)))"},
        {{"divide(plus(power(x,2),1),1)", "x"}, "plus(power(x,2),1)"},
        // Factors free of x stay under every term, cancelled where they divide a numerator.
        {{"divide(plus(power(x,3),y),times(power(plus(y,1),2),plus(power(x,2),-1)))", "x"},
         "plus(times(x,power(plus(y,1),-2)),times(divide(1,2),power(plus(y,1),-1),power(plus(x,-1),-1)),"
         "times(divide(-1,2),plus(y,-1),power(plus(y,1),-2),power(plus(x,1),-1)))"},
    };
    for (const auto& [arguments, expected] : cases) {
        ResultGraphC graph;
        const IdT result = run(graph, OperationE::Apart, arguments);
        ASSERT_NE(result, kNoId) << arguments[0];
        EXPECT_EQ(GraphTextC(graph).write(result), expected) << arguments[0];
    }
}

TEST(PolyEngineTest, ApartRefusesSymbolsInTheDenominatorAndDeclinesFunctions) {
    EXPECT_EQ(refusal(OperationE::Apart, {"divide(1,plus(power(x,2),times(-1,a)))", "x"}, PolyLimitsS()).substr(0, 80),
              "apart: a factor of the denominator holds the variable and other symbols together");
    EXPECT_EQ(refusal(OperationE::Apart, {"divide(1,plus(power(x,201),1))", "x"}, PolyLimitsS()),
              "apart: the denominator's degree is beyond 200");
    const std::vector<std::string> declined[] = {
        {"divide(sin(x),plus(x,1))", "x"},  // a function of x is no coefficient
        {"divide(1,plus(x,1))", "2"},       // the variable is no symbol
        {"divide(1,plus(x,1.5))", "x"},     // a float
    };
    for (const auto& arguments : declined) {
        ResultGraphC graph;
        EXPECT_EQ(run(graph, OperationE::Apart, arguments), kNoId) << arguments[0];
    }
}
