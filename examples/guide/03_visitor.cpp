// Step 3: walk a tree with a visitor of your own.
#include <iostream>
#include <vector>

#include "MiniClient.h"

using namespace mini;

// Collects the names of the symbols and stops at the first float. The mask
// asks for no function visits: leaves are always visited.
class SymbolsBeforeFloat : public NodeVisitorABC {
public:
    SymbolsBeforeFloat() : NodeVisitorABC(0) {}
    bool visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE) override { return true; }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE) override { return true; }
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override { return keep(node); }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override { return keep(node); }
    bool visitFloatNode(FloatNodeC&) override { return false; }  // stops the whole walk
    bool visitIntegerNode(IntegerNodeC&) override { return true; }

    std::vector<std::string> names;

private:
    bool keep(NodeABC& node) {
        names.push_back(ascii(node.toString()));
        return true;
    }
};

// Counts the depth of the deepest argument: pre-order visits go down,
// post-order visits come back up.
class Depth : public NodeVisitorABC {
public:
    Depth() : NodeVisitorABC(PreOrder | PostOrder) {}
    bool visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE order) override { return step(order); }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE order) override { return step(order); }
    bool visitCoreSymbolNode(CoreSymbolNodeC&) override { return true; }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC&) override { return true; }
    bool visitFloatNode(FloatNodeC&) override { return true; }
    bool visitIntegerNode(IntegerNodeC&) override { return true; }

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
