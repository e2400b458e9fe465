// SPDX-License-Identifier: MIT
#include "ReadErrorC.h"

#include <utility>

#include "AppendUtf8.h"

namespace qorv::math::algexpr::cli {

namespace {

// The most code points of a text a message shows; a longer text is cut to a
// window around the place, or to its start.
constexpr std::size_t kShownWidth = 72;
constexpr std::size_t kStartWidth = 60;

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code-unit length of the code point at `i`.
std::size_t unitsAt(std::u16string_view text, std::size_t i) {
    return isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
}

// The code points [first, last) of `text` for a terminal: line breaks show
// as spaces and other control characters as "?", so that the caret line
// still lines up. Tabs stay, and the caret line repeats them.
std::u16string shown(std::u16string_view text, std::size_t first, std::size_t last) {
    std::u16string part;
    std::size_t point = 0;
    for (std::size_t i = 0; i < text.size() && point < last; ++point) {
        const std::size_t units = unitsAt(text, i);
        if (point >= first) {
            const char16_t c = text[i];
            if (c == u'\n' || c == u'\r') {
                part += u' ';
            } else if ((c < 0x20 && c != u'\t') || c == 0x7F) {
                part += u'?';
            } else {
                part.append(text.substr(i, units));
            }
        }
        i += units;
    }
    return part;
}

std::size_t codePoints(std::u16string_view text) { return ReadErrorC::column(text, text.size()) - 1; }

}  // namespace

void ReadErrorC::set(std::string text, std::size_t at) {
    message = std::move(text);
    position = at;
}

std::size_t ReadErrorC::column(std::u16string_view text, std::size_t at) {
    std::size_t points = 0;
    for (std::size_t i = 0; i < at && i < text.size(); i += unitsAt(text, i)) {
        ++points;
    }
    return points + 1;
}

std::string ReadErrorC::describe(const std::string& where, std::u16string_view text) const {
    const std::size_t length = codePoints(text);
    std::string out = where;
    if (position == kNoPosition) {
        out += ": " + message + ": ";
        appendUtf8(shown(text, 0, kStartWidth), out);
        if (length > kStartWidth) {
            out += "...";
        }
        return out;
    }
    const std::size_t place = column(text, position) - 1;  // in code points
    out += ", column " + std::to_string(place + 1) + ": " + message + "\n  ";
    std::size_t first = 0;
    std::size_t last = length;
    if (length > kShownWidth) {
        first = place > kShownWidth / 2 ? place - kShownWidth / 2 : 0;
        last = first + kShownWidth < length ? first + kShownWidth : length;
        first = last - kShownWidth;
    }
    const std::u16string part = shown(text, first, last);
    if (first > 0) {
        out += "...";
    }
    appendUtf8(part, out);
    if (last < length) {
        out += "...";
    }
    out += first > 0 ? "\n     " : "\n  ";
    std::size_t point = 0;
    for (std::size_t i = 0; i < part.size() && first + point < place; i += unitsAt(part, i), ++point) {
        out += part[i] == u'\t' ? '\t' : ' ';
    }
    out += '^';
    return out;
}

}  // namespace qorv::math::algexpr::cli
