// SPDX-License-Identifier: MIT
// Step 5: acceptability checks built from the constraint predicates, and
// execution through the session.
#include <iostream>
#include <vector>

#include "MiniClient.h"

using namespace mini;

// Accepts a polynomial-like expression: plus and times of numbers and
// symbols, nothing else. The walk uses an explicit stack, so any depth is fine.
class Polynomial : public ConstraintsBC {
public:
    bool isAcceptable(AlgebraicExpressionC& expression) override {
        std::vector<NodeABC*> pending{expression.getNode()};
        while (!pending.empty()) {
            NodeABC* node = pending.back();
            pending.pop_back();
            if (isNumberOrEmpty(node) || isExtendedSymbol(node)) {
                continue;
            }
            ParentNodeABC* function = isCoreFunction(node, u"plus");
            if (function == nullptr) {
                function = isCoreFunction(node, u"times");
            }
            if (function == nullptr) {
                return false;
            }
            for (NodeABC* argument : function->children()) {
                pending.push_back(argument);
            }
        }
        return true;
    }
    // A final answer must not have a zero factor left in it.
    bool isAcceptableFinal(AlgebraicExpressionC& expression) override {
        return isAcceptable(expression) && !isNumber(expression.getNode(), 0.0);
    }
};

int main() {
    installSession();
    PointerTC<ConstraintsBC> rules(new Polynomial);
    for (const char16_t* text : {u"plus(times(2, x), y)", u"plus(sin(x), 1)", u"0"}) {
        PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(text);
        std::cout << Utf8C::toUtf8(text) << ": acceptable " << std::boolalpha << rules->isAcceptable(*e)
                  << ", final " << rules->isAcceptableFinal(*e) << '\n';
    }

    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"times(x, 3)");
    std::u16string note;
    PointerTC<AlgebraicExpressionC> result = e->execute(true, &note);
    std::cout << "executed: " << Utf8C::toUtf8(result->toPrefixString(1, qorv::math::Standard)) << " ("
              << Utf8C::toUtf8(note) << ")\n";
    return 0;
}
