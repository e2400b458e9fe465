// SPDX-License-Identifier: MIT
#include "OutputC.h"

#include <cerrno>
#include <cstdio>

#include <unistd.h>

namespace qorv::math::algexpr::cli {

namespace {

constexpr std::size_t kWriteSize = std::size_t{1} << 16;

}  // namespace

OutputC::OutputC(int fd) : fd(fd) { buffer.reserve(2 * kWriteSize); }

OutputC::~OutputC() { flush(); }

std::string& OutputC::text() { return buffer; }

void OutputC::commit(bool now) {
    if (now || buffer.size() >= kWriteSize) {
        flush();
    }
}

bool OutputC::flush() {
    std::size_t done = 0;
    while (!failed && done < buffer.size()) {
        const ssize_t wrote = ::write(fd, buffer.data() + done, buffer.size() - done);
        if (wrote > 0) {
            done += static_cast<std::size_t>(wrote);
        } else if (!(wrote < 0 && errno == EINTR)) {
            failed = true;
        }
    }
    buffer.clear();
    return !failed;
}

void OutputC::fail(const std::string& message, bool blank_line) {
    if (blank_line) {
        buffer += '\n';
    }
    flush();
    std::fprintf(stderr, "algexpr: %s\n", message.c_str());
}

void OutputC::warn(std::string_view text) {
    if (text.empty()) {
        return;
    }
    flush();
    std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace qorv::math::algexpr::cli
