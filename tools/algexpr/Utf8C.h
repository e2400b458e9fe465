// Utf8C: conversion between the tool's UTF-8 text and the library's UTF-16
// strings, and excerpts of UTF-8 text for messages. Decoding is strict;
// encoding never fails. Stateless: every operation writes only into the
// caller's string or returns a new one.
#ifndef ALGEXPR_TOOL_UTF8C_H
#define ALGEXPR_TOOL_UTF8C_H

#include <cstddef>
#include <string>
#include <string_view>

namespace qorv::math::algexpr::cli {

class Utf8C {
public:
    /// Replaces `out` with the UTF-16 form of `bytes`. False when `bytes` is
    /// not well-formed UTF-8 (a stray or missing continuation byte, an
    /// overlong form, an encoded surrogate, a code point past U+10FFFF);
    /// `bad_byte` is then the offset of the first byte in error.
    static bool decode(std::string_view bytes, std::u16string& out, std::size_t& bad_byte);

    /// Appends the UTF-8 form of `text` to `out`; an unpaired surrogate is
    /// written as U+FFFD.
    static void append(std::u16string_view text, std::string& out);

    /// The start of the UTF-8 text `bytes` for a message: all of it when it
    /// has at most `max_bytes` bytes, else that many at most, cut at a
    /// character boundary, and "...".
    static std::string excerpt(std::string_view bytes, std::size_t max_bytes = 60);
};

}  // namespace qorv::math::algexpr::cli

#endif
