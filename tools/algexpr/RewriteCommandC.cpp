// SPDX-License-Identifier: MIT
#include "RewriteCommandC.h"

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "RuleFileC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

RewriteCommandC::RewriteCommandC(const CommandLineC& options, ExpressionReaderABC& reader,
                                 ExpressionWriterABC& writer)
    : reader(reader), writer(writer), path(options.rules_file), evaluate(options.rewrite_eval) {
    rewriter.setStepBudget(options.steps);
}

bool RewriteCommandC::prepare(std::string& problem) {
    std::vector<RuleReaderC::LineS> lines;
    RuleReaderC::ErrorS error;
    if (!RuleFileC::read(path, RuleReaderC::FormE::Rules, reader, lines, problem)) {
        return false;
    }
    if (!RuleReaderC::addTo(lines, rewriter, error)) {
        problem = RuleFileC::describe(path, error);
        return false;
    }
    return true;
}

bool RewriteCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                             std::string& problem) {
    RewriterC::ResultS result = rewriter.rewrite(expression.getNode());
    if (result.status == RewriterC::StatusE::OutOfMemory || !result.tree) {
        problem = "out of memory";
        return false;
    }
    if (result.status == RewriterC::StatusE::BudgetSpent) {
        problem = "the rules had not settled after " + std::to_string(result.steps) +
                  " steps (a loop? --steps sets the budget)";
        return false;
    }
    if (!evaluate) {
        return writeLine(writer, *result.tree, out, problem);
    }
    qorv::oss::PointerTC<AlgebraicExpressionC> rewritten(new AlgebraicExpressionC(result.tree.release()));
    std::u16string reason;
    qorv::oss::PointerTC<AlgebraicExpressionC> value = rewritten->execute(false, &reason);
    if (!value || value->getNode() == nullptr) {
        problem = "cannot evaluate: ";
        appendUtf8(reason, problem);
        return false;
    }
    return writeLine(writer, *value->getNode(), out, problem);
}

}  // namespace qorv::math::algexpr::cli
