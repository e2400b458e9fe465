// SPDX-License-Identifier: MIT
// The GiNaC session that the first test of an executable installs, and
// helpers that read prefix text, execute it and print the result.
#ifndef ALGEXPR_TESTS_GINAC_GINACFIXTURE_H
#define ALGEXPR_TESTS_GINAC_GINACFIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "algexpr/algexpr.h"
#include "algexpr/ginac.h"

namespace ginac_tests {

using namespace qorv::math::algexpr;
using namespace qorv::math::algexpr::ginac;
using qorv::oss::PointerTC;

inline std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }
inline std::u16string wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

inline GinacSessionC& session() {
    static GinacSessionC* installed = [] {
        auto* made = new GinacSessionC();
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

// A text and what it evaluates to, or the reason (or its start) it is refused with.
struct CaseS {
    std::string input;
    std::string expected;
};

inline void expectResults(const std::vector<CaseS>& cases, bool numeric = false) {
    for (const CaseS& c : cases) {
        EXPECT_EQ(run(c.input, numeric).text, c.expected) << c.input;
    }
}

inline void expectRefused(const std::vector<CaseS>& cases, bool numeric = false, bool prefix = false) {
    for (const CaseS& c : cases) {
        const Outcome outcome = run(c.input, numeric);
        EXPECT_EQ(outcome.text, "null") << c.input;
        EXPECT_EQ(prefix ? outcome.reason.substr(0, c.expected.size()) : outcome.reason, c.expected) << c.input;
    }
}

// f(f(...f(inner)...)), `depth` calls deep.
inline std::string nested(const std::string& function, std::size_t depth, const std::string& inner) {
    std::string text;
    text.reserve(depth * (function.size() + 2) + inner.size());
    for (std::size_t i = 0; i < depth; ++i) {
        text += function;
        text += '(';
    }
    text += inner;
    text.append(depth, ')');
    return text;
}

// Sets the session's digits for one scope.
class DigitsGuard {
public:
    explicit DigitsGuard(unsigned long digits) { EXPECT_TRUE(session().setDigits(digits)); }
    ~DigitsGuard() { session().setDigits(GinacEngineC::kDefaultDigits); }
    DigitsGuard(const DigitsGuard&) = delete;
    DigitsGuard& operator=(const DigitsGuard&) = delete;
};

}  // namespace ginac_tests

#endif
