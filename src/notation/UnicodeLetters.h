// SPDX-License-Identifier: MIT
// Whether a code point is a letter (general category L*), for the
// identifiers of the infix notation. The table behind it is generated; see
// UnicodeLetters.cpp.
#ifndef ALGEXPR_SRC_NOTATION_UNICODELETTERS_H
#define ALGEXPR_SRC_NOTATION_UNICODELETTERS_H

namespace qorv::math::algexpr::detail {

bool isUnicodeLetter(char32_t c);

}  // namespace qorv::math::algexpr::detail

#endif
