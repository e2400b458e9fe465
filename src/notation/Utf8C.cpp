// SPDX-License-Identifier: MIT
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The sequence of two to four bytes that starts at s[i]: its code point and
// length, or length 0 when no well-formed sequence starts there, with `bad`
// the offset where the bytes stop fitting one (n when they end first). The
// second byte's narrowed range excludes overlong forms, surrogates and code
// points past U+10FFFF.
struct Sequence {
    char32_t code;
    std::size_t length;
    std::size_t bad;
};

Sequence sequenceAt(const unsigned char* s, std::size_t n, std::size_t i) {
    const unsigned char lead = s[i];
    std::size_t length;
    char32_t code;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {0, 0, i};
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k == n) {
            return {0, 0, n};
        }
        const unsigned char byte = s[i + k];
        if (byte < low || byte > high) {
            return {0, 0, i + k};
        }
        low = 0x80;
        high = 0xBF;
        code = (code << 6) | (byte & 0x3F);
    }
    return {code, length, 0};
}

// Hands each code point of the bytes to `sink`. Strict: stops at the first
// error and returns false with its offset in `bad`. Lenient: hands on U+FFFD
// for each maximal subpart of an ill-formed sequence (the longest start of a
// well-formed sequence, else one byte) and goes on after it.
template <class Sink>
bool walkUtf8(std::string_view bytes, bool lenient, std::size_t& bad, Sink sink) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        if (s[i] < 0x80) {
            sink(s[i]);
            ++i;
            continue;
        }
        const Sequence sequence = sequenceAt(s, n, i);
        if (sequence.length != 0) {
            sink(sequence.code);
            i += sequence.length;
        } else if (lenient) {
            sink(kReplacement);
            i = sequence.bad > i ? sequence.bad : i + 1;
        } else {
            bad = sequence.bad;
            return false;
        }
    }
    return true;
}

// Hands each code point of the text to `sink`, an unpaired surrogate as
// U+FFFD; with `refuse`, stops there instead and returns false with its
// index in `bad`.
template <class Sink>
bool walkUtf16(std::u16string_view text, bool refuse, std::size_t& bad, Sink sink) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDFFF) {
            if (isHighSurrogate(code) && i + 1 < n && isLowSurrogate(text[i + 1])) {
                code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                ++i;
            } else if (refuse) {
                bad = i;
                return false;
            } else {
                code = kReplacement;
            }
        }
        sink(code);
    }
    return true;
}

// One pass into a string with room for as many units as there are bytes
// (no code point takes fewer bytes than units), so it never grows.
Utf8C::StatusE decodeInto(std::string_view bytes, bool lenient, std::u16string& out, std::size_t& error_offset) {
    out.clear();
    try {
        if (out.capacity() < bytes.size()) {  // a smaller request may shrink the string
            out.reserve(bytes.size());
        }
    } catch (...) {
        return Utf8C::OutOfMemory;
    }
    std::size_t bad = 0;
    const bool converted = walkUtf8(bytes, lenient, bad, [&](char32_t code) {
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    });
    if (!converted) {
        out.clear();
        error_offset = bad;
        return Utf8C::Invalid;
    }
    return Utf8C::Converted;
}

}  // namespace

Utf8C::StatusE Utf8C::decode(std::string_view bytes, std::u16string& out, std::size_t& error_offset) noexcept {
    return decodeInto(bytes, false, out, error_offset);
}

Utf8C::StatusE Utf8C::encode(std::u16string_view text, std::string& out, std::size_t& error_offset,
                             UnpairedE unpaired) noexcept {
    out.clear();
    std::size_t bad = 0;
    bool converted = false;
    try {
        if (out.capacity() < text.size()) {  // enough for ASCII; more grows the string
            out.reserve(text.size());
        }
        converted = walkUtf16(text, unpaired == RefuseUnpaired, bad, [&](char32_t code) {
            if (code < 0x80) {
                out.push_back(static_cast<char>(code));
                return;
            }
            if (code < 0x800) {
                out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            } else if (code < 0x10000) {
                out.push_back(static_cast<char>(0xE0 | (code >> 12)));
                out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            } else {
                out.push_back(static_cast<char>(0xF0 | (code >> 18)));
                out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
                out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            }
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        });
    } catch (...) {
        out.clear();
        return OutOfMemory;
    }
    if (!converted) {
        out.clear();
        error_offset = bad;
        return Invalid;
    }
    return Converted;
}

std::string Utf8C::toUtf8(std::u16string_view text) noexcept {
    std::string out;
    std::size_t unused = 0;
    encode(text, out, unused, ReplaceUnpaired);
    return out;
}

std::u16string Utf8C::toUtf16(std::string_view bytes) noexcept {
    std::u16string out;
    std::size_t unused = 0;
    decodeInto(bytes, true, out, unused);
    return out;
}

}  // namespace qorv::math::algexpr
