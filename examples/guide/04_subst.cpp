// SPDX-License-Identifier: MIT
// Step 4: replace symbols by copies of another tree.
#include <iostream>
#include <memory>

#include "MiniClient.h"

using namespace mini;

int main() {
    installSession();
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"plus(x, times(x, pi))");
    PointerTC<AlgebraicExpressionC> by = AlgebraicExpressionC::fromPrefixString(u"sin(y)");

    SubstVisitorC subst;
    // By name: the symbols x. The result is a new tree that the caller owns;
    // here an expression takes it.
    PointerTC<AlgebraicExpressionC> named(new AlgebraicExpressionC(subst.subst(e->getNode(), u"x", by->getNode())));
    std::cout << Utf8C::toUtf8(named->toPrefixString(1, qorv::math::Standard)) << '\n';

    // By code: the core symbol pi (code 4).
    std::unique_ptr<NodeABC> coded(subst.subst(e->getNode(), 4, by->getNode()));
    PrefixPrintVisitorC printer;
    std::cout << Utf8C::toUtf8(printer.getExpressionString(coded.get(), 1, qorv::math::Standard)) << '\n';

    // The source is unchanged.
    std::cout << Utf8C::toUtf8(e->toPrefixString(1, qorv::math::Standard)) << '\n';
    return 0;
}
