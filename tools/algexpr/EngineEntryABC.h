// SPDX-License-Identifier: MIT
// EngineEntryABC: what the tool knows of an engine, asked of the engine's
// entry in EngineRegistryC instead of by name: what it is called, what it
// offers (from the engines' one vocabulary table), its figures, how to make
// and install its session, and where its work runs. An engine the tool was
// built without has an entry too, which says what to install (missing()).
// Entries are static objects of the registry; nothing here owns anything.
#ifndef ALGEXPR_TOOL_ENGINEENTRYABC_H
#define ALGEXPR_TOOL_ENGINEENTRYABC_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "CommandE.h"
#include "OutcomeS.h"
#include "VocabularyTC.h"
#include "algexpr/SymbolAssumptionS.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {
class AlgebraicExpressionC;
class CASSessionBC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::cli {

class CommandLineC;

class EngineEntryABC {
public:
    /// The engine's numbers that the command line checks and the help states.
    struct FiguresS {
        unsigned long default_digits = 0;  // float digits computed when --digits is 0; 0: floats are doubles
        unsigned long max_digits = 0;      // the most --digits may ask for as precision; 0: no precision
        unsigned long max_diff_order = 0;  // diff --order
        unsigned long max_series_order = 0;
        bool numeric_digits = false;       // with --numeric, floats of any --digits (where floats are doubles)
    };

    virtual ~EngineEntryABC() = default;

    /// The name --engine takes: "ginac".
    virtual const char* name() const = 0;
    /// The name people know it by, for messages: "GiNaC".
    virtual const char* title() const = 0;
    /// Null when the tool was built with the engine; otherwise why not and
    /// what to install.
    virtual const char* missing() const { return nullptr; }
    /// Its column of the vocabulary table.
    virtual support::EngineColumnE column() const = 0;

    /// Whether the engine computes the vocabulary's name of `command` (the
    /// operations: simplify, expand, ...). False for other commands.
    bool offers(CommandE command) const;

    virtual FiguresS figures() const { return FiguresS(); }
    /// The figures the help names as @NAME@ (GiNaC's limits), with values.
    virtual std::vector<std::pair<const char*, unsigned long long>> helpFigures() const { return {}; }
    /// The engine's lines under "Engines (--engine):" in the help.
    virtual std::string helpLines() const = 0;
    /// Its line of --version after the name: "GiNaC 1.8.6 (CLN 1.3.6): ...".
    virtual std::string versionLine() const = 0;

    /// Eval without --strict or --numeric gives the exact result, and not a
    /// number only.
    virtual bool exact() const { return true; }
    /// Evaluations go to a worker process that the tool supervises (the
    /// engine's work does not grow with its input alone).
    virtual bool supervised() const { return true; }
    /// Null when --real and --assume suit the engine, else why not.
    virtual const char* realSymbolsRefusal() const { return nullptr; }
    /// Whether the engine takes every symbol to be real: an answer it
    /// checked may not hold where another engine's symbols are complex.
    virtual bool realSymbols() const { return false; }

    /// The built-in vocabulary, in a session's list format.
    virtual const char16_t* const* builtinCoreNames() const;
    /// Makes the session with the vocabulary `core_names` and the options,
    /// and installs it as the library's current session. False with
    /// `problem` when an option does not suit it.
    virtual bool install(const CommandLineC& options, const char16_t* const* core_names, std::string& problem) const = 0;
    /// Makes the installed session ready to evaluate in a worker process,
    /// before its memory is capped (allocation failures turned into
    /// exceptions, limits that --timeout replaces raised).
    virtual void prepareWorker(const CommandLineC& options) const;
    /// Evaluates `expression` with the session install() made current: its
    /// outcome by kind. By default from execute's text channel (an empty
    /// reason beside a tree means a real number).
    virtual support::OutcomeS evaluate(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression,
                                       bool numeric) const;
    /// The outcome of execute(numeric) with the current session, from its
    /// text channel.
    static support::OutcomeS evaluateCurrent(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression,
                                             bool numeric);
    /// Evaluates `expression` exactly with a second session of the engine,
    /// never current, made on the first call with the settings of `options`
    /// and the vocabulary `core_names` (the current session's, so that codes
    /// agree), and made ready as prepareWorker() does when `worker` is true.
    /// Refused by default (an engine without a second session).
    virtual support::OutcomeS evaluateAside(const CommandLineC& options, const char16_t* const* core_names, bool worker,
                                            const qorv::oss::PointerTC<AlgebraicExpressionC>& expression) const;

    /// Runs work(context) on the engine's own thread and waits for it: true
    /// when it ran there. False for an engine without a thread of its own
    /// (the caller then runs it).
    virtual bool runBatch(void (*work)(void*), void* context) const;

protected:
    /// Installs `session` as the library's current session: false, with
    /// `problem`, when another one is current already (the first stays).
    static bool makeCurrent(const qorv::oss::PointerTC<CASSessionBC>& session, std::string& problem);
    /// The symbols named by --real as real, then the --assume facts; false
    /// with `problem` for a name that is not UTF-8.
    static bool assumptionsOf(const CommandLineC& options, std::vector<SymbolAssumptionS>& assumptions,
                              std::string& problem);
    /// Hands those to `session`'s setAssumptions: false with `problem`
    /// ("--assume: " and the session's reason) where it declines them.
    template <class SessionT>
    static bool assume(const CommandLineC& options, SessionT& session, std::string& problem) {
        std::vector<SymbolAssumptionS> assumptions;
        std::u16string message;
        if (!assumptionsOf(options, assumptions, problem)) {
            return false;
        }
        if (!session.setAssumptions(std::move(assumptions), &message)) {
            problem = "--assume: " + narrow(message);
            return false;
        }
        return true;
    }

private:
    static std::string narrow(const std::u16string& text);
};

}  // namespace qorv::math::algexpr::cli

#endif
