// The reference client's number texts: what the factories accept and
// decline, and what the values print, in every display form.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "refclient/FloatValueC.h"
#include "refclient/FloatValueFactoryC.h"
#include "refclient/IntegerValueC.h"
#include "refclient/IntegerValueFactoryC.h"

using namespace qorv::math::algexpr;
using namespace qorv::math::algexpr::refclient;
using qorv::math::NumberDisplayFormatE;

namespace {

std::string narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

std::uint64_t bits(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

}  // namespace

TEST(IntegerValueTest, AcceptsOneSignOfFourAndDecimalDigits) {
    const struct {
        const char16_t* text;
        std::int64_t value;
    } cases[] = {{u"0", 0},
                 {u"42", 42},
                 {u"+7", 7},
                 {u"-7", -7},
                 {u"\u20137", -7},
                 {u"\u22127", -7},
                 {u"007", 7},
                 {u"-0", 0},
                 {u"9223372036854775807", kMax},
                 {u"-9223372036854775808", kMin},
                 {u"\u22129223372036854775808", kMin}};
    IntegerValueFactoryC factory;
    for (const auto& c : cases) {
        std::unique_ptr<IntegerValueABC> value(factory.fromString(c.text));
        ASSERT_NE(value, nullptr) << narrow(c.text);
        EXPECT_EQ(value->getValue(), c.value) << narrow(c.text);
    }
}

TEST(IntegerValueTest, DeclinesOverflowEmptyAndMalformedTexts) {
    IntegerValueFactoryC factory;
    for (const char16_t* text : {u"", u"-", u"+", u"--1", u"+-1", u"1-2", u"1.0", u"1e3", u" 1", u"1 ", u"\u0661",
                                 u"9223372036854775808", u"-9223372036854775809", u"99999999999999999999"}) {
        EXPECT_EQ(std::unique_ptr<IntegerValueABC>(factory.fromString(text)), nullptr) << narrow(text);
    }
}

TEST(IntegerValueTest, PrintsDecimalThatReadsBack) {
    for (std::int64_t v : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{1234567890}, kMin, kMax}) {
        IntegerValueC value(v);
        std::int64_t back = 0;
        ASSERT_TRUE(IntegerValueC::parse(value.toString(), back));
        EXPECT_EQ(back, v);
    }
    EXPECT_EQ(IntegerValueC::format(kMin), u"-9223372036854775808");
}

TEST(IntegerValueTest, FromDoubleOnlyForWholeNumbersInRange) {
    IntegerValueFactoryC factory;
    std::unique_ptr<IntegerValueABC> two(factory.fromDouble(2.0));
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->getValue(), 2);
    std::unique_ptr<IntegerValueABC> lowest(factory.fromDouble(-9223372036854775808.0));
    ASSERT_NE(lowest, nullptr);
    EXPECT_EQ(lowest->getValue(), kMin);
    for (double x : {2.5, 9223372036854775808.0, std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        EXPECT_EQ(std::unique_ptr<IntegerValueABC>(factory.fromDouble(x)), nullptr) << x;
    }
}

TEST(FloatValueTest, AcceptsDecimalFloatsWithSignsAndExponent) {
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {{u"1.5", 1.5},
                 {u".5", 0.5},
                 {u"5.", 5.0},
                 {u"+2.5", 2.5},
                 {u"1e3", 1000.0},
                 {u"1E-3", 0.001},
                 {u"2.5e+3", 2500.0},
                 {u"\u22121e\u22123", -0.001},
                 {u"\u20132.5E\u20131", -0.25},
                 {u"123", 123.0},
                 {u"99999999999999999999", 1e20},
                 {u"4.9e-324", 4.9e-324},
                 {u"0.1e1", 1.0}};
    FloatValueFactoryC factory;
    for (const auto& c : cases) {
        std::unique_ptr<FloatValueABC> value(factory.fromString(c.text));
        ASSERT_NE(value, nullptr) << narrow(c.text);
        EXPECT_EQ(value->getValue(), c.value) << narrow(c.text);
    }
}

TEST(FloatValueTest, ReadsBeyondTheRangeAsSignedInfinityOrZero) {
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {{u"1e999", HUGE_VAL},        {u"-1e999", -HUGE_VAL}, {u"1e99999999999999999999", HUGE_VAL},
                 {u"0.000001e315", HUGE_VAL}, {u"1e-999", 0.0},       {u"-1e-999", -0.0},
                 {u"100000e-330", 0.0},       {u"-0.0", -0.0}};
    for (const auto& c : cases) {
        double value = 7.0;
        ASSERT_TRUE(FloatValueC::parse(c.text, value)) << narrow(c.text);
        EXPECT_EQ(bits(value), bits(c.value)) << narrow(c.text);
    }
}

TEST(FloatValueTest, DeclinesEverythingElse) {
    FloatValueFactoryC factory;
    for (const char16_t* text :
         {u"",     u".",     u"-",   u"+.",  u"e5",    u"1e", u"1e+", u"1e--3", u"1.2.3", u"--1",
          u"1e5e", u"1e1.5", u"inf", u"nan", u"0x1p3", u" 1", u"1 ",  u"1-2",   u"1,5",   u"\uff11"}) {
        EXPECT_EQ(std::unique_ptr<FloatValueABC>(factory.fromString(text)), nullptr) << narrow(text);
    }
}

