// SPDX-License-Identifier: MIT
// OperandsF: hands operands rebuilt elsewhere to GiNaC's map(), one per
// call, in the order of op(), so that a walk without recursion can put a
// sum, product or function back together with GiNaC's own constructor.
#ifndef ALGEXPR_GINAC_SRC_OPERANDSF_H
#define ALGEXPR_GINAC_SRC_OPERANDSF_H

#include <ginac/ginac.h>

#include <cstddef>

namespace qorv::math::algexpr::ginac::detail {

class OperandsF : public GiNaC::map_function {
public:
    explicit OperandsF(const GiNaC::ex* values) : values(values) {}
    GiNaC::ex operator()(const GiNaC::ex&) override { return values[next++]; }

private:
    const GiNaC::ex* values;
    std::size_t next = 0;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
