// SPDX-License-Identifier: MIT
// TreeCommandC: "tree", each expression's tree in the form tree --format
// names (see TreeWriterC). Text and dot give a block per expression, text
// blocks separated by a blank line, and nothing for blank or failed inputs;
// JSON gives one line per input.
#ifndef ALGEXPR_TOOL_TREECOMMANDC_H
#define ALGEXPR_TOOL_TREECOMMANDC_H

#include <cstddef>

#include "CommandABC.h"
#include "TreeWriterC.h"

namespace qorv::math::algexpr::cli {

class TreeCommandC : public CommandABC {
public:
    TreeCommandC(TreeWriterC::FormatE format, unsigned long digits, qorv::math::NumberDisplayFormatE float_format);

    /// The dot graph is named after `place`.
    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;
    bool oneLinePerInput() const override;

private:
    TreeWriterC::FormatE format;
    TreeWriterC writer;
    std::size_t blocks = 0;  // blocks written so far
};

}  // namespace qorv::math::algexpr::cli

#endif