TEST(FloatValueTest, PrintsEachFormAsDocumented) {
    const double inf = HUGE_VAL;
    const struct {
        double value;
        unsigned long digits;
        int format;
        const char16_t* text;
    } cases[] = {
        {1.0, 0, qorv::math::Standard, u"1.0"},
        {0.1, 0, qorv::math::Standard, u"0.1"},
        {1e21, 0, qorv::math::Standard, u"1e21"},
        {1.5e-7, 0, qorv::math::Standard, u"1.5e-7"},
        {123456789.0, 0, qorv::math::Standard, u"123456789.0"},
        {-0.0, 0, qorv::math::Standard, u"-0.0"},
        {2.0 / 3, 3, qorv::math::Standard, u"0.667"},
        {1234567.0, 3, qorv::math::Standard, u"1.23e6"},
        {100.0, 3, qorv::math::Standard, u"100.0"},
        {1e21, 0, qorv::math::Fixed, u"1000000000000000000000.0"},
        {2.0 / 3, 2, qorv::math::Fixed, u"0.67"},
        {2.0, 0, qorv::math::Fixed, u"2.0"},
        {1500.0, 0, qorv::math::Scientific, u"1.5e3"},
        {1.0, 0, qorv::math::Scientific, u"1e0"},
        {0.0, 0, qorv::math::Scientific, u"0e0"},
        {1234.5, 2, qorv::math::Scientific, u"1.2e3"},
        {12345.0, 0, qorv::math::Engineering, u"12.345e3"},
        {0.00015, 0, qorv::math::Engineering, u"150e-6"},
        {0.01, 0, qorv::math::Engineering, u"10e-3"},
        {-1500.0, 0, qorv::math::Engineering, u"-1.5e3"},
        {123456.0, 2, qorv::math::Engineering, u"120e3"},
        {999.9, 2, qorv::math::Engineering, u"1.0e3"},
        {1.5, 0, 42, u"1.5"},  // not a format: Standard
        {inf, 0, qorv::math::Standard, u"1e999"},
        {-inf, 5, qorv::math::Engineering, u"-1e999"},
        {std::nan(""), 3, qorv::math::Fixed, u"nan"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(narrow(FloatValueC::format(c.value, c.digits, static_cast<NumberDisplayFormatE>(c.format))),
                  narrow(c.text))
            << c.value << " digits " << c.digits << " format " << c.format;
    }
}

TEST(FloatValueTest, HugeDigitCountsAreCappedAndExact) {
    // 0.1 is 0.1000000000000000055511151231257827..., exactly 55 decimals.
    const std::u16string text = FloatValueC::format(0.1, std::numeric_limits<unsigned long>::max(), qorv::math::Fixed);
    EXPECT_EQ(text.size(), 2 + FloatValueC::kMaxDigits);
    EXPECT_EQ(narrow(text.substr(0, 30)), "0.1000000000000000055511151231");
    EXPECT_EQ(FloatValueC::format(4.9e-324, 0, qorv::math::Fixed), u"0." + std::u16string(323, u'0') + u"5");
}

// Shortest round trip in every form, over special values and random bits.
TEST(FloatValueTest, EveryFormReadsBackToTheSameDoubleAsAFloat) {
    std::mt19937_64 random(20240601);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  0.1,
                                  1e21,
                                  1e-7,
                                  5e-324,
                                  2.2250738585072014e-308,
                                  1.7976931348623157e308,
                                  -1.7976931348623157e308,
                                  HUGE_VAL,
                                  -HUGE_VAL};
    for (int i = 0; i < 20000; ++i) {
        double x;
        const std::uint64_t b = random();
        std::memcpy(&x, &b, sizeof x);
        if (!std::isnan(x)) {
            values.push_back(x);
        }
    }
    for (const double x : values) {
        for (int format = qorv::math::Standard; format <= qorv::math::Engineering; ++format) {
            const std::u16string text = FloatValueC::format(x, 0, static_cast<NumberDisplayFormatE>(format));
            double back = 7.0;
            ASSERT_TRUE(FloatValueC::parse(text, back)) << narrow(text);
            ASSERT_EQ(bits(back), bits(x)) << narrow(text);
            ASSERT_NE(text.find_first_of(u".e"), std::u16string::npos) << narrow(text);
        }
    }
}

TEST(FloatValueTest, ValueObjectsAreIndependentCopies) {
    FloatValueC value(2.5);
    std::unique_ptr<FloatValueABC> copy(value.clone());
    value.setValue(-1.0);
    EXPECT_EQ(copy->getValue(), 2.5);
    EXPECT_EQ(narrow(copy->toString()), "2.5");
    EXPECT_TRUE(copy->isFinite());
    EXPECT_FALSE(FloatValueC(HUGE_VAL).isFinite());
    EXPECT_FALSE(FloatValueC(std::nan("")).isFinite());
}
