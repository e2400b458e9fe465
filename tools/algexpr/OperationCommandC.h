// SPDX-License-Identifier: MIT
// OperationCommandC: one of the engine's operations (simplify, expand,
// factor, diff, series) applied to each expression: the expression becomes
// the first argument of the operation's core function, the command's operands
// the others, and that call is evaluated and its result written.
//   diff x EXPR          evaluates diff(EXPR,x)
//   series x 0 4 EXPR    evaluates series(EXPR,x,0,4)
// dropOrderTerm() has a series written without its order term, so that the
// polynomial can be evaluated at a point.
// prepare() looks the operation up in the session's vocabulary and reads the
// operands with the reader given, so they read as the inputs do. The reader
// and the writer must outlive the command. An answer that fails its check is
// asked of another engine (EngineRegistryC::answering) through a second
// session (SessionInstallerC::evaluateAside); its answer is written with a
// note that says which engine answered, or the line fails with both reasons.
#ifndef ALGEXPR_TOOL_OPERATIONCOMMANDC_H
#define ALGEXPR_TOOL_OPERATIONCOMMANDC_H

#include <string>
#include <vector>

#include "CommandABC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

class CommandLineC;
class ExpressionReaderABC;

class OperationCommandC : public CommandABC {
public:
    /// An operand as given on the command line, and what messages call it.
    struct OperandS {
        const char* role;  // "VAR", "POINT", ...
        std::string text;  // UTF-8
    };

    /// `operation` is the core name; it must outlive the command. With
    /// `options`, the engine they name evaluates, and an answer that fails
    /// its check is asked of another engine that offers the command;
    /// without, the current session (no other engine).
    OperationCommandC(const char* operation, std::vector<OperandS> operands, ExpressionReaderABC& reader,
                      ExpressionWriterABC& writer, const CommandLineC* options = nullptr);

    /// Finds the operation's code and reads the operands.
    bool prepare(std::string& problem) override;
    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;

    /// Writes results without a last order term: plus(1,x,order(power(x,2)))
    /// as plus(1,x), a lone order term as 0.
    void dropOrderTerm() { drop_order = true; }

private:
    qorv::oss::PointerTC<AlgebraicExpressionC> withoutOrder(const NodeABC& root) const;
    // After a failed check: the call evaluated by another engine; `outcome`
    // becomes its answer when that passes its own check, or keeps what
    // failed with the other engine's reason added.
    void askAnother(const qorv::oss::PointerTC<AlgebraicExpressionC>& call, support::OutcomeS& outcome);

    const char* operation;
    std::vector<OperandS> operand_texts;
    ExpressionReaderABC& reader;
    ExpressionWriterABC& writer;
    const CommandLineC* options;
    int code = 0;
    bool drop_order = false;
    int plus_code = -1;
    int order_code = -1;
    std::vector<qorv::oss::PointerTC<AlgebraicExpressionC>> operands;
};

}  // namespace qorv::math::algexpr::cli

#endif
