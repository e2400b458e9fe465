// SPDX-License-Identifier: MIT
#include "CommandLineC.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <utility>

#include "ResourceLimitsC.h"

namespace qorv::math::algexpr::cli {

namespace {

// ---- Option values -------------------------------------------------------

bool parseUnsigned(const std::string& text, unsigned long& value) {
    if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    errno = 0;
    const unsigned long long parsed = std::strtoull(text.c_str(), nullptr, 10);
    if (errno != 0 || parsed > ULONG_MAX) {
        return false;
    }
    value = static_cast<unsigned long>(parsed);
    return true;
}

bool parseCode(const std::string& text, int& value) {
    const bool negative = !text.empty() && text[0] == '-';
    unsigned long magnitude = 0;
    if (!parseUnsigned(negative ? text.substr(1) : text, magnitude) ||
        magnitude > (negative ? static_cast<unsigned long>(INT_MAX) + 1 : static_cast<unsigned long>(INT_MAX))) {
        return false;
    }
    value = negative ? static_cast<int>(-static_cast<long long>(magnitude)) : static_cast<int>(magnitude);
    return true;
}

// Option values that name something are read without regard to case.
std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool readFloatFormat(const std::string& value, qorv::math::NumberDisplayFormatE& format) {
    const std::string f = lower(value);
    const struct {
        const char* name;
        qorv::math::NumberDisplayFormatE format;
    } kForms[] = {{"standard", qorv::math::Standard},
                  {"fixed", qorv::math::Fixed},
                  {"scientific", qorv::math::Scientific},
                  {"engineering", qorv::math::Engineering}};
    for (const auto& form : kForms) {
        if (f == form.name) {
            format = form.format;
            return true;
        }
    }
    return false;
}

// ---- The commands --------------------------------------------------------

// A set of commands, one bit per CommandE.
using CommandMask = unsigned int;
constexpr CommandMask bit(CommandE command) { return 1u << static_cast<unsigned int>(command); }
constexpr CommandMask kAnyCommand = ~0u;

// Takes the command's operands from the front of `words`; false with `error`
// when they are missing.
using TakeOperandsF = bool (*)(CommandLineC& line, std::vector<std::string>& words, std::string& error);

struct CommandRow {
    const char* name;
    CommandE command;
    TakeOperandsF take_operands;  // null: the command has no operands
};

// subst NAME REPLACEMENT, or subst --code N REPLACEMENT.
bool takeSubstOperands(CommandLineC& line, std::vector<std::string>& words, std::string& error) {
    const std::size_t needed = line.subst_by_code ? 1 : 2;
    if (words.size() < needed) {
        error = line.subst_by_code ? "subst --code N needs a REPLACEMENT" : "subst needs a NAME and a REPLACEMENT";
        return false;
    }
    if (!line.subst_by_code) {
        line.subst_name = words[0];
    }
    line.replacement = words[needed - 1];
    words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(needed));
    return true;
}

// diff VAR
bool takeDiffOperands(CommandLineC& line, std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = "diff needs a VAR";
        return false;
    }
    line.variable = words[0];
    words.erase(words.begin());
    return true;
}

// series VAR POINT ORDER
bool takeSeriesOperands(CommandLineC& line, std::vector<std::string>& words, std::string& error) {
    if (words.size() < 3) {
        error = "series needs a VAR, a POINT and an ORDER";
        return false;
    }
    const unsigned long most = line.engine->figures().max_series_order;
    if (!parseUnsigned(words[2], line.series_order) || line.series_order < 1 || line.series_order > most) {
        error = "series ORDER takes a whole number from 1 to " + std::to_string(most) + ", not '" + words[2] + "'";
        return false;
    }
    line.variable = words[0];
    line.point = words[1];
    words.erase(words.begin(), words.begin() + 3);
    return true;
}

// limit VAR POINT
bool takeLimitOperands(CommandLineC& line, std::vector<std::string>& words, std::string& error) {
    if (words.size() < 2) {
        error = "limit needs a VAR and a POINT";
        return false;
    }
    line.variable = words[0];
    line.point = words[1];
    words.erase(words.begin(), words.begin() + 2);
    return true;
}

// integrate VAR, solve VAR, apart VAR
bool takeVariable(CommandLineC& line, std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = (line.command == CommandE::Solve   ? "solve"
                 : line.command == CommandE::Apart ? "apart"
                                                   : "integrate") +
                std::string(" needs a VAR");
        return false;
    }
    line.variable = words[0];
    words.erase(words.begin());
    return true;
}

