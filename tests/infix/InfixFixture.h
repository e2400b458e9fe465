// The session of the infix tests: a vocabulary with the six operators, and
// floats that print the way the numeric client's do (the shortest text that
// reads back, always with "." or an exponent: 2.5, 1e+21, 1e999 for infinity,
// "nan"), so that exponents and texts that are not numbers reach the writers.
#ifndef ALGEXPR_TESTS_INFIX_INFIXFIXTURE_H
#define ALGEXPR_TESTS_INFIX_INFIXFIXTURE_H

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "support/Doubles.h"

namespace testing_doubles {

inline const char16_t* const kInfixNames[] = {u"plus", u"minus", u"times", u"divide", u"power", u"neg",
                                              u"sin",  u"cos",   u"tan",   u"exp",    u"log",   u"sqrt",
                                              u"abs",  u"pi",    u"e",     u"i",      u""};

class ShortestFloat : public FloatValueABC {
public:
    explicit ShortestFloat(double value) : value(value) {}
    double getValue() const override { return value; }
    void setValue(double v) override { value = v; }
    bool isFinite() const override { return std::isfinite(value); }
    /// With digits: that many significant digits (Scientific: always an exponent).
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) override {
        if (digits == 0 || !std::isfinite(value)) {
            return toString();
        }
        char buffer[64];
        const auto form = format == qorv::math::Scientific ? std::chars_format::scientific : std::chars_format::general;
        const int precision = static_cast<int>(digits) - (format == qorv::math::Scientific ? 1 : 0);
        return widen(std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, form, precision).ptr));
    }
    std::u16string toString() override {
        if (std::isnan(value)) {
            return u"nan";
        }
        if (std::isinf(value)) {
            return value < 0 ? u"-1e999" : u"1e999";
        }
        char buffer[64];
        std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        if (text.find_first_of(".e") == std::string::npos) {
            text += ".0";
        }
        return widen(text);
    }
    FloatValueABC* clone() override { return new ShortestFloat(value); }

private:
    double value;
};

/// Reads what strtod reads in full, from digits, ".", "e", "E" and signs
/// only (no "inf", "nan" or hex); declines everything while `decline` is
/// set. Logs "float(<text>)".
class ShortestFloatFactory : public FloatValueFactoryABC {
public:
    FloatValueABC* fromString(const std::u16string& text) override {
        note([&] { return "float(" + narrow(text) + ")"; });
        if (decline || text.empty() || text.find_first_not_of(u"0123456789.eE+-") != std::u16string::npos) {
            return nullptr;
        }
        const std::string ascii = narrow(text);
        char* end = nullptr;
        const double value = std::strtod(ascii.c_str(), &end);
        return end == ascii.c_str() + ascii.size() ? new ShortestFloat(value) : nullptr;
    }
    FloatValueABC* fromDouble(double v) override { return new ShortestFloat(v); }
    FloatValueABC* fromInt64(std::int64_t v) override { return fromDouble(static_cast<double>(v)); }
    FloatValueABC* zero() override { return fromDouble(0); }
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
        if (!e) {
            return "error at " + std::to_string(reader.getErrorPosition()) + ": " + narrow(reader.getErrorMessage());
        }
        EXPECT_EQ(std::u16string(reader.getErrorMessage()), u"");
        return narrow(e->toPrefixString(0, qorv::math::Standard));
    }

    /// A tree written in infix (or LaTeX), or "error: <message>".
    template <class Printer = InfixPrintVisitorC>
    static std::string write(NodeABC* node, unsigned long digits = 0,
                             qorv::math::NumberDisplayFormatE format = qorv::math::Standard) {
        Printer printer;
        const std::u16string text = printer.getExpressionString(node, digits, format);
        if (text.empty()) {
            return "error: " + narrow(printer.getErrorMessage());
        }
        EXPECT_EQ(std::u16string(printer.getErrorMessage()), u"");
        return narrow(text);
    }

    /// The prefix text's tree written in infix (or LaTeX).
    template <class Printer = InfixPrintVisitorC>
    static std::string write(const std::u16string& prefix_text) {
        return write<Printer>(prefix(prefix_text)->getNode());
    }

    TreeBuilder build{infixSession().getSession()};
};

}  // namespace testing_doubles

#endif
