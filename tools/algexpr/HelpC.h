// SPDX-License-Identifier: MIT
// HelpC: the tool's help texts, one for the tool and one for each command
// (what "algexpr --help" and "algexpr COMMAND --help" print), with the
// engines' lines and figures filled in from EngineRegistryC.
#ifndef ALGEXPR_TOOL_HELPC_H
#define ALGEXPR_TOOL_HELPC_H

#include <string>

#include "CommandE.h"

namespace qorv::math::algexpr::cli {

class HelpC {
public:
    /// The help for `command`, or for the tool with CommandE::None.
    static std::string text(CommandE command);
};

}  // namespace qorv::math::algexpr::cli

#endif
