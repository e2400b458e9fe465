// SPDX-License-Identifier: MIT
// Step 1: build and install a session, then ask it about names.
#include <iostream>

#include "MiniClient.h"

using namespace mini;

int main() {
    installSession();
    PointerTC<CASSessionBC> session = CASSessionBC::getSession();

    std::cout << "engine: " << Utf8C::toUtf8(session->getCASEngine()->getName()) << '\n';
    PointerTC<CoreElementC> sin = session->lookupCoreElement(u"sin");
    std::cout << "sin has code " << sin->getCode() << ", code 4 is "
              << Utf8C::toUtf8(session->lookupCoreElement(4)->getName()) << '\n';
    // Other names are interned: one symbol object per name.
    PointerTC<SymbolC> x = session->lookupSymbol(u"x");
    std::cout << "x interned once: " << std::boolalpha << (session->lookupSymbol(u"x") == x) << '\n';
    return 0;
}
