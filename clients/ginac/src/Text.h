// SPDX-License-Identifier: MIT
// Small text helpers of the engine: UTF-16 to UTF-8 and back for GiNaC's
// names and messages, and numbers in messages.
#ifndef ALGEXPR_GINAC_SRC_TEXT_H
#define ALGEXPR_GINAC_SRC_TEXT_H

#include <cstdint>
#include <string>

namespace qorv::math::algexpr::ginac::detail {

/// UTF-8 of a UTF-16 text; unpaired surrogates become U+FFFD.
std::string utf8(const std::u16string& text);
/// UTF-16 of a UTF-8 text; malformed bytes become U+FFFD.
std::u16string utf16(const std::string& text);
/// The decimal text of a number, with a comma between groups of three digits
/// from 10000 on (1000, 10,000, 1,000,000), for messages.
std::u16string count(std::uint64_t value);
/// count() of a nonnegative estimate, or "10^k" beyond 10^18.
std::u16string approximately(double value);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
