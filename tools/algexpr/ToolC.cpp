// SPDX-License-Identifier: MIT
#include "ToolC.h"

#include <cstdio>
#include <exception>
#include <new>
#include <utility>
#include <vector>

#include <unistd.h>

#include "CommandLineC.h"
#include "EvalCommandC.h"
#include "EvaluationWorkerC.h"
#include "InfixNotationReaderC.h"
#include "OperationCommandC.h"
#include "PrefixReaderC.h"
#include "PrefixWriterC.h"
#include "PrintCommandC.h"
#include "ResourceLimitsC.h"
#include "SessionInstallerC.h"
#include "SubstCommandC.h"
#include "SupervisorC.h"
#include "MatchCommandC.h"
#include "RewriteCommandC.h"
#include "CheckCommandC.h"
#include "TreeCommandC.h"
#include "VisitorWriterTC.h"
#include "WorkerProtocolC.h"
#include "algexpr/InfixPrintVisitorC.h"
#include "algexpr/LatexPrintVisitorC.h"

namespace qorv::math::algexpr::cli {

ToolC::ToolC(const CommandLineC& options)
    : options(options), output(STDOUT_FILENO), input(options.expressions, STDIN_FILENO) {}

ToolC::~ToolC() = default;

int ToolC::run() {
    std::string problem;
    if (!setUp(problem)) {
        std::fprintf(stderr, "algexpr: %s\n", problem.c_str());
        return 2;
    }
    interactive = input.fd() >= 0 && ::isatty(input.fd()) != 0;
    if (supervised()) {
        runSupervised();
    } else {
        // Every input is handled where the engine works (see
        // SessionInstallerC::runForEngine); what is thrown there is thrown
        // on here.
        struct Work {
            ToolC* tool;
            std::exception_ptr thrown;
        } work{this, nullptr};
        SessionInstallerC::runForEngine(
            options,
            [](void* context) {
                auto* w = static_cast<Work*>(context);
                try {
                    w->tool->readInputs();
                } catch (...) {
                    w->thrown = std::current_exception();
                }
            },
            &work);
        if (work.thrown) {
            std::rethrow_exception(work.thrown);
        }
    }
    if (input.failed()) {
        output.flush();
        std::fprintf(stderr, "algexpr: error reading standard input\n");
        ++failures;
    }
    return finish();
}

void ToolC::readInputs() {
    std::string_view text;
    std::size_t number = 0;
    while (input.next(text, number)) {
        std::string message;
        std::string warnings;
        const std::size_t before = output.text().size();
        const bool ok = handler_p->handle(text, input.place(number), output.text(), message, warnings);
        if (!warnings.empty()) {  // they go out before the input's own line
            const std::string answer = output.text().substr(before);
            output.text().resize(before);
            output.warn(warnings);
            output.text() += answer;
        }
        if (!ok) {
            ++failures;
            output.fail(message, command_p->oneLinePerInput());
        }
        output.commit(interactive);
    }
}

// ---- Putting the run together ---------------------------------------------

bool ToolC::setUp(std::string& problem) {
    std::vector<std::string> warnings;
    const bool installed = SessionInstallerC::install(options, problem, warnings);
    for (const std::string& warning : warnings) {
        std::fprintf(stderr, "algexpr: warning: %s\n", warning.c_str());
    }
    if (!installed) {
        return false;
    }
    if (options.writtenDigits() < options.digits && options.float_format != qorv::math::Fixed) {
        std::fprintf(stderr, "algexpr: note: --digits %lu: the %s engine's floats are doubles; written with %lu digits\n",
                     options.digits, options.engine->title(), options.writtenDigits());
    }
    reader_p = makeReader();
    writer_p = makeWriter();
    command_p = makeCommand();
    handler_p = std::make_unique<LineHandlerC>(*reader_p, *command_p);
    return command_p->prepare(problem);
}

std::unique_ptr<ExpressionReaderABC> ToolC::makeReader() const {
    if (options.from == NotationE::Infix) {
        return std::make_unique<InfixNotationReaderC>();
    }
    return std::make_unique<PrefixReaderC>(options.lax);
}

std::unique_ptr<ExpressionWriterABC> ToolC::makeWriter() const {
    const unsigned long digits = options.writtenDigits();
    switch (options.to) {
        case NotationE::Infix:
            return std::make_unique<VisitorWriterTC<InfixPrintVisitorC>>(digits, options.float_format);
        case NotationE::Latex:
            return std::make_unique<VisitorWriterTC<LatexPrintVisitorC>>(digits, options.float_format);
        case NotationE::Prefix:
            break;
    }
    return std::make_unique<PrefixWriterC>(digits, options.float_format);
}

std::unique_ptr<CommandABC> ToolC::makeCommand() {
    switch (options.command) {
        case CommandE::Tree:
            return std::make_unique<TreeCommandC>(options.tree_format, options.digits, options.float_format);
        case CommandE::Subst:
            return std::make_unique<SubstCommandC>(options, *reader_p, *writer_p);
        case CommandE::Eval:
            return makeEval();
        case CommandE::Simplify:
            return std::make_unique<OperationCommandC>("simplify", std::vector<OperationCommandC::OperandS>(),
                                                       *reader_p, *writer_p, &options);
        case CommandE::Expand:
            return std::make_unique<OperationCommandC>("expand", std::vector<OperationCommandC::OperandS>(),
                                                       *reader_p, *writer_p, &options);
        case CommandE::Factor:
            return std::make_unique<OperationCommandC>("factor", std::vector<OperationCommandC::OperandS>(),
                                                       *reader_p, *writer_p, &options);
        case CommandE::Diff: {
            std::vector<OperationCommandC::OperandS> operands{{"VAR", options.variable}};
            if (options.diff_order != 1) {
                operands.push_back({"order", std::to_string(options.diff_order)});
            }
            return std::make_unique<OperationCommandC>("diff", std::move(operands), *reader_p, *writer_p, &options);
        }
        case CommandE::Series: {
            auto series = std::make_unique<OperationCommandC>(
                "series",
                std::vector<OperationCommandC::OperandS>{
                    {"VAR", options.variable}, {"POINT", options.point}, {"ORDER", std::to_string(options.series_order)}},
                *reader_p, *writer_p, &options);
            if (options.drop_order) {
                series->dropOrderTerm();
            }
            return series;
        }
        case CommandE::Integrate:
        case CommandE::Limit:
        case CommandE::Solve:
            return makeGiacOperation();
        case CommandE::Match:
            return std::make_unique<MatchCommandC>(options, *reader_p, *writer_p);
        case CommandE::Rewrite:
            return std::make_unique<RewriteCommandC>(options, *reader_p, *writer_p);
        case CommandE::Check:
            return std::make_unique<CheckCommandC>(options, *reader_p);
        case CommandE::Apart:
            return std::make_unique<OperationCommandC>(
                "apart", std::vector<OperationCommandC::OperandS>{{"VAR", options.variable}}, *reader_p, *writer_p);
        case CommandE::Print:
        case CommandE::None:
            break;
    }
    return std::make_unique<PrintCommandC>(*writer_p);
}

// integrate VAR (--lower A --upper B), limit VAR POINT (--side), solve VAR:
// integrate(EXPR,VAR[,A,B]), limit(EXPR,VAR,POINT[,1|-1]), solve(EXPR,VAR).
std::unique_ptr<CommandABC> ToolC::makeGiacOperation() {
    std::vector<OperationCommandC::OperandS> operands{{"VAR", options.variable}};
    const char* name = "solve";
    if (options.command == CommandE::Integrate) {
        name = "integrate";
        if (!options.lower.empty()) {
            operands.push_back({"lower bound", options.lower});
            operands.push_back({"upper bound", options.upper});
        }
    } else if (options.command == CommandE::Limit) {
        name = "limit";
        operands.push_back({"POINT", options.point});
        if (options.side != 0) {
            operands.push_back({"side", std::to_string(options.side)});
        }
    }
    return std::make_unique<OperationCommandC>(name, std::move(operands), *reader_p, *writer_p, &options);
}

// eval: lenient, --strict or --numeric. The numeric engine folds what it can
// and with the flag gives a single number or nothing, so --numeric is
// --strict there. An exact engine gives the exact result without the flag;
// --strict keeps it exact but asks for a real number.
std::unique_ptr<CommandABC> ToolC::makeEval() {
    if (options.engine->exact()) {
        return std::make_unique<EvalCommandC>(*writer_p, options, options.numeric, options.numeric || options.strict);
    }
    const bool strict = options.numeric || options.strict;
    return std::make_unique<EvalCommandC>(*writer_p, options, strict, strict);
}

// ---- In a worker process -----------------------------------------------------

// Evaluations go to a worker process unless the engine's work grows with its
// input alone.
bool ToolC::supervised() const { return options.evaluates() && options.engine->supervised() && !options.in_process; }

void ToolC::runSupervised() {
    memory_cap = options.memoryLimit();
    const char* unavailable = ResourceLimitsC::memoryCapUnavailable();
    if (memory_cap != 0 && unavailable != nullptr) {
        if (options.has_max_memory) {
            std::fprintf(stderr, "algexpr: warning: --max-memory is not enforced: %s\n", unavailable);
        }
        memory_cap = 0;
    }
    SupervisorC::SettingsS settings;
    settings.timeout_ms = options.timeout_ms;
    settings.max_memory = memory_cap;
    settings.one_line_per_input = command_p->oneLinePerInput();
    settings.interactive = interactive;
    SupervisorC supervisor(settings, input, output, workerMain, this);
    failures += supervisor.run();
}

// What each worker process runs: the session made ready, the memory capped,
// then the inputs the tool sends, all as one job where the engine works.
int ToolC::workerMain(int fd, ProgressC& progress, void* self) {
    ToolC& tool = *static_cast<ToolC*>(self);
    if (tool.memory_cap != 0) {
        ResourceLimitsC::prepareCap();
    }
    SessionInstallerC::prepareWorker(tool.options);
    if (tool.memory_cap != 0 && !ResourceLimitsC::capMemory(tool.memory_cap)) {
        progress.setUncapped();  // the tool then names no cap when this worker runs out of memory
    }
    struct Job {
        EvaluationWorkerC worker;
        int status;
    } job{EvaluationWorkerC(fd, *tool.handler_p, progress, tool.input.kind()), WorkerProtocolC::kExitFailed};
    SessionInstallerC::runForEngine(
        tool.options, [](void* context) {
            auto* j = static_cast<Job*>(context);
            j->status = j->worker.run();
        },
        &job);
    return job.status;
}

int ToolC::finish() {
    if (!output.flush()) {
        std::fprintf(stderr, "algexpr: error writing standard output\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace qorv::math::algexpr::cli
