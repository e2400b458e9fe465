// SPDX-License-Identifier: MIT
// SessionInstallerC: makes the session the command line asks for and
// installs it as the library's current session, once per process: the GiNaC
// client's session, the Giac client's or the numeric client's (--engine),
// with the built-in
// vocabulary of that engine or the names of --core-names FILE, and for GiNaC
// the precision of --digits. The session lives until the process ends.
// Also prepares it for a worker process, and runs the tool's work on the
// thread the engine wants it on.
#ifndef ALGEXPR_TOOL_SESSIONINSTALLERC_H
#define ALGEXPR_TOOL_SESSIONINSTALLERC_H

#include <string>
#include <vector>

namespace qorv::math::algexpr::cli {

class CommandLineC;

class SessionInstallerC {
public:
    /// False, with `problem`, when the vocabulary cannot be read. Appends
    /// to `warnings` what is odd but allowed in the vocabulary.
    static bool install(const CommandLineC& options, std::string& problem, std::vector<std::string>& warnings);

    /// Makes the installed session ready to evaluate in a worker process, in
    /// the worker, before its memory is capped: GiNaC's and Giac's
    /// allocation failures are turned into exceptions, so that the worker's
    /// new-handler ends it as out of memory wherever memory runs out, GMP
    /// included; then one
    /// small evaluation gives the engine its thread and memory pools.
    static void prepareWorker(const CommandLineC& options);

    /// Runs work(context) where evaluations are cheapest and waits for it.
    /// The GiNaC engine evaluates on its one worker thread and runs there at
    /// once what is called from it, so a whole run of inputs goes to that
    /// thread as one job instead of one hand-off per input; the numeric
    /// engine runs it here. `work` must not throw.
    static void runForEngine(const CommandLineC& options, void (*work)(void*), void* context);

    /// The engines built in, for --version, a line each after a heading:
    /// GiNaC's with its version, and the numeric one (alone, and why).
    static std::string describeEngines();
};

}  // namespace qorv::math::algexpr::cli

#endif
