// SPDX-License-Identifier: MIT
// Step 7: build trees in C++, compare, search, substitute and walk them,
// with the ready-made numeric client's vocabulary.
#include <algexpr/numeric.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

std::string show(const ExprC& e) { return Utf8C::toUtf8(e.toPrefixString()); }

int main() {
    CASSessionBC::setSession(new numeric::NumericSessionC);
    std::cout << std::boolalpha;

    // Building: operators and helpers make the trees reading makes.
    ExprC x = sym(u"x");
    ExprC y = sym(u"y");
    ExprC e = x + 2 * sin(x) + pow(y, 2);
    std::cout << show(e) << '\n';
    std::cout << show(x - y - 1) << "  " << show(call(u"f", x, 0.5)) << '\n';

    // Equality, order and hash: by structure and contents.
    PointerTC<AlgebraicExpressionC> read =
        AlgebraicExpressionC::fromPrefixString(u"plus(x, times(2, sin(x)), power(y, 2))");
    PointerTC<AlgebraicExpressionC> built = std::move(e).toExpression();  // the tree itself, no copy
    std::cout << "same tree: " << built->equals(*read) << ", same hash: " << (built->hash() == read->hash())
              << '\n';
    std::vector<ExprC> terms = {sin(x), y, 3, sym(u"pi"), 0.5, x, -1};
    std::sort(terms.begin(), terms.end(),
              [](const ExprC& a, const ExprC& b) { return compareTrees(a.node(), b.node()) < 0; });
    std::cout << "sorted:";
    for (const ExprC& term : terms) {
        std::cout << ' ' << show(term);
    }
    std::cout << '\n';

    // Search.
    const NodeABC* tree = built->getNode();
    std::vector<std::u16string> names;
    freeSymbols(tree, names);
    std::cout << "free symbols:";
    for (const std::u16string& name : names) {
        std::cout << ' ' << Utf8C::toUtf8(name);
    }
    std::cout << "; has sin(x): " << hasSubtree(tree, sin(x).node()) << "; " << treeSize(tree) << " nodes, "
              << treeDepth(tree) << " levels\n";

    // Substitution of several symbols at once: x and y swap.
    std::cout << show(ExprC(*built).subs({{x, y}, {y, x}})) << '\n';

    // Walking: every node, arguments first.
    std::cout << "post-order:";
    for (const NodeABC* node : postOrder(tree)) {
        std::cout << ' ' << Utf8C::toUtf8(node->toString());
    }
    std::cout << '\n';

    // A failure says why and carries on through everything built from it.
    ExprC bad = x + num(u"1-2");
    std::cout << "built: " << static_cast<bool>(bad) << " (" << Utf8C::toUtf8(bad.error()) << ")\n";
    return 0;
}
