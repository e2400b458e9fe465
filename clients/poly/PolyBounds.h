// SPDX-License-Identifier: MIT
// Upper bounds of what a product, a power or a division of polynomials
// makes, from the operands alone (lengths, degrees in each generator, total
// degree, coefficient bits), so that PolyEngineC refuses work beyond its
// limits before FLINT starts it. Bounds are doubles: exact up to 2^53 and
// from above beyond.
#ifndef ALGEXPR_CLIENTS_POLY_POLYBOUNDS_H
#define ALGEXPR_CLIENTS_POLY_POLYBOUNDS_H

#include <string>
#include <vector>

#include "FlintPolyC.h"
#include "PolyRingC.h"

namespace qorv::math::algexpr::poly {

/// What the bounds need of a polynomial.
struct ShapeS {
    double terms = 0.0;
    std::vector<double> degrees;  // by generator (0 for the zero polynomial)
    double total = 0.0;           // total degree
    double bits = 0.0;            // log2 of the largest coefficient's numerator
    double denominator_bits = 0.0;  // log2 of the common denominator
};

/// Bounds of a result: its terms and its coefficients' bits.
struct BoundS {
    double terms = 0.0;
    double bits = 0.0;  // log2 of a coefficient's numerator or denominator
    // The coefficients FLINT computes on the way: in one generator it works
    // densely, with every power up to the degree (a sparse x^390650 + ...
    // raised to the 5th took seconds); else the terms.
    double computed = 0.0;
};

ShapeS shapeOf(const FlintPolyC& p, const PolyRingC& ring);
BoundS productBound(const ShapeS& a, const ShapeS& b);
/// a^k.
BoundS powerBound(const ShapeS& a, double k);
/// The quotient of a by b in generator 0, b's leading coefficient in it a
/// number.
BoundS quotientBound(const ShapeS& a, const ShapeS& b);
/// A count from above as text: 501,501, or 10^30 beyond 10^18.
std::u16string countText(double count);

}  // namespace qorv::math::algexpr::poly

#endif
