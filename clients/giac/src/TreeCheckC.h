// SPDX-License-Identifier: MIT
// TreeCheckC: the walk over a tree before any of it reaches Giac. It measures
// the depth and counts the nodes (without recursion, at any depth), refusing
// trees beyond the session's limits, and gathers the names of the symbols
// and of the unknown functions, each once.
#ifndef ALGEXPR_GIAC_SRC_TREECHECKC_H
#define ALGEXPR_GIAC_SRC_TREECHECKC_H

#include <set>
#include <string>
#include <vector>

#include "EngineVocabulary.h"
#include "algexpr/NodeABC.h"
#include "algexpr/giac/GiacEngineC.h"

namespace qorv::math::algexpr::giac::detail {

class TreeCheckC {
public:
    TreeCheckC(const std::vector<OperationE>& operations, const GiacEngineC::LimitsS& limits);
    ~TreeCheckC();

    /// Walks the tree; throws RefusalC when it is too deep or too large.
    void run(NodeABC& root);

    /// The names of the symbols and of the unknown functions, sorted.
    const std::set<std::u16string>& symbols() const { return symbol_names; }
    const std::set<std::u16string>& functions() const { return function_names; }

private:
    const std::vector<OperationE>& operations;
    const GiacEngineC::LimitsS& limits;
    std::set<std::u16string> symbol_names;
    std::set<std::u16string> function_names;
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
