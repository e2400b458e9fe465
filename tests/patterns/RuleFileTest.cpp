// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <utility>

#include "algexpr/PatternConstraintsC.h"
#include "algexpr/RewriterC.h"
#include "algexpr/RuleReaderC.h"
#include "patterns/PatternFixture.h"

namespace pattern_tests {
namespace {

using LinesT = std::vector<RuleReaderC::LineS>;

TEST(RuleReader, ReadsRulesInEitherNotation) {
    session();
    const std::u16string prefix_text =
        u"# identities\n"
        u"\n"
        u"times(1,wild(a)) -> wild(a)   # unit\n"
        u"  power(wild(x),1) -> wild(x) if symbol(wild(x))\n";
    LinesT lines;
    RuleReaderC::ErrorS error;
    ASSERT_TRUE(RuleReaderC(RuleReaderC::prefix(), RuleReaderC::FormE::Rules).read(prefix_text, lines, error))
        << narrow(error.message);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].line, 3u);
    EXPECT_EQ(narrow(lines[0].text), "times(1,wild(a)) -> wild(a)");
    EXPECT_FALSE(lines[0].condition);
    EXPECT_EQ(lines[1].line, 4u);
    EXPECT_EQ(lines[1].replacement_column, 23u);
    EXPECT_EQ(text(lines[1].condition->getNode()), "symbol(wild(x))");

    const std::u16string infix_text = u"1*wild(a) -> wild(a)\nwild(x)^1 -> wild(x) if symbol(wild(x))";
    ASSERT_TRUE(RuleReaderC(RuleReaderC::infix(), RuleReaderC::FormE::Rules).read(infix_text, lines, error))
        << narrow(error.message);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(text(lines[0].pattern->getNode()), "times(1,wild(a))");
    EXPECT_EQ(text(lines[1].pattern->getNode()), "power(wild(x),1)");
    RewriterC rewriter;
    ASSERT_TRUE(RuleReaderC::addTo(lines, rewriter, error)) << narrow(error.message);
    Tree tree = read(u"times(1,power(y,1))");
    EXPECT_EQ(text(rewriter.rewrite(tree.get()).tree.get()), "y");
}

TEST(RuleReader, ErrorsNameLineAndColumn) {
    session();
    struct CaseS {
        RuleReaderC::FormE form;
        const char16_t* text;
        std::size_t line, column;
    };
    const CaseS cases[] = {
        {RuleReaderC::FormE::Rules, u"f(x) -> g(x)\n\nf(x) g(x)", 3, 10},        // no arrow: at the end
        {RuleReaderC::FormE::Rules, u"f(x) -> ", 1, 8},                           // no replacement
        {RuleReaderC::FormE::Rules, u"  -> x", 1, 3},                             // no pattern
        {RuleReaderC::FormE::Rules, u"f(x) -> g(x,,y)", 1, 13},                   // the replacement's own error
        {RuleReaderC::FormE::Rules, u"f(x) -> g(x) if ", 1, 16},                  // no condition
        {RuleReaderC::FormE::Rules, u"\u00e9\u00e9(x,,y) -> y", 1, 6},
        {RuleReaderC::FormE::Rules, u"f(x -> y", 1, 9},                // columns count code points
        {RuleReaderC::FormE::Forms, u"accept f(x)\nreject g(x) -> h", 2, 13},     // forms have no arrow
        {RuleReaderC::FormE::Rules, u"x -> plus(1-2,3)", 1, 6},                   // a number the factories refuse
    };
    for (const CaseS& c : cases) {
        LinesT lines;
        RuleReaderC::ErrorS error;
        EXPECT_FALSE(RuleReaderC(RuleReaderC::prefix(), c.form).read(c.text, lines, error)) << narrow(c.text);
        EXPECT_EQ(error.line, c.line) << narrow(c.text);
        EXPECT_EQ(error.column, c.column) << narrow(c.text) << ": " << narrow(error.message);
        EXPECT_FALSE(error.message.empty());
        EXPECT_TRUE(lines.empty());
    }
    // a rule that reads but does not compile: at its pattern
    LinesT lines;
    RuleReaderC::ErrorS error;
    ASSERT_TRUE(RuleReaderC(RuleReaderC::prefix(), RuleReaderC::FormE::Rules).read(u"x -> y\n  f(wild(a)) -> wild(b)", lines, error));
    RewriterC rewriter;
    EXPECT_FALSE(RuleReaderC::addTo(lines, rewriter, error));
    EXPECT_EQ(error.line, 2u);
    EXPECT_EQ(error.column, 3u);
    EXPECT_EQ(narrow(error.message), "the wildcard b is not in the pattern");
    EXPECT_EQ(RuleReaderC::column(u"a\U0001D465b", 3), 3u);
    // infix errors at their place
    EXPECT_FALSE(RuleReaderC(RuleReaderC::infix(), RuleReaderC::FormE::Rules).read(u"x -> 2*)", lines, error));
    EXPECT_EQ(error.column, 8u);
    EXPECT_FALSE(RuleReaderC(nullptr, RuleReaderC::FormE::Rules).read(u"x -> y", lines, error));
    EXPECT_EQ(narrow(error.message), "does not read");
}

