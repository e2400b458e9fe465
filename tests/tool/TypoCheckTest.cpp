// SPDX-License-Identifier: MIT
// Which unknown names the tool takes for typos of core names, under the
// numeric engine's vocabulary (the engines' whole table): both sides of
// every rule.
#include <string>

#include <gtest/gtest.h>

#include "TypoCheckC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/numeric/NumericSessionC.h"

namespace {

using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::cli::TypoCheckC;

class TypoCheckTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!CASSessionBC::getSession()) {
            CASSessionBC::setSession(new qorv::math::algexpr::numeric::NumericSessionC);
        }
    }

    std::string function(const char16_t* name) { return narrow(check.suggestion(name, true)); }
    std::string symbol(const char16_t* name) { return narrow(check.suggestion(name, false)); }
    static std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

    TypoCheckC check;
};

// A function's name of 3 characters or more, by case or one edit: added,
// dropped, changed, two neighbours swapped; a case-only match comes first.
TEST_F(TypoCheckTest, FunctionNamesByCaseOrOneEdit) {
    EXPECT_EQ(function(u"sinn"), "sin");
    EXPECT_EQ(function(u"Sin"), "sin");
    EXPECT_EQ(function(u"SINN"), "sin");
    EXPECT_EQ(function(u"pluss"), "plus");
    EXPECT_EQ(function(u"plu"), "plus");
    EXPECT_EQ(function(u"pkus"), "plus");
    EXPECT_EQ(function(u"sni"), "sin");
    EXPECT_EQ(function(u"EXP"), "exp");
    EXPECT_EQ(function(u"Tan"), "tan");
    EXPECT_EQ(function(u"sine"), "sin");
    EXPECT_EQ(function(u"sqrtx"), "sqrt");
    EXPECT_EQ(function(u"Gamma"), "gamma");
    EXPECT_EQ(function(u"sign"), "");  // a core name, one edit from sin
    for (const char16_t* name : {u"nis", u"plsu1", u"sinnn", u"ab", u"lg", u"Pi", u"f", u"foo", u"cosine", u"sqroot"}) {
        EXPECT_EQ(function(name), "") << narrow(name);
    }
}

// A symbol's name of 2 characters or more, by case only.
TEST_F(TypoCheckTest, SymbolNamesByCaseOnly) {
    EXPECT_EQ(symbol(u"PI"), "pi");
    EXPECT_EQ(symbol(u"Pi"), "pi");
    EXPECT_EQ(symbol(u"SIN"), "sin");
    for (const char16_t* name : {u"I", u"E", u"x", u"pii", u"sinn", u"p", u"xi", u"alpha"}) {
        EXPECT_EQ(symbol(name), "") << narrow(name);
    }
}

// The names that one edit would take for a core name but that are common in
// their own right, in one list.
TEST_F(TypoCheckTest, ExemptNames) {
    for (const char16_t* name : {u"tau", u"phi", u"cot", u"coth", u"xi", u"sech", u"acsch", u"erfi", u"beta"}) {
        EXPECT_TRUE(TypoCheckC::exempt(name)) << narrow(name);
        EXPECT_EQ(function(name), "") << narrow(name);
        EXPECT_EQ(symbol(name), "") << narrow(name);
    }
    EXPECT_TRUE(TypoCheckC::exempt(u"Phi"));  // in any case
    EXPECT_EQ(function(u"PHI"), "");
    EXPECT_FALSE(TypoCheckC::exempt(u"tan"));
    EXPECT_FALSE(TypoCheckC::exempt(u"taus"));
    EXPECT_EQ(function(u"taus"), "");
    EXPECT_EQ(function(u"tann"), "tan");
}

}  // namespace
