// SPDX-License-Identifier: MIT
// A real engine behind the session: the GiNaC client, exact and symbolic.
#include <algexpr/algexpr.h>
#include <algexpr/ginac.h>

#include <iostream>
#include <string>

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

// Reads a text, executes it and prints the result, or null and the reason.
void run(const char16_t* text, bool numeric = false) {
    std::u16string why;
    PointerTC<AlgebraicExpressionC> result = AlgebraicExpressionC::fromPrefixString(text)->execute(numeric, &why);
    std::cout << Utf8C::toUtf8(text) << (numeric ? " ~ " : " = ")
              << (result ? Utf8C::toUtf8(result->toPrefixString(0, qorv::math::Standard))
                         : "null (" + Utf8C::toUtf8(why) + ")")
              << '\n';
}

int main() {
    PointerTC<ginac::GinacSessionC> session(new ginac::GinacSessionC);
    CASSessionBC::setSession(session);

    // Exact numbers, of any size.
    run(u"plus(divide(1,2),divide(1,3))");
    run(u"power(2,100)");
    run(u"sin(divide(pi,6))");
    run(u"sqrt(-4)");
    // The operations are core functions: an application sends them like any
    // other expression.
    run(u"diff(sin(times(2,x)),x)");
    run(u"expand(power(plus(x,1),3))");
    run(u"factor(minus(power(x,2),1))");
    run(u"simplify(divide(minus(power(x,2),1),minus(x,1)))");
    run(u"series(exp(x),x,0,4)");
    run(u"diff(f(times(2,x)),x)");
    // One order, whatever the text's order and whatever was read before.
    run(u"plus(1,y,x)");
    run(u"times(y,3,x)");
    run(u"plus(neg(y),x)");
    run(u"minus(y,x)");
    // With the flag: a single number; integers stay exact, other values are
    // floats with the session's digits.
    run(u"power(2,70)", true);
    run(u"divide(1,3)", true);
    session->setDigits(30);
    run(u"plus(pi,divide(1,3))", true);
    run(u"plus(x,1)", true);
    // GiNaC's refusals and the client's limits come back as null with the reason.
    run(u"divide(1,0)");
    run(u"power(3,power(10,9))");
    return 0;
}
