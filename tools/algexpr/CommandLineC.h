// SPDX-License-Identifier: MIT
// CommandLineC: the tool's command line, read into plain settings that the
// tool's parts read. Knows nothing of the library beyond the display format
// enum.
//
//   algexpr [OPTION...] COMMAND [OPTION...] [OPERAND...] [EXPR...]
//
// Options may stand anywhere before "--"; everything after "--" is a word, so
// an expression that starts with "--" can be given too. An argument "-5" is
// an expression, not an option. The first word is the command, then come the
// command's operands (subst's NAME and REPLACEMENT, diff's VAR, series' VAR,
// POINT and ORDER), then the expressions.
//
// Reading goes in steps, each a function in CommandLineC.cpp: split the
// options from the words, apply each option, take the command, check that
// every option given is one the command takes and that the engine has the
// command and the precision asked for, take the command's operands.
// Two tables there drive them: a new option is a row (its name, whether it
// takes a value, the commands it is for, and the function that applies it),
// and a new command is a row (its name and, when it has operands, the
// function that takes them).
#ifndef ALGEXPR_TOOL_COMMANDLINEC_H
#define ALGEXPR_TOOL_COMMANDLINEC_H

#include <cstdint>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "CommandE.h"
#include "EngineRegistryC.h"
#include "NotationE.h"
#include "ResourceLimitsC.h"
#include "TreeWriterC.h"
#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/SymbolAssumptionS.h"

namespace qorv::math::algexpr::cli {

class CommandLineC {
public:
    /// Reads argv. False on a usage error, described by error().
    bool parse(int argc, const char* const* argv);
    const std::string& error() const { return error_text; }

    // What the command line asks for. A command's help or the version needs
    // no operands, so with want_help or want_version the rest may be unset.
    bool want_help = false;     // --help, -h
    bool want_version = false;  // --version
    CommandE command = CommandE::None;

    // The session: its engine (--engine ginac|giac|numeric), and --core-names FILE
    // instead of the built-in vocabulary.
    const EngineEntryABC* engine = &EngineRegistryC::defaultEngine();
    bool has_core_names = false;
    std::string core_names_file;
    std::vector<std::string> real_symbols;  // --real x,y: symbols that are real (UTF-8); others are complex
    // --assume 'x>0,n integer' (repeatable): what symbols are (names UTF-8).
    std::vector<std::pair<std::string, SymbolAssumptionS::KindE>> assumptions;

    // How expressions are read and written.
    NotationE from = NotationE::Prefix;  // --from prefix|infix
    NotationE to = NotationE::Prefix;    // --to prefix|infix|latex
    bool lax = false;                    // --lax: prefix as the library reads it

    // How numbers and trees are written (and, with the GiNaC engine, the
    // precision it computes floats with: see precision()).
    bool has_digits = false;
    unsigned long digits = 0;                                              // --digits N
    qorv::math::NumberDisplayFormatE float_format = qorv::math::Standard;  // --float-format F
    TreeWriterC::FormatE tree_format = TreeWriterC::FormatE::Text;         // tree --format F

    // The commands' own options and operands.
    bool strict = false;         // eval --strict
    bool numeric = false;        // eval --numeric
    bool subst_by_code = false;  // subst --code N
    int subst_code = 0;
    std::string subst_name;          // subst NAME (UTF-8)
    std::string replacement;         // subst REPLACEMENT (UTF-8)
    std::string variable;            // diff, series, integrate, limit, solve VAR (UTF-8)
    unsigned long diff_order = 1;    // diff --order N
    std::string point;               // series POINT, limit POINT (UTF-8)
    std::string lower;               // integrate --lower A (UTF-8)
    std::string upper;               // integrate --upper B (UTF-8)
    int side = 0;                    // limit --side above|below: 1 or -1; 0: both
    unsigned long series_order = 0;  // series ORDER
    bool drop_order = false;         // series --drop-order

    // Patterns: match PATTERN, rewrite --rules FILE [--steps N], check
    // --accept FILE [--editing].
    std::string pattern;           // match PATTERN (UTF-8)
    std::string rules_file;        // rewrite --rules FILE
    std::size_t steps = 10000;     // rewrite --steps N
    bool rewrite_eval = false;     // rewrite --eval
    std::string accept_file;       // check --accept FILE
    bool editing = false;          // check --editing

    std::vector<std::string> expressions;  // the EXPR arguments (UTF-8)

    // The limits on each evaluation, which the worker process that evaluates
    // is held to (see ResourceLimitsC and SupervisorC), or none of it.
    bool has_timeout = false;
    std::uint64_t timeout_ms = ResourceLimitsC::kDefaultTimeoutMs;  // --timeout SECONDS; 0: none
    bool has_max_memory = false;
    std::uint64_t max_memory = 0;  // --max-memory SIZE; 0: none
    bool in_process = false;       // --in-process: no worker, no limits

    // The check of the engines' answers (integrate, simplify, expand,
    // factor, apart, solve, nintegrate) at seeded points before they are written.
    bool check_answers = true;      // --no-check turns it off
    bool refuse_unchecked = false;  // --refuse-unchecked: an answer no point could check fails its line
    bool complex_solutions = false; // --complex: solve gives complex solutions too

    /// Whether the command evaluates: eval, the operations, rewrite --eval.
    bool evaluates() const;
    /// The memory cap on each evaluation: --max-memory when given, else
    /// ResourceLimitsC::defaultMaxMemory(); 0 for none.
    std::uint64_t memoryLimit() const;

    /// The significant digits an engine with a precision computes floats
    /// with: --digits N when given and not 0, else its default.
    unsigned long precision() const;
    /// The digits floats are written with: for eval --numeric with an engine
    /// that has a precision, exactly precision() significant digits;
    /// otherwise --digits (0 for all that a float holds, the shortest text
    /// that reads back).
    unsigned long writtenDigits() const;
    /// The significant digits of a double: where the engine's floats are
    /// doubles, writtenDigits() is at most this (but with --float-format
    /// fixed, whose digits are after the point).
    static constexpr unsigned long kDoubleDigits = 17;

private:
    std::string error_text;
};

}  // namespace qorv::math::algexpr::cli

#endif
