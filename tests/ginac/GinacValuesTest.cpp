// SPDX-License-Identifier: MIT
// The GiNaC client's number values and factories, without a session: which
// texts they read, how they print in every display form, saturation of the
// 64-bit view, and exact conversions from doubles.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "algexpr/ginac.h"
#include "algexpr/numeric/FloatValueC.h"

using namespace qorv::math::algexpr;
using namespace qorv::math::algexpr::ginac;

namespace {

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::string integerText(const std::u16string& text) {
    std::unique_ptr<IntegerValueABC> value(IntegerValueFactoryC().fromString(text));
    return value ? narrow(value->toString()) : "declined";
}

std::string floatText(const std::u16string& text, unsigned long digits = 0,
                      qorv::math::NumberDisplayFormatE format = qorv::math::Standard) {
    std::unique_ptr<FloatValueABC> value(FloatValueFactoryC().fromString(text));
    return value ? narrow(value->toString(digits, format)) : "declined";
}

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(GinacIntegerValueTest, ReadsOneSignAndDigitsOfAnyLengthAndNothingElse) {
    EXPECT_EQ(integerText(u"+7"), "7");
    EXPECT_EQ(integerText(u"\u2212" u"7"), "-7");
    EXPECT_EQ(integerText(u"\u2013" u"7"), "-7");
    EXPECT_EQ(integerText(u"-0"), "0");
    EXPECT_EQ(integerText(u"000120"), "120");
    EXPECT_EQ(integerText(u"99999999999999999999999999"), "99999999999999999999999999");
    EXPECT_EQ(integerText(u"-123456789012345678901234567890"), "-123456789012345678901234567890");
    // GiNaC itself would read the first two as -1.
    for (const char16_t* text : {u"1-2", u"--1", u"+-1", u"", u"-", u"1.0", u"1e3", u" 1", u"\uFF11", u"0x10"}) {
        EXPECT_EQ(integerText(text), "declined") << narrow(text);
    }
}

TEST(GinacIntegerValueTest, GetValueSaturatesAtThe64BitLimitsAndSetValueMakesItExactAgain) {
    const struct {
        const char16_t* text;
        std::int64_t value;
        bool large;
    } cases[] = {{u"9223372036854775807", kMax, false},
                 {u"-9223372036854775808", kMin, false},
                 {u"9223372036854775808", kMax, true},
                 {u"-9223372036854775809", kMin, true},
                 {u"100000000000000000000000000000", kMax, true}};
    for (const auto& c : cases) {
        std::unique_ptr<IntegerValueC> value(IntegerValueC::fromText(c.text));
        ASSERT_TRUE(value) << narrow(c.text);
        EXPECT_EQ(value->getValue(), c.value) << narrow(c.text);
        EXPECT_EQ(value->isLarge(), c.large) << narrow(c.text);
        EXPECT_EQ(narrow(value->toString()), narrow(c.text));
        std::unique_ptr<IntegerValueABC> copy(value->clone());
        EXPECT_EQ(narrow(copy->toString()), narrow(c.text));
        value->setValue(-5);
        EXPECT_FALSE(value->isLarge());
        EXPECT_EQ(narrow(value->toString()), "-5");
        EXPECT_EQ(narrow(copy->toString()), narrow(c.text)) << "the clone is independent";
    }
}

TEST(GinacIntegerValueTest, FromDoubleGivesEveryDigitOfWholeDoublesOnly) {
    IntegerValueFactoryC factory;
    std::unique_ptr<IntegerValueABC> big(factory.fromDouble(1e300));
    ASSERT_TRUE(big);
    const std::string text = narrow(big->toString());
    EXPECT_EQ(text.size(), 301u);
    EXPECT_EQ(text.substr(0, 20), "10000000000000000525");
    std::unique_ptr<IntegerValueABC> negative(factory.fromDouble(-4096.0));
    EXPECT_EQ(narrow(negative->toString()), "-4096");
    for (double declined : {0.5, std::numeric_limits<double>::infinity(), std::nan("")}) {
        EXPECT_EQ(factory.fromDouble(declined), nullptr) << declined;
    }
}

TEST(GinacFloatValueTest, ReadsDecimalFloatsExactlyAsWritten) {
    EXPECT_EQ(floatText(u"2"), "2.0");
    EXPECT_EQ(floatText(u"-0.5"), "-0.5");
    EXPECT_EQ(floatText(u".5"), "0.5");
    EXPECT_EQ(floatText(u"5."), "5.0");
    EXPECT_EQ(floatText(u"2.50E-3"), "0.0025");
    EXPECT_EQ(floatText(u"\u2212" u"1e\u2212" u"3"), "-0.001");
    EXPECT_EQ(floatText(u"0.1000000000000000000000000000000000001"), "0.1000000000000000000000000000000000001");
    EXPECT_EQ(floatText(u"1e999999"), "1e999999");
    for (const char16_t* text : {u"", u".", u"1e", u"e3", u"1.2.3", u"--1", u"1e--3", u"inf", u"nan", u"1 ", u"1e9999999999999999"}) {
        EXPECT_EQ(floatText(text), "declined") << narrow(text);
    }
}

TEST(GinacFloatValueTest, PrintsExactlyTheDigitsAskedForCorrectlyRounded) {
    using qorv::math::Engineering;
    using qorv::math::Fixed;
    using qorv::math::Scientific;
    using qorv::math::Standard;
    const struct {
        const char16_t* text;
        unsigned long digits;
        qorv::math::NumberDisplayFormatE format;
        const char* expected;
    } cases[] = {
        {u"0.25", 17, Standard, "0.25000000000000000"},
        {u"123.456", 4, Standard, "123.5"},
        {u"99.96", 3, Standard, "100."},
        {u"1000", 3, Standard, "1.00e3"},
        {u"1e21", 0, Standard, "1e21"},
        {u"1e20", 0, Standard, "100000000000000000000.0"},
        {u"0.000001", 0, Standard, "0.000001"},
        {u"0.0000001", 0, Standard, "1e-7"},
        {u"0.125", 2, Standard, "0.12"},  // a tie goes to the even digit
        {u"0.135", 2, Standard, "0.14"},
        {u"0.1251", 2, Standard, "0.13"},
        {u"9.96", 1, Fixed, "10.0"},
        {u"0.0049", 2, Fixed, "0.00"},
        {u"0.005", 2, Fixed, "0.00"},
        {u"0.0051", 2, Fixed, "0.01"},
        {u"1234.5", 0, Fixed, "1234.5"},
        {u"1e20000", 2, Fixed, "1.0e20000"},
        {u"1234.5", 3, Scientific, "1.23e3"},
        {u"1234.5", 0, Scientific, "1.2345e3"},
        {u"0.000025", 0, Engineering, "25e-6"},
        {u"15000", 3, Engineering, "15.0e3"},
        {u"0", 0, Standard, "0.0"},
        {u"0", 3, Standard, "0.00"},
        {u"0", 2, Fixed, "0.00"},
        {u"0", 0, Scientific, "0.0e0"},
        {u"-2.5", 0, static_cast<qorv::math::NumberDisplayFormatE>(42), "-2.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(floatText(c.text, c.digits, c.format), c.expected) << narrow(c.text) << " " << c.digits << " " << c.format;
    }
}

TEST(GinacFloatValueTest, EveryPrintedTextReadsBackToTheSameNumber) {
    for (const char16_t* text : {u"0.1", u"-123.456e-30", u"6.02214076e23", u"1e-400", u"3"}) {
        for (auto format : {qorv::math::Standard, qorv::math::Fixed, qorv::math::Scientific, qorv::math::Engineering}) {
            const std::string printed = floatText(text, 0, format);
            std::u16string wide(printed.begin(), printed.end());
            EXPECT_EQ(floatText(wide), floatText(text)) << printed;
        }
    }
}

TEST(GinacFloatValueTest, DoublesAreTakenAtTheirShortestTextAndGivenBackExactly) {
    FloatValueFactoryC factory;
    for (double x : {0.1, -2.5e-300, 1.7976931348623157e308, 4.9406564584124654e-324, 123456789.0}) {
        std::unique_ptr<FloatValueABC> value(factory.fromDouble(x));
        ASSERT_TRUE(value);
        EXPECT_EQ(value->getValue(), x);
        EXPECT_TRUE(value->isFinite());
    }
    std::unique_ptr<FloatValueABC> value(factory.fromDouble(0.1));
    EXPECT_EQ(narrow(value->toString()), "0.1");
    value->setValue(-std::numeric_limits<double>::infinity());
    EXPECT_FALSE(value->isFinite());
    EXPECT_EQ(narrow(value->toString()), "-1e999") << "as the numeric client writes it: a number, not a name";
    EXPECT_EQ(value->getValue(), -std::numeric_limits<double>::infinity());
    std::unique_ptr<FloatValueABC> large(factory.fromString(u"1e400"));
    EXPECT_EQ(large->getValue(), std::numeric_limits<double>::infinity());
    std::unique_ptr<FloatValueABC> exact(factory.fromInt64(kMin));
    EXPECT_EQ(narrow(exact->toString()), "-9223372036854775808.0");
}

}  // namespace

namespace {

// The two clients share their number texts: the same double is written
// alike by both in every form (at their shortest; rounded to fewer digits
// they may differ, as the GiNaC client's float is the decimal of that text
// and the numeric client's the binary double), and each reads the other's
// text back to the same double.
TEST(GinacFloatValueTest, BothClientsWriteAndReadNumbersAlike) {
    using qorv::math::NumberDisplayFormatE;
    std::mt19937_64 random(99);
    std::vector<double> values = {0.0, -0.0, 1e20, 1e21, 1e-7, 1.5e-7, 100.0, 2.675, 0.1, 9223372036854775808.0,
                                  4.9e-324, 1.7976931348623157e308, -std::numeric_limits<double>::infinity()};
    for (int i = 0; i < 300; ++i) {
        std::uint64_t bits = random();
        double x = 0.0;
        std::memcpy(&x, &bits, sizeof x);
        if (std::isfinite(x)) {
            values.push_back(x);
        }
    }
    const NumberDisplayFormatE formats[] = {qorv::math::Standard, qorv::math::Fixed, qorv::math::Scientific,
                                            qorv::math::Engineering};
    for (double x : values) {
        std::unique_ptr<FloatValueC> ours(FloatValueC::fromDouble(x));
        ASSERT_TRUE(ours);
        for (NumberDisplayFormatE format : formats) {
            EXPECT_EQ(ours->toString(0, format), numeric::FloatValueC::format(x, 0, format)) << x << " " << format;
        }
        double back = 0.0;
        ASSERT_TRUE(numeric::FloatValueC::parse(ours->toString(), back)) << x;
        EXPECT_EQ(back, x);
    }
}

}  // namespace
