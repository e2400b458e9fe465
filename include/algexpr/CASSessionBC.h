// SPDX-License-Identifier: MIT
// CASSessionBC: the context through which the client's engine, number
// factories and core vocabulary reach the library.
//
// A client derives a session, implements executeExpression, builds it once
// and installs it; from then on every part of the library that needs names,
// numbers or evaluation asks CASSessionBC::getSession() at the moment of use.
//
//   static const char16_t* const names[] = {u"plus", u"sin", u"pi", u""};
//   PointerTC<CASSessionBC> s(new MySession(engine, names, ints, floats));
//   CASSessionBC::setSession(s);   // the first non-null session stays current
//
// The name list is an array of zero-terminated strings ended by an empty
// string (a null entry also ends it; a null list means no names). Each name's
// position is its code. The session copies the names.
//
// The current session cannot be replaced or removed: it is released once
// when the library is unloaded, which may be after the static objects of the
// program itself are gone (its destructor must not rely on them); a thread
// that still holds it then keeps it, and its last owner frees it. The first
// session installed wins, also when threads install sessions at once.
//
// Threads: one session serves every thread at once; a tree that no thread
// changes may be read by any number of threads at once (walked, printed,
// copied, compared, searched, substituted into new trees); a change to a
// tree needs the tree to itself. The tables take care of themselves
// (see detail/SymbolTableC.h and detail/CoreElementTableC.h), and a fork()
// while another thread holds one of their locks leaves the child a usable
// session; the library installs no fork handlers. A session derived by a
// client that overrides the table operations makes its overrides safe too.
#ifndef ALGEXPR_CASSESSIONBC_H
#define ALGEXPR_CASSESSIONBC_H

#include <atomic>
#include <string>

#include "algexpr/CASEngineABC.h"
#include "algexpr/CoreElementC.h"
#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/SymbolC.h"
#include "algexpr/algexpr_export.h"
#include "algexpr/detail/CoreElementTableC.h"
#include "algexpr/detail/SymbolTableC.h"
#include "oss/PointerTC.h"
#include "oss/RefCountedBC.h"

namespace qorv::math::algexpr {

class AlgebraicExpressionC;

class ALGEXPR_API CASSessionBC : public qorv::oss::RefCountedBC {
public:
    /// Any of the engine and the factories may be null; the getters then
    /// return null. Numbers the names from 0 and enters each in both tables.
    CASSessionBC(qorv::oss::PointerTC<CASEngineABC> engine, const char16_t* const* core_element_names,
                 qorv::oss::PointerTC<IntegerValueFactoryABC> integer_factory,
                 qorv::oss::PointerTC<FloatValueFactoryABC> float_factory);
    CASSessionBC(const CASSessionBC&) = delete;
    CASSessionBC& operator=(const CASSessionBC&) = delete;
    /// Releases the float factory, the integer factory, the core elements,
    /// the symbols and the engine, in that order.
    virtual ~CASSessionBC();

    virtual qorv::oss::PointerTC<CASEngineABC> getCASEngine() const;

    /// Called by AlgebraicExpressionC::execute with the expression (one more
    /// owner for the call), the flag and the text pointer exactly as given
    /// there. What they mean and what comes back is the client's design.
    virtual qorv::oss::PointerTC<AlgebraicExpressionC> executeExpression(
        qorv::oss::PointerTC<AlgebraicExpressionC> expression, bool flag, std::u16string* text) = 0;

    virtual qorv::oss::PointerTC<IntegerValueFactoryABC> getIntegerValueFactory() const;
    virtual qorv::oss::PointerTC<FloatValueFactoryABC> getFloatValueFactory() const;

    /// The core element of exactly that name, or null.
    virtual qorv::oss::PointerTC<CoreElementC> lookupCoreElement(std::u16string name);
    /// The core element with that code, or null (for any code not in the table).
    virtual qorv::oss::PointerTC<CoreElementC> lookupCoreElement(int code);
    /// The one symbol of that name, created on first request; null only when
    /// memory runs out.
    virtual qorv::oss::PointerTC<SymbolC> lookupSymbol(std::u16string name);
    /// Removes the symbols that nothing outside the table holds.
    virtual void flushUnusedSymbols();

    /// The current session, or null while none is installed.
    static qorv::oss::PointerTC<CASSessionBC> getSession();
    /// Installs the session unless one is current already; null is ignored.
    static void setSession(qorv::oss::PointerTC<CASSessionBC> session);

protected:
    /// Enters a further name list, numbered from 0 again: an element whose
    /// code or name is taken displaces the earlier one under that key.
    void initCoreElementTable(const char16_t* const* core_element_names);

private:
    qorv::oss::PointerTC<CASEngineABC> cas_engine_p;
    SymbolTableC symbol_table;
    CoreElementTableC core_element_table;
    qorv::oss::PointerTC<IntegerValueFactoryABC> integer_value_factory_p;
    qorv::oss::PointerTC<FloatValueFactoryABC> float_value_factory_p;

    // Spreads (gathers back) the counts of the session, its engine, factories
    // and core elements over thread slots, while it is the current session.
    void spreadCounts() noexcept;
    void gatherCounts() noexcept;

    // The current session, holding one reference, which current_release
    // gives back when the library is unloaded.
    static std::atomic<CASSessionBC*> cas_session_p;
    struct CurrentReleaseC {
        constexpr CurrentReleaseC() noexcept = default;
        ~CurrentReleaseC();
    };
    static const CurrentReleaseC current_release;
};

}  // namespace qorv::math::algexpr

#endif
