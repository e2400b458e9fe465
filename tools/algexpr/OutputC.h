// SPDX-License-Identifier: MIT
// OutputC: buffered writing to a file descriptor (which it does not own),
// in large writes, and the messages of failed inputs to standard error in
// step with it. Remembers a failed write, after which it writes nothing.
#ifndef ALGEXPR_TOOL_OUTPUTC_H
#define ALGEXPR_TOOL_OUTPUTC_H

#include <string>
#include <string_view>

namespace qorv::math::algexpr::cli {

class OutputC {
public:
    explicit OutputC(int fd);
    /// Flushes what is left; a failure there is lost, so call flush() first.
    ~OutputC();
    OutputC(const OutputC&) = delete;
    OutputC& operator=(const OutputC&) = delete;

    /// The buffer itself, to append to in place; written out by commit().
    std::string& text();
    /// Writes the buffer out once it is large, or at once when `now`.
    void commit(bool now = false);
    /// Writes everything out; false when some write has failed.
    bool flush();
    /// A failed input: its output line stays empty (when `blank_line`), and
    /// "algexpr: " and the message go to standard error after the lines
    /// before it, so that both streams read in order on one terminal.
    void fail(const std::string& message, bool blank_line);
    /// Writes `text` (warnings, as they stand) to standard error after the
    /// lines before it, as a failure's message goes.
    void warn(std::string_view text);

private:
    int fd;
    std::string buffer;
    bool failed = false;
};

}  // namespace qorv::math::algexpr::cli

#endif