// match PATTERN
bool takeMatchOperands(CommandLineC& line, std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = "match needs a PATTERN";
        return false;
    }
    line.pattern = words[0];
    words.erase(words.begin());
    return true;
}

// rewrite and check take no operands but need their file.
bool needRules(CommandLineC& line, std::vector<std::string>&, std::string& error) {
    error = line.rules_file.empty() ? "rewrite needs --rules FILE" : "";
    return error.empty();
}

bool needForms(CommandLineC& line, std::vector<std::string>&, std::string& error) {
    error = line.accept_file.empty() ? "check needs --accept FILE" : "";
    return error.empty();
}

const CommandRow kCommands[] = {
    {"print", CommandE::Print, nullptr},
    {"tree", CommandE::Tree, nullptr},
    {"subst", CommandE::Subst, takeSubstOperands},
    {"eval", CommandE::Eval, nullptr},
    {"simplify", CommandE::Simplify, nullptr},
    {"expand", CommandE::Expand, nullptr},
    {"factor", CommandE::Factor, nullptr},
    {"diff", CommandE::Diff, takeDiffOperands},
    {"series", CommandE::Series, takeSeriesOperands},
    {"integrate", CommandE::Integrate, takeVariable},
    {"limit", CommandE::Limit, takeLimitOperands},
    {"solve", CommandE::Solve, takeVariable},
    {"match", CommandE::Match, takeMatchOperands},
    {"rewrite", CommandE::Rewrite, needRules},
    {"check", CommandE::Check, needForms},
    {"apart", CommandE::Apart, takeVariable},
};

// The commands that write expressions (--to), and the operations (each
// offered by the engines whose vocabulary computes its name).
constexpr CommandMask kOperations = bit(CommandE::Simplify) | bit(CommandE::Expand) | bit(CommandE::Factor) |
                                    bit(CommandE::Diff) | bit(CommandE::Series) | bit(CommandE::Integrate) |
                                    bit(CommandE::Limit) | bit(CommandE::Solve) | bit(CommandE::Apart);
constexpr CommandMask kWriting = bit(CommandE::Print) | bit(CommandE::Subst) | bit(CommandE::Eval) | kOperations |
                                  bit(CommandE::Match) | bit(CommandE::Rewrite);
constexpr CommandMask kEvaluating = bit(CommandE::Eval) | kOperations;

