// SPDX-License-Identifier: MIT
// A program built against the installed (or embedded) Giac client:
// integrates through the client's session.
#include <algexpr/algexpr.h>
#include <algexpr/giac.h>

#include <cstdio>

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

int main() {
    CASSessionBC::setSession(new giac::GiacSessionC);
    std::u16string reason = u"untouched";
    PointerTC<AlgebraicExpressionC> area =
        AlgebraicExpressionC::fromPrefixString(u"integrate(times(3,power(x,2)),x,0,2)")->execute(false, &reason);
    const bool ok = area && area->toPrefixString(0, qorv::math::Standard) == u"8" && reason.empty();
    std::puts(ok ? "giac consumer ok" : "giac consumer FAILED");
    return ok ? 0 : 1;
}
