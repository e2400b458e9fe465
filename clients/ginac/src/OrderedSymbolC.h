// SPDX-License-Identifier: MIT
// OrderedSymbolC: the GiNaC symbol behind a free symbol of one evaluation.
// Every evaluation makes its own symbols, numbered by the order of their
// names, and GiNaC orders symbols by that number (it is both the serial and
// the hash). So GiNaC's canonical forms (which variable leads, which sign a
// factor gets) depend on the expression alone, not on what was read before
// it or on addresses. Symbols are real (GiNaC's realsymbol).
#ifndef ALGEXPR_GINAC_SRC_ORDEREDSYMBOLC_H
#define ALGEXPR_GINAC_SRC_ORDEREDSYMBOLC_H

#include <ginac/ginac.h>

#include <string>

namespace qorv::math::algexpr::ginac::detail {

class OrderedSymbolC : public GiNaC::realsymbol {
public:
    OrderedSymbolC(const std::string& name, unsigned rank);
    OrderedSymbolC* duplicate() const override;
    /// The position of the name among the evaluation's symbols.
    unsigned rank() const { return serial; }

protected:
    unsigned calchash() const override;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
