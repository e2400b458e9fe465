// SPDX-License-Identifier: MIT
#include "LineReaderC.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace qorv::math::algexpr::cli {

namespace {

constexpr std::size_t kInitialSize = std::size_t{1} << 16;

}  // namespace

LineReaderC::LineReaderC(int fd) : fd(fd), buffer(kInitialSize) {}

bool LineReaderC::next(std::string_view& line) {
    TakenE taken = TakenE::NeedRead;
    while ((taken = take(line)) == TakenE::NeedRead) {
        fill();
    }
    return taken == TakenE::Line;
}

LineReaderC::TakenE LineReaderC::take(std::string_view& line) {
    if (scan < end) {
        const void* newline = std::memchr(buffer.data() + scan, '\n', end - scan);
        if (newline != nullptr) {
            const std::size_t stop = static_cast<std::size_t>(static_cast<const char*>(newline) - buffer.data());
            line = std::string_view(buffer.data() + begin, stop - begin);
            begin = scan = stop + 1;
            return TakenE::Line;
        }
        scan = end;
    }
    if (!at_end) {
        return TakenE::NeedRead;
    }
    if (begin == end) {
        return TakenE::End;
    }
    line = std::string_view(buffer.data() + begin, end - begin);
    begin = scan = end;
    return TakenE::Line;
}

bool LineReaderC::failed() const { return error; }

// Moves the unread bytes to the front, grows the buffer when a line fills it
// (doubling, so that a long line costs linear time), and reads once.
void LineReaderC::fill() {
    if (begin > 0) {
        std::memmove(buffer.data(), buffer.data() + begin, end - begin);
        end -= begin;
        scan -= begin;
        begin = 0;
    }
    if (end == buffer.size()) {
        buffer.resize(buffer.size() * 2);
    }
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data() + end, buffer.size() - end);
        if (got > 0) {
            end += static_cast<std::size_t>(got);
            return;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        error = got < 0;
        at_end = true;
        return;
    }
}

}  // namespace qorv::math::algexpr::cli
