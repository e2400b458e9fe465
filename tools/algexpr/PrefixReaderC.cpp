// SPDX-License-Identifier: MIT
#include "PrefixReaderC.h"

#include <string>

#include "algexpr/PrefixSyntaxCheckC.h"
#include "algexpr/ReadResultC.h"

namespace qorv::math::algexpr::cli {

using qorv::oss::PointerTC;

namespace {

bool isWhitespace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool isNameCharacter(char16_t c) { return !isWhitespace(c) && c != u'(' && c != u')' && c != u','; }

// Visits each token of a strict text that is a name or a number, in order,
// with where it starts and ends and whether a "(" follows it (a function's
// name).
template <class Visit>
void forEachToken(std::u16string_view text, Visit visit) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        if (!isNameCharacter(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && isNameCharacter(text[i])) {
            ++i;
        }
        std::size_t next = i;
        while (next < n && isWhitespace(text[next])) {
            ++next;
        }
        visit(start, i, next < n && text[next] == u'(');
    }
}

}  // namespace

PrefixReaderC::PrefixReaderC(bool lax) : lax(lax) {}

PointerTC<AlgebraicExpressionC> PrefixReaderC::read(const std::u16string& text, ReadErrorC& error) {
    ReadResultC result = AlgebraicExpressionC::readPrefix(
        text, lax ? AlgebraicExpressionC::ReadingE::Lax : AlgebraicExpressionC::ReadingE::Strict);
    if (!result.ok()) {
        // Running out of memory happens nowhere in particular.
        const bool has_place = result.reason() != ReadResultC::ReasonE::OutOfMemory;
        error.set(result.message(), has_place ? result.position() : ReadErrorC::kNoPosition);
    }
    return result.tree();
}

// Lax, a text may split a name with blanks: the names listed then differ
// from the tree's, which their user sees.
bool PrefixReaderC::listNames(const std::u16string& text, std::vector<NameS>& names) const {
    forEachToken(text, [&](std::size_t start, std::size_t end, bool called) {
        std::u16string name = text.substr(start, end - start);
        if (called || !PrefixSyntaxCheckC::readsAsNumber(name)) {
            names.push_back(NameS{start, std::move(name), called});
        }
    });
    return true;
}

}  // namespace qorv::math::algexpr::cli
