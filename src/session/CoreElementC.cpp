// SPDX-License-Identifier: MIT
#include "algexpr/CoreElementC.h"

#include <utility>

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

CoreElementC::CoreElementC(int code, PointerTC<SymbolC> symbol) noexcept : code(code), symbol_p(std::move(symbol)) {}

CoreElementC::~CoreElementC() = default;

int CoreElementC::getCode() { return code; }

std::u16string CoreElementC::getName() { return symbol_p ? symbol_p->getName() : std::u16string(); }

PointerTC<SymbolC> CoreElementC::getSymbol() { return symbol_p; }

}  // namespace qorv::math::algexpr
