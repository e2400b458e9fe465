// SPDX-License-Identifier: MIT
#include "algexpr/CASSessionBC.h"

#include <new>
#include <string>
#include <utility>

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

// Constant-initialised (PointerTC's constructor is constexpr), so no static
// initialiser can reset it after a client's own static code installed a
// session. Released once when the library is unloaded.
PointerTC<CASSessionBC> CASSessionBC::cas_session_p;

CASSessionBC::CASSessionBC(PointerTC<CASEngineABC> engine, const char16_t* const* core_element_names,
                           PointerTC<IntegerValueFactoryABC> integer_factory,
                           PointerTC<FloatValueFactoryABC> float_factory)
    : cas_engine_p(std::move(engine)),
      integer_value_factory_p(std::move(integer_factory)),
      float_value_factory_p(std::move(float_factory)) {
    initCoreElementTable(core_element_names);
}

CASSessionBC::~CASSessionBC() {
    // Members go in reverse order of declaration: float factory, integer
    // factory, core elements, symbols, engine.
}

PointerTC<CASEngineABC> CASSessionBC::getCASEngine() const { return cas_engine_p; }

PointerTC<IntegerValueFactoryABC> CASSessionBC::getIntegerValueFactory() const { return integer_value_factory_p; }

PointerTC<FloatValueFactoryABC> CASSessionBC::getFloatValueFactory() const { return float_value_factory_p; }

PointerTC<CoreElementC> CASSessionBC::lookupCoreElement(std::u16string name) {
    return core_element_table.lookupCoreElement(name);
}

PointerTC<CoreElementC> CASSessionBC::lookupCoreElement(int code) { return core_element_table.lookupCoreElement(code); }

PointerTC<SymbolC> CASSessionBC::lookupSymbol(std::u16string name) { return symbol_table.lookupSymbol(std::move(name)); }

void CASSessionBC::flushUnusedSymbols() { symbol_table.flushUnusedSymbols(); }

PointerTC<CASSessionBC> CASSessionBC::getSession() { return cas_session_p; }

void CASSessionBC::setSession(PointerTC<CASSessionBC> session) {
    if (session && !cas_session_p) {
        cas_session_p = session;
    }
}

// The list ends at its first empty name, or at a null entry. A name that
// cannot be entered for want of memory is left out; the names after it keep
// their positions as codes.
void CASSessionBC::initCoreElementTable(const char16_t* const* core_element_names) {
    if (core_element_names == nullptr) {
        return;
    }
    for (int code = 0; core_element_names[code] != nullptr && core_element_names[code][0] != 0; ++code) {
        PointerTC<SymbolC> symbol;
        try {
            symbol = symbol_table.lookupSymbol(std::u16string(core_element_names[code]));
        } catch (const std::bad_alloc&) {
            continue;
        }
        if (symbol) {
            core_element_table.addCoreElement(PointerTC<CoreElementC>(new (std::nothrow) CoreElementC(code, symbol)));
        }
    }
}

}  // namespace qorv::math::algexpr
