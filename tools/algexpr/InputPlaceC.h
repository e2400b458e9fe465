// SPDX-License-Identifier: MIT
// InputPlaceC: where an input came from, for messages and names: "line 3",
// "argument 2". A plain value; `kind` points to a string literal.
#ifndef ALGEXPR_TOOL_INPUTPLACEC_H
#define ALGEXPR_TOOL_INPUTPLACEC_H

#include <cstddef>
#include <string>

namespace qorv::math::algexpr::cli {

class InputPlaceC {
public:
    InputPlaceC(const char* kind, std::size_t number) : kind(kind), number(number) {}

    /// "line 3"
    std::string describe() const { return std::string(kind) + " " + std::to_string(number); }

    const char* kind;    // "line" or "argument"
    std::size_t number;  // counted from 1
};

}  // namespace qorv::math::algexpr::cli

#endif
