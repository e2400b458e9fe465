// SPDX-License-Identifier: MIT
// The Giac session that the first test of an executable installs, and
// helpers that read prefix text, execute it and print the result.
#ifndef ALGEXPR_TESTS_GIAC_GIACFIXTURE_H
#define ALGEXPR_TESTS_GIAC_GIACFIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "algexpr/algexpr.h"
#include "algexpr/giac.h"

namespace giac_tests {

using namespace qorv::math::algexpr;
using namespace qorv::math::algexpr::giac;
using qorv::oss::PointerTC;

inline std::string narrow(const std::u16string& text) { return Utf8C::toUtf8(text); }
inline std::u16string wide(const std::string& text) { return Utf8C::toUtf16(text); }

inline GiacSessionC& session() {
    static GiacSessionC* installed = [] {
        auto* made = new GiacSessionC();
        CASSessionBC::setSession(PointerTC<CASSessionBC>(made));
        return made;
    }();
    return *installed;
}

struct Outcome {
    std::string text;    // the result printed, or "null" (or "does not read")
    std::string reason;  // the text executeExpression gave
};

inline Outcome run(const std::string& text, bool numeric = false) {
    session();
    PointerTC<AlgebraicExpressionC> expression = AlgebraicExpressionC::fromPrefixString(wide(text));
    if (!expression) {
        return {"does not read", ""};
    }
    std::u16string reason = u"untouched";
    PointerTC<AlgebraicExpressionC> result = expression->execute(numeric, &reason);
    return {result ? narrow(result->toPrefixString(0, qorv::math::Standard)) : "null", narrow(reason)};
}

inline std::string eval(const std::string& text) { return run(text).text; }
inline std::string numeric(const std::string& text) { return run(text, true).text; }

}  // namespace giac_tests

#endif
