// SPDX-License-Identifier: MIT
#include "CoreCodeText.h"

#include <new>

#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreElementC.h"
#include "support/OutOfMemory.h"

namespace qorv::math::algexpr {

namespace {

// The code in decimal between `open` and `close`; empty if memory runs out.
std::u16string bracketedCode(int code, const char16_t* open, const char16_t* close) noexcept {
    char16_t digits[16];
    int n = 0;
    unsigned int magnitude = code < 0 ? 0u - static_cast<unsigned int>(code) : static_cast<unsigned int>(code);
    do {
        digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    try {
        std::u16string text(open);
        if (code < 0) {
            text += u'-';
        }
        while (n > 0) {
            text += digits[--n];
        }
        text += close;
        return text;
    } catch (const std::bad_alloc&) {
        detail::noteOutOfMemory();
        return std::u16string();
    }
}

}  // namespace

std::u16string coreCodeText(int code) {
    qorv::oss::PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    if (!session) {
        return bracketedCode(code, u"<", u">");
    }
    qorv::oss::PointerTC<CoreElementC> element = session->lookupCoreElement(code);
    if (element) {
        return element->getName();
    }
    return bracketedCode(code, u"?<", u">?");
}

}  // namespace qorv::math::algexpr
