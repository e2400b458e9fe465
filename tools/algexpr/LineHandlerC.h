// SPDX-License-Identifier: MIT
// LineHandlerC: one input, from its text to its output: the UTF-8 checked
// and decoded, the expression read with the reader, and handed to the
// command. The tool runs every input through one, in its own process or in
// its worker process. Every few megabytes of input it drops the session's
// unused symbols, so that a long stream of new names does not grow the table
// without bound. Each name that looks like a typo of a core name gets a
// warning (TypoCheckC), which goes out before the input's answer. The reader
// and the command must outlive it.
//
//   LineHandlerC handler(reader, command);
//   if (!handler.handle("plus(1,", InputPlaceC("line", 3), out, message, warnings)) ...
//   // message: "line 3, column 8: ..." with the place shown
#ifndef ALGEXPR_TOOL_LINEHANDLERC_H
#define ALGEXPR_TOOL_LINEHANDLERC_H

#include <cstddef>
#include <string>
#include <string_view>

#include "InputPlaceC.h"
#include "TypoCheckC.h"

namespace qorv::math::algexpr::cli {

class CommandABC;
class ExpressionReaderABC;

class LineHandlerC {
public:
    LineHandlerC(ExpressionReaderABC& reader, CommandABC& command);

    /// Appends the input's output to `out` and answers true (a blank input
    /// gives a blank line, for commands that write one line per input), or
    /// answers false with `message`, which names the input, and leaves `out`
    /// as it was. A final "\r" is dropped. Each warning about the names read
    /// is appended to `warnings` as it goes to standard error ("algexpr: ",
    /// the warning with its place shown, a newline); the answer stands either
    /// way. Throws std::bad_alloc.
    bool handle(std::string_view text, const InputPlaceC& place, std::string& out, std::string& message,
                std::string& warnings);

private:
    ExpressionReaderABC& reader;
    CommandABC& command;
    TypoCheckC typos;
    std::size_t unflushed = 0;  // input bytes since the last flush of unused symbols
    std::u16string line_text;   // the line decoded, its capacity kept from line to line
};

}  // namespace qorv::math::algexpr::cli

#endif
