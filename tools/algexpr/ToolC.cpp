#include "ToolC.h"

#include <cstdio>
#include <new>
#include <utility>
#include <vector>

#include <unistd.h>

#include "CommandLineC.h"
#include "EvalCommandC.h"
#include "InfixNotationReaderC.h"
#include "InfixNotationWriterC.h"
#include "LatexNotationWriterC.h"
#include "LineReaderC.h"
#include "PrefixReaderC.h"
#include "PrefixWriterC.h"
#include "PrintCommandC.h"
#include "SessionInstallerC.h"
#include "SubstCommandC.h"
#include "TreeCommandC.h"
#include "algexpr/CASSessionBC.h"
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
    if (!options.expressions.empty()) {
        readArguments();
    } else {
        readStandardInput();
    }
    return finish();
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
    switch (options.to) {
        case NotationE::Infix:
            return std::make_unique<InfixNotationWriterC>(options.digits, options.float_format);
        case NotationE::Latex:
            return std::make_unique<LatexNotationWriterC>(options.digits, options.float_format);
        case NotationE::Prefix:
            break;
    }
    return std::make_unique<PrefixWriterC>(options.digits, options.float_format);
}

std::unique_ptr<CommandABC> ToolC::makeCommand() {
    switch (options.command) {
        case CommandE::Tree:
            return std::make_unique<TreeCommandC>(options.tree_format, options.digits, options.float_format);
        case CommandE::Subst:
            return std::make_unique<SubstCommandC>(options, *reader_p, *writer_p);
        case CommandE::Eval:
            return std::make_unique<EvalCommandC>(*writer_p, options.strict);
        case CommandE::Print:
        case CommandE::None:
            break;
    }
    return std::make_unique<PrintCommandC>(*writer_p);
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
