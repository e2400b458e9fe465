#include "algexpr/SymbolC.h"

#include <new>
#include <utility>

namespace qorv::math::algexpr {

SymbolC::SymbolC(std::u16string name) : name(std::move(name)) {}

SymbolC::~SymbolC() = default;

std::u16string SymbolC::getName() const {
    try {
        return name;
    } catch (const std::bad_alloc&) {
        return std::u16string();
    }
}

}  // namespace qorv::math::algexpr
