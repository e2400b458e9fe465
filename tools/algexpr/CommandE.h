// SPDX-License-Identifier: MIT
// CommandE: the tool's commands. CommandLineC reads one from the command
// line (its table there gives each command's name), HelpC has a text for
// each, and ToolC makes the CommandABC that runs it. Simplify to Series are
// the GiNaC and the Giac engine's operations, Integrate to Solve the Giac
// engine's; Match, Rewrite and Check work with patterns; Apart is the GiNaC
// and the Giac engine's.
#ifndef ALGEXPR_TOOL_COMMANDE_H
#define ALGEXPR_TOOL_COMMANDE_H

namespace qorv::math::algexpr::cli {

enum class CommandE {
    None, Print, Tree, Subst, Eval, Simplify, Expand, Factor, Diff, Series, Integrate, Limit, Solve, Match, Rewrite, Check,
    Apart
};

}  // namespace qorv::math::algexpr::cli

#endif
