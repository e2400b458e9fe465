// SPDX-License-Identifier: MIT
// Helpers of the pattern tests: patterns compiled from prefix text and
// bindings written as "a=2; r=(1,y)", under the numeric client's session.
#ifndef ALGEXPR_TESTS_PATTERNS_PATTERNFIXTURE_H
#define ALGEXPR_TESTS_PATTERNS_PATTERNFIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "algebra/AlgebraFixture.h"
#include "algexpr/MatcherC.h"
#include "algexpr/PatternC.h"

namespace pattern_tests {

using namespace algebra_tests;

inline std::u16string widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

/// The pattern compiled from prefix text; fails the test when it does not.
inline PatternC compiled(const std::string& text, const PatternC::SettingsS& settings = PatternC::SettingsS()) {
    PatternC pattern;
    std::u16string problem;
    Tree tree = read(widen(text));
    EXPECT_TRUE(pattern.compile(tree.get(), settings, &problem)) << text << ": " << narrow(problem);
    return pattern;
}

/// The bindings of the last match, wildcard by wildcard.
inline std::string bindings(const MatcherC& matcher, const PatternC& pattern) {
    std::string out;
    for (std::size_t w = 0; w < pattern.wildcardCount(); ++w) {
        out += (w > 0 ? "; " : "") + narrow(pattern.wildcardName(w)) + "=";
        const std::vector<const NodeABC*> nodes = matcher.binding(w);
        std::string list;
        for (const NodeABC* node : nodes) {
            list += (list.empty() ? "" : ",") + text(node);
        }
        out += pattern.isSequence(w) ? "(" + list + ")" : list;
    }
    return out;
}

}  // namespace pattern_tests

#endif
