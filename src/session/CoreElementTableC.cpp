// SPDX-License-Identifier: MIT
#include "algexpr/detail/CoreElementTableC.h"

#include <new>
#include <utility>

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

CoreElementTableC::CoreElementTableC() = default;

CoreElementTableC::~CoreElementTableC() = default;

void CoreElementTableC::addCoreElement(PointerTC<CoreElementC> element) {
    if (!element) {
        return;
    }
    PointerTC<SymbolC> symbol = element->getSymbol();
    try {
        std::u16string name = symbol ? symbol->name : std::u16string();
        // Both entries exist before either changes, so running out of memory
        // leaves the element out of both maps.
        auto [by_code, new_code] = code_map.try_emplace(element->getCode());
        try {
            auto by_name = name_map.try_emplace(std::move(name)).first;
            by_code->second = element;
            by_name->second = element;
        } catch (const std::bad_alloc&) {
            if (new_code) {
                code_map.erase(by_code);
            }
            throw;
        }
    } catch (const std::bad_alloc&) {
    }
}

PointerTC<CoreElementC> CoreElementTableC::lookupCoreElement(int code) const {
    auto entry = code_map.find(code);
    return entry != code_map.end() ? entry->second : PointerTC<CoreElementC>();
}

PointerTC<CoreElementC> CoreElementTableC::lookupCoreElement(const std::u16string& name) const {
    auto entry = name_map.find(name);
    return entry != name_map.end() ? entry->second : PointerTC<CoreElementC>();
}

}  // namespace qorv::math::algexpr
