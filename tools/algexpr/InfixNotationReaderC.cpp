// SPDX-License-Identifier: MIT
#include "InfixNotationReaderC.h"

#include <string>
#include <string_view>
#include <utility>

#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreElementC.h"
#include "algexpr/ReadResultC.h"

namespace qorv::math::algexpr::cli {

qorv::oss::PointerTC<AlgebraicExpressionC> InfixNotationReaderC::read(const std::u16string& text, ReadErrorC& error) {
    ReadResultC result = reader.readResult(text);
    if (!result.ok()) {
        // Running out of memory happens nowhere in particular.
        const bool has_place = result.reason() != ReadResultC::ReasonE::OutOfMemory;
        error.set(result.message(), has_place ? result.position() : ReadErrorC::kNoPosition);
    }
    return result.tree();
}

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// What stands between names and numbers in infix: blanks, operators,
// brackets, commas.
bool isSeparator(char16_t c) {
    return isBlank(c) || std::u16string_view(u"+-*/^=()[],\u2212").find(c) != std::u16string_view::npos;
}

// A call spelled the familiar way (ln for log) reads as the core name it
// stands for: listed so too.
void familiar(ExpressionReaderABC::NameS& name) {
    const char16_t* canonical = name.called ? InfixReaderC::familiarSpelling(name.name) : nullptr;
    const qorv::oss::PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    if (canonical != nullptr && session && !session->lookupCoreElement(name.name) &&
        session->lookupCoreElement(canonical)) {
        name.name = canonical;
    }
}

}  // namespace

// In a text that read, every run of other characters is one name or number
// token (numbers start with a digit or "."), except that an exponent's sign
// splits a number: 1e-5 gives "1e" and "5", both numbers.
bool InfixNotationReaderC::listNames(const std::u16string& text, std::vector<NameS>& names) const {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        if (isSeparator(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && !isSeparator(text[i])) {
            ++i;
        }
        if ((text[start] >= u'0' && text[start] <= u'9') || text[start] == u'.') {
            continue;
        }
        std::size_t next = i;
        while (next < n && isBlank(text[next])) {
            ++next;
        }
        names.push_back(NameS{start, text.substr(start, i - start), next < n && text[next] == u'('});
        familiar(names.back());
    }
    return true;
}

}  // namespace qorv::math::algexpr::cli
