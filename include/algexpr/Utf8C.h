// SPDX-License-Identifier: MIT
// Utf8C: conversion between UTF-8 bytes and the library's UTF-16 strings, for
// clients whose text comes and goes as UTF-8 (files, terminals, std::string).
//
//   std::u16string text;
//   std::size_t offset = 0;
//   if (Utf8C::decode(line, text, offset) != Utf8C::Converted) {
//       // line is no UTF-8 from byte `offset` on
//   }
//   std::cout << Utf8C::toUtf8(expression->toPrefixString(0, Standard));
//
// Decoding is strict: overlong forms, encoded surrogates, code points past
// U+10FFFF, stray continuation bytes and sequences cut short are errors.
// Unpaired surrogates in UTF-16 are written as U+FFFD, or refused on request.
// Every operation is linear, writes only into the string it is given, and
// throws nothing: running out of memory is reported like any other failure.
#ifndef ALGEXPR_UTF8C_H
#define ALGEXPR_UTF8C_H

#include <cstddef>
#include <string>
#include <string_view>

#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class ALGEXPR_API Utf8C final {
public:
    enum StatusE {
        Converted = 0,
        Invalid,       ///< not well formed; the offset says where
        OutOfMemory,
    };
    /// What encoding does with a surrogate code unit that is not part of a
    /// high-low pair.
    enum UnpairedE {
        ReplaceUnpaired,   ///< writes U+FFFD in its place
        RefuseUnpaired,    ///< fails with Invalid at its index
    };

    Utf8C() = delete;

    /// Replaces `out` with the UTF-16 form of the UTF-8 `bytes` (a NUL byte
    /// is a character like any other). On Invalid, `error_offset` is the
    /// offset of the first byte where the bytes stop being the start of some
    /// well-formed text: the bad byte itself, or bytes.size() when the text
    /// ends inside a sequence. Unless Converted, `out` is left empty and, but
    /// for Invalid, `error_offset` untouched.
    static StatusE decode(std::string_view bytes, std::u16string& out, std::size_t& error_offset) noexcept;

    /// Replaces `out` with the UTF-8 form of `text`. With RefuseUnpaired, an
    /// unpaired surrogate gives Invalid and its code-unit index in
    /// `error_offset`. Unless Converted, `out` is left empty and, but for
    /// Invalid, `error_offset` untouched.
    static StatusE encode(std::u16string_view text, std::string& out, std::size_t& error_offset,
                          UnpairedE unpaired = ReplaceUnpaired) noexcept;

    /// The UTF-8 form of `text`, unpaired surrogates as U+FFFD; the empty text
    /// when memory runs out.
    static std::string toUtf8(std::u16string_view text) noexcept;

    /// The UTF-16 form of `bytes`, lenient: what is not well formed becomes
    /// U+FFFD, one for each maximal subpart (the longest start of a
    /// well-formed sequence, else a single byte), as the Unicode Standard
    /// recommends; the empty text when memory runs out. Use decode to be told.
    static std::u16string toUtf16(std::string_view bytes) noexcept;
};

}  // namespace qorv::math::algexpr

#endif
