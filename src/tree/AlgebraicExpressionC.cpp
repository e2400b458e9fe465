// SPDX-License-Identifier: MIT
#include "algexpr/AlgebraicExpressionC.h"

#include <memory>
#include <new>

#include "algexpr/CASSessionBC.h"
#include "algexpr/NodeABC.h"

// fromPrefixString and toPrefixString are defined with the notation, in
// src/notation/PrefixText.cpp.

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

AlgebraicExpressionC::AlgebraicExpressionC(NodeABC* root) noexcept : node_p(root) {}

AlgebraicExpressionC::~AlgebraicExpressionC() { delete node_p; }

PointerTC<AlgebraicExpressionC> AlgebraicExpressionC::clone() const {
    std::unique_ptr<NodeABC> root;
    if (node_p != nullptr) {
        root.reset(node_p->clone());
        if (!root) {
            return PointerTC<AlgebraicExpressionC>();
        }
    }
    auto* copy = new (std::nothrow) AlgebraicExpressionC(root.get());
    if (copy == nullptr) {
        return PointerTC<AlgebraicExpressionC>();
    }
    root.release();
    return PointerTC<AlgebraicExpressionC>(copy);
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
    PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    if (!session) {
        return PointerTC<AlgebraicExpressionC>();
    }
    return session->executeExpression(PointerTC<AlgebraicExpressionC>(this), flag, text);
}

}  // namespace qorv::math::algexpr
