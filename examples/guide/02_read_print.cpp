// Step 2: read prefix text into a tree and print it back.
#include <iostream>

#include "MiniClient.h"

using namespace mini;

int main() {
    installSession();

    // Whitespace is ignored; core names become core nodes, others symbols.
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"plus( times(2, x), sin(pi), 0.5 )");
    std::cout << ascii(e->toPrefixString(1, qorv::math::Standard)) << '\n';
    // The two display arguments reach the float values only.
    std::cout << ascii(e->toPrefixString(3, qorv::math::Fixed)) << '\n';

    // What does not read comes back null: empty argument lists, no session,
    // numbers the factories decline.
    for (const char16_t* bad : {u"f()", u"", u"f(1.2.3)"}) {
        std::cout << '"' << ascii(bad) << "\" reads: " << std::boolalpha
                  << static_cast<bool>(AlgebraicExpressionC::fromPrefixString(bad)) << '\n';
    }

    // The tree can be inspected and changed through the root.
    auto* plus = static_cast<ParentNodeABC*>(e->getNode()->lookUpBase(ParentNodeABC::getCastableId()));
    std::cout << "plus has " << plus->numChildren() << " arguments, the first is "
              << ascii(plus->child(0)->toString()) << '\n';
    return 0;
}
