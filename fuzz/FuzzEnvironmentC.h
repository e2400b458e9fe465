// SPDX-License-Identifier: MIT
// FuzzEnvironmentC: what every fuzz target shares. It installs one session over
// the recording test doubles the first time it is asked, turns the fuzzer's
// bytes into a factory setting and a 16-bit text, and checks after each input
// that no number value outlived it.
//
// Input layout: the first byte sets up the factories (bit 0: the float factory
// reads the empty text as 0; bit 1: the session hides its integer factory;
// bit 2: it hides its float factory). Each further byte is one code unit
// U+0000..U+00FE, except 0xFF, which takes the next two bytes (high byte
// first) as one code unit of any value. ASCII mutations stay cheap, and every
// 16-bit value can still occur.
#ifndef ALGEXPR_FUZZ_FUZZENVIRONMENTC_H
#define ALGEXPR_FUZZ_FUZZENVIRONMENTC_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/Doubles.h"

namespace algexpr_fuzz {

class FuzzEnvironmentC {
public:
    /// The core names of the session: codes 0 to 4.
    static const char16_t* const kCoreNames[];

    /// The installed session, set up for this input; `text` receives the text.
    static testing_doubles::TestSession& begin(const std::uint8_t* data, std::size_t size, std::u16string& text);
    /// Call when every tree of the input is gone: checks that no number value
    /// is alive, flushes unused symbols and forgets the recorded events.
    static void end();
    /// The fuzzer's bytes as a 16-bit text (the layout above, without the
    /// first byte), recorded as the input text that check() reports.
    static void decode(const std::uint8_t* data, std::size_t size, std::u16string& text);
    /// Aborts with `what` and the input text when `condition` is false, which
    /// libFuzzer reports as a crash and keeps the input of.
    static void check(bool condition, const char* what);

private:
    static std::u16string current_text;
};

}  // namespace algexpr_fuzz

#endif
