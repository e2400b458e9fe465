// SPDX-License-Identifier: MIT
// ReadErrorC: why a text did not read, and where: a short message and the
// code-unit index in the text where reading stops (or none, when the reader
// cannot tell). Readers fill it in; describe() turns it into the tool's
// message, with the text and a caret under the place:
//
//   line 3, column 5: text after the expression
//     f(x)y
//         ^
//
// The column is 1-based and counts code points. A long text is shown as a
// window around the place. A plain value.
#ifndef ALGEXPR_TOOL_READERRORC_H
#define ALGEXPR_TOOL_READERRORC_H

#include <cstddef>
#include <string>
#include <string_view>

namespace qorv::math::algexpr::cli {

class ReadErrorC {
public:
    static constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

    /// Replaces the error with `message` (ASCII or UTF-8) at `position`.
    void set(std::string message, std::size_t position = kNoPosition);

    /// "WHERE, column C: MESSAGE" and the two lines that show the place in
    /// `text`, the text the error is about; without a position,
    /// "WHERE: MESSAGE: TEXT" with the start of the text. Lines end with
    /// "\n" but the last.
    std::string describe(const std::string& where, std::u16string_view text) const;

    /// The 1-based column of the code-unit index `position` in `text`,
    /// counted in code points (a surrogate pair is one).
    static std::size_t column(std::u16string_view text, std::size_t position);

    std::string message;
    std::size_t position = kNoPosition;
};

}  // namespace qorv::math::algexpr::cli

#endif
