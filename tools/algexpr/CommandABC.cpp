// SPDX-License-Identifier: MIT
#include "CommandABC.h"

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "EngineEntryABC.h"
#include "ExpressionWriterABC.h"

namespace qorv::math::algexpr::cli {

CommandABC::~CommandABC() = default;

bool CommandABC::prepare(std::string&) { return true; }

bool CommandABC::oneLinePerInput() const { return true; }

support::OutcomeS CommandABC::evaluate(const CommandLineC* options,
                                       const qorv::oss::PointerTC<AlgebraicExpressionC>& expression, bool numeric) {
    if (options == nullptr) {
        return EngineEntryABC::evaluateCurrent(expression, numeric);
    }
    return options->engine->evaluate(expression, numeric);
}

void CommandABC::noteOutcome(const support::OutcomeS& outcome) {
    if (outcome.kind == support::OutcomeE::Unchecked) {
        note.clear();
        appendUtf8(outcome.reason, note);
    }
}

bool CommandABC::writeLine(ExpressionWriterABC& writer, NodeABC& node, std::string& out, std::string& problem) {
    if (!writer.write(node, out, problem)) {
        return false;
    }
    out += '\n';
    return true;
}

}  // namespace qorv::math::algexpr::cli
