// SPDX-License-Identifier: MIT
// Text helpers of the engine clients' messages and names: numbers written
// for people, and UTF-8 to UTF-16 and back (through the library's Utf8C,
// throwing std::bad_alloc when memory runs out instead of giving up quietly).
#ifndef ALGEXPR_CLIENTS_SUPPORT_MESSAGETEXT_H
#define ALGEXPR_CLIENTS_SUPPORT_MESSAGETEXT_H

#include <cstdint>
#include <string>

namespace qorv::math::algexpr::support {

/// The decimal text of a number, with a comma between groups of three digits
/// from 10000 on (1000, 10,000, 1,000,000), for messages.
std::u16string count(std::uint64_t value);
/// count() of a nonnegative estimate, or "10^k" beyond 10^18.
std::u16string approximately(double value);
/// UTF-8 of a UTF-16 text; unpaired surrogates become U+FFFD.
std::string utf8(const std::u16string& text);
/// UTF-16 of a UTF-8 text; what is not well formed becomes U+FFFD.
std::u16string utf16(const std::string& text);

}  // namespace qorv::math::algexpr::support

#endif
