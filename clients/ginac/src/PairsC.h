// SPDX-License-Identifier: MIT
// PairsC: the pairs of a sum (coefficient times rest) or product (rest to
// the power coefficient) and their overall coefficient, read in place where
// op() would recombine each pair into a new object: a member pointer taken
// in a class derived from expairseq reaches them on any expairseq.
#ifndef ALGEXPR_GINAC_SRC_PAIRSC_H
#define ALGEXPR_GINAC_SRC_PAIRSC_H

#include <ginac/ginac.h>

namespace qorv::math::algexpr::ginac::detail {

struct PairsC : GiNaC::expairseq {
    static const GiNaC::epvector& pairs(const GiNaC::ex& e) {
        return static_cast<const GiNaC::expairseq&>(GiNaC::ex_to<GiNaC::basic>(e)).*(&PairsC::seq);
    }
    static const GiNaC::ex& overall(const GiNaC::ex& e) {
        return static_cast<const GiNaC::expairseq&>(GiNaC::ex_to<GiNaC::basic>(e)).*(&PairsC::overall_coeff);
    }
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
