// SPDX-License-Identifier: MIT
// Step 3: walk a tree with visitors of your own.
#include <iostream>
#include <string>
#include <vector>

#include "MiniClient.h"

using namespace mini;

// Collects the names of the symbols and stops at the first float. The mask
// asks for no function visits: leaves are always visited. NodeVisitorBC
// answers true to every visit not overridden.
class SymbolsBeforeFloat : public NodeVisitorBC {
public:
    SymbolsBeforeFloat() : NodeVisitorBC(0) {}
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override { return keep(node); }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override { return keep(node); }
    bool visitFloatNode(FloatNodeC&) override { return false; }  // stops the whole walk

    std::vector<std::string> names;

private:
    bool keep(NodeABC& node) {
        names.push_back(Utf8C::toUtf8(node.toString()));
        return true;
    }
};

// Counts the depth of the deepest argument: pre-order visits go down,
// post-order visits come back up.
class Depth : public NodeVisitorBC {
public:
    Depth() : NodeVisitorBC(PreOrder | PostOrder) {}
    bool visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE order) override { return step(order); }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE order) override { return step(order); }

    int deepest = 0;

private:
    bool step(VisitationOrderE order) {
        current += order == PreOrder ? 1 : -1;
        deepest = current > deepest ? current : deepest;
        return true;
    }
    int current = 0;
};

int main() {
    installSession();
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"f(x, g(pi, h(y)), 2.5, z)");

    SymbolsBeforeFloat symbols;
    const bool finished = e->traverse(symbols);
    std::cout << "walk finished: " << std::boolalpha << finished << "; symbols:";
    for (const std::string& name : symbols.names) {
        std::cout << ' ' << name;
    }
    std::cout << '\n';

    Depth depth;
    e->traverse(depth);
    std::cout << "function depth: " << depth.deepest << '\n';
    return 0;
}
