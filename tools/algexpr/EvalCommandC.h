// SPDX-License-Identifier: MIT
// EvalCommandC: "eval", each expression executed through the current
// session, and the result written. Uses the writer it is given, which must
// outlive it. What execute is asked for, and what counts as a failure:
//  - `numeric_flag`: the flag passed to execute, true for a single number
//    (the numeric engine folds what it can either way; the GiNaC engine
//    gives the exact symbolic result without it);
//  - `need_number`: a result that does not stand for a real number fails
//    the input with the session's reason ("x: free symbol").
// A null result always fails the input with the session's reason. The
// engine is the one `options` names (CommandLineC::engine).
#ifndef ALGEXPR_TOOL_EVALCOMMANDC_H
#define ALGEXPR_TOOL_EVALCOMMANDC_H

#include "CommandABC.h"

namespace qorv::math::algexpr::cli {

class EvalCommandC : public CommandABC {
public:
    EvalCommandC(ExpressionWriterABC& writer, const CommandLineC& options, bool numeric_flag, bool need_number);

    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;

private:
    ExpressionWriterABC& writer;
    const CommandLineC& options;
    bool numeric_flag;
    bool need_number;
};

}  // namespace qorv::math::algexpr::cli

#endif
