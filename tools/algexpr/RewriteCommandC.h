// SPDX-License-Identifier: MIT
// RewriteCommandC: "rewrite --rules FILE", each expression rewritten by the
// file's rules (RewriterC) and written; with --eval, evaluated by the engine
// first, as eval does without --strict (3*(sin(x)^2+cos(x)^2) rewritten to
// 3*1 is written 3). A rule set that has not settled within the step budget
// (--steps N) fails the line and says so. prepare()
// reads the file with the reader given (--from). The reader and the writer
// must outlive the command.
#ifndef ALGEXPR_TOOL_REWRITECOMMANDC_H
#define ALGEXPR_TOOL_REWRITECOMMANDC_H

#include <string>

#include "CommandABC.h"
#include "algexpr/RewriterC.h"

namespace qorv::math::algexpr::cli {

class CommandLineC;
class ExpressionReaderABC;

class RewriteCommandC : public CommandABC {
public:
    RewriteCommandC(const CommandLineC& options, ExpressionReaderABC& reader, ExpressionWriterABC& writer);

    bool prepare(std::string& problem) override;
    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;

private:
    ExpressionReaderABC& reader;
    ExpressionWriterABC& writer;
    std::string path;
    bool evaluate;
    RewriterC rewriter;
};

}  // namespace qorv::math::algexpr::cli

#endif
