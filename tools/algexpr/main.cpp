// SPDX-License-Identifier: MIT
// algexpr: the command-line client. Reads the command line, then hands over
// to ToolC; see HelpC for the help texts.
#include <cstdio>
#include <new>

#include "CommandLineC.h"
#include "HelpC.h"
#include "SessionInstallerC.h"
#include "ToolC.h"

int main(int argc, char** argv) {
    using namespace qorv::math::algexpr::cli;

    try {
        CommandLineC options;
        if (!options.parse(argc, argv)) {
            std::fprintf(stderr, "algexpr: %s\nTry 'algexpr --help'.\n", options.error().c_str());
            return 2;
        }
        if (options.want_help) {
            std::fputs(HelpC::text(options.command).c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (options.want_version) {
            std::printf("algexpr %s\n%s", ALGEXPR_VERSION, SessionInstallerC::describeEngines().c_str());
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        ToolC tool(options);
        return tool.run();
    } catch (const std::bad_alloc&) {
        std::fputs("algexpr: out of memory\n", stderr);
        return 1;
    }
}
