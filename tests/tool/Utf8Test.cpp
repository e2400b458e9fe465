// The tool's UTF-8 conversion: strict decoding with the offset of the first
// bad byte, and encoding that turns unpaired surrogates into U+FFFD.
#include <string>

#include <gtest/gtest.h>

#include "Utf8C.h"

using qorv::math::algexpr::cli::Utf8C;

// One to four bytes, a NUL that does not end the text, and an astral code
// point as a surrogate pair, both ways. Decoding replaces; encoding appends,
// and writes an unpaired surrogate as U+FFFD.
TEST(Utf8Test, EveryLengthRoundTripsAndEncodingNeverFails) {
    const std::string bytes("a\0\xC3\xA9\xE2\x88\x92\xF0\x9D\x91\xA5", 11);
    const std::u16string text(u"a\0\u00e9\u2212\U0001d465", 6);
    std::u16string decoded = u"stale";
    std::size_t bad = 0;
    EXPECT_TRUE(Utf8C::decode(bytes, decoded, bad) && decoded == text);
    std::string encoded = "<";
    Utf8C::append(text, encoded);
    EXPECT_EQ(encoded, "<" + bytes);
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00, 0xDC00, 0xD800, 0xD83D};
    encoded.clear();
    Utf8C::append(std::u16string(lone, 7), encoded);
    EXPECT_EQ(encoded, "x\xEF\xBF\xBDy\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf8Test, RejectsMalformedInputAtTheFirstBadByte) {
    const struct {
        const char* bytes;
        std::size_t offset;
    } cases[] = {
        {"\x80", 0},               // stray continuation
        {"ab\xC0\x80", 2},         // overlong two-byte form
        {"\xE0\x80\x80", 1},       // overlong three-byte form
        {"\xED\xA0\x80", 1},       // an encoded surrogate
        {"\xF4\x90\x80\x80", 1},   // past U+10FFFF
        {"\xF5\x80\x80\x80", 0},   // no such lead byte
        {"\xC3\x28", 1},           // missing continuation
        {"ok\xF0\x9D\x91", 2},     // cut short at the end
        {"\xE2\x82\xACz\xFF", 4},  // good, then bad
    };
    for (const auto& c : cases) {
        std::u16string out;
        std::size_t bad = 99;
        EXPECT_FALSE(Utf8C::decode(c.bytes, out, bad)) << c.bytes;
        EXPECT_EQ(bad, c.offset) << c.bytes;
    }
}
