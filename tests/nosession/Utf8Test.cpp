// SPDX-License-Identifier: MIT
// UTF-8 to and from the library's UTF-16: every code point both ways, strict
// decoding with the offset of the error, lenient decoding, and unpaired
// surrogates replaced or refused.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "algexpr/Utf8C.h"

namespace {

using qorv::math::algexpr::Utf8C;

// Every scalar value from U+0000 to U+10FFFF in one text, one way and back.
TEST(Utf8Test, EveryCodePointRoundTrips) {
    std::u16string all;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) {
            continue;
        }
        if (code >= 0x10000) {
            all += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            all += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            all += static_cast<char16_t>(code);
        }
    }
    std::string bytes = "stale";
    std::size_t offset = 99;
    ASSERT_EQ(Utf8C::encode(all, bytes, offset, Utf8C::RefuseUnpaired), Utf8C::Converted);
    EXPECT_EQ(offset, 99u);
    // 128 one-byte, 1920 two-byte, 61440 three-byte and 1048576 four-byte forms.
    EXPECT_EQ(bytes.size(), 128u + 1920 * 2 + 61440 * 3 + 1048576 * 4);
    std::u16string back = u"stale";
    ASSERT_EQ(Utf8C::decode(bytes, back, offset), Utf8C::Converted);
    EXPECT_TRUE(back == all);
    EXPECT_TRUE(Utf8C::toUtf16(bytes) == all);
    EXPECT_TRUE(Utf8C::toUtf8(all) == bytes);

    // The first and last of each length, and a NUL that ends nothing.
    const std::string edges("\0\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"
                            "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
                            26);
    const std::u16string expected(u"\0\u007f\u0080\u07ff\u0800\ud7ff\ue000\uffff\U00010000\U0010ffff", 12);
    EXPECT_TRUE(Utf8C::toUtf16(edges) == expected);
    EXPECT_EQ(Utf8C::toUtf8(expected), edges);
}

TEST(Utf8Test, StrictDecodingSaysWhereTheBytesStopFitting) {
    const std::tuple<std::string, std::size_t> cases[] = {
        {"\x80", 0},                  // stray continuation
        {"ab\xC0\x80", 2},            // C0 and C1 start only overlong forms
        {"\xE0\x80\x80", 1},          // overlong three-byte form
        {"\xE0\x9F\xBF", 1},          // likewise, its largest
        {"\xF0\x8F\xBF\xBF", 1},      // overlong four-byte form
        {"\xED\xA0\x80", 1},          // an encoded surrogate
        {"\xED\xBF\xBF", 1},          // likewise, the last
        {"\xF4\x90\x80\x80", 1},      // past U+10FFFF
        {"\xF5\x80\x80\x80", 0},      // no such lead byte
        {"x\xFF", 1},                 // nor such a byte at all
        {"\xC3\x28", 1},              // a continuation missing
        {"\xE2\x82z", 2},             // likewise, later
        {"\xF0\x9D\x91\xF0", 3},      // likewise, the last
        {"ok\xF0\x9D\x91", 5},        // cut short: the end of the text
        {"\xE2", 1},                  // likewise
        {"\xE2\x82\xACz\xFF", 4},     // good, then bad
    };
    for (const auto& [bytes, offset] : cases) {
        std::u16string out = u"stale";
        std::size_t at = 99;
        EXPECT_EQ(Utf8C::decode(bytes, out, at), Utf8C::Invalid) << bytes;
        EXPECT_EQ(at, offset) << bytes;
        EXPECT_TRUE(out.empty()) << bytes;
    }
}

// Each maximal subpart of an ill-formed sequence becomes one U+FFFD (the
// Unicode Standard's own examples among them).
TEST(Utf8Test, LenientDecodingReplacesMaximalSubparts) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"a\xF1\x80\x80\xE1\x80\xC2" "b\x80" "c\x80\xBF" "d", u"a\ufffd\ufffd\ufffdb\ufffdc\ufffd\ufffdd"},
        {"\xC0\xAF", u"\ufffd\ufffd"},
        {"\xED\xA0\x80", u"\ufffd\ufffd\ufffd"},
        {"\xF4\x90\x80\x80", u"\ufffd\ufffd\ufffd\ufffd"},
        {"x\xF0\x9D\x91", u"x\ufffd"},
        {"\xE2\x82\xAC", u"\u20ac"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_TRUE(Utf8C::toUtf16(bytes) == expected) << bytes;
    }
}

TEST(Utf8Test, UnpairedSurrogatesAreReplacedOrRefused) {
    const char16_t text[] = {u'x', 0xD800, u'y', 0xDC00, 0xDC00, 0xD800, 0xD83D, 0xDE00, 0xD83D};
    const std::u16string_view view(text, 9);
    EXPECT_EQ(Utf8C::toUtf8(view), "x\xEF\xBF\xBDy\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xF0\x9F\x98\x80\xEF\xBF\xBD");
    std::string out;
    std::size_t offset = 99;
    EXPECT_EQ(Utf8C::encode(view, out, offset), Utf8C::Converted);
    EXPECT_EQ(out, Utf8C::toUtf8(view));
    for (std::size_t start : {0, 2, 3, 4, 8}) {  // each unpaired one in turn
        out = "stale";
        EXPECT_EQ(Utf8C::encode(view.substr(start), out, offset, Utf8C::RefuseUnpaired), Utf8C::Invalid);
        EXPECT_EQ(offset, start == 0 ? 1 : start == 2 ? 1 : 0) << start;
        EXPECT_TRUE(out.empty());
    }
    EXPECT_EQ(Utf8C::encode(view.substr(6, 2), out, offset, Utf8C::RefuseUnpaired), Utf8C::Converted);
    EXPECT_EQ(out, "\xF0\x9F\x98\x80");
}

}  // namespace
