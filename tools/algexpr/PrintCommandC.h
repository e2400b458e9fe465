// SPDX-License-Identifier: MIT
// PrintCommandC: "print", each expression written back as it was read.
// Uses the writer it is given, which must outlive it.
#ifndef ALGEXPR_TOOL_PRINTCOMMANDC_H
#define ALGEXPR_TOOL_PRINTCOMMANDC_H

#include "CommandABC.h"

namespace qorv::math::algexpr::cli {

class PrintCommandC : public CommandABC {
public:
    explicit PrintCommandC(ExpressionWriterABC& writer);

    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;

private:
    ExpressionWriterABC& writer;
};

}  // namespace qorv::math::algexpr::cli

#endif
