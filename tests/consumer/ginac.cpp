// SPDX-License-Identifier: MIT
// A program built against the installed (or embedded) GiNaC client: adds two
// fractions exactly through the client's session. <algexpr/ginac.h> alone
// brings the library's headers too.
#include <algexpr/ginac.h>

#include <cstdio>

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

int main() {
    CASSessionBC::setSession(new ginac::GinacSessionC);
    std::u16string reason = u"untouched";
    PointerTC<AlgebraicExpressionC> sum =
        AlgebraicExpressionC::fromPrefixString(u"plus(divide(1,3),divide(1,6))")->execute(false, &reason);
    const bool ok = sum && sum->toPrefixString(0, qorv::math::Standard) == u"divide(1,2)" && reason.empty();
    std::puts(ok ? "ginac consumer ok" : "ginac consumer FAILED");
    return ok ? 0 : 1;
}
