// SPDX-License-Identifier: MIT
// The session of the infix tests: a vocabulary with the six operators,
// equations and lists (codes 0-5, then sin to i 6-15, equal 16, list 17), and
// floats whose default text is the shortest that reads back, always with "."
// or an exponent (2.5, 1e+21, 1e999 for infinity, "nan"), as the numeric
// client prints them, so that exponents and texts that are no numbers reach
// the writers. With display arguments they print as the doubles do
// ("0.25|6|3").
#ifndef ALGEXPR_TESTS_INFIX_INFIXFIXTURE_H
#define ALGEXPR_TESTS_INFIX_INFIXFIXTURE_H

#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "support/Doubles.h"

namespace testing_doubles {

inline const char16_t* const kInfixNames[] = {u"plus", u"minus", u"times", u"divide", u"power", u"neg",
                                              u"sin",  u"cos",   u"tan",   u"exp",    u"log",   u"sqrt",
                                              u"abs",  u"pi",    u"e",     u"i",      u"equal", u"list",
                                              u""};

class ShortestFloat : public TestFloat {
public:
    using TestFloat::TestFloat;
    std::u16string toString() override {
        const double v = getValue();
        if (v != v || v - v != 0) {
            return v != v ? u"nan" : v < 0 ? u"-1e999" : u"1e999";
        }
        char buffer[64];
        std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
        return widen(text.find_first_of(".e") == std::string::npos ? text + ".0" : text);
    }
    FloatValueABC* clone() override { return new ShortestFloat(getValue()); }
};

/// Reads what strtod reads in full from digits, ".", "e", "E" and signs (no
/// "inf", "nan" or hex), unless `decline` is set. Logs "float(<text>)".
class ShortestFloatFactory : public TestFloatFactory {
public:
    FloatValueABC* fromString(const std::u16string& text) override {
        note([&] { return "float(" + narrow(text) + ")"; });
        char* end = nullptr;
        const std::string ascii = narrow(text);
        const double value = std::strtod(ascii.c_str(), &end);
        const bool whole = !text.empty() && end == ascii.c_str() + ascii.size();
        return decline || !whole || text.find_first_not_of(u"0123456789.eE+-") != std::u16string::npos
                   ? nullptr
                   : new ShortestFloat(value);
    }
    bool decline = false;
};

inline TestSession& infixSession() {
    static TestSession* session = [] {
        auto* made = new TestSession(kInfixNames, new TestIntegerFactory, new ShortestFloatFactory);
        CASSessionBC::setSession(PointerTC<CASSessionBC>(made));
        return made;
    }();
    return *session;
}

class InfixTest : public ::testing::Test {
protected:
    void SetUp() override {
        infixSession().logging = false;
        floats().decline = false;
        takeEvents();
    }

    static ShortestFloatFactory& floats() {
        return *static_cast<ShortestFloatFactory*>(infixSession().CASSessionBC::getFloatValueFactory().get());
    }

    /// The tree of a prefix text (which must read).
    static PointerTC<AlgebraicExpressionC> prefix(const std::u16string& text) {
        PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(text);
        EXPECT_TRUE(e) << narrow(text);
        return e;
    }

    /// An infix text read and printed in prefix, or "error at <position>: <message>".
    static std::string read(const std::u16string& text) {
        InfixReaderC reader;
        PointerTC<AlgebraicExpressionC> e = reader.read(text);
        return e ? narrow(e->toPrefixString(0, qorv::math::Standard))
                 : "error at " + std::to_string(reader.getErrorPosition()) + ": " + narrow(reader.getErrorMessage());
    }

    /// A tree (or a prefix text's tree) written in infix or LaTeX, or "error: <message>".
    template <class Printer = InfixPrintVisitorC>
    static std::string write(NodeABC* node, unsigned long digits = 0) {
        Printer printer;
        const std::u16string text = printer.getExpressionString(node, digits, qorv::math::Standard);
        return text.empty() ? "error: " + narrow(printer.getErrorMessage()) : narrow(text);
    }
    template <class Printer = InfixPrintVisitorC>
    static std::string write(const std::u16string& prefix_text) {
        return write<Printer>(prefix(prefix_text)->getNode());
    }

    TreeBuilder build{infixSession().getSession()};
};

}  // namespace testing_doubles

#endif
