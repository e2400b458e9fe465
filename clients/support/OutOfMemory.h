// SPDX-License-Identifier: MIT
// The reason the engine clients give when memory runs out, and how they
// store it without throwing.
#ifndef ALGEXPR_CLIENTS_SUPPORT_OUTOFMEMORY_H
#define ALGEXPR_CLIENTS_SUPPORT_OUTOFMEMORY_H

#include <new>
#include <string>
#include <string_view>

namespace qorv::math::algexpr::support {

inline constexpr std::u16string_view kOutOfMemory = u"out of memory";

/// Makes room for kOutOfMemory in `reason` ahead of the work that may run
/// out of memory, so that reporting it needs no allocation; may throw.
inline void reserveOutOfMemory(std::u16string& reason) { reason.reserve(kOutOfMemory.size()); }

/// Sets `reason` to kOutOfMemory, or empties it when not even that text can
/// be stored.
inline void setOutOfMemory(std::u16string& reason) noexcept {
    try {
        reason.assign(kOutOfMemory);
    } catch (const std::bad_alloc&) {
        reason.clear();
    }
}

}  // namespace qorv::math::algexpr::support

#endif
