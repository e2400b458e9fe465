// SPDX-License-Identifier: MIT
#include "EvalCommandC.h"

#include "AppendUtf8.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

EvalCommandC::EvalCommandC(ExpressionWriterABC& writer, const CommandLineC& options, bool numeric_flag,
                           bool need_number)
    : writer(writer), options(options), numeric_flag(numeric_flag), need_number(need_number) {}

bool EvalCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                          std::string& problem) {
    const support::OutcomeS outcome =
        evaluate(&options, qorv::oss::PointerTC<AlgebraicExpressionC>(&expression), numeric_flag);
    if (!outcome.answered() || outcome.tree->getNode() == nullptr ||
        (need_number && outcome.kind != support::OutcomeE::Number)) {
        problem = need_number ? "not a number: " : "cannot evaluate: ";
        appendUtf8(outcome.reason, problem);
        return false;
    }
    noteOutcome(outcome);
    return writeLine(writer, *outcome.tree->getNode(), out, problem);
}

}  // namespace qorv::math::algexpr::cli
