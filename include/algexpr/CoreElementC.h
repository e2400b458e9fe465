// SPDX-License-Identifier: MIT
// CoreElementC: one entry of a session's core vocabulary, pairing a code (the
// name's position in the list the session was built from) with the interned
// symbol of its name. Core nodes store only the code; the current session's
// elements give it a name. Reference counted; hold through PointerTC.
#ifndef ALGEXPR_COREELEMENTC_H
#define ALGEXPR_COREELEMENTC_H

#include <string>

#include "algexpr/SymbolC.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"
#include "oss/RefCountedBC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API CoreElementC : public qorv::oss::RefCountedBC {
public:
    /// Takes its own reference on the symbol.
    CoreElementC(int code, qorv::oss::PointerTC<SymbolC> symbol) noexcept;
    virtual ~CoreElementC();

    int getCode();
    /// The symbol's name; the empty text for an element built with a null symbol.
    std::u16string getName();
    qorv::oss::PointerTC<SymbolC> getSymbol();

private:
    int code;
    qorv::oss::PointerTC<SymbolC> symbol_p;
};

}  // namespace qorv::math::algexpr

#endif
