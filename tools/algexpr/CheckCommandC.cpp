// SPDX-License-Identifier: MIT
#include "CheckCommandC.h"

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "RuleFileC.h"

namespace qorv::math::algexpr::cli {

CheckCommandC::CheckCommandC(const CommandLineC& options, ExpressionReaderABC& reader)
    : reader(reader), path(options.accept_file), editing(options.editing) {}

bool CheckCommandC::prepare(std::string& problem) {
    std::vector<RuleReaderC::LineS> lines;
    RuleReaderC::ErrorS error;
    if (!RuleFileC::read(path, RuleReaderC::FormE::Forms, reader, lines, problem)) {
        return false;
    }
    if (!constraints.addForms(lines, error)) {
        problem = RuleFileC::describe(path, error);
        return false;
    }
    for (const RuleReaderC::LineS& line : lines) {
        std::string text;
        appendUtf8(line.text, text);
        (line.keyword == u"reject" ? rejected_texts : accepted_texts).push_back(text);
    }
    return true;
}

bool CheckCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                           std::string& problem) {
    const PatternConstraintsC::VerdictS verdict = constraints.judge(expression.getNode(), !editing);
    if (verdict.out_of_memory) {
        problem = "out of memory";
        return false;
    }
    std::string line;
    if (verdict.rejected != PatternConstraintsC::kNone) {
        line = "rejected: " + rejected_texts[verdict.rejected];
    } else if (verdict.acceptable) {
        line = verdict.accepted != PatternConstraintsC::kNone ? "accepted: " + accepted_texts[verdict.accepted]
                                                              : std::string("accepted");
    } else {
        line = verdict.accepted != PatternConstraintsC::kNone ? "not accepted: a slot is left" : "not accepted";
    }
    out += line + (verdict.gave_up ? " (some form gave up)\n" : "\n");
    return true;
}

}  // namespace qorv::math::algexpr::cli
