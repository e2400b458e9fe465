// SPDX-License-Identifier: MIT
#include "PrefixReaderC.h"

#include <string>

#include "algexpr/PrefixSyntaxCheckC.h"

namespace qorv::math::algexpr::cli {

using qorv::oss::PointerTC;

namespace {

bool isWhitespace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool isNameCharacter(char16_t c) { return !isWhitespace(c) && c != u'(' && c != u')' && c != u','; }

// Visits each token of a strict text that is a name or a number, in order,
// with where it starts and ends and whether a "(" follows it (a function's
// name), until `visit` answers false.
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
        if (!visit(start, i, next < n && text[next] == u'(')) {
            return;
        }
    }
}

}  // namespace

PrefixReaderC::PrefixReaderC(bool lax) : lax(lax) {}

PointerTC<AlgebraicExpressionC> PrefixReaderC::read(const std::u16string& text, ReadErrorC& error) {
    if (!lax) {
        const PrefixSyntaxCheckC check(text);
        if (!check.isWellFormed()) {
            error.set(check.getMessage(), check.getPosition());
            return PointerTC<AlgebraicExpressionC>();
        }
    }
    PointerTC<AlgebraicExpressionC> expression = AlgebraicExpressionC::fromPrefixString(text);
    if (expression) {
        return expression;
    }
    // A strict text fails to read only for a number, or for want of memory.
    const std::size_t refused = lax ? std::u16string::npos : findRefusedNumber(text);
    if (refused != std::u16string::npos) {
        error.set("number not accepted", refused);
    } else {
        error.set(lax ? "does not read" : "out of memory");
    }
    return expression;
}

// Each leaf is read on its own: a number leaf reads exactly when the
// factories accept its text. Only the leaves are read, each once, so the cost
// stays linear in the text.
std::size_t PrefixReaderC::findRefusedNumber(std::u16string_view text) {
    std::size_t refused = std::u16string::npos;
    forEachToken(text, [&](std::size_t start, std::size_t end, bool called) {
        const std::u16string_view token = text.substr(start, end - start);
        if (!called && PrefixSyntaxCheckC::readsAsNumber(token) &&
            !AlgebraicExpressionC::fromPrefixString(std::u16string(token))) {
            refused = start;
        }
        return refused == std::u16string::npos;
    });
    return refused;
}

// Lax, a text may split a name with blanks: the names listed then differ
// from the tree's, which their user sees.
bool PrefixReaderC::listNames(const std::u16string& text, std::vector<NameS>& names) const {
    forEachToken(text, [&](std::size_t start, std::size_t end, bool called) {
        std::u16string name = text.substr(start, end - start);
        if (called || !PrefixSyntaxCheckC::readsAsNumber(name)) {
            names.push_back(NameS{start, std::move(name), called});
        }
        return true;
    });
    return true;
}

}  // namespace qorv::math::algexpr::cli
