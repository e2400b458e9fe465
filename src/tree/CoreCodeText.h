// SPDX-License-Identifier: MIT
// The text of a core node: its element's name in the current session,
// "?<code>?" when that session has no element of the code, "<code>" when no
// session is current. Shared by the core symbol and core function nodes.
#ifndef ALGEXPR_SRC_TREE_CORECODETEXT_H
#define ALGEXPR_SRC_TREE_CORECODETEXT_H

#include <string>

namespace qorv::math::algexpr {

std::u16string coreCodeText(int code);

}  // namespace qorv::math::algexpr

#endif
