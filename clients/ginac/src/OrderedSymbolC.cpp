// SPDX-License-Identifier: MIT
#include "OrderedSymbolC.h"

namespace qorv::math::algexpr::ginac::detail {

OrderedSymbolC::OrderedSymbolC(const std::string& name, unsigned rank, bool real)
    : GiNaC::symbol(name), real(real) {
    serial = kFirstSerial + rank;
}

OrderedSymbolC* OrderedSymbolC::duplicate() const {
    auto* copy = new OrderedSymbolC(*this);
    copy->setflag(GiNaC::status_flags::dynallocated);
    return copy;
}

unsigned OrderedSymbolC::get_domain() const { return real ? GiNaC::domain::real : GiNaC::domain::complex; }

GiNaC::ex OrderedSymbolC::conjugate() const { return real ? GiNaC::ex(*this) : GiNaC::symbol::conjugate(); }

GiNaC::ex OrderedSymbolC::real_part() const { return real ? GiNaC::ex(*this) : GiNaC::symbol::real_part(); }

GiNaC::ex OrderedSymbolC::imag_part() const { return real ? GiNaC::ex(0) : GiNaC::symbol::imag_part(); }

unsigned OrderedSymbolC::calchash() const {
    hashvalue = serial;
    setflag(GiNaC::status_flags::hash_calculated);
    return hashvalue;
}

}  // namespace qorv::math::algexpr::ginac::detail
