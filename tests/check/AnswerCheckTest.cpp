// SPDX-License-Identifier: MIT
// The check of answers: the wrong answers engines were seen to give, and
// identities that hold on part of the domain only, each caught; right
// answers pass; what the check cannot evaluate is said, not passed. And the
// floats of computed digits (DigitsValueC) that no padding reaches.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "AnswerCheckC.h"
#include "AssumedFactsC.h"
#include "DigitsValueC.h"
#include "OperationE.h"
#include "VocabularyTC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/numeric.h"

namespace {

using namespace qorv::math::algexpr;
using support::AnswerCheckC;
using VerdictE = AnswerCheckC::VerdictE;

// The numeric session with GiNaC's whole vocabulary: every name has its
// code, and code c is the vocabulary's line c + 1 (as in every engine).
const std::vector<support::OperationE>& words() {
    static const std::vector<support::OperationE> table = [] {
        const char16_t* const* names = support::builtinNames(support::EngineColumnE::Ginac);
        CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(new numeric::NumericSessionC(names)));
        std::vector<support::OperationE> made;
        for (std::size_t i = 0; names[i][0] != 0; ++i) {
            made.push_back(static_cast<support::OperationE>(i + 1));
        }
        return made;
    }();
    return table;
}

struct OutcomeS {
    VerdictE verdict;
    std::string why;
};

OutcomeS check(const std::string& input, const std::string& answer, bool real = true, unsigned long digits = 0,
               std::uint64_t seed = AnswerCheckC::kSeed, const support::AssumedFactsC* facts = nullptr) {
    AnswerCheckC::ContextS context;
    context.seed = seed;
    context.facts = facts;
    context.words = words().data();
    context.count = words().size();
    context.symbols = real ? AnswerCheckC::SymbolsE::Real : AnswerCheckC::SymbolsE::Complex;
    context.engine = u"Giac";
    context.digits = digits;
    auto in = AlgebraicExpressionC::fromPrefixString(std::u16string(input.begin(), input.end()));
    auto out = AlgebraicExpressionC::fromPrefixString(std::u16string(answer.begin(), answer.end()));
    EXPECT_TRUE(in && out) << input << " / " << answer;
    std::u16string why;
    const VerdictE verdict = AnswerCheckC::run(*in->getNode(), *out->getNode(), context, why);
    return OutcomeS{verdict, std::string(why.begin(), why.end())};
}

