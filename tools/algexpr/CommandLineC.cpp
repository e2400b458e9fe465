#include "CommandLineC.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace qorv::math::algexpr::cli {

namespace {

const char kToolHelp[] =
    "Usage: algexpr [OPTION...] COMMAND [ARG...]\n"
    "Reads algebraic expressions in prefix form, such as plus(times(2,x),sin(pi)),\n"
    "and prints, shows, substitutes or evaluates them.\n"
    "\n"
    "Commands:\n"
    "  print [EXPR...]                     read and print each expression\n"
    "  tree [--format text|json|dot] [EXPR...]\n"
    "                                      show each expression's tree\n"
    "  subst NAME REPLACEMENT [EXPR...]    replace the symbol NAME\n"
    "  subst --code N REPLACEMENT [EXPR...]\n"
    "                                      replace the core symbol with code N\n"
    "  eval [--strict] [EXPR...]           evaluate each expression\n"
    "\n"
    "Every command reads its EXPR arguments or, when there are none, one\n"
    "expression per line of standard input, and writes one line for each: a\n"
    "blank input line gives a blank line, and a line that cannot be read gives\n"
    "an empty line and a message on standard error naming its line number.\n"
    "(tree --format text and dot write a block per expression instead.)\n"
    "Text in and out is UTF-8.\n"
    "\n"
    "Options:\n"
    "  --core-names FILE   core vocabulary, one name a line (blank lines and\n"
    "                      lines starting with # skipped), instead of the\n"
    "                      built-in one: plus minus times divide power neg sin\n"
    "                      cos tan exp log sqrt abs pi e\n"
    "  --digits N          float digits: 0 (default) for the shortest text that\n"
    "                      reads back exactly; else significant digits, or\n"
    "                      digits after the point with --format fixed\n"
    "  --format F          float form: standard (default), fixed, scientific\n"
    "                      or engineering; tree also takes text, json, dot\n"
    "  -h, --help          this help; COMMAND --help for a command's\n"
    "  --version           the version\n"
    "\n"
    "Exit status: 0 when every line was handled, 1 when some line failed or\n"
    "the output could not be written, 2 for a usage error.\n"
    "\n"
    "Example: algexpr subst x 0.5 < exprs.txt | algexpr eval\n";

const char kPrintHelp[] =
    "Usage: algexpr print [--digits N] [--format F] [EXPR...]\n"
    "Reads each expression and prints it back in prefix form, without spaces:\n"
    "  algexpr print 'plus( 1 , times(2,x) )'   ->  plus(1,times(2,x))\n"
    "Floats are printed with --digits and --format (see algexpr --help).\n";

const char kTreeHelp[] =
    "Usage: algexpr tree [--format text|json|dot] [--digits N] [--format F] [EXPR...]\n"
    "Shows each expression's tree.\n"
    "  text  (default) one node a line: depth, kind, name or value, and the\n"
    "        code of core nodes; a blank line between two expressions\n"
    "  json  one JSON object per input line, nested through \"children\";\n"
    "        number values are strings\n"
    "  dot   one Graphviz digraph per expression:\n"
    "          algexpr tree --format dot 'f(x,2)' | dot -Tpng -o tree.png\n"
    "Kinds: core-function, function, core-symbol, symbol, integer, float.\n"
    "With text and dot, blank input lines and lines that do not read give no\n"
    "block.\n";

const char kSubstHelp[] =
    "Usage: algexpr subst NAME REPLACEMENT [EXPR...]\n"
    "       algexpr subst --code N REPLACEMENT [EXPR...]\n"
    "Prints each expression with every symbol NAME replaced by the expression\n"
    "REPLACEMENT. When NAME is a core name (such as pi), the core symbol of\n"
    "that name is replaced. With --code, the core symbols of code N are.\n"
    "Function names are never replaced, only their arguments are searched.\n"
    "  algexpr subst x 'plus(y,1)' 'times(x,x)'  ->  times(plus(y,1),plus(y,1))\n";

const char kEvalHelp[] =
    "Usage: algexpr eval [--strict] [--digits N] [--format F] [EXPR...]\n"
    "Evaluates each expression with the reference numeric engine and prints\n"
    "the result: plus, minus, times, divide, power, neg, sin, cos, tan, exp,\n"
    "log, sqrt, abs, and the constants pi and e. Integers stay exact while\n"
    "they fit in 64 bits; anything else becomes a float.\n"
    "What cannot be evaluated (free symbols, unknown functions, division by\n"
    "zero, results that are not real numbers) is left in place, with the\n"
    "rest folded:  algexpr eval 'plus(x,times(2,3))'  ->  plus(x,6)\n"
    "  --strict  a result that is not a single number is an error: an empty\n"
    "            line, the reason on standard error, exit status 1\n";

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

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

}  // namespace

