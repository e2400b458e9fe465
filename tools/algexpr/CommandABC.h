// SPDX-License-Identifier: MIT
// CommandABC: what the tool does with each expression it has read. ToolC
// makes one command for the run (ToolC::makeCommand), prepares it once, then
// hands it every expression in turn with the place it came from; the command
// appends its output for that expression to the tool's output buffer.
//
// A new command is a subclass, a row in CommandLineC's command table, a help
// text in HelpC and a case in makeCommand. A new operation of the engine's is
// a row and a case only: OperationCommandC wraps each expression in the
// operation's core function and evaluates that.
#ifndef ALGEXPR_TOOL_COMMANDABC_H
#define ALGEXPR_TOOL_COMMANDABC_H

#include <string>
#include <utility>

#include "InputPlaceC.h"
#include "OutcomeS.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {
class AlgebraicExpressionC;
class NodeABC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::cli {

class CommandLineC;
class ExpressionWriterABC;

class CommandABC {
public:
    virtual ~CommandABC();
    CommandABC(const CommandABC&) = delete;
    CommandABC& operator=(const CommandABC&) = delete;

    /// Runs once, after the session is installed and before the first
    /// input; false, with `problem`, when the command cannot run at all (the
    /// tool then exits with status 2). Does nothing by default.
    virtual bool prepare(std::string& problem);

    /// Handles one expression: appends its output to `out` and answers true,
    /// or answers false with `problem` and leaves `out` as it was.
    virtual bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                        std::string& problem) = 0;

    /// Whether every input gives exactly one line, an empty one when it is
    /// blank or fails (true by default); otherwise such inputs give nothing.
    virtual bool oneLinePerInput() const;

    /// A warning about the last input handled ("unchecked: ..."), taken
    /// once: empty when there is none.
    std::string takeNote() {
        std::string taken;
        taken.swap(note);
        return taken;
    }

protected:
    CommandABC() = default;

    /// Evaluates `expression` with the engine `options` names (null: the
    /// current session, through execute's text channel): the outcome by kind.
    static support::OutcomeS evaluate(const CommandLineC* options,
                                      const qorv::oss::PointerTC<AlgebraicExpressionC>& expression, bool numeric);

    /// Keeps the reason of an Unchecked outcome as the note.
    void noteOutcome(const support::OutcomeS& outcome);
    /// Keeps `text` as the note.
    void setNote(std::string text) { note = std::move(text); }

    /// Writes the tree under `node` and a newline to `out` with `writer`.
    static bool writeLine(ExpressionWriterABC& writer, NodeABC& node, std::string& out, std::string& problem);

private:
    std::string note;
};

}  // namespace qorv::math::algexpr::cli

#endif