TEST(PatternConstraints, FormsFromAFile) {
    session();
    PatternC::SettingsS settings;
    settings.conditions[u"coprime"] = [](const std::vector<const NodeABC*>& arguments) {
        const auto* p = dynamic_cast<const IntegerNodeC*>(arguments.at(0));
        const auto* q = dynamic_cast<const IntegerNodeC*>(arguments.at(1));
        if (p == nullptr || q == nullptr) {
            return false;
        }
        std::int64_t a = p->getValue()->getValue(), b = q->getValue()->getValue();
        while (b != 0) {
            a %= b;
            std::swap(a, b);
        }
        return a == 1 || a == -1;
    };
    PatternConstraintsC answer(settings);
    LinesT lines;
    RuleReaderC::ErrorS error;
    ASSERT_TRUE(RuleReaderC(RuleReaderC::prefix(), RuleReaderC::FormE::Forms)
                    .read(u"divide(wild(p,integer),wild(q,integer,positive)) if coprime(wild(p),wild(q))\n"
                          u"wild(n,integer)\n"
                          u"reject divide(wild(a),1)\n",
                          lines, error));
    ASSERT_TRUE(answer.addForms(lines, error)) << narrow(error.message);
    EXPECT_EQ(answer.acceptedCount(), 2u);
    EXPECT_EQ(answer.rejectedCount(), 1u);
    struct CaseS {
        const char16_t* text;
        bool editing, final;
        std::size_t accepted, rejected;
    };
    const std::size_t kNone = PatternConstraintsC::kNone;
    const CaseS cases[] = {
        {u"divide(3,4)", true, true, 0, kNone},      {u"divide(6,8)", false, false, kNone, kNone},
        {u"divide(3,-4)", false, false, kNone, kNone}, {u"7", true, true, 1, kNone},
        {u"divide(7,1)", false, false, 0, 0},        {u"divide(_,4)", false, false, kNone, kNone},
        {u"divide(x,4)", false, false, kNone, kNone}, {u"plus(1,2)", false, false, kNone, kNone},
    };
    for (const CaseS& c : cases) {
        PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(c.text);
        ASSERT_TRUE(e);
        const PatternConstraintsC::VerdictS verdict = answer.judge(e->getNode(), true);
        EXPECT_EQ(verdict.accepted, c.accepted) << narrow(c.text);
        EXPECT_EQ(verdict.rejected, c.rejected) << narrow(c.text);
        EXPECT_EQ(answer.isAcceptableFinal(*e), c.final) << narrow(c.text);
    }
    // while editing a slot stands for anything but the condition: coprime(_, 4) fails
    PointerTC<AlgebraicExpressionC> slot = AlgebraicExpressionC::fromPrefixString(u"divide(_,4)");
    EXPECT_FALSE(answer.isAcceptable(*slot));
}

