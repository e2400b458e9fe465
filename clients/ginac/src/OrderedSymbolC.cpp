// SPDX-License-Identifier: MIT
#include "OrderedSymbolC.h"

namespace qorv::math::algexpr::ginac::detail {

OrderedSymbolC::OrderedSymbolC(const std::string& name, unsigned rank, unsigned domain)
    : GiNaC::symbol(name), domain(domain) {
    serial = kFirstSerial + rank;
}

OrderedSymbolC* OrderedSymbolC::duplicate() const {
    auto* copy = new OrderedSymbolC(*this);
    copy->setflag(GiNaC::status_flags::dynallocated);
    return copy;
}

unsigned OrderedSymbolC::get_domain() const { return domain; }

GiNaC::ex OrderedSymbolC::conjugate() const { return domain != GiNaC::domain::complex ? GiNaC::ex(*this) : GiNaC::symbol::conjugate(); }

GiNaC::ex OrderedSymbolC::real_part() const { return domain != GiNaC::domain::complex ? GiNaC::ex(*this) : GiNaC::symbol::real_part(); }

GiNaC::ex OrderedSymbolC::imag_part() const { return domain != GiNaC::domain::complex ? GiNaC::ex(0) : GiNaC::symbol::imag_part(); }

unsigned OrderedSymbolC::calchash() const {
    hashvalue = serial;
    setflag(GiNaC::status_flags::hash_calculated);
    return hashvalue;
}

}  // namespace qorv::math::algexpr::ginac::detail
