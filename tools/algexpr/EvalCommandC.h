// EvalCommandC: "eval", each expression executed through the current
// session, and the result written. Lenient, what cannot be evaluated stays in
// place; with `strict` (eval --strict) a result that is not a single number
// fails the input with the session's reason. Uses the writer it is given,
// which must outlive it.
#ifndef ALGEXPR_TOOL_EVALCOMMANDC_H
#define ALGEXPR_TOOL_EVALCOMMANDC_H

#include "CommandABC.h"

namespace qorv::math::algexpr::cli {

class EvalCommandC : public CommandABC {
public:
    EvalCommandC(ExpressionWriterABC& writer, bool strict);

    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;

private:
    ExpressionWriterABC& writer;
    bool strict;
};

}  // namespace qorv::math::algexpr::cli

#endif