const CommandRow* commandNamed(const std::string& name) {
    for (const CommandRow& row : kCommands) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

// "the eval command", "the print and eval commands"
std::string describeCommands(CommandMask commands) {
    std::vector<std::string> names;
    for (const CommandRow& row : kCommands) {
        if ((commands & bit(row.command)) != 0) {
            names.push_back(row.name);
        }
    }
    std::string text = "the ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text + (names.size() == 1 ? " command" : " commands");
}

// ---- The options ---------------------------------------------------------

// Applies an option's value (empty for options without one); false with
// `error` when the value is not one the option takes.
using ApplyF = bool (*)(CommandLineC& line, const std::string& value, std::string& error);

struct OptionRow {
    const char* name;
    bool takes_value;
    CommandMask commands;  // the commands it is for
    ApplyF apply;
};

bool setHelp(CommandLineC& line, const std::string&, std::string&) {
    line.want_help = true;
    return true;
}

bool setVersion(CommandLineC& line, const std::string&, std::string&) {
    line.want_version = true;
    return true;
}

bool setEngine(CommandLineC& line, const std::string& value, std::string& error) {
    const EngineEntryABC* entry = EngineRegistryC::named(lower(value));
    if (entry == nullptr) {
        error = "--engine takes " + EngineRegistryC::builtNames() + ", not '" + value + "'";
        return false;
    }
    if (entry->missing() != nullptr) {
        error = "--engine " + std::string(entry->name()) + ": " + entry->missing();
        return false;
    }
    line.engine = entry;
    return true;
}

// --real x,y: names separated by commas, each once or more.
bool setReal(CommandLineC& line, const std::string& value, std::string& error) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        const std::string name = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (name.empty()) {
            error = "--real takes symbol names separated by commas, such as x,y, not '" + value + "'";
            return false;
        }
        line.real_symbols.push_back(name);
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

// --assume 'x>0,n integer': facts separated by commas, each a name and
// > 0, >= 0, < 0, != 0 or a word (blanks around them do not count).
bool setAssume(CommandLineC& line, const std::string& value, std::string& error) {
    using KindE = SymbolAssumptionS::KindE;
    static const std::pair<const char*, KindE> kForms[] = {
        {">=0", KindE::NonNegative}, {">0", KindE::Positive},      {"<0", KindE::Negative},
        {"!=0", KindE::NonZero},     {" real", KindE::Real},       {" integer", KindE::Integer},
        {" positive", KindE::Positive}, {" negative", KindE::Negative}, {" nonnegative", KindE::NonNegative},
        {" nonzero", KindE::NonZero}};
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        std::string item = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        // Blanks dropped around the operators and the name; one kept before a word.
        std::string squeezed;
        for (const char c : item) {
            const bool blank = c == ' ' || c == '\t';
            if (!blank) {
                squeezed += c;
            } else if (!squeezed.empty() && squeezed.back() != ' ') {
                squeezed += ' ';
            }
        }
        while (!squeezed.empty() && squeezed.back() == ' ') {
            squeezed.pop_back();
        }
        for (const char* op : {" >", " <", " !", "> ", "< ", "= "}) {
            for (std::size_t at = squeezed.find(op); at != std::string::npos; at = squeezed.find(op)) {
                squeezed.erase(op[0] == ' ' ? at : at + 1, 1);
            }
        }
        bool read = false;
        for (const auto& form : kForms) {
            const std::string tail = form.first;
            if (squeezed.size() > tail.size() && squeezed.compare(squeezed.size() - tail.size(), tail.size(), tail) == 0) {
                const std::string name = squeezed.substr(0, squeezed.size() - tail.size());
                read = name.find_first_of(" <>=!") == std::string::npos;
                if (read) {
                    line.assumptions.emplace_back(name, form.second);
                }
                break;
            }
        }
        if (!read) {
            error = "--assume takes NAME>0, NAME>=0, NAME<0, NAME!=0 or NAME real|integer|positive|negative|"
                    "nonnegative|nonzero, separated by commas, not '" + value + "'";
            return false;
        }
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

bool setCoreNames(CommandLineC& line, const std::string& value, std::string&) {
    line.has_core_names = true;
    line.core_names_file = value;
    return true;
}

// --from prefix|infix, --to prefix|infix|latex
bool readNotation(const std::string& value, bool latex_too, NotationE& notation) {
    const std::string n = lower(value);
    if (n == "prefix" || n == "infix" || (latex_too && n == "latex")) {
        notation = n == "prefix" ? NotationE::Prefix : n == "infix" ? NotationE::Infix : NotationE::Latex;
        return true;
    }
    return false;
}

bool setFrom(CommandLineC& line, const std::string& value, std::string& error) {
    if (!readNotation(value, false, line.from)) {
        error = lower(value) == "latex" ? std::string("--from takes prefix or infix: LaTeX is written, not read")
                                        : "--from takes prefix or infix, not '" + value + "'";
        return false;
    }
    return true;
}

bool setTo(CommandLineC& line, const std::string& value, std::string& error) {
    if (!readNotation(value, true, line.to)) {
        error = "--to takes prefix, infix or latex, not '" + value + "'";
        return false;
    }
    return true;
}

bool setLax(CommandLineC& line, const std::string&, std::string&) {
    line.lax = true;
    return true;
}

bool setDigits(CommandLineC& line, const std::string& value, std::string& error) {
    if (!parseUnsigned(value, line.digits)) {
        error = "--digits takes a whole number >= 0, not '" + value + "'";
        return false;
    }
    line.has_digits = true;
    return true;
}

bool setFloatFormat(CommandLineC& line, const std::string& value, std::string& error) {
    if (!readFloatFormat(value, line.float_format)) {
        error = "--float-format takes standard, fixed, scientific or engineering, not '" + value + "'";
        return false;
    }
    return true;
}

// The tree's form. A float form here is a mistake that once was right:
// --format used to mean both.
bool setTreeFormat(CommandLineC& line, const std::string& value, std::string& error) {
    const std::string f = lower(value);
    if (f == "text" || f == "json" || f == "dot") {
        line.tree_format = f == "text"   ? TreeWriterC::FormatE::Text
                           : f == "json" ? TreeWriterC::FormatE::Json
                                         : TreeWriterC::FormatE::Dot;
        return true;
    }
    qorv::math::NumberDisplayFormatE unused = qorv::math::Standard;
    if (readFloatFormat(value, unused)) {
        error = "--format is the tree's form (text, json or dot); for the float form write --float-format " + value;
    } else {
        error = "--format takes text, json or dot, not '" + value + "'";
    }
    return false;
}

bool setStrict(CommandLineC& line, const std::string&, std::string&) {
    line.strict = true;
    return true;
}

bool setNumeric(CommandLineC& line, const std::string&, std::string&) {
    line.numeric = true;
    return true;
}

bool setOrder(CommandLineC& line, const std::string& value, std::string& error) {
    const unsigned long most = EngineRegistryC::largestFigures().max_diff_order;
    if (!parseUnsigned(value, line.diff_order) || line.diff_order > most) {
        error = "--order takes a whole number from 0 to " + std::to_string(most) + ", not '" + value + "'";
        return false;
    }
    return true;
}

bool setCode(CommandLineC& line, const std::string& value, std::string& error) {
    if (!parseCode(value, line.subst_code)) {
        error = "--code takes a whole number, not '" + value + "'";
        return false;
    }
    line.subst_by_code = true;
    return true;
}

bool setLower(CommandLineC& line, const std::string& value, std::string&) {
    line.lower = value;
    return true;
}

bool setUpper(CommandLineC& line, const std::string& value, std::string&) {
    line.upper = value;
    return true;
}

bool setSide(CommandLineC& line, const std::string& value, std::string& error) {
    const std::string side = lower(value);
    if (side != "above" && side != "below") {
        error = "--side takes above or below, not '" + value + "'";
        return false;
    }
    line.side = side == "above" ? 1 : -1;
    return true;
}

// --timeout SECONDS, --max-memory SIZE (see ResourceLimitsC), --in-process
bool setTimeout(CommandLineC& line, const std::string& value, std::string& error) {
    if (!ResourceLimitsC::parseSeconds(value, line.timeout_ms)) {
        error = "--timeout takes seconds (such as 10 or 0.5, 0 for none), not '" + value + "'";
        return false;
    }
    line.has_timeout = true;
    return true;
}

bool setMaxMemory(CommandLineC& line, const std::string& value, std::string& error) {
    if (!ResourceLimitsC::parseSize(value, line.max_memory) ||
        (line.max_memory != 0 && line.max_memory < ResourceLimitsC::kMinMemory)) {
        error = "--max-memory takes a size from 1M up (such as 512M or 2G, 0 for none), not '" + value + "'";
        return false;
    }
    line.has_max_memory = true;
    return true;
}

bool setDropOrder(CommandLineC& line, const std::string&, std::string&) {
    line.drop_order = true;
    return true;
}

bool setInProcess(CommandLineC& line, const std::string&, std::string&) {
    line.in_process = true;
    return true;
}

bool setNoCheck(CommandLineC& line, const std::string&, std::string&) {
    line.check_answers = false;
    return true;
}

bool setRefuseUnchecked(CommandLineC& line, const std::string&, std::string&) {
    line.refuse_unchecked = true;
    return true;
}

bool setComplex(CommandLineC& line, const std::string&, std::string&) {
    line.complex_solutions = true;
    return true;
}

bool setRules(CommandLineC& line, const std::string& value, std::string&) {
    line.rules_file = value;
    return true;
}

bool setSteps(CommandLineC& line, const std::string& value, std::string& error) {
    unsigned long steps = 0;
    if (!parseUnsigned(value, steps)) {
        error = "--steps takes a whole number >= 0, not '" + value + "'";
        return false;
    }
    line.steps = steps;
    return true;
}

bool setAccept(CommandLineC& line, const std::string& value, std::string&) {
    line.accept_file = value;
    return true;
}

bool setRewriteEval(CommandLineC& line, const std::string&, std::string&) {
    line.rewrite_eval = true;
    return true;
}

bool setEditing(CommandLineC& line, const std::string&, std::string&) {
    line.editing = true;
    return true;
}

const OptionRow kOptions[] = {
    {"--help", false, kAnyCommand, setHelp},
    {"-h", false, kAnyCommand, setHelp},
    {"--version", false, kAnyCommand, setVersion},
    {"--engine", true, kAnyCommand, setEngine},
    {"--core-names", true, kAnyCommand, setCoreNames},
    {"--real", true, kAnyCommand, setReal},
    {"--assume", true, kAnyCommand, setAssume},
    {"--from", true, kAnyCommand, setFrom},
    {"--to", true, kWriting, setTo},
    {"--lax", false, kAnyCommand, setLax},
    {"--digits", true, kAnyCommand, setDigits},
    {"--float-format", true, kAnyCommand, setFloatFormat},
    {"--format", true, bit(CommandE::Tree), setTreeFormat},
    {"--strict", false, bit(CommandE::Eval), setStrict},
    {"--numeric", false, bit(CommandE::Eval), setNumeric},
    {"--order", true, bit(CommandE::Diff), setOrder},
    {"--drop-order", false, bit(CommandE::Series), setDropOrder},
    {"--code", true, bit(CommandE::Subst), setCode},
    {"--lower", true, bit(CommandE::Integrate), setLower},
    {"--upper", true, bit(CommandE::Integrate), setUpper},
    {"--side", true, bit(CommandE::Limit), setSide},
    {"--timeout", true, kEvaluating, setTimeout},
    {"--max-memory", true, kEvaluating, setMaxMemory},
    {"--in-process", false, kEvaluating, setInProcess},
    {"--no-check", false, kEvaluating, setNoCheck},
    {"--refuse-unchecked", false, kEvaluating, setRefuseUnchecked},
    {"--rules", true, bit(CommandE::Rewrite), setRules},
    {"--steps", true, bit(CommandE::Rewrite), setSteps},
    {"--accept", true, bit(CommandE::Check), setAccept},
    {"--editing", false, bit(CommandE::Check), setEditing},
    {"--eval", false, bit(CommandE::Rewrite), setRewriteEval},
    {"--complex", false, kEvaluating, setComplex},
};

const OptionRow* optionNamed(const std::string& name) {
    for (const OptionRow& row : kOptions) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

// ---- The steps of CommandLineC::parse --------------------------------------

struct GivenOption {
    const OptionRow* row;
    std::string value;
};

bool isOption(const std::string& argument) {
    return argument.size() >= 2 && argument[0] == '-' && (argument[1] == '-' || argument == "-h");
}

// Sorts argv into options, each with its value ("--name value" or
// "--name=value"), and words, in order.
bool splitArguments(int argc, const char* const* argv, std::vector<GivenOption>& options,
                    std::vector<std::string>& words, std::string& error) {
    bool options_done = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (options_done || !isOption(argument)) {
            words.push_back(argument);
            continue;
        }
        if (argument == "--") {
            options_done = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionRow* row = optionNamed(name);
        if (row == nullptr) {
            error = "unknown option " + name;
            return false;
        }
        GivenOption given{row, std::string()};
        if (equals != std::string::npos) {
            if (!row->takes_value) {
                error = "option " + name + " takes no value";
                return false;
            }
            given.value = argument.substr(equals + 1);
        } else if (row->takes_value) {
            if (i + 1 >= argc) {
                error = "option " + name + " needs a value";
                return false;
            }
            given.value = argv[++i];
        }
        options.push_back(std::move(given));
    }
    return true;
}

bool applyOptions(CommandLineC& line, const std::vector<GivenOption>& options, std::string& error) {
    for (const GivenOption& given : options) {
        if (!given.row->apply(line, given.value, error)) {
            return false;
        }
    }
    if (line.in_process && (line.has_timeout || line.has_max_memory)) {
        error = std::string(line.has_timeout ? "--timeout" : "--max-memory") +
                " is enforced by a worker process, which --in-process does without";
        return false;
    }
    if (line.lax && line.from != NotationE::Prefix) {
        error = "--lax is for prefix reading: infix is read one way only";
        return false;
    }
    return true;
}

// The first word names the command. With --help or --version any word may
// stand there: "algexpr --help frobnicate" shows the tool's help.
bool takeCommand(CommandLineC& line, std::vector<std::string>& words, std::string& error) {
    if (!words.empty()) {
        const CommandRow* row = commandNamed(words.front());
        if (row != nullptr) {
            line.command = row->command;
        } else if (!line.want_help && !line.want_version) {
            error = "unknown command '" + words.front() + "'";
            return false;
        }
        words.erase(words.begin());
    }
    if (line.command == CommandE::None && !line.want_help && !line.want_version) {
        error = "no command given";
        return false;
    }
    return true;
}

bool checkOptionsFit(CommandE command, const std::vector<GivenOption>& options, std::string& error) {
    for (const GivenOption& given : options) {
        if ((given.row->commands & bit(command)) == 0) {
            error = std::string(given.row->name) + " is for " + describeCommands(given.row->commands);
            return false;
        }
    }
    return true;
}

// Which engines offer an operation the chosen one does not, and how to get
// one: leave out --engine when the default offers it, add --engine NAME for
// another one built, or install the first that offers it.
std::string otherEngine(const CommandLineC& line) {
    std::vector<const EngineEntryABC*> offering;
    for (const EngineEntryABC* entry : EngineRegistryC::all()) {
        if (entry->offers(line.command)) {
            offering.push_back(entry);
        }
    }
    std::string text = " needs";
    for (std::size_t i = 0; i < offering.size(); ++i) {
        text += std::string(i == 0 ? " the " : " or the ") + offering[i]->title();
    }
    text += " engine";
    const EngineEntryABC& first = EngineRegistryC::defaultEngine();
    if (first.offers(line.command)) {
        return text + ": leave out --engine " + line.engine->name();
    }
    for (const EngineEntryABC* entry : offering) {
        if (entry->missing() == nullptr) {
            return text + ": add --engine " + entry->name();
        }
    }
    return offering.empty() ? text : text + ": " + offering.front()->missing();
}

// What the engine chosen can do (its operations, --real), and the precision
// of an engine that computes floats at --digits.
bool checkEngine(const CommandLineC& line, std::string& error) {
    const EngineEntryABC& engine = *line.engine;
    if ((kOperations & bit(line.command)) != 0 && !engine.offers(line.command)) {
        for (const CommandRow& row : kCommands) {
            if (row.command == line.command) {
                error = std::string(row.name) + otherEngine(line);
            }
        }
        return false;
    }
    if (line.lower.empty() != line.upper.empty()) {
        error = "integrate takes --lower and --upper together";
        return false;
    }
    if (engine.realSymbolsRefusal() != nullptr && !line.real_symbols.empty()) {
        error = std::string("--real does not suit the ") + engine.title() + " engine: " + engine.realSymbolsRefusal();
        return false;
    }
    if (engine.realSymbolsRefusal() != nullptr && !line.assumptions.empty()) {
        error = std::string("--assume does not suit the ") + engine.title() + " engine: " + engine.realSymbolsRefusal();
        return false;
    }
    const unsigned long max_digits = engine.figures().max_digits;
    if (max_digits != 0 && line.digits > max_digits) {
        error = "--digits takes at most " + std::to_string(max_digits) + " with the " + engine.title() +
                " engine (the most digits it computes floats with), not " + std::to_string(line.digits);
        return false;
    }
    if (max_digits != 0 && line.numeric && line.has_digits && line.digits == 0) {
        error = "--digits with --numeric takes 1 to " + std::to_string(max_digits) + ", not 0";
        return false;
    }
    if (max_digits != 0 && line.numeric && line.float_format == qorv::math::Fixed) {
        error = "--numeric writes --digits significant digits: --float-format takes standard, scientific or "
                "engineering with it";
        return false;
    }
    return true;
}

// The command's operands, then the expressions.
bool takeOperands(CommandLineC& line, std::vector<std::string>& words, std::string& error) {
    for (const CommandRow& row : kCommands) {
        if (row.command == line.command && row.take_operands != nullptr && !row.take_operands(line, words, error)) {
            return false;
        }
    }
    line.expressions = std::move(words);
    return true;
}

}  // namespace

bool CommandLineC::parse(int argc, const char* const* argv) {
    std::vector<GivenOption> options;
    std::vector<std::string> words;
    if (!splitArguments(argc, argv, options, words, error_text) || !applyOptions(*this, options, error_text) ||
        !takeCommand(*this, words, error_text)) {
        return false;
    }
    if (want_help || want_version) {
        return true;
    }
    return checkOptionsFit(command, options, error_text) && checkEngine(*this, error_text) &&
           takeOperands(*this, words, error_text);
}

bool CommandLineC::evaluates() const {
    return (kEvaluating & bit(command)) != 0 || (command == CommandE::Rewrite && rewrite_eval);
}

std::uint64_t CommandLineC::memoryLimit() const {
    return has_max_memory ? max_memory : ResourceLimitsC::defaultMaxMemory();
}

unsigned long CommandLineC::precision() const { return digits != 0 ? digits : engine->figures().default_digits; }

unsigned long CommandLineC::writtenDigits() const {
    const EngineEntryABC::FiguresS figures = engine->figures();
    if (figures.max_digits != 0 && numeric && command == CommandE::Eval) {
        return precision();
    }
    // A double holds 17 significant digits; more would write its binary
    // value's decimals, which are no digits of the number it stands for.
    const bool doubles = figures.default_digits == 0 && !(numeric && figures.numeric_digits);
    return doubles && float_format != qorv::math::Fixed && digits > kDoubleDigits ? kDoubleDigits : digits;
}

}  // namespace qorv::math::algexpr::cli
