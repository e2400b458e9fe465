// SPDX-License-Identifier: MIT
// LineReaderC: reads a file descriptor line by line through one growing
// buffer, with large reads, and hands out views into that buffer. The reader
// does not own the descriptor. A line ends at "\n" (not included); a last line
// without one counts too.
#ifndef ALGEXPR_TOOL_LINEREADERC_H
#define ALGEXPR_TOOL_LINEREADERC_H

#include <cstddef>
#include <string_view>
#include <vector>

namespace qorv::math::algexpr::cli {

class LineReaderC {
public:
    explicit LineReaderC(int fd);

    /// The next line, valid until the next call; false at the end of the
    /// input or when reading fails (see failed()). Reads as often as needed.
    bool next(std::string_view& line);

    /// What take() found.
    enum class TakenE { Line, NeedRead, End };
    /// The next line from what has been read, without reading: Line (valid
    /// until the next call), NeedRead when the rest of it is still to be read
    /// (fill() once, e.g. when poll() says the descriptor is readable), End.
    TakenE take(std::string_view& line);
    /// Reads once.
    void fill();

    /// True once a read has failed.
    bool failed() const;

private:

    int fd;
    std::vector<char> buffer;
    std::size_t begin = 0;  // the first byte not handed out
    std::size_t scan = 0;   // where the search for "\n" goes on
    std::size_t end = 0;    // the end of the bytes read
    bool at_end = false;
    bool error = false;
};

}  // namespace qorv::math::algexpr::cli

#endif
