// algexpr: the command-line client. Reads the command line, then hands over
// to ToolC; see CommandLineC for the help texts.
#include <cstdio>

#include "CommandLineC.h"
#include "ToolC.h"

int main(int argc, char** argv) {
    using qorv::math::algexpr::cli::CommandLineC;
    using qorv::math::algexpr::cli::ToolC;

    CommandLineC options;
    if (!options.parse(argc, argv)) {
        std::fprintf(stderr, "algexpr: %s\nTry 'algexpr --help'.\n", options.error().c_str());
        return 2;
    }
    if (options.want_help) {
        std::fputs(CommandLineC::help(options.command), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.want_version) {
        std::printf("algexpr %s\n", ALGEXPR_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    ToolC tool(options);
    return tool.run();
}
