// SPDX-License-Identifier: MIT
#include "WorkerProtocolC.h"

#include <cstring>

namespace qorv::math::algexpr::cli {

namespace {

// A request: number (8 bytes), length (8), text. A reply: number (8),
// length of the text (8), success (1), length of the warnings (8), the text,
// the warnings.
constexpr std::size_t kRequestHead = 16;
constexpr std::size_t kReplyHead = 25;

template <class T>
void put(std::string& buffer, std::size_t at, T value) {
    std::memcpy(&buffer[at], &value, sizeof value);
}

template <class T>
T get(std::string_view buffer, std::size_t at) {
    T value{};
    std::memcpy(&value, buffer.data() + at, sizeof value);
    return value;
}

// The length of the text whose head is at `at`, when head and text are all
// in `buffer`.
bool complete(std::string_view buffer, std::size_t at, std::size_t head, std::uint64_t& length) {
    if (buffer.size() - at < head) {
        return false;
    }
    length = get<std::uint64_t>(buffer, at + 8);
    return length <= buffer.size() - at - head;
}

}  // namespace

void WorkerProtocolC::appendRequest(std::string& buffer, std::uint64_t number, std::string_view text) {
    const std::size_t at = buffer.size();
    buffer.resize(at + kRequestHead);
    put(buffer, at, number);
    put(buffer, at + 8, static_cast<std::uint64_t>(text.size()));
    buffer.append(text);
}

bool WorkerProtocolC::takeRequest(std::string_view buffer, std::size_t& at, RequestS& request) {
    std::uint64_t length = 0;
    if (!complete(buffer, at, kRequestHead, length)) {
        return false;
    }
    request.number = get<std::uint64_t>(buffer, at);
    request.text = buffer.substr(at + kRequestHead, length);
    at += kRequestHead + length;
    return true;
}

std::size_t WorkerProtocolC::startReply(std::string& buffer, std::uint64_t number) {
    const std::size_t start = buffer.size();
    buffer.resize(start + kReplyHead);
    put(buffer, start, number);
    return start;
}

void WorkerProtocolC::finishReply(std::string& buffer, std::size_t start, bool ok, std::string_view message,
                                  std::string_view warnings) {
    if (!ok) {
        buffer.resize(start + kReplyHead);
        buffer.append(message);
    }
    put(buffer, start + 8, static_cast<std::uint64_t>(buffer.size() - start - kReplyHead));
    buffer[start + 16] = ok ? '\1' : '\0';
    put(buffer, start + 17, static_cast<std::uint64_t>(warnings.size()));
    buffer.append(warnings);
}

bool WorkerProtocolC::takeReply(std::string_view buffer, std::size_t& at, ReplyS& reply) {
    std::uint64_t length = 0;
    if (!complete(buffer, at, kReplyHead, length)) {
        return false;
    }
    const auto warnings = get<std::uint64_t>(buffer, at + 17);
    if (warnings > buffer.size() - at - kReplyHead - length) {
        return false;
    }
    reply.number = get<std::uint64_t>(buffer, at);
    reply.ok = buffer[at + 16] != '\0';
    reply.text = buffer.substr(at + kReplyHead, length);
    reply.warnings = buffer.substr(at + kReplyHead + length, warnings);
    at += kReplyHead + length + warnings;
    return true;
}

}  // namespace qorv::math::algexpr::cli
