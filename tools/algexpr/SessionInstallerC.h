// SessionInstallerC: makes the session the command line asks for and
// installs it as the library's current session, once per process: the
// numeric client's session, with the built-in vocabulary or the names of
// --core-names FILE. Another engine (an --engine choice) is another case in
// install(). The session lives until the process ends.
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
};

}  // namespace qorv::math::algexpr::cli

#endif
