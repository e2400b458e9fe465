// SPDX-License-Identifier: MIT
// OrderedSymbolC: the GiNaC symbol behind a free symbol of one evaluation.
// Every evaluation makes its own symbols, numbered by the order of their
// names, and GiNaC orders symbols by that number (it is both the serial and
// the hash), so GiNaC's canonical forms (which variable leads, which sign a
// factor gets) depend on the expression alone, not on what was read before
// it or on addresses. The numbers lie above every serial GiNaC gives its
// own symbols (from 0 up, one per symbol made: normal() and factor() make
// helpers), which therefore never compare equal to ours. Symbols are
// complex unless made real or positive (GiNaC's domain::real and
// domain::positive, as its realsymbol and possymbol).
#ifndef ALGEXPR_GINAC_SRC_ORDEREDSYMBOLC_H
#define ALGEXPR_GINAC_SRC_ORDEREDSYMBOLC_H

#include <ginac/ginac.h>

#include <string>

namespace qorv::math::algexpr::ginac::detail {

class OrderedSymbolC : public GiNaC::symbol {
public:
    /// `domain`: GiNaC::domain::complex, real or positive.
    OrderedSymbolC(const std::string& name, unsigned rank, unsigned domain);
    OrderedSymbolC* duplicate() const override;
    unsigned get_domain() const override;
    GiNaC::ex conjugate() const override;
    GiNaC::ex real_part() const override;
    GiNaC::ex imag_part() const override;
    /// The position of the name among the evaluation's symbols.
    unsigned rank() const { return serial - kFirstSerial; }

    /// Ranks start here: GiNaC's own serials stay far below.
    static constexpr unsigned kFirstSerial = 0x80000000u;

protected:
    unsigned calchash() const override;

private:
    unsigned domain;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
