// SPDX-License-Identifier: MIT
// SessionCallC: the body of a client session's executeExpression, which every
// engine client's session shares: an expression without a tree is refused
// ("nothing to evaluate"), the engine's tree becomes a new expression owned
// by the caller, running out of memory ends in a null result with "out of
// memory" (its room reserved first, so that saying it needs no memory), and
// the reason goes to the caller when it asked for one. Nothing is thrown.
//
//   return SessionCallC::execute(expression, reason, [&](NodeABC& root, std::u16string& why) {
//       return engine.evaluate(root, ..., why);   // a new tree or null, with why set
//   });
//
// outcome() is the same with the outcome's kind (OutcomeS), for an engine
// whose evaluation says it; answered() turns an outcome into execute's.
#ifndef ALGEXPR_CLIENTS_SUPPORT_SESSIONCALLC_H
#define ALGEXPR_CLIENTS_SUPPORT_SESSIONCALLC_H

#include <memory>
#include <new>
#include <string>

#include "OutOfMemory.h"
#include "OutcomeS.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::support {

class SessionCallC {
public:
    /// `evaluate(root, why)` answers a new tree (owned by the caller) or null,
    /// and sets `why`; it may throw std::bad_alloc.
    template <class Evaluate>
    static qorv::oss::PointerTC<AlgebraicExpressionC> execute(qorv::oss::PointerTC<AlgebraicExpressionC> expression,
                                                              std::u16string* reason, Evaluate evaluate) noexcept {
        std::u16string why;
        qorv::oss::PointerTC<AlgebraicExpressionC> result;
        try {
            reserveOutOfMemory(why);
            if (!expression || expression->getNode() == nullptr) {
                why = u"nothing to evaluate";
            } else {
                std::unique_ptr<NodeABC> tree(evaluate(*expression->getNode(), why));
                if (tree) {
                    result = qorv::oss::PointerTC<AlgebraicExpressionC>(new AlgebraicExpressionC(tree.get()));
                    tree.release();
                }
            }
        } catch (const std::bad_alloc&) {
            result = qorv::oss::PointerTC<AlgebraicExpressionC>();
            setOutOfMemory(why);
        }
        if (reason != nullptr) {
            reason->swap(why);
        }
        return result;
    }

    /// `evaluate(root, why, kind)` answers a new tree (owned by the caller) or
    /// null, and sets `why` and `kind`; it may throw std::bad_alloc.
    template <class Evaluate>
    static OutcomeS outcome(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression, Evaluate evaluate) noexcept {
        OutcomeS made;
        try {
            reserveOutOfMemory(made.reason);
            if (!expression || expression->getNode() == nullptr) {
                made.reason = u"nothing to evaluate";
                return made;
            }
            OutcomeE kind = OutcomeE::Refused;
            std::unique_ptr<NodeABC> tree(evaluate(*expression->getNode(), made.reason, kind));
            if (tree) {
                made.tree = qorv::oss::PointerTC<AlgebraicExpressionC>(new AlgebraicExpressionC(tree.get()));
                tree.release();
            }
            made.kind = kind;
            if (made.answered() != static_cast<bool>(made.tree)) {  // an engine that left the kind as it was
                made.kind = !made.tree             ? OutcomeE::Refused
                            : made.reason.empty() ? OutcomeE::Number
                                                  : OutcomeE::NotANumber;
            }
        } catch (const std::bad_alloc&) {
            made.tree = qorv::oss::PointerTC<AlgebraicExpressionC>();
            made.kind = OutcomeE::OutOfMemory;
            setOutOfMemory(made.reason);
        }
        return made;
    }

    /// The outcome as execute gives it: its tree, and its reason in `reason`
    /// when that is not null.
    static qorv::oss::PointerTC<AlgebraicExpressionC> answered(OutcomeS&& made, std::u16string* reason) noexcept {
        if (reason != nullptr) {
            reason->swap(made.reason);
        }
        return std::move(made.tree);
    }
};

}  // namespace qorv::math::algexpr::support

#endif
