// SPDX-License-Identifier: MIT
// A compiled pattern: its nodes in pre-order, each with what matching needs
// (kind, arguments, conditions), shared by PatternC, which builds it, and
// MatcherC, which runs it.
#ifndef ALGEXPR_SRC_SERVICES_PATTERNDATA_H
#define ALGEXPR_SRC_SERVICES_PATTERNDATA_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "algexpr/NodeABC.h"
#include "algexpr/PatternC.h"

namespace qorv::math::algexpr {

struct PatternC::DataS {
    enum class KindE : std::uint8_t {
        Literal,   // no wildcard below: compared whole with equalTrees
        Function,  // a function with wildcards below: head, then arguments
        Wild,      // a single wildcard
        Wilds      // a sequence wildcard
    };
    enum class TestE : std::uint8_t { Integer, Number, Positive, Symbol, Free, Client };

    struct ConditionS {
        TestE test;
        const NodeABC* free_of;      // Free: the subtree that must not occur (in the pattern's tree)
        const ConditionF* client_p;  // Client: in `client_conditions`
    };

    struct NodeS {
        KindE kind;
        bool commutative = false;
        bool has_sequence = false;      // among its arguments
        std::uint32_t wildcard = 0;     // Wild, Wilds
        std::uint32_t first_arg = 0;    // into `args`; a commutative function's sequence comes last
        std::uint32_t arg_count = 0;
        std::uint32_t first_condition = 0;  // into `conditions`
        std::uint32_t condition_count = 0;
        const NodeABC* node = nullptr;  // in `tree`
        const NodeABC* default_value = nullptr;  // Wild: default(V)'s V (in `tree`), or null
        // Function: when all its arguments but one are wildcards with a
        // default, that one's node number (it may stand for the whole
        // function); kNoCollapse otherwise.
        std::uint32_t collapse = kNoCollapse;
        bool negates = false;  // Function: a times that collapses also matches neg(T), its default -1
    };
    static constexpr std::uint32_t kNoCollapse = 0xffffffffu;

    struct WildcardS {
        std::u16string name;
        bool sequence;
        bool unordered = false;  // repeated: equal up to the order of commutative arguments
    };

    std::unique_ptr<NodeABC> tree;
    std::vector<NodeS> nodes;             // pre-order; nodes[0] is the root
    std::vector<std::uint32_t> args;      // argument node numbers of each function
    std::vector<ConditionS> conditions;
    std::vector<WildcardS> wildcards;
    std::vector<std::unique_ptr<ConditionF>> client_conditions;
    std::vector<int> commutative_codes;    // of the core functions matched in any order
    int neg_code = -1;                     // of the core neg, or -1
    std::unique_ptr<NodeABC> minus_one;    // the default a negating times binds, when one does
};

}  // namespace qorv::math::algexpr

#endif
