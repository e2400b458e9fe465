// SPDX-License-Identifier: MIT
#include "algexpr/SymbolC.h"

#include <new>
#include <utility>

#include "support/NameHash.h"
#include "support/OutOfMemory.h"

namespace qorv::math::algexpr {

SymbolC::SymbolC(std::u16string name)
    : name(std::move(name)), name_hash(detail::hashName(this->name.data(), this->name.size())) {}

SymbolC::~SymbolC() = default;

std::u16string SymbolC::getName() const {
    try {
        return name;
    } catch (const std::bad_alloc&) {
        detail::noteOutOfMemory();
        return std::u16string();
    }
}

}  // namespace qorv::math::algexpr
