#include "ToolC.h"

#include <cstdio>
#include <memory>
#include <set>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "LineReaderC.h"
#include "Utf8C.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreElementC.h"
#include "algexpr/NodeABC.h"
#include "refclient/NumericEngineC.h"
#include "refclient/NumericSessionC.h"

namespace qorv::math::algexpr::cli {

using qorv::oss::PointerTC;

namespace {

// Unused symbols are dropped from the session after this much input, so that
// a long stream of new names does not grow the table without bound; the
// cost of a flush is paid for by the input read since the last one.
constexpr std::size_t kFlushBytes = std::size_t{4} << 20;

bool isBlank(std::string_view line) {
    for (const char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') {
            return false;
        }
    }
    return true;
}

// The start of a line for a message, cut at a character boundary.
std::string snippet(std::string_view line) {
    constexpr std::size_t kMax = 60;
    if (line.size() <= kMax) {
        return std::string(line);
    }
    std::size_t cut = kMax;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(line.substr(0, cut)) + "...";
}

std::string utf8(const std::u16string& text) {
    std::string out;
    Utf8C::append(text, out);
    return out;
}

}  // namespace

ToolC::ToolC(const CommandLineC& options)
    : options(options),
      output(STDOUT_FILENO),
      tree_writer(options.tree_format, options.digits, options.number_format) {}

ToolC::~ToolC() = default;

int ToolC::setUpError(const std::string& message) {
    std::fprintf(stderr, "algexpr: %s\n", message.c_str());
    return 2;
}

