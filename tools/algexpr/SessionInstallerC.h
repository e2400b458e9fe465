// SPDX-License-Identifier: MIT
// SessionInstallerC: makes the session the command line asks for and
// installs it as the library's current session, once per process: the
// session of the engine --engine names (its entry in EngineRegistryC makes
// it), with the engine's built-in vocabulary or the names of --core-names
// FILE. The session lives until the process ends. Also prepares it for a
// worker process, and runs the tool's work on the thread the engine wants it
// on.
#ifndef ALGEXPR_TOOL_SESSIONINSTALLERC_H
#define ALGEXPR_TOOL_SESSIONINSTALLERC_H

#include <string>
#include <vector>

#include "OutcomeS.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

class CommandLineC;
class EngineEntryABC;

class SessionInstallerC {
public:
    /// False, with `problem`, when the vocabulary cannot be read or the
    /// session cannot be installed. Appends to `warnings` what is odd but
    /// allowed in the vocabulary.
    static bool install(const CommandLineC& options, std::string& problem, std::vector<std::string>& warnings);

    /// Makes the installed session ready to evaluate in a worker process, in
    /// the worker, before its memory is capped: the engine's allocation
    /// failures (GMP's included) are turned into exceptions, so that the
    /// worker's new-handler ends it as out of memory wherever memory runs
    /// out; then one small evaluation gives the engine its thread and memory
    /// pools.
    static void prepareWorker(const CommandLineC& options);

    /// Evaluates `expression` exactly with a second session of `engine`
    /// (not the one installed), with the installed session's vocabulary and
    /// the options' settings, made ready for a worker process when this one
    /// is one: for an answer another engine's check refused.
    static support::OutcomeS evaluateAside(const CommandLineC& options, const EngineEntryABC& engine,
                                           const qorv::oss::PointerTC<AlgebraicExpressionC>& expression);

    /// Runs work(context) where evaluations are cheapest and waits for it.
    /// An engine with a thread of its own runs all its work there, and what
    /// is called from that thread runs at once, so a whole run of inputs goes
    /// to it as one job instead of one hand-off per input; other engines run
    /// it here. `work` must not throw.
    static void runForEngine(const CommandLineC& options, void (*work)(void*), void* context);

    /// The engines, for --version, a line each after a heading: those built
    /// with their versions, the default marked, and those not built with
    /// what to install.
    static std::string describeEngines();
};

}  // namespace qorv::math::algexpr::cli

#endif
