// SPDX-License-Identifier: MIT
// The tool's UTF-8 output of library text: appended to what is there, ASCII
// unit by unit, everything else through the library's encoder.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "AppendUtf8.h"

namespace {

using qorv::math::algexpr::cli::appendUtf8;

TEST(AppendUtf8Test, AppendsEveryScriptToWhatIsThere) {
    std::string out = "x=";
    appendUtf8(std::u16string_view(), out);
    appendUtf8(u"", out);
    EXPECT_EQ(out, "x=");
    appendUtf8(u"plus(a,1)", out);
    EXPECT_EQ(out, "x=plus(a,1)");
    appendUtf8(u"f(\u03b1,\U0001d465)", out);
    EXPECT_EQ(out, "x=plus(a,1)f(\u03b1,\U0001d465)");
    out.clear();
    appendUtf8(std::u16string(u"a") + char16_t(0xD800) + u"b", out);  // an unpaired surrogate
    EXPECT_EQ(out, "a\uFFFDb");
    out.clear();
    appendUtf8(u"\x7f\x80", out);  // the last unit that is its own byte, and the first that is not
    EXPECT_EQ(out, "\x7f\xc2\x80");
}

}  // namespace
