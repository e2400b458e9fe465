// SPDX-License-Identifier: MIT
// Step 10: printing with operator<< in any notation, trees as keys of
// hashed and ordered containers, the grouping rule of ExprC, and owning
// pointers beside the raw ones.
#include <algexpr/numeric.h>

#include <iostream>
#include <memory>
#include <set>
#include <unordered_map>
#include <unordered_set>

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

int main() {
    CASSessionBC::setSession(new numeric::NumericSessionC);
    ExprC x = sym(u"x"), y = sym(u"y");

    // Printing: prefix by default; infix and latex stay set until changed.
    ExprC e = pow(x, 2) / 2 + 0.5 * sin(y);
    std::cout << e << '\n' << infix << e << '\n' << latex << e << prefix << '\n';
    std::cout << toInfixUtf8(e, 3, qorv::math::Fixed) << '\n';
    const NodeABC* root = e.node();
    std::cout << Utf8C::toUtf8(root->toString()) << " is the root of " << *root << '\n';

    // Containers: by structure, never by address.
    std::unordered_set<ExprC> seen = {x + 1, 1 + x, x + 1, ExprC::adopt(nullptr)};
    std::set<ExprC> sorted = {sin(x), y, 2, x};
    std::cout << seen.size() << " distinct; sorted:";
    for (const ExprC& term : sorted) {
        std::cout << ' ' << term;
    }
    std::cout << '\n';
    std::unordered_map<PointerTC<AlgebraicExpressionC>, int, ExpressionHashC, ExpressionEqualC> counts;
    for (const char16_t* text : {u"f(x)", u"f( x )", u"g(x)"}) {
        ++counts[AlgebraicExpressionC::fromPrefixString(text)];
    }
    std::cout << "f(x) read " << counts[AlgebraicExpressionC::fromPrefixString(u"f(x)")] << " times\n";

    // Grouping: + appends to a sum, however it was made; group() keeps one.
    ExprC s = x + y;
    std::cout << s + 1 << "  " << group(s) + 1 << '\n';

    // Ownership: std::unique_ptr beside the raw pointers.
    SubstitutionC swap;
    swap.add(u"x", y.node());
    std::unique_ptr<NodeABC> swapped = swap.applyOwned(root);
    PointerTC<AlgebraicExpressionC> held = AlgebraicExpressionC::adopt(std::move(swapped));
    std::cout << held << '\n';
    return 0;
}
