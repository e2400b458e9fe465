// SPDX-License-Identifier: MIT
// Giac's headers, for the client's sources only: Giac's config.h must come
// first, and it defines PACKAGE and VERSION, which must not reach anything
// installed. Inside the client's namespace (which is also called giac),
// Giac's own is written ::giac.
#ifndef ALGEXPR_GIAC_SRC_GIACHEADERS_H
#define ALGEXPR_GIAC_SRC_GIACHEADERS_H

#include <giac/config.h>
#include <giac/giac.h>

#include <vector>

namespace qorv::math::algexpr::giac::detail {

/// A Giac vector of the values (subtype 0: a list; _SEQ__VECT: arguments).
inline ::giac::gen vectorOf(const std::vector<::giac::gen>& values, short subtype) {
    ::giac::vecteur items;
    items.reserve(values.size());
    for (const ::giac::gen& value : values) {
        items.push_back(value);
    }
    return ::giac::gen(items, subtype);
}

}  // namespace qorv::math::algexpr::giac::detail

#endif
