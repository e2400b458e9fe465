// SPDX-License-Identifier: MIT
// ExpressionWriterABC: the tool's writing step, tree to text. ToolC makes
// one writer for the run (ToolC::makeWriter) and the commands that print
// expressions write through it (--to): PrefixWriterC, and VisitorWriterTC of
// the infix or LaTeX print visitor. Another notation is another subclass and a case
// in makeWriter. A writer may refuse a tree its notation cannot express, so
// writing can fail.
#ifndef ALGEXPR_TOOL_EXPRESSIONWRITERABC_H
#define ALGEXPR_TOOL_EXPRESSIONWRITERABC_H

#include <string>

namespace qorv::math::algexpr {
class NodeABC;
}

namespace qorv::math::algexpr::cli {

class ExpressionWriterABC {
public:
    virtual ~ExpressionWriterABC();

    /// Appends the text of the tree under `node`, in UTF-8 and without a
    /// newline, to `out`. False, with `out` as it was and `problem` saying
    /// why, when the tree cannot be written.
    virtual bool write(NodeABC& node, std::string& out, std::string& problem) = 0;

protected:
    ExpressionWriterABC() = default;
};

}  // namespace qorv::math::algexpr::cli

#endif
