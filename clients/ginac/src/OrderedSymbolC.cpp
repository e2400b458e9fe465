// SPDX-License-Identifier: MIT
#include "OrderedSymbolC.h"

namespace qorv::math::algexpr::ginac::detail {

OrderedSymbolC::OrderedSymbolC(const std::string& name, unsigned rank) : GiNaC::realsymbol(name) {
    serial = rank;
}

OrderedSymbolC* OrderedSymbolC::duplicate() const {
    auto* copy = new OrderedSymbolC(*this);
    copy->setflag(GiNaC::status_flags::dynallocated);
    return copy;
}

unsigned OrderedSymbolC::calchash() const {
    hashvalue = serial;
    setflag(GiNaC::status_flags::hash_calculated);
    return hashvalue;
}

}  // namespace qorv::math::algexpr::ginac::detail
