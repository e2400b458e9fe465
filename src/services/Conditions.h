// SPDX-License-Identifier: MIT
// The built-in conditions of patterns and rules (integer, number, positive,
// symbol, free), shared by the matcher, which tests a wildcard's subtree,
// and the rewriter, which tests a rule's "if" condition.
#ifndef ALGEXPR_SRC_SERVICES_CONDITIONS_H
#define ALGEXPR_SRC_SERVICES_CONDITIONS_H

#include <string>

#include "algexpr/NodeABC.h"
#include "services/PatternData.h"

namespace qorv::math::algexpr::detail {

/// Whether the node is the empty slot "_".
bool isSlot(const NodeABC* node);

/// The built-in condition of that name; false when there is none.
bool builtInCondition(const std::u16string& name, PatternC::DataS::TestE& test);

/// Whether `node` passes the built-in `test`; Free asks that `free_of`
/// occur nowhere in it.
bool passesBuiltIn(PatternC::DataS::TestE test, const NodeABC* node, const NodeABC* free_of);

/// Puts "out of memory" or else `why` in `problem`, or leaves `problem`
/// empty when even that runs out of memory.
void tellProblem(bool out_of_memory, const std::u16string& why, std::u16string& problem) noexcept;

}  // namespace qorv::math::algexpr::detail

#endif
