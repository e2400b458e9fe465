// SPDX-License-Identifier: MIT
// ToolC: runs one command of the algexpr tool. It installs the session, then
// puts the run together from three parts, each made by one function that is
// the place to plug in a new kind:
//
//   makeReader   text -> expression    (ExpressionReaderABC: the notation read)
//   makeWriter   expression -> text    (ExpressionWriterABC: the notation written)
//   makeCommand  what to do with each  (CommandABC: print, tree, subst, eval,
//                                       and the operations simplify to series)
//
// Then it reads each input (the EXPR arguments, or the lines of standard
// input), hands it to a LineHandlerC, which reads it and hands it to the
// command, and writes one result per input to standard output and one
// message per failed input to standard error, with a warning before it
// about each name that looks like a typo (TypoCheckC).
//
// Where: commands that evaluate with an engine other than the numeric one
// run their inputs through a worker process that a SupervisorC holds to
// --timeout and --max-memory (workerMain is what runs in it); everything else
// runs here, as does all of it with --in-process. With the GiNaC engine, the
// handling of all inputs runs on the engine's worker thread as one job (in
// the worker process, or here), so that evaluations need no hand-off between
// threads.
#ifndef ALGEXPR_TOOL_TOOLC_H
#define ALGEXPR_TOOL_TOOLC_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "CommandABC.h"
#include "ExpressionReaderABC.h"
#include "ExpressionWriterABC.h"
#include "InputC.h"
#include "LineHandlerC.h"
#include "OutputC.h"
#include "ProgressC.h"

namespace qorv::math::algexpr::cli {

class CommandLineC;

class ToolC {
public:
    /// Keeps a reference to `options`, which must outlive the tool.
    explicit ToolC(const CommandLineC& options);
    ~ToolC();
    ToolC(const ToolC&) = delete;
    ToolC& operator=(const ToolC&) = delete;

    /// Runs the command to its end; the exit status: 0, 1 when some input
    /// failed or the output could not be written, 2 when the set-up fails (an
    /// unreadable core names file, subst operands that do not read).
    int run();

private:
    bool setUp(std::string& problem);
    std::unique_ptr<ExpressionReaderABC> makeReader() const;
    std::unique_ptr<ExpressionWriterABC> makeWriter() const;
    std::unique_ptr<CommandABC> makeCommand();
    std::unique_ptr<CommandABC> makeEval();
    std::unique_ptr<CommandABC> makeGiacOperation();

    bool supervised() const;
    void runSupervised();
    void readInputs();
    int finish();
    static int workerMain(int fd, ProgressC& progress, void* self);

    const CommandLineC& options;
    OutputC output;
    InputC input;
    std::unique_ptr<ExpressionReaderABC> reader_p;
    std::unique_ptr<ExpressionWriterABC> writer_p;
    std::unique_ptr<CommandABC> command_p;
    std::unique_ptr<LineHandlerC> handler_p;
    std::size_t failures = 0;
    bool interactive = false;      // standard input is a terminal: write each line at once
    std::uint64_t memory_cap = 0;  // each worker's, in bytes; 0: none
};

}  // namespace qorv::math::algexpr::cli

#endif
