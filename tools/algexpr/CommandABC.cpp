// SPDX-License-Identifier: MIT
#include "CommandABC.h"

#include "AppendUtf8.h"
#include "ExpressionWriterABC.h"

namespace qorv::math::algexpr::cli {

CommandABC::~CommandABC() = default;

bool CommandABC::prepare(std::string&) { return true; }

bool CommandABC::oneLinePerInput() const { return true; }

void CommandABC::noteUnchecked(const std::u16string& reason) {
    static constexpr char16_t kUnchecked[] = u"unchecked: ";
    if (reason.compare(0, sizeof kUnchecked / sizeof kUnchecked[0] - 1, kUnchecked) == 0) {
        note.clear();
        appendUtf8(reason, note);
    }
}

bool CommandABC::writeLine(ExpressionWriterABC& writer, NodeABC& node, std::string& out, std::string& problem) {
    if (!writer.write(node, out, problem)) {
        return false;
    }
    out += '\n';
    return true;
}

}  // namespace qorv::math::algexpr::cli
