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
#include "InfixNotationReaderC.h"
#include "LineReaderC.h"
#include "OperationCommandC.h"
#include "PrefixReaderC.h"
#include "PrefixWriterC.h"
#include "PrintCommandC.h"
#include "SessionInstallerC.h"
#include "SubstCommandC.h"
#include "MatchCommandC.h"
#include "RewriteCommandC.h"
#include "CheckCommandC.h"
#include "TreeCommandC.h"
#include "VisitorWriterTC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/InfixPrintVisitorC.h"
#include "algexpr/LatexPrintVisitorC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

using qorv::oss::PointerTC;

namespace {

// Unused symbols are dropped from the session after this much input, so that
// a long stream of new names does not grow the table without bound; the
// cost of a flush is paid for by the input read since the last one.
constexpr std::size_t kFlushBytes = std::size_t{4} << 20;

// Empty, or only the whitespace that prefix text may hold between tokens.
bool isBlank(std::string_view line) {
    for (const char c : line) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            return false;
        }
    }
    return true;
}

}  // namespace

ToolC::ToolC(const CommandLineC& options) : options(options), output(STDOUT_FILENO) {}

ToolC::~ToolC() = default;

int ToolC::run() {
    std::string problem;
    if (!setUp(problem)) {
        std::fprintf(stderr, "algexpr: %s\n", problem.c_str());
        return 2;
    }
    // Every input is read and handled where the engine works (see
    // SessionInstallerC::runForEngine); what is thrown there is thrown on
    // here.
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
    return finish();
}

void ToolC::readInputs() {
    if (!options.expressions.empty()) {
        readArguments();
    } else {
        readStandardInput();
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
    reader_p = makeReader();
    writer_p = makeWriter();
    command_p = makeCommand();
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
                                                       *reader_p, *writer_p);
        case CommandE::Expand:
            return std::make_unique<OperationCommandC>("expand", std::vector<OperationCommandC::OperandS>(),
                                                       *reader_p, *writer_p);
        case CommandE::Factor:
            return std::make_unique<OperationCommandC>("factor", std::vector<OperationCommandC::OperandS>(),
                                                       *reader_p, *writer_p);
        case CommandE::Diff: {
            std::vector<OperationCommandC::OperandS> operands{{"VAR", options.variable}};
            if (options.diff_order != 1) {
                operands.push_back({"order", std::to_string(options.diff_order)});
            }
            return std::make_unique<OperationCommandC>("diff", std::move(operands), *reader_p, *writer_p);
        }
        case CommandE::Series:
            return std::make_unique<OperationCommandC>(
                "series",
                std::vector<OperationCommandC::OperandS>{
                    {"VAR", options.variable}, {"POINT", options.point}, {"ORDER", std::to_string(options.series_order)}},
                *reader_p, *writer_p);
        case CommandE::Match:
            return std::make_unique<MatchCommandC>(options, *reader_p, *writer_p);
        case CommandE::Rewrite:
            return std::make_unique<RewriteCommandC>(options, *reader_p, *writer_p);
        case CommandE::Check:
            return std::make_unique<CheckCommandC>(options, *reader_p);
        case CommandE::Print:
        case CommandE::None:
            break;
    }
    return std::make_unique<PrintCommandC>(*writer_p);
}

// eval: lenient, --strict or --numeric. The numeric engine folds what it can
// and with the flag gives a single number or nothing, so --numeric is
// --strict there. The GiNaC engine gives the exact result without the flag;
// --strict keeps it exact but asks for a real number.
std::unique_ptr<CommandABC> ToolC::makeEval() {
    if (options.engine == EngineE::Ginac) {
        return std::make_unique<EvalCommandC>(*writer_p, options.numeric, options.numeric || options.strict);
    }
    const bool strict = options.numeric || options.strict;
    return std::make_unique<EvalCommandC>(*writer_p, strict, strict);
}

// ---- Reading the inputs ------------------------------------------------------

void ToolC::readArguments() {
    std::size_t number = 0;
    for (const std::string& expression : options.expressions) {
        handle(expression, InputPlaceC("argument", ++number));
    }
}

void ToolC::readStandardInput() {
    interactive = ::isatty(STDIN_FILENO) != 0;
    LineReaderC reader(STDIN_FILENO);
    std::string_view line;
    std::size_t number = 0;
    std::size_t unflushed = 0;
    while (reader.next(line)) {
        if (number == 0 && line.substr(0, 3) == "\xEF\xBB\xBF") {  // a byte order mark
            line.remove_prefix(3);
        }
        handle(line, InputPlaceC("line", ++number));
        output.commit(interactive);
        unflushed += line.size();
        if (unflushed >= kFlushBytes) {
            CASSessionBC::getSession()->flushUnusedSymbols();
            unflushed = 0;
        }
    }
    if (reader.failed()) {
        output.flush();
        std::fprintf(stderr, "algexpr: error reading standard input\n");
        ++failures;
    }
}

int ToolC::finish() {
    if (!output.flush()) {
        std::fprintf(stderr, "algexpr: error writing standard output\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}

// ---- One input -----------------------------------------------------------------

void ToolC::handle(std::string_view line, const InputPlaceC& place) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (isBlank(line)) {
        if (command_p->oneLinePerInput()) {
            output.text() += '\n';
        }
        return;
    }
    std::u16string text;
    std::size_t bad = 0;
    switch (Utf8C::decode(line, text, bad)) {
        case Utf8C::Converted:
            break;
        case Utf8C::Invalid:
            failed(place.describe() + (bad < line.size() ? ": invalid UTF-8 at byte " + std::to_string(bad + 1)
                                                         : std::string(": invalid UTF-8: cut short at the end")));
            return;
        case Utf8C::OutOfMemory:
            throw std::bad_alloc();
    }
    ReadErrorC error;
    PointerTC<AlgebraicExpressionC> expression = reader_p->read(text, error);
    if (!expression) {
        failed(error.describe(place.describe(), text));
        return;
    }
    std::string problem;
    if (!command_p->handle(*expression, place, output.text(), problem)) {
        failed(place.describe() + ": " + problem);
    }
}

// The input's output line stays empty; the message goes out after the lines
// before it, so that both streams read in order on one terminal.
void ToolC::failed(const std::string& message) {
    ++failures;
    if (command_p->oneLinePerInput()) {
        output.text() += '\n';
    }
    output.flush();
    std::fprintf(stderr, "algexpr: %s\n", message.c_str());
}

}  // namespace qorv::math::algexpr::cli
