// SPDX-License-Identifier: MIT
// PolyLimitsS: the bounds of the polynomial layer (PolyEngineC), checked
// against exact upper bounds of each product, power and quotient before
// FLINT computes it: the terms of any polynomial made on the way, and the
// digits of any coefficient's numerator or denominator. The engine clients
// fill it from their own session limits. A plain value.
#ifndef ALGEXPR_CLIENTS_POLY_POLYLIMITSS_H
#define ALGEXPR_CLIENTS_POLY_POLYLIMITSS_H

#include <cstddef>

namespace qorv::math::algexpr::poly {

struct PolyLimitsS {
    /// A term of a written result costs about 1.4 KiB from FLINT to the
    /// tree (f*(f+1), f = (1+x+y+z+t)^20, 135,751 terms, takes 190 MB in the
    /// tool: the packed monomial and coefficient, the graph's nodes and hash
    /// slots, the layout, a dozen tree nodes and the text), and the engines
    /// write trees of up to 2,000,000 nodes, about 150,000 such terms: that
    /// many, about 210 MB, so that what could not be written is refused
    /// before FLINT works. A polynomial only FLINT holds (a product inside
    /// factor, say) costs tens of bytes a term.
    static constexpr std::size_t kDefaultTerms = 150000;

    /// Terms of every polynomial computed on the way, result included.
    std::size_t terms = kDefaultTerms;
    /// Decimal digits of a coefficient's numerator or denominator.
    std::size_t digits = 1000000;
    /// Decimal digits of all the coefficients of a polynomial together (a
    /// sign or fraction bar counted as one more).
    std::size_t total_digits = 5000000;
};

}  // namespace qorv::math::algexpr::poly

#endif
