// SPDX-License-Identifier: MIT
// CheckCommandC: "check --accept FILE", each expression judged by the forms
// of the file (PatternConstraintsC): "accepted: FORM" with the accepted form
// it has, "rejected: FORM" with a rejected form found in it, or "not
// accepted". By default the expression is final: a slot "_" left in it is
// not accepted; with --editing a slot stands for anything. prepare() reads
// the file with the reader given (--from), which must outlive the command.
#ifndef ALGEXPR_TOOL_CHECKCOMMANDC_H
#define ALGEXPR_TOOL_CHECKCOMMANDC_H

#include <string>
#include <vector>

#include "CommandABC.h"
#include "algexpr/PatternConstraintsC.h"

namespace qorv::math::algexpr::cli {

class CommandLineC;
class ExpressionReaderABC;

class CheckCommandC : public CommandABC {
public:
    CheckCommandC(const CommandLineC& options, ExpressionReaderABC& reader);

    bool prepare(std::string& problem) override;
    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;

private:
    ExpressionReaderABC& reader;
    std::string path;
    bool editing;
    PatternConstraintsC constraints;
    std::vector<std::string> accepted_texts, rejected_texts;  // UTF-8, as in the file
};

}  // namespace qorv::math::algexpr::cli

#endif