// A form's condition takes part in matching: either order of a product's
// arguments meets it.
TEST(PatternConstraints, ConditionsChooseAmongTheOrders) {
    session();
    PatternConstraintsC answer;
    Tree form = read(u"times(wild(a),wild(b))");
    Tree condition = read(u"positive(wild(a))");
    ASSERT_TRUE(answer.accept(form.get(), condition.get()));
    ASSERT_TRUE(answer.reject(read(u"f(plus(wild(a),wild(b)))").get(), read(u"integer(wild(a))").get()));
    for (const auto& [input, acceptable] : {std::pair<const char16_t*, bool>{u"times(2,y)", true},
                                            {u"times(y,2)", true},
                                            {u"times(x,y)", false},
                                            {u"times(3,f(plus(x,4)))", false},
                                            {u"times(3,f(plus(x,y)))", true}}) {
        Tree tree = read(input);
        EXPECT_EQ(answer.judge(tree.get(), true).acceptable, acceptable) << narrow(input);
    }
}

TEST(PatternConstraints, TemplateWithSlots) {
    session();
    PatternConstraintsC form;
    Tree pattern = read(u"plus(times(wild(a,number),x),wild(b,number))");
    ASSERT_TRUE(form.accept(pattern.get()));
    Tree floats = read(u"wild(f,positive)");
    std::u16string problem;
    EXPECT_FALSE(form.reject(read(u"wild(f,colour)").get(), nullptr, &problem));
    EXPECT_EQ(narrow(problem), "unknown condition 'colour'");
    const std::pair<const char16_t*, std::pair<bool, bool>> cases[] = {
        {u"plus(times(_,x),_)", {true, false}},
        {u"plus(times(2,_),3)", {true, false}},
        {u"plus(times(2,x),3)", {true, true}},
        {u"plus(times(x,2),3.5)", {true, true}},
        {u"plus(times(y,x),3)", {false, false}},
        {u"plus(times(2,x),y)", {false, false}},
    };
    for (const auto& [input, expected] : cases) {
        PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(input);
        EXPECT_EQ(form.isAcceptable(*e), expected.first) << narrow(input);
        EXPECT_EQ(form.isAcceptableFinal(*e), expected.second) << narrow(input);
    }
    // with no accepted forms, anything without a rejected one
    PatternConstraintsC no_negatives;
    ASSERT_TRUE(no_negatives.reject(read(u"neg(wild(a))").get()));
    PointerTC<AlgebraicExpressionC> good = AlgebraicExpressionC::fromPrefixString(u"f(x,_)");
    PointerTC<AlgebraicExpressionC> bad = AlgebraicExpressionC::fromPrefixString(u"f(x,g(neg(y)))");
    EXPECT_TRUE(no_negatives.isAcceptable(*good));
    EXPECT_FALSE(no_negatives.isAcceptableFinal(*good));
    EXPECT_FALSE(no_negatives.isAcceptable(*bad));
    EXPECT_FALSE(no_negatives.judge(nullptr, false).acceptable);
    // forms that do not compile, from a file: at their line and column
    LinesT lines;
    RuleReaderC::ErrorS error;
    ASSERT_TRUE(RuleReaderC(RuleReaderC::prefix(), RuleReaderC::FormE::Forms)
                    .read(u"accept f(x)\nreject   wild(a,colour)", lines, error));
    EXPECT_EQ(lines[0].keyword, u"accept");
    EXPECT_EQ(lines[1].keyword, u"reject");
    EXPECT_FALSE(no_negatives.addForms(lines, error));
    EXPECT_EQ(error.line, 2u);
    EXPECT_EQ(error.column, 10u);
}

}  // namespace
}  // namespace pattern_tests
