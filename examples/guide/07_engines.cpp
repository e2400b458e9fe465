// SPDX-License-Identifier: MIT
// One program, two engines: the same expressions sent through the GiNaC
// client's session and through the Giac client's.
#include <algexpr/algexpr.h>
#include <algexpr/giac.h>
#include <algexpr/ginac.h>

#include <iostream>
#include <string>

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

// Executes each text with the session and prints the result, or null and
// the reason. The texts are read under the current session; execute(session,
// ...) evaluates them with the one given, current or not (the engines'
// vocabularies give a name the same code).
void run(const char* engine, const PointerTC<CASSessionBC>& session) {
    std::cout << "-- " << engine << '\n';
    for (const char16_t* text : {u"plus(divide(1,2),divide(1,3))", u"diff(times(power(x,2),sin(x)),x)",
                                 u"factor(minus(power(x,4),1))", u"series(exp(x),x,0,3)",
                                 u"simplify(plus(power(sin(x),2),power(cos(x),2)))", u"integrate(times(2,x),x)",
                                 u"limit(divide(sin(x),x),x,0)"}) {
        std::u16string why;
        PointerTC<AlgebraicExpressionC> result = AlgebraicExpressionC::fromPrefixString(text)->execute(session, false, &why);
        std::cout << Utf8C::toUtf8(text) << " = "
                  << (result ? Utf8C::toUtf8(result->toPrefixString(0, qorv::math::Standard))
                             : "null (" + Utf8C::toUtf8(why) + ")")
                  << '\n';
    }
}

int main() {
    PointerTC<CASSessionBC> giac_session(new giac::GiacSessionC);
    CASSessionBC::setSession(giac_session);  // reads and prints the texts
    PointerTC<CASSessionBC> ginac_session(new ginac::GinacSessionC);
    run("GiNaC", ginac_session);
    run("Giac", giac_session);
}
