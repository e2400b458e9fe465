// SPDX-License-Identifier: MIT
// OutcomeS: what one evaluation came to, by kind, for the engine clients and
// the tool: a tree, or none and why. The sessions' text channel
// (executeExpression's reason) says the same in words; code that decides by
// the outcome reads the kind, never the words.
#ifndef ALGEXPR_CLIENTS_SUPPORT_OUTCOMES_H
#define ALGEXPR_CLIENTS_SUPPORT_OUTCOMES_H

#include <string>

#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::support {

enum class OutcomeE : unsigned char {
    Number,       // a tree that stands for a real number; no reason
    NotANumber,   // a tree, not a real number; the reason says why ("x: free symbol")
    Unchecked,    // a tree no point could check; the reason "unchecked: ..."
    Refused,      // no tree: the engine refused (a limit, a pole, a name it lacks, ...)
    CheckFailed,  // no tree: the answer failed its check, and the rewritten input's did too
    OutOfMemory,  // no tree
};

struct OutcomeS {
    OutcomeE kind = OutcomeE::Refused;
    std::u16string reason;
    qorv::oss::PointerTC<AlgebraicExpressionC> tree;  // null unless the kind is one with a tree

    /// Whether there is a tree to write.
    bool answered() const { return kind == OutcomeE::Number || kind == OutcomeE::NotANumber || kind == OutcomeE::Unchecked; }
};

}  // namespace qorv::math::algexpr::support

#endif
