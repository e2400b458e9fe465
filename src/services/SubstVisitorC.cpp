// SPDX-License-Identifier: MIT
#include "algexpr/SubstVisitorC.h"

#include <new>

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"

namespace qorv::math::algexpr {

// The copy is built bottom-up during a post-order walk: every leaf visit
// pushes one finished subtree, every function visit takes as many as the
// visited node has (non-null) children and pushes the new node, so one tree
// is left on the stack at the end. Any failure (out of memory, a null
// replacement where one is needed) stops the walk and empties the stack.

SubstVisitorC::SubstVisitorC()
    : NodeVisitorABC(PostOrder), code(0), code_set(false), replacement_p(nullptr), failed(false) {}

SubstVisitorC::~SubstVisitorC() { clearStack(); }

NodeABC* SubstVisitorC::subst(NodeABC* tree, const std::u16string& name, const NodeABC* replacement) {
    try {
        this->name = name;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    replacement_p = replacement;
    return run(tree);
}

NodeABC* SubstVisitorC::subst(NodeABC* tree, int code, const NodeABC* replacement) {
    name.clear();
    this->code = code;
    code_set = true;
    replacement_p = replacement;
    return run(tree);
}

bool SubstVisitorC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE) {
    return pushFunction(new (std::nothrow) CoreFunctionNodeC(node.getCode()), node);
}

bool SubstVisitorC::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE) {
    return pushFunction(new (std::nothrow) ExtendedFunctionNodeC(node.getSymbol()), node);
}

bool SubstVisitorC::visitCoreSymbolNode(CoreSymbolNodeC& node) {
    // Before any substitution by code there is no code to compare with.
    if (name.empty() && code_set && node.getCode() == code) {
        return pushReplacement();
    }
    return push(node.clone());
}

bool SubstVisitorC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) {
    qorv::oss::PointerTC<SymbolC> symbol = node.getSymbol();
    const bool matches = symbol ? symbol->name == name : name.empty();
    return matches ? pushReplacement() : push(node.clone());
}

bool SubstVisitorC::visitFloatNode(FloatNodeC& node) { return push(node.clone()); }

bool SubstVisitorC::visitIntegerNode(IntegerNodeC& node) { return push(node.clone()); }

NodeABC* SubstVisitorC::run(NodeABC* tree) {
    // Empties the stack on every way out, client exceptions included.
    struct Cleanup {
        SubstVisitorC& visitor;
        ~Cleanup() { visitor.clearStack(); }
    } cleanup{*this};
    failed = false;
    clearStack();  // what a traversal outside subst may have left
    if (tree == nullptr || !makeStack() || !tree->traverse(*this) || failed || node_stack->size() != 1) {
        return nullptr;
    }
    NodeABC* result = node_stack->top();
    node_stack->pop();
    return result;
}

bool SubstVisitorC::makeStack() {
    try {
        if (!node_stack) {
            node_stack.emplace();
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool SubstVisitorC::push(NodeABC* node) {
    if (node == nullptr || !node_stack) {  // no stack: a visit made outside subst
        delete node;
        failed = true;
        return false;
    }
    try {
        node_stack->push(node);
        return true;
    } catch (const std::bad_alloc&) {
        delete node;
        failed = true;
        return false;
    }
}

bool SubstVisitorC::pushReplacement() {
    if (replacement_p == nullptr) {
        failed = true;
        return false;
    }
    return push(replacement_p->clone());
}

bool SubstVisitorC::pushFunction(ParentNodeABC* copy, const ParentNodeABC& source) {
    if (copy == nullptr) {
        failed = true;
        return false;
    }
    unsigned int count = 0;
    for (unsigned int i = 0, n = source.numChildren(); i < n; ++i) {
        count += source.child(i) != nullptr ? 1 : 0;
    }
    if (!node_stack || node_stack->size() < count) {
        delete copy;
        failed = true;
        return false;
    }
    copy->addChildrenFromStack(*node_stack, count);
    if (copy->numChildren() != count) {  // no memory for the children list
        delete copy;
        failed = true;
        return false;
    }
    return push(copy);
}

void SubstVisitorC::clearStack() {
    while (node_stack && !node_stack->empty()) {
        delete node_stack->top();
        node_stack->pop();
    }
}

}  // namespace qorv::math::algexpr