const char* CommandLineC::help(CommandE command) {
    switch (command) {
        case CommandE::Print:
            return kPrintHelp;
        case CommandE::Tree:
            return kTreeHelp;
        case CommandE::Subst:
            return kSubstHelp;
        case CommandE::Eval:
            return kEvalHelp;
        default:
            return kToolHelp;
    }
}

bool CommandLineC::fail(const std::string& text) {
    error_text = text;
    return false;
}

bool CommandLineC::parse(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    bool tree_format_given = false;
    bool options_done = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (options_done || argument.size() < 2 || argument[0] != '-' || (argument[1] != '-' && argument != "-h")) {
            arguments.push_back(argument);
            continue;
        }
        if (argument == "--") {
            options_done = true;
            continue;
        }
        // "--name value" or "--name=value"
        std::string name = argument;
        std::string value;
        bool has_value = false;
        const std::size_t equals = argument.find('=');
        if (equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            has_value = true;
        }
        const bool takes_value = name == "--core-names" || name == "--digits" || name == "--format" || name == "--code";
        if (takes_value && !has_value) {
            if (i + 1 >= argc) {
                return fail("option " + name + " needs a value");
            }
            value = argv[++i];
            has_value = true;
        } else if (!takes_value && has_value) {
            return fail("option " + name + " takes no value");
        }
        if (name == "--help" || name == "-h") {
            want_help = true;
        } else if (name == "--version") {
            want_version = true;
        } else if (name == "--strict") {
            strict = true;
        } else if (name == "--core-names") {
            has_core_names = true;
            core_names_file = value;
        } else if (name == "--digits") {
            if (!parseUnsigned(value, digits)) {
                return fail("--digits takes a whole number >= 0, not '" + value + "'");
            }
        } else if (name == "--code") {
            if (!parseCode(value, subst_code)) {
                return fail("--code takes a whole number, not '" + value + "'");
            }
            subst_by_code = true;
        } else if (name == "--format") {
            const std::string f = lower(value);
            if (f == "text" || f == "json" || f == "dot") {
                tree_format = f == "text"   ? TreeWriterC::FormatE::Text
                              : f == "json" ? TreeWriterC::FormatE::Json
                                            : TreeWriterC::FormatE::Dot;
                tree_format_given = true;
            } else if (f == "standard" || f == "fixed" || f == "scientific" || f == "engineering") {
                number_format = f == "standard"     ? qorv::math::Standard
                                : f == "fixed"      ? qorv::math::Fixed
                                : f == "scientific" ? qorv::math::Scientific
                                                    : qorv::math::Engineering;
            } else {
                return fail(
                    "--format takes standard, fixed, scientific or engineering (and text, json or dot for "
                    "tree), not '" +
                    value + "'");
            }
        } else {
            return fail("unknown option " + name);
        }
    }

    if (!arguments.empty()) {
        const std::string& word = arguments.front();
        if (word == "print") {
            command = CommandE::Print;
        } else if (word == "tree") {
            command = CommandE::Tree;
        } else if (word == "subst") {
            command = CommandE::Subst;
        } else if (word == "eval") {
            command = CommandE::Eval;
        } else if (!want_help && !want_version) {
            return fail("unknown command '" + word + "'");
        }
        arguments.erase(arguments.begin());
    }
    if (want_help || want_version) {
        return true;
    }
    if (command == CommandE::None) {
        return fail("no command given");
    }
    if (tree_format_given && command != CommandE::Tree) {
        return fail("--format text, json and dot are for the tree command");
    }
    if (strict && command != CommandE::Eval) {
        return fail("--strict is for the eval command");
    }
    if (subst_by_code && command != CommandE::Subst) {
        return fail("--code is for the subst command");
    }
    std::size_t first_expression = 0;
    if (command == CommandE::Subst) {
        const std::size_t needed = subst_by_code ? 1 : 2;
        if (arguments.size() < needed) {
            return fail(subst_by_code ? "subst --code N needs a REPLACEMENT" : "subst needs a NAME and a REPLACEMENT");
        }
        if (!subst_by_code) {
            subst_name = arguments[0];
        }
        replacement = arguments[needed - 1];
        first_expression = needed;
    }
    expressions.assign(arguments.begin() + static_cast<std::ptrdiff_t>(first_expression), arguments.end());
    return true;
}

}  // namespace qorv::math::algexpr::cli
