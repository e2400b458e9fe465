// SPDX-License-Identifier: MIT
// MatchCommandC: "match", each expression matched against the PATTERN at
// its root. Prints the bindings, "a = 2; r = (1, y)" (each wildcard once, in
// the pattern's order, a sequence in parentheses), "match" for a pattern
// without wildcards, "no match", or "gave up" when the attempts ran out.
// prepare() reads the PATTERN with the reader given (--from); subtrees are
// written with the writer (--to). Both must outlive the command.
#ifndef ALGEXPR_TOOL_MATCHCOMMANDC_H
#define ALGEXPR_TOOL_MATCHCOMMANDC_H

#include <string>

#include "CommandABC.h"
#include "algexpr/MatcherC.h"
#include "algexpr/PatternC.h"

namespace qorv::math::algexpr::cli {

class CommandLineC;
class ExpressionReaderABC;

class MatchCommandC : public CommandABC {
public:
    MatchCommandC(const CommandLineC& options, ExpressionReaderABC& reader, ExpressionWriterABC& writer);

    bool prepare(std::string& problem) override;
    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;

private:
    ExpressionReaderABC& reader;
    ExpressionWriterABC& writer;
    std::string pattern_text;  // UTF-8
    PatternC pattern;
    MatcherC matcher;
};

}  // namespace qorv::math::algexpr::cli

#endif