int ToolC::run() {
    if (options.has_core_names && !loadCoreNames()) {
        return 2;
    }
    std::vector<const char16_t*> list;
    const char16_t* const* names = refclient::NumericEngineC::builtinCoreNames();
    if (options.has_core_names) {
        for (const std::u16string& name : core_names) {
            list.push_back(name.c_str());
        }
        list.push_back(u"");
        names = list.data();
    }
    CASSessionBC::setSession(PointerTC<CASSessionBC>(new refclient::NumericSessionC(names)));

    if (options.command == CommandLineC::CommandE::Subst) {
        std::size_t bad = 0;
        std::u16string replacement;
        if (!Utf8C::decode(options.replacement, replacement, bad)) {
            return setUpError("the replacement is not valid UTF-8");
        }
        replacement_p = AlgebraicExpressionC::fromPrefixString(replacement);
        if (!replacement_p) {
            return setUpError("the replacement '" + snippet(options.replacement) + "' does not read");
        }
        subst_by_code = options.subst_by_code;
        subst_code = options.subst_code;
        if (!subst_by_code) {
            if (!Utf8C::decode(options.subst_name, subst_name, bad)) {
                return setUpError("the NAME is not valid UTF-8");
            }
            // A core name stands for its core symbols, which only a
            // substitution by code reaches.
            PointerTC<CoreElementC> element = CASSessionBC::getSession()->lookupCoreElement(subst_name);
            if (element) {
                subst_by_code = true;
                subst_code = element->getCode();
            }
        }
    }

    if (!options.expressions.empty()) {
        std::size_t number = 0;
        for (const std::string& expression : options.expressions) {
            handle(expression, PlaceS{"argument", ++number});
        }
    } else {
        interactive = ::isatty(STDIN_FILENO) != 0;
        LineReaderC reader(STDIN_FILENO);
        std::string_view line;
        std::size_t number = 0;
        std::size_t unflushed = 0;
        while (reader.next(line)) {
            if (number == 0 && line.substr(0, 3) == "\xEF\xBB\xBF") {  // a byte order mark
                line.remove_prefix(3);
            }
            handle(line, PlaceS{"line", ++number});
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
    if (!output.flush()) {
        std::fprintf(stderr, "algexpr: error writing standard output\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}

// Reads the names file: one name a line, surrounding blanks trimmed, blank
// lines and "#" comments skipped. A name must read back as itself, so it
// holds no blank, "(", ")" or ","; a repeated name is a mistake.
bool ToolC::loadCoreNames() {
    const std::string& path = options.core_names_file;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        setUpError("cannot open core names file '" + path + "'");
        return false;
    }
    LineReaderC reader(fd);
    std::string_view line;
    std::size_t number = 0;
    std::set<std::u16string> seen;
    std::string problem;
    while (problem.empty() && reader.next(line)) {
        ++number;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::u16string name;
        std::size_t bad = 0;
        if (!Utf8C::decode(line, name, bad)) {
            problem = "invalid UTF-8";
        } else if (name.find_first_of(u" \t(),") != std::u16string::npos) {
            problem = "a name holds no blank, '(', ')' or ','";
        } else if (!seen.insert(name).second) {
            problem = "'" + std::string(line) + "' is named twice";
        } else {
            core_names.push_back(std::move(name));
        }
    }
    const bool read_failed = reader.failed();
    ::close(fd);
    if (read_failed) {
        setUpError("cannot read core names file '" + path + "'");
        return false;
    }
    if (!problem.empty()) {
        setUpError(path + ":" + std::to_string(number) + ": " + problem);
        return false;
    }
    return true;
}

bool ToolC::oneLinePerInput() const {
    return options.command != CommandLineC::CommandE::Tree || options.tree_format == TreeWriterC::FormatE::Json;
}

void ToolC::handle(std::string_view line, PlaceS place) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (isBlank(line)) {
        if (oneLinePerInput()) {
            output.text() += '\n';
        }
        return;
    }
    std::size_t bad = 0;
    if (!Utf8C::decode(line, text, bad)) {
        failed(place, "invalid UTF-8 at byte " + std::to_string(bad + 1));
        return;
    }
    PointerTC<AlgebraicExpressionC> expression = AlgebraicExpressionC::fromPrefixString(std::move(text));
    if (!expression) {
        failed(place, "does not read: " + snippet(line));
        return;
    }
    handleExpression(std::move(expression), place);
}

void ToolC::handleExpression(PointerTC<AlgebraicExpressionC> expression, PlaceS place) {
    std::string& out = output.text();
    switch (options.command) {
        case CommandLineC::CommandE::Tree: {
            if (options.tree_format == TreeWriterC::FormatE::Text && blocks++ > 0) {
                out += '\n';
            }
            tree_writer.write(*expression->getNode(), std::string(place.kind) + " " + std::to_string(place.number),
                              out);
            if (options.tree_format == TreeWriterC::FormatE::Json) {
                out += '\n';
            }
            return;
        }
        case CommandLineC::CommandE::Subst: {
            std::unique_ptr<NodeABC> copy(
                subst_by_code ? substituter.subst(expression->getNode(), subst_code, replacement_p->getNode())
                              : substituter.subst(expression->getNode(), subst_name, replacement_p->getNode()));
            if (!copy) {
                failed(place, "out of memory");
                return;
            }
            printNode(copy.get());
            return;
        }
        case CommandLineC::CommandE::Eval: {
            std::u16string reason;
            PointerTC<AlgebraicExpressionC> result = expression->execute(options.strict, &reason);
            if (!result) {
                failed(place, (options.strict ? "not a number: " : "cannot evaluate: ") + utf8(reason));
                return;
            }
            printNode(result->getNode());
            return;
        }
        default:
            printNode(expression->getNode());
            return;
    }
}

void ToolC::printNode(NodeABC* node) {
    std::string& out = output.text();
    Utf8C::append(printer.getExpressionString(node, options.digits, options.number_format), out);
    out += '\n';
}

// The input's output line stays empty; the message goes out after the lines
// before it, so that both streams read in order on one terminal.
void ToolC::failed(PlaceS place, const std::string& message) {
    ++failures;
    if (oneLinePerInput()) {
        output.text() += '\n';
    }
    output.flush();
    std::fprintf(stderr, "algexpr: %s %zu: %s\n", place.kind, place.number, message.c_str());
}

}  // namespace qorv::math::algexpr::cli
