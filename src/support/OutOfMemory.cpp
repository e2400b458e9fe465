// SPDX-License-Identifier: MIT
#include "support/OutOfMemory.h"

namespace qorv::math::algexpr::detail {

namespace {
thread_local bool out_of_memory = false;
}  // namespace

void noteOutOfMemory() noexcept { out_of_memory = true; }

bool takeOutOfMemory() noexcept {
    const bool noted = out_of_memory;
    out_of_memory = false;
    return noted;
}

}  // namespace qorv::math::algexpr::detail
