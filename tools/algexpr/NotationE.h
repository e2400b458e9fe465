// SPDX-License-Identifier: MIT
// NotationE: the text forms the tool reads (--from) and writes (--to).
// CommandLineC reads them, ToolC makes the reader and the writer for them.
// LaTeX is written only.
#ifndef ALGEXPR_TOOL_NOTATIONE_H
#define ALGEXPR_TOOL_NOTATIONE_H

namespace qorv::math::algexpr::cli {

enum class NotationE { Prefix, Infix, Latex };

}  // namespace qorv::math::algexpr::cli

#endif
