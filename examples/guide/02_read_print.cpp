// SPDX-License-Identifier: MIT
// Step 2: read prefix text into a tree, print it back, and look inside.
#include <iostream>

#include "MiniClient.h"

using namespace mini;

int main() {
    installSession();

    // Whitespace is ignored; core names become core nodes, others symbols.
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"plus( times(2, x), sin(pi), 0.5 )");
    std::cout << Utf8C::toUtf8(e->toPrefixString(1, qorv::math::Standard)) << '\n';
    // The two display arguments reach the float values only.
    std::cout << Utf8C::toUtf8(e->toPrefixString(3, qorv::math::Fixed)) << '\n';

    // What does not read comes back null: empty argument lists, an empty
    // text, numbers the factories decline.
    for (const char16_t* bad : {u"f()", u"", u"f(1.2.3)"}) {
        std::cout << '"' << Utf8C::toUtf8(bad) << "\" reads: " << std::boolalpha
                  << static_cast<bool>(AlgebraicExpressionC::fromPrefixString(bad)) << '\n';
    }

    // The tree can be inspected and changed through the root. dynCast gives
    // the node as the class asked for, or null when it is not one.
    if (auto* plus = dynCast<ParentNodeABC>(e->getNode())) {
        std::cout << "plus has " << plus->numChildren() << " arguments:";
        for (NodeABC* argument : plus->children()) {
            std::cout << ' ' << Utf8C::toUtf8(argument->toString())
                      << (isA<FloatNodeC>(argument) ? " (a float)" : "");
        }
        std::cout << '\n';
    }
    return 0;
}
