// SPDX-License-Identifier: MIT
#include "algexpr/CASSessionBC.h"

#include <initializer_list>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

// Constant-initialised, so that no static initialiser can reset it after a
// client's own static code installed a session. Atomic: sessions are read on
// every thread and installed on any.
std::atomic<CASSessionBC*> CASSessionBC::cas_session_p{nullptr};

// Constant-initialised too; only its destructor runs code, at unload.
const CASSessionBC::CurrentReleaseC CASSessionBC::current_release;

// The pointer is emptied before the release: code that the session's
// destruction runs may ask for the current session and must not find the
// dying one.
CASSessionBC::CurrentReleaseC::~CurrentReleaseC() {
    CASSessionBC* current = cas_session_p.exchange(nullptr, std::memory_order_acq_rel);
    if (current == nullptr) {
        return;
    }
    current->gatherCounts();
    if (current->dereference() == 0) {
        delete current;
    }
}

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

PointerTC<CASSessionBC> CASSessionBC::getSession() {
    return PointerTC<CASSessionBC>(cas_session_p.load(std::memory_order_acquire));
}

// The current pointer's own reference is taken before the pointer is
// published, and given back when another session won.
void CASSessionBC::setSession(PointerTC<CASSessionBC> session) {
    if (!session || cas_session_p.load(std::memory_order_acquire) != nullptr) {
        return;
    }
    session->reference();
    CASSessionBC* none = nullptr;
    if (!cas_session_p.compare_exchange_strong(none, session.get(), std::memory_order_acq_rel)) {
        session->dereference();  // the parameter still holds one
        return;
    }
    session->spreadCounts();
}

// What every reading, printing and evaluation takes and drops, on whatever
// thread: kept from then on by the current pointer's reference, until the
// library is unloaded. Threads may still take and drop them then (a thread
// that outlives the program's main, or one still running as it exits): the
// gathering counts their owners too, and the last of them frees the session.
namespace {

void eachCounted(void (*apply)(qorv::oss::RefCountedBC&), std::initializer_list<qorv::oss::RefCountedBC*> objects) {
    for (qorv::oss::RefCountedBC* object : objects) {
        if (object != nullptr) {
            apply(*object);
        }
    }
}

}  // namespace

void CASSessionBC::spreadCounts() noexcept {
    eachCounted([](qorv::oss::RefCountedBC& object) { qorv::oss::detail::CountSpreading::spread(object); },
                {this, cas_engine_p.get(), integer_value_factory_p.get(), float_value_factory_p.get()});
    core_element_table.spreadCounts();
    symbol_table.spreadCounts();
}

void CASSessionBC::gatherCounts() noexcept {
    symbol_table.gatherCounts();
    core_element_table.gatherCounts();
    eachCounted(qorv::oss::detail::CountSpreading::gather,
                {float_value_factory_p.get(), integer_value_factory_p.get(), cas_engine_p.get(), this});
}

// The list ends at its first empty name, or at a null entry. A name that
// cannot be entered for want of memory is left out; the names after it keep
// their positions as codes. The elements go into the table all at once.
void CASSessionBC::initCoreElementTable(const char16_t* const* core_element_names) {
    if (core_element_names == nullptr) {
        return;
    }
    std::size_t count = 0;
    while (core_element_names[count] != nullptr && core_element_names[count][0] != 0) {
        ++count;
    }
    std::vector<PointerTC<CoreElementC>> elements;
    try {
        elements.reserve(count);
    } catch (const std::bad_alloc&) {
        return;
    }
    for (std::size_t code = 0; code < count; ++code) {
        PointerTC<SymbolC> symbol;
        try {
            symbol = symbol_table.lookupSymbol(std::u16string(core_element_names[code]));
        } catch (const std::bad_alloc&) {
            continue;
        }
        if (symbol) {
            elements.emplace_back(new (std::nothrow) CoreElementC(static_cast<int>(code), symbol));
        }
    }
    core_element_table.addCoreElements(elements);
}

}  // namespace qorv::math::algexpr
