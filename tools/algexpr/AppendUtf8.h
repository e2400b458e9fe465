// SPDX-License-Identifier: MIT
// appendUtf8: the library's Utf8C for text the tool writes out, with running
// out of memory thrown as std::bad_alloc like the tool's other appends (main
// reports it), so that it never passes for an empty text. Unpaired
// surrogates are written as U+FFFD.
#ifndef ALGEXPR_TOOL_APPENDUTF8_H
#define ALGEXPR_TOOL_APPENDUTF8_H

#include <new>
#include <string>
#include <string_view>

#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

/// Appends the UTF-8 form of `text` to `out`.
inline void appendUtf8(std::u16string_view text, std::string& out) {
    std::size_t ascii = 0;
    while (ascii < text.size() && text[ascii] < 0x80) {
        ++ascii;
    }
    if (ascii == text.size()) {  // the usual text: each unit is its byte, no copy between
        const std::size_t at = out.size();
        out.resize(at + text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            out[at + i] = static_cast<char>(text[i]);
        }
        return;
    }
    std::string bytes;
    std::size_t unused = 0;
    if (Utf8C::encode(text, bytes, unused) != Utf8C::Converted) {
        throw std::bad_alloc();
    }
    out += bytes;
}

}  // namespace qorv::math::algexpr::cli

#endif
