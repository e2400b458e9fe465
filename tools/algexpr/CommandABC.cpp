// SPDX-License-Identifier: MIT
#include "CommandABC.h"

#include "ExpressionWriterABC.h"

namespace qorv::math::algexpr::cli {

CommandABC::~CommandABC() = default;

bool CommandABC::prepare(std::string&) { return true; }

bool CommandABC::oneLinePerInput() const { return true; }

bool CommandABC::writeLine(ExpressionWriterABC& writer, NodeABC& node, std::string& out, std::string& problem) {
    if (!writer.write(node, out, problem)) {
        return false;
    }
    out += '\n';
    return true;
}

}  // namespace qorv::math::algexpr::cli