bool starts(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

TEST(AnswerCheckTest, WrongAnswersSeenFromEnginesAreRefusedWithWhatFailed) {
    const OutcomeS integral = check("integrate(power(plus(1,times(-1,power(x,2))),divide(-1,2)),x)",
                                    "plus(divide(times(x,sqrt(minus(1,power(x,2)))),2),divide(asin(x),2))");
    EXPECT_EQ(integral.verdict, VerdictE::Failed);
    EXPECT_TRUE(starts(integral.why, "Giac's antiderivative does not differentiate back to the integrand at x = "))
        << integral.why;
    EXPECT_EQ(integral.why.substr(integral.why.size() - 9), "; refused");
    // Both negative: sqrt(-1)*sqrt(-1) is -1, sqrt(1) is 1 (principal values, real symbols).
    const OutcomeS product = check("simplify(minus(times(sqrt(x),sqrt(y)),sqrt(times(x,y))))", "0");
    EXPECT_EQ(product.verdict, VerdictE::Failed);
    EXPECT_TRUE(starts(product.why, "Giac's simplified form differs from the input at x = -")) << product.why;
    EXPECT_EQ(check("simplify(power(power(x,3),divide(1,3)))", "x").verdict, VerdictE::Failed);
    EXPECT_EQ(check("simplify(power(power(x,3),divide(1,3)))", "x", false).verdict, VerdictE::Failed);
    // The same answers, right: pass.
    EXPECT_EQ(check("integrate(power(plus(1,times(-1,power(x,2))),divide(-1,2)),x)", "asin(x)").verdict,
              VerdictE::Passed);
    EXPECT_EQ(check("simplify(power(power(x,3),divide(1,3)))", "power(power(x,3),divide(1,3))").verdict,
              VerdictE::Passed);
}

TEST(AnswerCheckTest, IdentitiesOfPartOfTheDomainAreCaught) {
    const char* const wrong[][2] = {
        {"simplify(log(times(x,y)))", "plus(log(x),log(y))"},
        {"simplify(sqrt(power(x,2)))", "x"},
        {"simplify(asin(sin(x)))", "x"},
        {"simplify(power(power(x,a),b))", "power(x,times(a,b))"},
        {"simplify(exp(divide(log(x),2)))", "sqrt(abs(x))"},
        {"factor(minus(power(x,2),1))", "times(minus(x,1),plus(x,2))"},
        {"apart(divide(1,minus(power(x,2),1)),x)", "minus(divide(1,minus(x,1)),divide(1,plus(x,1)))"},
    };
    for (const auto& pair : wrong) {
        EXPECT_EQ(check(pair[0], pair[1]).verdict, VerdictE::Failed) << pair[0];
        EXPECT_EQ(check(pair[0], pair[1], false).verdict, VerdictE::Failed) << pair[0] << " (complex)";
    }
    const char* const right[][2] = {
        {"simplify(plus(power(sin(x),2),power(cos(x),2)))", "1"},
        {"simplify(exp(log(x)))", "x"},
        {"simplify(sqrt(power(x,2)))", "abs(x)"},  // real symbols
        {"factor(minus(power(x,2),1))", "times(minus(x,1),plus(x,1))"},
        {"apart(divide(1,minus(power(x,2),1)),x)",
         "minus(divide(1,times(2,minus(x,1))),divide(1,times(2,plus(x,1))))"},
        {"simplify(divide(minus(power(x,2),1),minus(x,1)))", "plus(x,1)"},
        {"simplify(plus(atan(x),atan(divide(1,x))))", "times(divide(pi,2),csgn(x))"},
    };
    for (const auto& pair : right) {
        EXPECT_EQ(check(pair[0], pair[1]).verdict, VerdictE::Passed) << pair[0] << ": " << check(pair[0], pair[1]).why;
    }
    EXPECT_EQ(check("simplify(sqrt(power(x,2)))", "abs(x)", false).verdict, VerdictE::Failed);  // complex x
}

TEST(AnswerCheckTest, ExpandIsCheckedByFormAsWellAsByValue) {
    const OutcomeS product = check("expand(times(plus(x,1),plus(x,2)))", "times(plus(x,1),plus(x,2))");
    EXPECT_EQ(product.verdict, VerdictE::Failed);
    EXPECT_EQ(product.why, "Giac's expansion still holds a product or a power of a sum; refused");
    EXPECT_EQ(check("expand(power(plus(x,y),2))", "power(plus(x,y),2)").verdict, VerdictE::Failed);
    EXPECT_EQ(check("expand(power(plus(x,y),2))", "plus(power(x,2),times(2,x,y),power(y,2))").verdict,
              VerdictE::Passed);
    EXPECT_EQ(check("expand(power(plus(x,y),2))", "plus(power(x,2),times(3,x,y),power(y,2))").verdict,
              VerdictE::Failed);
    // Denominators and arguments of functions stay as they are.
    EXPECT_EQ(check("expand(divide(plus(x,1),times(x,plus(x,2))))", "divide(plus(x,1),times(x,plus(x,2)))").verdict,
              VerdictE::Passed);
    EXPECT_EQ(check("expand(sin(times(plus(x,1),2)))", "sin(times(plus(x,1),2))").verdict, VerdictE::Passed);
}

TEST(AnswerCheckTest, RootsIntegralsAndNumericIntegrals) {
    EXPECT_EQ(check("solve(minus(power(x,2),2),x)", "list(neg(sqrt(2)),sqrt(2))").verdict, VerdictE::Passed);
    EXPECT_EQ(check("solve(equal(power(x,2),2),x)", "list(sqrt(2))").verdict, VerdictE::Passed);
    const OutcomeS root = check("solve(minus(power(x,2),2),x)", "list(sqrt(2),sqrt(3))");
    EXPECT_EQ(root.verdict, VerdictE::Failed);
    EXPECT_EQ(root.why, "Giac's root x = sqrt(3) does not make the equation zero; refused");
    EXPECT_EQ(check("solve(minus(power(x,2),a),x)", "list(sqrt(a),neg(sqrt(a)))").verdict, VerdictE::Passed);
    // Systems: every equation at every solution, the values in the variables' order.
    const char* const system = "solve(list(equal(plus(x,y),3),minus(minus(x,y),1)),list(x,y))";
    EXPECT_EQ(check(system, "list(list(2,1))").verdict, VerdictE::Passed);
    EXPECT_EQ(check(system, "list(list(1,2))").verdict, VerdictE::Failed);
    EXPECT_EQ(check(system, "list(list(2,1),list(3,0))").verdict, VerdictE::Failed);
    EXPECT_EQ(check("solve(list(minus(times(a,x),y),minus(minus(x,y),1)),list(x,y))",
                    "list(list(divide(1,minus(1,a)),divide(a,minus(1,a))))")
                  .verdict,
              VerdictE::Passed);
    EXPECT_EQ(check(system, "list(list(minus(3,y),y))").verdict, VerdictE::NotChecked);  // a value naming a variable
    EXPECT_EQ(check("integrate(power(x,2),x,0,1)", "divide(1,3)").verdict, VerdictE::Passed);
    EXPECT_EQ(check("integrate(power(x,2),x,0,1)", "divide(1,2)").verdict, VerdictE::Failed);
    EXPECT_EQ(check("integrate(sqrt(x),x,0,1)", "divide(2,3)").verdict, VerdictE::Passed);
    EXPECT_EQ(check("integrate(times(a,x),x,0,1)", "divide(a,2)").verdict, VerdictE::Passed);
    EXPECT_EQ(check("integrate(exp(neg(x)),x,0,infinity)", "1").verdict, VerdictE::Unchecked);
    // A numeric answer is right to its last digit.
    EXPECT_EQ(check("nintegrate(exp(neg(power(x,2))),x,0,1)", "0.746824132812427").verdict, VerdictE::Passed);
    EXPECT_EQ(check("nintegrate(exp(neg(power(x,2))),x,0,1)", "0.74682", true, 5).verdict, VerdictE::Passed);
    EXPECT_EQ(check("nintegrate(exp(neg(power(x,2))),x,0,1)", "0.74682").verdict, VerdictE::Failed);
    EXPECT_EQ(check("nintegrate(exp(neg(power(x,2))),x,0,1)", "0.7468241328125").verdict, VerdictE::Failed);
    EXPECT_EQ(check("integrate(cos(x),x)", "sin(x)").verdict, VerdictE::Passed);
    EXPECT_EQ(check("integrate(divide(1,x),x)", "log(abs(x))").verdict, VerdictE::Passed);
    EXPECT_EQ(check("integrate(divide(1,x),x)", "log(x)", false).verdict, VerdictE::Passed);
    // The special functions, with their derivatives.
    const struct {
        const char* input;
        const char* answer;
        VerdictE verdict;
    } special[] = {
        {"integrate(exp(neg(power(x,2))),x)", "times(divide(sqrt(pi),2),erf(x))", VerdictE::Passed},
        {"integrate(exp(neg(power(x,2))),x)", "times(divide(1,2),erf(x))", VerdictE::Failed},
        {"integrate(exp(neg(power(x,2))),x)", "times(divide(sqrt(pi),-2),erfc(x))", VerdictE::Passed},
        {"integrate(divide(sin(x),x),x)", "Si(x)", VerdictE::Passed},
        {"integrate(divide(cos(x),x),x)", "Ci(x)", VerdictE::Passed},
        {"integrate(power(sec(x),2),x)", "tan(x)", VerdictE::Passed},
        {"integrate(times(csc(x),cot(x)),x)", "neg(csc(x))", VerdictE::Passed},
        {"integrate(cot(x),x)", "log(sin(x))", VerdictE::Passed},
        {"simplify(divide(gamma(plus(x,1)),gamma(x)))", "x", VerdictE::Passed},
        {"simplify(minus(lgamma(plus(x,1)),lgamma(x)))", "log(x)", VerdictE::Passed},
        {"simplify(minus(lgamma(plus(x,1)),lgamma(x)))", "log(plus(x,1))", VerdictE::Failed},
        // binomial(n,k) of a whole k is a polynomial in n; otherwise gamma's quotient.
        {"expand(binomial(n,2))", "divide(times(n,minus(n,1)),2)", VerdictE::Passed},
        {"expand(binomial(n,2))", "divide(power(n,2),2)", VerdictE::Failed},
        {"integrate(minus(x,divide(1,2)),x)", "binomial(x,2)", VerdictE::Passed},
        {"simplify(binomial(x,y))", "divide(factorial(x),times(factorial(y),factorial(minus(x,y))))", VerdictE::Passed},
        {"simplify(binomial(x,y))", "divide(factorial(x),times(factorial(y),factorial(y)))", VerdictE::Failed},
        {"simplify(divide(factorial(plus(n,1)),factorial(n)))", "plus(n,1)", VerdictE::Passed},
        {"simplify(divide(factorial(plus(n,1)),factorial(n)))", "n", VerdictE::Failed},
    };
    for (const auto& row : special) {
        EXPECT_EQ(check(row.input, row.answer, false).verdict, row.verdict) << row.input << " = " << row.answer;
    }
}

TEST(AnswerCheckTest, WhatCannotBeCheckedIsSaidNotPassed) {
    const OutcomeS unknown = check("simplify(diff(f(x),x))", "pdiff(f(x),1)");
    EXPECT_EQ(unknown.verdict, VerdictE::Unchecked);
    EXPECT_EQ(unknown.why, "unchecked: the check has no value for pdiff");
    // Functions the vocabulary does not name: what holds for every function.
    EXPECT_EQ(check("simplify(plus(f(x,y),f(x,y)))", "times(2,f(x,y))").verdict, VerdictE::Passed);
    EXPECT_EQ(check("simplify(f(plus(x,x)))", "times(2,f(x))").verdict, VerdictE::Failed);
    const OutcomeS nowhere = check("simplify(log(minus(x,x)))", "log(0)");
    EXPECT_EQ(nowhere.verdict, VerdictE::Unchecked);
    EXPECT_EQ(nowhere.why, "unchecked: no point where both the input and the answer have a value");
    EXPECT_EQ(check("diff(sin(x),x)", "x").verdict, VerdictE::NotChecked);  // not an operation it checks
    // Floats: rounding in the last digits is no wrong answer, a wrong digit is.
    EXPECT_EQ(check("simplify(times(0.1,x))", "times(0.10000000000000001,x)").verdict, VerdictE::Passed);
    EXPECT_EQ(check("simplify(times(0.1,x))", "times(0.11,x)").verdict, VerdictE::Failed);
}

TEST(AnswerCheckTest, PointsAreTheSameEveryTimeAndReachBranchCuts) {
    const OutcomeS first = check("simplify(log(times(x,y)))", "plus(log(x),log(y))", false);
    const OutcomeS second = check("simplify(log(times(x,y)))", "plus(log(x),log(y))", false);
    EXPECT_EQ(first.why, second.why);
    EXPECT_NE(first.why.find("*i"), std::string::npos) << first.why;  // complex points where symbols are complex
    EXPECT_TRUE(starts(check("simplify(sqrt(power(x,2)))", "x").why, "Giac's simplified form differs from the input at x = -"));
    // Identities that fail where a sum or difference of two real symbols and
    // one of them differ in sign (which symbol is larger counts, and each
    // order is tried), or beyond a constant, whatever the seed.
    const struct {
        const char* input;
        const char* answer;
    } orders[] = {{"simplify(minus(log(minus(x,y)),log(x)))", "log(divide(minus(x,y),x))"},
                  {"simplify(minus(log(plus(x,y)),log(x)))", "log(divide(plus(x,y),x))"},
                  {"simplify(minus(log(minus(y,x)),log(y)))", "log(divide(minus(y,x),y))"},
                  // 4/3 - x < 0 only beyond 4/3: a large positive point.
                  {"simplify(sqrt(power(minus(divide(4,3),x),3)))",
                   "times(minus(divide(4,3),x),sqrt(minus(divide(4,3),x)))"}};
    for (const std::uint64_t seed : {AnswerCheckC::kSeed, std::uint64_t{1}, std::uint64_t{2}}) {
        for (const auto& row : orders) {
            EXPECT_EQ(check(row.input, row.answer, true, 0, seed).verdict, VerdictE::Failed) << row.input << " " << seed;
        }
    }
}

// Identities that hold under assumptions only pass with them: the points
// keep inside (positive, negative, integer, real among complex symbols).
TEST(AnswerCheckTest, PointsKeepInsideTheAssumptions) {
    using KindE = SymbolAssumptionS::KindE;
    const struct {
        const char* input;
        const char* answer;
        std::vector<SymbolAssumptionS> assumptions;
    } rows[] = {
        {"simplify(log(times(x,y)))", "plus(log(x),log(y))", {{u"x", KindE::Positive}, {u"y", KindE::Positive}}},
        {"simplify(sqrt(power(x,2)))", "x", {{u"x", KindE::NonNegative}}},
        {"simplify(sqrt(power(x,2)))", "neg(x)", {{u"x", KindE::Negative}}},
        {"simplify(power(power(x,a),b))", "power(x,times(a,b))",
         {{u"x", KindE::Positive}, {u"a", KindE::Real}, {u"b", KindE::Real}}},
        {"simplify(sin(times(n,pi)))", "0", {{u"n", KindE::Integer}}},
        {"simplify(power(-1,times(2,n)))", "1", {{u"n", KindE::Integer}, {u"n", KindE::Negative}}},
    };
    for (const auto& row : rows) {
        support::AssumedFactsC facts;
        std::u16string why;
        ASSERT_TRUE(facts.merge(row.assumptions, why));
        for (const bool real : {true, false}) {
            EXPECT_EQ(check(row.input, row.answer, real).verdict, VerdictE::Failed) << row.input;
            EXPECT_EQ(check(row.input, row.answer, real, 0, AnswerCheckC::kSeed, &facts).verdict, VerdictE::Passed) << row.input;
        }
    }
}

TEST(AnswerCheckTest, HalfPowersAreRewrittenAsRootsForASecondTry) {
    AnswerCheckC::ContextS context;
    context.words = words().data();
    context.count = words().size();
    auto in = AlgebraicExpressionC::fromPrefixString(u"integrate(power(plus(1,power(x,divide(1,2))),divide(-1,2)),x)");
    NodeABC* again = AnswerCheckC::rewritten(*in->getNode(), context);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->toPrefixString(), u"integrate(divide(1,sqrt(plus(1,sqrt(x)))),x)");
    delete again;
    auto plain = AlgebraicExpressionC::fromPrefixString(u"integrate(power(x,2),x)");
    EXPECT_EQ(AnswerCheckC::rewritten(*plain->getNode(), context), nullptr);
}

}  // namespace

namespace {

// Floats of computed digits: rounded once, written with no digit beyond them.
TEST(DigitsValueTest, RoundsOnceAndNeverPadsBeyondItsDigits) {
    std::string digits = "314159265358979323846";
    std::int64_t exponent = 0;
    qorv::math::algexpr::support::DigitsValueC::round(digits, exponent, 5);
    EXPECT_EQ(digits, "31416");
    digits = "99996";
    exponent = -1;
    qorv::math::algexpr::support::DigitsValueC::round(digits, exponent, 4);
    EXPECT_EQ(digits, "1");  // 0.99996 to 4 digits is 1.000
    EXPECT_EQ(exponent, 0);
    qorv::math::algexpr::support::DigitsValueC third(false, "333", -1, 3);
    EXPECT_EQ(third.toString(30, qorv::math::Standard), u"0.333");
    EXPECT_EQ(third.toString(2, qorv::math::Standard), u"0.33");
    qorv::math::algexpr::support::DigitsValueC one(true, "1", 0, 4);
    EXPECT_EQ(one.toString(10, qorv::math::Standard), u"-1.000");  // its zeros are computed ones
}

}  // namespace
