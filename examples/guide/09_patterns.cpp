// SPDX-License-Identifier: MIT
// Step 9: patterns: an answer checker for fractions in lowest terms, a
// template with slots, matching and rewriting, with the ready-made numeric
// client's vocabulary.
#include <algexpr/numeric.h>

#include <cstdint>
#include <iostream>
#include <numeric>
#include <string>
#include <vector>

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

PointerTC<AlgebraicExpressionC> read(const char16_t* text) { return AlgebraicExpressionC::fromPrefixString(text); }
std::string show(const NodeABC* node) { return Utf8C::toUtf8(node->toString()); }

// gcd(p, q) = 1, for two integers: a condition of the client's own.
bool coprime(const std::vector<const NodeABC*>& arguments) {
    const auto* p = dynamic_cast<const IntegerNodeC*>(arguments.at(0));
    const auto* q = dynamic_cast<const IntegerNodeC*>(arguments.at(1));
    return p != nullptr && q != nullptr && std::gcd(p->getValue()->getValue(), q->getValue()->getValue()) == 1;
}

int main() {
    CASSessionBC::setSession(new numeric::NumericSessionC);
    std::cout << std::boolalpha;

    // An answer checker: a fraction in lowest terms, or an integer; never
    // n/1. The forms come from text, as from a file.
    PatternC::SettingsS settings;
    settings.conditions[u"coprime"] = coprime;
    PointerTC<PatternConstraintsC> lowest(new PatternConstraintsC(settings));
    std::vector<RuleReaderC::LineS> forms;
    RuleReaderC::ErrorS error;
    RuleReaderC(RuleReaderC::prefix(), RuleReaderC::FormE::Forms)
        .read(u"# fractions in lowest terms\n"
              u"accept divide(wild(p, integer), wild(q, integer, positive)) if coprime(wild(p), wild(q))\n"
              u"accept wild(n, integer)\n"
              u"reject divide(wild(n), 1)\n",
              forms, error);
    if (!lowest->addForms(forms, error)) {
        std::cout << "line " << error.line << ", column " << error.column << ": " << Utf8C::toUtf8(error.message)
                  << '\n';
    }
    for (const char16_t* answer : {u"divide(3,4)", u"divide(6,8)", u"divide(3,-4)", u"5", u"divide(5,1)", u"0.75"}) {
        PointerTC<AlgebraicExpressionC> e = read(answer);
        PatternConstraintsC::VerdictS verdict = lowest->judge(e->getNode(), true);
        std::cout << Utf8C::toUtf8(answer) << ": " << (verdict.acceptable ? "accepted" : "not accepted");
        if (verdict.accepted != PatternConstraintsC::kNone) {
            std::cout << " (form " << verdict.accepted << ")";
        }
        std::cout << '\n';
    }

    // A template with slots: while editing, a slot _ stands for anything;
    // the final answer must have none left.
    PatternConstraintsC linear;
    linear.accept(read(u"plus(times(wild(a, number), x), wild(b, number))")->getNode());
    for (const char16_t* text : {u"plus(times(_,x),_)", u"plus(times(2,x),_)", u"plus(times(x,2),1)",
                                 u"plus(times(2,y),1)"}) {
        PointerTC<AlgebraicExpressionC> e = read(text);
        std::cout << Utf8C::toUtf8(text) << ": editing " << linear.isAcceptable(*e) << ", final "
                  << linear.isAcceptableFinal(*e) << '\n';
    }

    // Matching: the bindings, lent from the tree matched.
    PatternC pattern;
    pattern.compile(read(u"plus(x, wilds(r))")->getNode(), PatternC::SettingsS());
    PointerTC<AlgebraicExpressionC> sum = read(u"plus(1, x, y)");
    MatcherC matcher;
    if (matcher.match(pattern, sum->getNode()) == MatchResultE::Matched) {
        std::cout << "r =";
        for (const NodeABC* node : matcher.binding(pattern.findWildcard(u"r"))) {
            std::cout << ' ' << show(node);
        }
        std::cout << '\n';
    }

    // Rewriting: bottom-up until nothing changes; a rule's condition guards it.
    RewriterC rewriter;
    rewriter.addRule(read(u"times(1, wild(a))")->getNode(), read(u"wild(a)")->getNode());
    rewriter.addRule(read(u"log(times(wild(a), wild(b)))")->getNode(),
                     read(u"plus(log(wild(a)), log(wild(b)))")->getNode(),
                     read(u"and(positive(wild(a)), positive(wild(b)))")->getNode());
    for (const char16_t* text : {u"times(1, log(times(2, 3)))", u"log(times(-2, 3))"}) {
        RewriterC::ResultS result = rewriter.rewrite(read(text)->getNode());
        std::cout << Utf8C::toUtf8(PrefixPrintVisitorC().getExpressionString(result.tree.get(), 0, qorv::math::Standard))
                  << " in " << result.steps << " steps\n";
    }
    // A pair of rules that loops is stopped by the step budget.
    RewriterC loop;
    loop.addRule(read(u"f(wild(a))")->getNode(), read(u"g(wild(a))")->getNode());
    loop.addRule(read(u"g(wild(a))")->getNode(), read(u"f(wild(a))")->getNode());
    loop.setStepBudget(100);
    std::cout << "loop stopped: " << (loop.rewrite(read(u"f(x)")->getNode()).status == RewriterC::StatusE::BudgetSpent)
              << '\n';
    return 0;
}
