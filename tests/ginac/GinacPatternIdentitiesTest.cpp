// SPDX-License-Identifier: MIT
// Textbook identities as rules, checked by the GiNaC engine: rewriting random
// expressions must not change their value at random complex points. Symbols
// are complex, so each identity holds for complex values or carries the
// conditions that make it hold (log of a product only for positive numbers).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "GinacFixture.h"

namespace ginac_tests {
namespace {

const char* const kIdentities[][3] = {
    {"times(1,wilds(r))", "times(wilds(r))", nullptr},
    {"plus(0,wilds(r))", "plus(wilds(r))", nullptr},
    {"power(wild(a),1)", "wild(a)", nullptr},
    {"neg(neg(wild(a)))", "wild(a)", nullptr},
    {"minus(wild(a),wild(b))", "plus(wild(a),neg(wild(b)))", nullptr},
    {"sin(neg(wild(a)))", "neg(sin(wild(a)))", nullptr},
    {"cos(neg(wild(a)))", "cos(wild(a))", nullptr},
    {"tan(wild(a))", "divide(sin(wild(a)),cos(wild(a)))", nullptr},
    {"plus(power(sin(wild(a)),2),power(cos(wild(a)),2),wilds(r))", "plus(1,wilds(r))", nullptr},
    {"times(wild(a),plus(wild(b),wild(c)))", "plus(times(wild(a),wild(b)),times(wild(a),wild(c)))", nullptr},
    {"exp(plus(wild(a),wild(b)))", "times(exp(wild(a)),exp(wild(b)))", nullptr},
    {"exp(log(wild(a)))", "wild(a)", nullptr},
    {"log(times(wild(a),wild(b)))", "plus(log(wild(a)),log(wild(b)))", "and(positive(wild(a)),positive(wild(b)))"},
    {"power(power(wild(a),wild(m,integer)),wild(n,integer))", "power(wild(a),times(wild(m),wild(n)))", nullptr},
    {"times(power(wild(a),wild(m)),power(wild(a),wild(n)))", "power(wild(a),plus(wild(m),wild(n)))", nullptr},
    {"divide(wild(a),divide(wild(b),wild(c)))", "divide(times(wild(a),wild(c)),wild(b))", nullptr},
    {"plus(wild(a),wild(a),wilds(r))", "plus(times(2,wild(a)),wilds(r))", nullptr},
};

// Random expressions in x, y and z, with the shapes the identities match
// mixed in. The depth is the test's, not the input's.
class ExpressionsC {
public:
    explicit ExpressionsC(unsigned seed) : random(seed) {}

    std::string make(int depth) {
        if (depth == 0 || pick(5) == 0) {
            return leaf();
        }
        const std::string a = make(depth - 1), b = make(depth - 1);
        const std::string k = std::to_string(1 + pick(3)), m = std::to_string(1 + pick(3));
        const std::string shapes[] = {
            "plus(" + a + "," + b + ")",  "times(" + a + "," + b + ")",      "minus(" + a + "," + b + ")",
            "divide(" + a + "," + b + ")", "power(" + a + "," + k + ")",       "neg(" + a + ")",
            "sin(" + a + ")",             "cos(" + a + ")",                  "tan(" + a + ")",
            "exp(" + a + ")",             "log(" + a + ")",                  "neg(neg(" + a + "))",
            "sin(neg(" + a + "))",        "cos(neg(" + a + "))",             "times(1," + a + ")",
            "plus(0," + a + "," + b + ")", "power(power(" + a + "," + k + ")," + m + ")",
            "times(power(" + a + "," + k + "),power(" + a + "," + m + "))",
            "plus(power(sin(" + a + "),2)," + b + ",power(cos(" + a + "),2))",
            "log(times(" + k + "," + m + "))", "log(times(" + a + "," + b + "))", "exp(plus(" + a + "," + b + "))",
            "exp(log(" + a + "))",        "divide(" + a + ",divide(" + b + "," + a + "))",
            "plus(" + a + "," + a + ")",  "times(" + a + ",plus(" + b + "," + a + "))"};
        return shapes[pick(sizeof shapes / sizeof shapes[0])];
    }

    /// A random complex point, as a tree text with the core symbol i.
    std::string point() {
        std::uniform_real_distribution<double> part(-1.5, 1.5);
        const std::string re = std::to_string(part(random)), im = std::to_string(part(random));
        return "plus(" + re + ",times(" + im + ",i))";
    }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); }
    std::string leaf() {
        const char* const leaves[] = {"x", "y", "z", "2", "3", "-1", "divide(1,2)"};
        return leaves[pick(sizeof leaves / sizeof leaves[0])];
    }

