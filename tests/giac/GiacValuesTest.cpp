// SPDX-License-Identifier: MIT
// The Giac client's integers and their factory: any number of digits, the
// text form, saturation, and what the factory declines.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>

#include "algexpr/giac/IntegerValueC.h"
#include "algexpr/giac/IntegerValueFactoryC.h"

namespace {

using qorv::math::algexpr::IntegerValueABC;
using qorv::math::algexpr::giac::IntegerValueC;
using qorv::math::algexpr::giac::IntegerValueFactoryC;

std::string text(IntegerValueABC* value) {
    std::unique_ptr<IntegerValueABC> owner(value);
    if (!owner) {
        return "null";
    }
    const std::u16string t = owner->toString();
    return std::string(t.begin(), t.end());
}

TEST(GiacValuesTest, ReadsAndWritesIntegersOfAnySize) {
    IntegerValueFactoryC factory;
    EXPECT_EQ(text(factory.fromString(u"-123456789012345678901234567890")), "-123456789012345678901234567890");
    EXPECT_EQ(text(factory.fromString(u"+007")), "7");
    EXPECT_EQ(text(factory.fromString(u"\u2212" u"5")), "-5");
    EXPECT_EQ(text(factory.fromString(u"-0")), "0");
    for (const char16_t* bad : {u"", u"-", u"1-2", u"--1", u"1.0", u" 1"}) {
        EXPECT_EQ(factory.fromString(bad), nullptr);
    }
    EXPECT_EQ(text(factory.fromDouble(1e20)), "100000000000000000000");
    EXPECT_EQ(factory.fromDouble(0.5), nullptr);
    EXPECT_EQ(text(factory.fromInt64(std::numeric_limits<std::int64_t>::min())), "-9223372036854775808");
    EXPECT_EQ(text(factory.zero()), "0");
}

TEST(GiacValuesTest, SaturatesOutsideSixtyFourBits) {
    std::unique_ptr<IntegerValueC> big(IntegerValueC::fromText(u"99999999999999999999"));
    EXPECT_EQ(big->getValue(), std::numeric_limits<std::int64_t>::max());
    std::unique_ptr<IntegerValueC> low(IntegerValueC::fromText(u"-9223372036854775809"));
    EXPECT_EQ(low->getValue(), std::numeric_limits<std::int64_t>::min());
    std::unique_ptr<IntegerValueC> edge(IntegerValueC::fromText(u"-9223372036854775808"));
    EXPECT_EQ(edge->getValue(), std::numeric_limits<std::int64_t>::min());
    std::unique_ptr<IntegerValueC> top(IntegerValueC::fromText(u"9223372036854775807"));
    EXPECT_EQ(top->getValue(), std::numeric_limits<std::int64_t>::max());
    std::unique_ptr<IntegerValueABC> copy(big->clone());
    big->setValue(-42);
    EXPECT_EQ(text(copy.release()), "99999999999999999999");
    EXPECT_EQ(big->getValue(), -42);
    EXPECT_TRUE(big->isNegative());
    EXPECT_EQ(big->digits(), "42");
}

}  // namespace
