// SPDX-License-Identifier: MIT
#include "algexpr/AlgebraicExpressionC.h"

#include <cassert>
#include <memory>
#include <new>

#include "algexpr/CASSessionBC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/SubstitutionC.h"
#include "algexpr/TreeOrder.h"

// fromPrefixString and toPrefixString are defined with the notation, in
// src/notation/PrefixText.cpp.

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

AlgebraicExpressionC::AlgebraicExpressionC(NodeABC* root) noexcept : node_p(root) {}

AlgebraicExpressionC::~AlgebraicExpressionC() { delete node_p; }

PointerTC<AlgebraicExpressionC> AlgebraicExpressionC::adopt(std::unique_ptr<NodeABC> root) noexcept {
    auto* expression = new (std::nothrow) AlgebraicExpressionC(root.get());
    if (expression == nullptr) {
        return PointerTC<AlgebraicExpressionC>();
    }
    root.release();
    return PointerTC<AlgebraicExpressionC>(expression);
}

namespace {

// A new expression whose root is `copy` of `root` (none without a root); null
// when the copy or the expression cannot be made.
template <class Copy>
PointerTC<AlgebraicExpressionC> expressionOf(const NodeABC* root, Copy copy) {
    std::unique_ptr<NodeABC> made;
    if (root != nullptr) {
        made.reset(copy(root));
        if (!made) {
            return PointerTC<AlgebraicExpressionC>();
        }
    }
    auto* expression = new (std::nothrow) AlgebraicExpressionC(made.get());
    if (expression == nullptr) {
        return PointerTC<AlgebraicExpressionC>();
    }
    made.release();
    return PointerTC<AlgebraicExpressionC>(expression);
}

}  // namespace

PointerTC<AlgebraicExpressionC> AlgebraicExpressionC::clone() const {
    return expressionOf(node_p, [](const NodeABC* root) { return root->clone(); });
}

bool AlgebraicExpressionC::traverse(NodeVisitorABC& visitor) {
    return node_p != nullptr ? node_p->traverse(visitor) : true;
}

NodeABC* AlgebraicExpressionC::getNode() const { return node_p; }

PointerTC<CASSessionBC> AlgebraicExpressionC::getCASSession() const { return CASSessionBC::getSession(); }

PointerTC<CASEngineABC> AlgebraicExpressionC::getCASEngine() const {
    PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    return session ? session->getCASEngine() : PointerTC<CASEngineABC>();
}

PointerTC<AlgebraicExpressionC> AlgebraicExpressionC::execute(bool flag, std::u16string* text) {
    return execute(CASSessionBC::getSession(), flag, text);
}

PointerTC<AlgebraicExpressionC> AlgebraicExpressionC::execute(const PointerTC<CASSessionBC>& session, bool flag,
                                                             std::u16string* text) {
    // The reference taken below would be the only one and delete this
    // expression when dropped: on the stack, a crash far from the cause.
    assert(references() != 0 && "execute() on an AlgebraicExpressionC that no PointerTC holds (one on the stack?)");
    if (references() == 0) {
        if (text != nullptr) {
            *text = u"execute() needs an expression held by a PointerTC";
        }
        return PointerTC<AlgebraicExpressionC>();
    }
    if (!session) {
        return PointerTC<AlgebraicExpressionC>();
    }
    return session->executeExpression(PointerTC<AlgebraicExpressionC>(this), flag, text);
}

bool AlgebraicExpressionC::equals(const AlgebraicExpressionC& other) const { return equalTrees(node_p, other.node_p); }

int AlgebraicExpressionC::compare(const AlgebraicExpressionC& other) const {
    return compareTrees(node_p, other.node_p);
}

std::size_t AlgebraicExpressionC::hash() const { return hashTree(node_p); }

PointerTC<AlgebraicExpressionC> AlgebraicExpressionC::substitute(const SubstitutionC& substitution) const {
    return expressionOf(node_p, [&](const NodeABC* root) { return substitution.apply(root); });
}

}  // namespace qorv::math::algexpr
