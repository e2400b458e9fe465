// SPDX-License-Identifier: MIT
// A per-thread note that a library operation ran out of memory and carried on
// with a degraded result (a text operation returning the empty text). An
// operation built from such steps (printing a whole tree) clears the note
// first and checks it at the end, so that it can fail as a whole instead of
// returning a text with a piece missing.
#ifndef ALGEXPR_SRC_SUPPORT_OUTOFMEMORY_H
#define ALGEXPR_SRC_SUPPORT_OUTOFMEMORY_H

namespace qorv::math::algexpr::detail {

/// Records that memory ran out on this thread.
void noteOutOfMemory() noexcept;

/// Whether memory ran out on this thread since the last call; clears the note.
bool takeOutOfMemory() noexcept;

/// Watches for notes left during its life, without losing a note left before
/// it (an operation nested in another one keeps the outer one's note).
class OutOfMemoryScope {
public:
    OutOfMemoryScope() noexcept : outer(takeOutOfMemory()) {}
    OutOfMemoryScope(const OutOfMemoryScope&) = delete;
    OutOfMemoryScope& operator=(const OutOfMemoryScope&) = delete;
    ~OutOfMemoryScope() {
        if (outer || inner) {
            noteOutOfMemory();
        }
    }

    /// Whether memory ran out since the scope began.
    bool ranOut() noexcept {
        inner = takeOutOfMemory() || inner;
        return inner;
    }

private:
    bool outer;
    bool inner = false;
};

}  // namespace qorv::math::algexpr::detail

#endif
