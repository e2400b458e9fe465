// SPDX-License-Identifier: MIT
// InputC: the inputs of a run, one at a time, numbered from 1: the EXPR
// arguments ("argument 2"), or else the lines of standard input ("line 3"),
// a byte order mark before the first one dropped. next() reads standard input
// as much as it needs; take() and fill() let a caller that polls the
// descriptor read it only when it is readable. Keeps a reference to the
// arguments, which must outlive it; does not own the descriptor.
#ifndef ALGEXPR_TOOL_INPUTC_H
#define ALGEXPR_TOOL_INPUTC_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "InputPlaceC.h"
#include "LineReaderC.h"

namespace qorv::math::algexpr::cli {

class InputC {
public:
    /// The arguments when there are any, else the lines of `fd`.
    InputC(const std::vector<std::string>& arguments, int fd);

    using TakenE = LineReaderC::TakenE;
    /// The next input, valid until the next call, and its number; NeedRead
    /// when fill() must read first; End.
    TakenE take(std::string_view& text, std::size_t& number);
    /// The next input, reading as needed; false at the end.
    bool next(std::string_view& text, std::size_t& number);
    /// Reads standard input once.
    void fill();

    /// "line" or "argument": what a number counts.
    const char* kind() const;
    InputPlaceC place(std::size_t number) const { return InputPlaceC(kind(), number); }
    /// The descriptor to poll, or -1 when the inputs are the arguments.
    int fd() const;
    /// True once reading standard input has failed.
    bool failed() const;

private:
    const std::vector<std::string>& arguments;
    LineReaderC lines;
    int descriptor;
    std::size_t count = 0;
};

}  // namespace qorv::math::algexpr::cli

#endif
