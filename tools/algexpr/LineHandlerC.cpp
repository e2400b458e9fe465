// SPDX-License-Identifier: MIT
#include "LineHandlerC.h"

#include <new>

#include "CommandABC.h"
#include "ExpressionReaderABC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

using qorv::oss::PointerTC;

namespace {

// Unused symbols are dropped from the session after this much input; the
// cost of a flush is paid for by the input read since the last one.
constexpr std::size_t kFlushBytes = std::size_t{4} << 20;

// The decoded line's buffer is kept up to this size.
constexpr std::size_t kKeptBytes = std::size_t{1} << 16;

// Empty, or only the whitespace that prefix text may hold between tokens.
bool isBlank(std::string_view line) {
    for (const char c : line) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            return false;
        }
    }
    return true;
}

}  // namespace

LineHandlerC::LineHandlerC(ExpressionReaderABC& reader, CommandABC& command) : reader(reader), command(command) {}

bool LineHandlerC::handle(std::string_view line, const InputPlaceC& place, std::string& out, std::string& message,
                          std::string& warnings) {
    unflushed += line.size();
    if (unflushed >= kFlushBytes) {
        CASSessionBC::getSession()->flushUnusedSymbols();
        unflushed = 0;
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (isBlank(line)) {
        if (command.oneLinePerInput()) {
            out += '\n';
        }
        return true;
    }
    if (line_text.capacity() > kKeptBytes && line.size() <= kKeptBytes) {
        std::u16string().swap(line_text);  // a huge line's buffer is not kept for the small ones after it
    }
    std::u16string& text = line_text;
    std::size_t bad = 0;
    switch (Utf8C::decode(line, text, bad)) {
        case Utf8C::Converted:
            break;
        case Utf8C::Invalid:
            message = place.describe() + (bad < line.size() ? ": invalid UTF-8 at byte " + std::to_string(bad + 1)
                                                            : std::string(": invalid UTF-8: cut short at the end"));
            return false;
        case Utf8C::OutOfMemory:
            throw std::bad_alloc();
    }
    ReadErrorC error;
    PointerTC<AlgebraicExpressionC> expression = reader.read(text, error);
    if (!expression) {
        message = error.describe(place.describe(), text);
        return false;
    }
    for (const std::string& warning : typos.warnings(*expression, text, reader, place)) {
        warnings += "algexpr: ";
        warnings += warning;
        warnings += '\n';
    }
    std::string problem;
    if (!command.handle(*expression, place, out, problem)) {
        command.takeNote();
        message = place.describe() + ": " + problem;
        return false;
    }
    const std::string note = command.takeNote();
    if (!note.empty()) {
        warnings += "algexpr: " + place.describe() + ": " + note + '\n';
    }
    return true;
}

}  // namespace qorv::math::algexpr::cli