    std::mt19937 random;
};

std::unique_ptr<NodeABC> tree(const std::string& text) {
    PointerTC<AlgebraicExpressionC> read = AlgebraicExpressionC::fromPrefixString(wide(text));
    EXPECT_TRUE(read) << text;
    return std::unique_ptr<NodeABC>(read ? read->getNode()->clone() : nullptr);
}

std::string prefix(NodeABC* node) { return narrow(PrefixPrintVisitorC().getExpressionString(node, 0, qorv::math::Standard)); }

// |a - b| and |a| at the point, or false when either does not evaluate
// (a pole, say).
bool distance(const std::string& a, const std::string& b, double& apart, double& size) {
    const std::string gap = numeric("abs(minus(" + a + "," + b + "))"), scale = numeric("abs(" + a + ")");
    char* end = nullptr;
    apart = std::strtod(gap.c_str(), &end);
    if (gap.empty() || *end != '\0') {
        return false;
    }
    size = std::strtod(scale.c_str(), &end);
    return !scale.empty() && *end == '\0' && std::isfinite(apart) && std::isfinite(size);
}

// Rewrites `count` random expressions and compares values at two random
// points; returns how many were changed by the rules and compared.
std::size_t check(RewriterC& rewriter, unsigned seed, std::size_t count, std::size_t& wrong) {
    ExpressionsC expressions(seed);
    std::size_t compared = 0;
    for (std::size_t n = 0; n < count; ++n) {
        std::unique_ptr<NodeABC> original = tree(expressions.make(3));
        RewriterC::ResultS result = rewriter.rewrite(original.get());
        EXPECT_EQ(result.status, RewriterC::StatusE::Done) << prefix(original.get());
        if (result.steps == 0 || !result.tree) {
            continue;
        }
        bool evaluated = false;
        for (int p = 0; p < 2; ++p) {
            SubstitutionC at;
            std::unique_ptr<NodeABC> values[3];
            const char16_t* names[3] = {u"x", u"y", u"z"};
            for (int v = 0; v < 3; ++v) {
                values[v] = tree(expressions.point());
                at.add(names[v], values[v].get());
            }
            std::unique_ptr<NodeABC> before(at.apply(original.get())), after(at.apply(result.tree.get()));
            double apart = 0, size = 0;
            if (!distance(prefix(before.get()), prefix(after.get()), apart, size)) {
                continue;
            }
            evaluated = true;
            const bool same = apart <= 1e-9 * (1 + size);
            wrong += same ? 0 : 1;
            EXPECT_TRUE(same) << prefix(original.get()) << " -> " << prefix(result.tree.get());
        }
        compared += evaluated ? 1 : 0;
    }
    return compared;
}

TEST(GinacPatternIdentities, RewritingKeepsTheValue) {
    session();
    RewriterC rewriter;
    for (const auto& rule : kIdentities) {
        std::unique_ptr<NodeABC> pattern = tree(rule[0]), replacement = tree(rule[1]);
        std::unique_ptr<NodeABC> condition = rule[2] != nullptr ? tree(rule[2]) : nullptr;
        std::u16string problem;
        ASSERT_TRUE(rewriter.addRule(pattern.get(), replacement.get(), condition.get(), &problem))
            << rule[0] << ": " << narrow(problem);
    }
    std::size_t wrong = 0;
    const std::size_t compared = check(rewriter, 20261207, 400, wrong);
    EXPECT_EQ(wrong, 0u);
    EXPECT_GE(compared, 200u);
    std::printf("%zu rewritten expressions compared at random complex points\n", compared);
}

// The check catches a rule that does not hold for complex values: log of a
// product without its conditions.
TEST(GinacPatternIdentities, TheCheckCatchesAFalseIdentity) {
    session();
    RewriterC rewriter;
    std::unique_ptr<NodeABC> pattern = tree("log(times(wild(a),wild(b)))");
    std::unique_ptr<NodeABC> replacement = tree("plus(log(wild(a)),log(wild(b)))");
    ASSERT_TRUE(rewriter.addRule(pattern.get(), replacement.get()));
    std::unique_ptr<NodeABC> sample = tree("log(times(-1.5,-2.0))");
    RewriterC::ResultS result = rewriter.rewrite(sample.get());
    double apart = 0, size = 0;
    ASSERT_TRUE(distance(prefix(sample.get()), prefix(result.tree.get()), apart, size));
    EXPECT_NEAR(apart, 2 * M_PI, 1e-9);
}

}  // namespace
}  // namespace ginac_tests
