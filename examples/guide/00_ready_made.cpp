// SPDX-License-Identifier: MIT
// Five lines to a result: the ready-made numeric client.
#include <algexpr/numeric.h>

#include <iostream>
#include <string>

using namespace qorv::math::algexpr;
using qorv::math::Standard;

int main() {
    CASSessionBC::setSession(new numeric::NumericSessionC);  // its vocabulary: plus, times, sin, pi, ...
    auto e = AlgebraicExpressionC::fromPrefixString(u"plus(1,times(2,3))");
    std::cout << Utf8C::toUtf8(e->toPrefixString(0, Standard)) << '\n';
    auto seven = e->execute(true, nullptr);
    std::cout << Utf8C::toUtf8(seven->toPrefixString(0, Standard)) << '\n';

    // Text from UTF-8 (a file, a terminal): Utf8C converts both ways.
    const std::string line = "divide(sin(divide(pi,2)),sqrt(2))";
    std::cout << Utf8C::toUtf8(AlgebraicExpressionC::fromPrefixString(Utf8C::toUtf16(line))
                                   ->execute(true, nullptr)
                                   ->toPrefixString(0, Standard))
              << '\n';

    // Without the flag, what cannot be evaluated stays in place, and the
    // text says why.
    std::u16string why;
    auto partly = AlgebraicExpressionC::fromPrefixString(u"plus(x,times(2,3))")->execute(false, &why);
    std::cout << Utf8C::toUtf8(partly->toPrefixString(0, Standard)) << " (" << Utf8C::toUtf8(why) << ")\n";
    return 0;
}
