// SPDX-License-Identifier: MIT
// A program built against an installed (or embedded) algexpr: reads, prints
// and substitutes one expression through a minimal session.
#include <algexpr/algexpr.h>

#include <cstdio>

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

struct Session : CASSessionBC {
    using CASSessionBC::CASSessionBC;
    PointerTC<AlgebraicExpressionC> executeExpression(PointerTC<AlgebraicExpressionC> e, bool, std::u16string*) override {
        return e;
    }
};

int main() {
    static const char16_t* const names[] = {u"sin", u""};
    CASSessionBC::setSession(new Session(nullptr, names, nullptr, nullptr));
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"f(sin(x), y)");
    PointerTC<AlgebraicExpressionC> y = AlgebraicExpressionC::fromPrefixString(u"g(z)");
    SubstVisitorC subst;
    AlgebraicExpressionC result(subst.subst(e->getNode(), u"y", y->getNode()));
    const std::u16string text = result.toPrefixString(0, qorv::math::Standard);
    const bool ok = text == u"f(sin(x),g(z))" && e->execute(false, nullptr) == e;
    std::puts(ok ? "consumer ok" : "consumer FAILED");
    return ok ? 0 : 1;
}
