// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "algexpr/RewriterC.h"
#include "patterns/PatternFixture.h"

namespace pattern_tests {
namespace {

struct RuleS {
    const char* pattern;
    const char* replacement;
    const char* condition;
};

void addRules(RewriterC& rewriter, const std::vector<RuleS>& rules) {
    for (const RuleS& rule : rules) {
        Tree pattern = read(widen(rule.pattern));
        Tree replacement = read(widen(rule.replacement));
        Tree condition = rule.condition != nullptr ? read(widen(rule.condition)) : nullptr;
        std::u16string problem;
        EXPECT_TRUE(rewriter.addRule(pattern.get(), replacement.get(), condition.get(), &problem))
            << rule.pattern << ": " << narrow(problem);
    }
}

std::string rewritten(RewriterC& rewriter, const char* input, RewriterC::StatusE expected = RewriterC::StatusE::Done) {
    Tree tree = read(widen(input));
    RewriterC::ResultS result = rewriter.rewrite(tree.get());
    EXPECT_EQ(result.status, expected) << input;
    return text(result.tree.get());
}

TEST(Rewriter, RulesApplyBottomUpUntilNothingChanges) {
    RewriterC rewriter;
    addRules(rewriter, {{"times(1,wild(a))", "wild(a)", nullptr},
                        {"plus(0,wilds(r))", "plus(wilds(r))", nullptr},
                        {"plus(wild(a))", "wild(a)", nullptr},
                        {"sin(neg(wild(a)))", "neg(sin(wild(a)))", nullptr},
                        {"neg(neg(wild(a)))", "wild(a)", nullptr}});
    const std::pair<const char*, const char*> cases[] = {
        {"times(x,1)", "x"},
        {"plus(0,times(1,y))", "y"},
        {"plus(y,0,z)", "plus(y,z)"},
        {"f(times(1,times(1,x)))", "f(x)"},
        {"neg(sin(neg(x)))", "sin(x)"},
        {"minus(x,neg(y))", "minus(x,neg(y))"},
    };
    for (const auto& [input, output] : cases) {
        EXPECT_EQ(rewritten(rewriter, input), output) << input;
    }
    EXPECT_EQ(rewriter.ruleCount(), 5u);
    EXPECT_EQ(rewriter.rewrite(nullptr).status, RewriterC::StatusE::Done);
}

TEST(Rewriter, ConditionsGuardRules) {
    PatternC::SettingsS settings;
    settings.conditions[u"small"] = [](const std::vector<const NodeABC*>& arguments) {
        const auto* integer = dynamic_cast<const IntegerNodeC*>(arguments.at(0));
        return integer != nullptr && integer->getValue()->getValue() < 10;
    };
    RewriterC rewriter(settings);
    addRules(rewriter, {{"log(times(wild(a),wild(b)))", "plus(log(wild(a)),log(wild(b)))",
                         "and(positive(wild(a)),positive(wild(b)))"},
                        {"f(wild(a),wild(b))", "g(wild(a))", "or(free(wild(a),x),not(integer(wild(b))))"},
                        {"h(wild(n))", "k(wild(n))", "small(wild(n))"}});
    EXPECT_EQ(rewritten(rewriter, "log(times(2,3.5))"), "plus(log(2),log(3.5))");
    EXPECT_EQ(rewritten(rewriter, "log(times(x,3))"), "log(times(x,3))");
    EXPECT_EQ(rewritten(rewriter, "log(times(-2,3))"), "log(times(-2,3))");
    EXPECT_EQ(rewritten(rewriter, "f(y,1)"), "g(y)");
    EXPECT_EQ(rewritten(rewriter, "f(x,1)"), "f(x,1)");
    EXPECT_EQ(rewritten(rewriter, "f(x,z)"), "g(x)");
    EXPECT_EQ(rewritten(rewriter, "h(3)"), "k(3)");
    EXPECT_EQ(rewritten(rewriter, "h(30)"), "h(30)");
}

// The condition takes part in the search: when the first order of a
// product's arguments fails it, the next order is tried.
TEST(Rewriter, ConditionsChooseAmongTheOrders) {
    RewriterC rewriter;
    addRules(rewriter, {{"log(times(wild(a),wild(b)))", "plus(log(wild(a)),log(wild(b)))", "positive(wild(a))"}});
    EXPECT_EQ(rewritten(rewriter, "log(times(2,y))"), "plus(log(2),log(y))");
    EXPECT_EQ(rewritten(rewriter, "log(times(y,2))"), "plus(log(2),log(y))");
    EXPECT_EQ(rewritten(rewriter, "log(times(x,y))"), "log(times(x,y))");
    // bounded: a condition that no order meets gives up at the limit
    RewriterC bounded;
    addRules(bounded, {{"plus(wild(a),wild(b),wild(c),wild(d),wild(e))", "q", "positive(wild(a))"}});
    bounded.matcher().setAttemptLimit(20);
    Tree tree = read(u"plus(v,w,x,y,z)");
    const RewriterC::ResultS result = bounded.rewrite(tree.get());
    EXPECT_TRUE(result.gave_up);
    EXPECT_EQ(text(result.tree.get()), "plus(v,w,x,y,z)");
}

// A sum or product that its sequences leave with one term is that term, and
// with none 0 or 1: what is written reads back (no plus()).
TEST(Rewriter, EmptySumsAndProductsAreNumbers) {
    RewriterC rewriter;
    addRules(rewriter, {{"plus(0,wilds(r))", "plus(wilds(r))", nullptr},
                        {"times(1,wilds(r))", "times(wilds(r))", nullptr},
                        {"f(wild(a),wilds(r))", "plus(5,times(wilds(r)),plus(wilds(r)))", nullptr}});
    EXPECT_EQ(rewritten(rewriter, "plus(x,0)"), "x");
    EXPECT_EQ(rewritten(rewriter, "plus(0,times(1))"), "1");
    EXPECT_EQ(rewritten(rewriter, "g(plus(0),times(1,x,y))"), "g(0,times(x,y))");
    EXPECT_EQ(rewritten(rewriter, "f(x)"), "plus(5,1)");  // plus(5,1,0), then the first rule
    EXPECT_EQ(rewritten(rewriter, "f(x,y)"), "plus(5,y,y)");
    EXPECT_EQ(rewritten(rewriter, "f(x,2,y)"), "plus(5,times(2,y),plus(2,y))");
    // Any other call the sequences would leave empty is no match there: g()
    // reads nowhere. Where the commutative search finds bindings that fill
    // it, the rule applies with those.
    RewriterC calls;
    addRules(calls, {{"f(x,wilds(r))", "g(wilds(r))", nullptr}, {"times(x,wilds(r))", "k(wilds(r))", nullptr}});
    EXPECT_EQ(rewritten(calls, "f(x)"), "f(x)");
    EXPECT_EQ(rewritten(calls, "f(x,y)"), "g(y)");
    EXPECT_EQ(rewritten(calls, "times(x)"), "times(x)");
    EXPECT_EQ(rewritten(calls, "times(y,x)"), "k(y)");
    EXPECT_EQ(rewritten(calls, "plus(f(x),f(x,1))"), "plus(f(x),g(1))");
    RewriterC written;  // a sum written without a sequence stays as written
    addRules(written, {{"k(wild(a))", "plus(wild(a))", nullptr}});
    EXPECT_EQ(rewritten(written, "k(x)"), "plus(x)");
}

// Defaults are copied into the replacement; what the tree gave is moved.
TEST(Rewriter, DefaultsFillReplacements) {
    RewriterC rewriter;
    addRules(rewriter, {{"times(wild(a,default(1)),power(x,wild(n,default(1))))", "term(wild(a),wild(n))", nullptr}});
    EXPECT_EQ(rewritten(rewriter, "x"), "term(1,1)");
    RewriterC mixed;
    addRules(mixed, {{"g(wild(a),power(wild(b),wild(n,default(1))))", "term(wild(a),wild(b),wild(n))", nullptr}});
    EXPECT_EQ(rewritten(mixed, "g(h(1),y)"), "term(h(1),y,1)");
    EXPECT_EQ(rewritten(mixed, "g(h(1),power(y,3))"), "term(h(1),y,3)");
}

TEST(Rewriter, SequencesSpliceIntoArguments) {
    RewriterC rewriter;
    addRules(rewriter, {{"f(wilds(a),x,wilds(b))", "g(wilds(b),wilds(a))", nullptr}});
    EXPECT_EQ(rewritten(rewriter, "f(1,2,x,3)"), "g(3,1,2)");
    EXPECT_EQ(rewritten(rewriter, "f(x)"), "f(x)");  // g() would read nowhere
}

// Bound subtrees are moved into the replacement once and copied for every
// other use; a binding of the whole node matched is moved too.
TEST(Rewriter, ReplacementsUseBindingsAnyNumberOfTimes) {
    RewriterC rewriter;
    addRules(rewriter, {{"f(wild(a),wilds(r))", "g(wild(a),wilds(r),wild(a),wilds(r))", nullptr},
                        {"k(wild(a),wild(b))", "wild(b)", nullptr}});
    EXPECT_EQ(rewritten(rewriter, "f(h(x),1,2)"), "g(h(x),1,2,h(x),1,2)");
    EXPECT_EQ(rewritten(rewriter, "k(f(y),k(1,z))"), "z");
    RewriterC wrap;
    addRules(wrap, {{"wild(n,integer)", "q(wild(n))", nullptr}});
    wrap.setStepBudget(3);
    EXPECT_EQ(rewritten(wrap, "5", RewriterC::StatusE::BudgetSpent), "q(q(q(5)))");
}

TEST(Rewriter, ALoopingRuleSetStopsAtTheBudget) {
    RewriterC rewriter;
    addRules(rewriter, {{"f(wild(a))", "g(wild(a))", nullptr}, {"g(wild(a))", "f(wild(a))", nullptr}});
    rewriter.setStepBudget(7);
    EXPECT_EQ(rewriter.getStepBudget(), 7u);
    Tree tree = read(u"f(x)");
    RewriterC::ResultS result = rewriter.rewrite(tree.get());
    EXPECT_EQ(result.status, RewriterC::StatusE::BudgetSpent);
    EXPECT_EQ(result.steps, 7u);
    EXPECT_EQ(text(result.tree.get()), "g(x)");
    // exactly the budget's worth of work is not a loop
    RewriterC once;
    addRules(once, {{"f(wild(a))", "g(wild(a))", nullptr}});
    once.setStepBudget(2);
    EXPECT_EQ(rewritten(once, "h(f(1),f(2))"), "h(g(1),g(2))");
    EXPECT_EQ(rewritten(once, "h(f(1),f(2),f(3))", RewriterC::StatusE::BudgetSpent), "h(g(1),g(2),f(3))");
}

TEST(Rewriter, MalformedRulesAreRefused) {
    const RuleS bad[] = {{"f(wild(a))", "g(wild(b))", nullptr},
                         {"f(wild(a))", "g(wilds(a))", nullptr},
                         {"f(wild(a))", "g(wild(a))", "colour(wild(a))"},
                         {"f(wild(a))", "g(wild(a))", "positive(wild(a),2)"},
                         {"f(wild(a))", "g(wild(a))", "free(wild(a))"},
                         {"f(wild(a))", "g(wild(a))", "x"},
                         {"f(wild(a))", "g(wild(a))", "positive(wild(c))"},
                         {"wild(a,colour)", "x", nullptr},
                         {"f(wilds(r))", "wilds(r)", nullptr}};
    for (const RuleS& rule : bad) {
        RewriterC rewriter;
        Tree pattern = read(widen(rule.pattern));
        Tree replacement = read(widen(rule.replacement));
        Tree condition = rule.condition != nullptr ? read(widen(rule.condition)) : nullptr;
        std::u16string problem;
        EXPECT_FALSE(rewriter.addRule(pattern.get(), replacement.get(), condition.get(), &problem)) << rule.pattern;
        EXPECT_FALSE(problem.empty());
        EXPECT_EQ(rewriter.ruleCount(), 0u);
    }
    RewriterC rewriter;
    Tree pattern = read(u"f(x)");
    EXPECT_FALSE(rewriter.addRule(pattern.get(), nullptr));
}

TEST(Rewriter, GivingUpIsReported) {
    RewriterC rewriter;
    addRules(rewriter, {{"plus(wild(a),wild(b),wild(c),wild(d),f(wild(a),wild(b),wild(c),wild(d)))", "0", nullptr}});
    rewriter.matcher().setAttemptLimit(3);
    Tree tree = read(u"plus(p,q,r,s,f(s,r,q,p))");
    RewriterC::ResultS result = rewriter.rewrite(tree.get());
    EXPECT_EQ(result.status, RewriterC::StatusE::Done);
    EXPECT_TRUE(result.gave_up);
    EXPECT_EQ(text(result.tree.get()), "plus(p,q,r,s,f(s,r,q,p))");
    rewriter.matcher().setAttemptLimit(1000);
    EXPECT_EQ(rewritten(rewriter, "plus(p,q,r,s,f(s,r,q,p))"), "0");
}

TEST(Rewriter, DeepTrees) {
    RewriterC rewriter;
    addRules(rewriter, {{"f(wild(a))", "g(wild(a))", nullptr}, {"x", "y", nullptr}});
    rewriter.setStepBudget(3000000);
    Tree tree = deepChain(1000000);
    RewriterC::ResultS result = rewriter.rewrite(tree.get());
    ASSERT_EQ(result.status, RewriterC::StatusE::Done);
    EXPECT_EQ(result.steps, 1000001u);
    std::string expected;
    for (int i = 0; i < 1000000; ++i) {
        expected += "g(";
    }
    EXPECT_EQ(text(result.tree.get()), expected + "y" + std::string(1000000, ')'));
}

}  // namespace
}  // namespace pattern_tests
