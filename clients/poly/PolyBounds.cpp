// SPDX-License-Identifier: MIT
#include "PolyBounds.h"

#include <algorithm>
#include <cmath>

#include "Counting.h"
#include "MessageText.h"

namespace qorv::math::algexpr::poly {

namespace {

// log2 |z| (0 for zero).
double log2Of(const fmpz_t z) {
    if (fmpz_is_zero(z)) {
        return 0.0;
    }
    slong exponent = 0;
    const double mantissa = fmpz_get_d_2exp(&exponent, z);
    return std::log2(std::fabs(mantissa)) + static_cast<double>(exponent);
}

// log2 of the largest magnitude among the coefficients.
double log2Largest(const fmpz_mpoly_struct* z) {
    slong largest = -1;
    for (slong i = 0; i < z->length; ++i) {
        if (largest < 0 || fmpz_cmpabs(z->coeffs + i, z->coeffs + largest) > 0) {
            largest = i;
        }
    }
    return largest < 0 ? 0.0 : log2Of(z->coeffs + largest);
}

// The dense bound and the total-degree bound of a polynomial whose degrees
// are `degrees` and total degree `total`.
double monomialsBound(const std::vector<double>& degrees, double total) {
    double dense = 1.0;
    double used = 0.0;
    for (double d : degrees) {
        dense *= d + 1.0;
        used += d > 0.0 ? 1.0 : 0.0;
    }
    return std::min(dense, support::binomialBound(used, total));
}

double log2Count(double n) { return n > 1.0 ? std::log2(n) : 0.0; }

// BoundS::computed for a result of these degrees and terms.
double computedOf(const std::vector<double>& degrees, double terms) {
    double used = 0.0;
    double largest = 0.0;
    for (double d : degrees) {
        used += d > 0.0 ? 1.0 : 0.0;
        largest = std::max(largest, d);
    }
    return used <= 1.0 ? std::max(terms, largest + 1.0) : terms;
}

}  // namespace

ShapeS shapeOf(const FlintPolyC& p, const PolyRingC& ring) {
    ShapeS shape;
    const std::size_t n = ring.size() == 0 ? 1 : ring.size();
    shape.terms = static_cast<double>(p.terms());
    shape.degrees.assign(n, 0.0);
    if (p.isZero()) {
        return shape;
    }
    std::vector<slong> degrees(n, 0);
    fmpq_mpoly_degrees_si(degrees.data(), p.get(), ring.get());
    for (std::size_t i = 0; i < n; ++i) {
        shape.degrees[i] = static_cast<double>(std::max<slong>(degrees[i], 0));
    }
    shape.total = static_cast<double>(std::max<slong>(fmpq_mpoly_total_degree_si(p.get(), ring.get()), 0));
    const fmpq* content = fmpq_mpoly_content_ref(const_cast<fmpq_mpoly_struct*>(p.get()), ring.get());
    shape.bits = log2Of(fmpq_numref(content)) +
                 log2Largest(fmpq_mpoly_zpoly_ref(const_cast<fmpq_mpoly_struct*>(p.get()), ring.get()));
    shape.denominator_bits = log2Of(fmpq_denref(content));
    return shape;
}

BoundS productBound(const ShapeS& a, const ShapeS& b) {
    std::vector<double> degrees(a.degrees.size());
    for (std::size_t i = 0; i < degrees.size(); ++i) {
        degrees[i] = a.degrees[i] + b.degrees[i];
    }
    BoundS bound;
    bound.terms = std::min(a.terms * b.terms, monomialsBound(degrees, a.total + b.total));
    bound.bits = std::max(a.bits + b.bits + log2Count(std::min(a.terms, b.terms)),
                          a.denominator_bits + b.denominator_bits);
    bound.computed = computedOf(degrees, bound.terms);
    return bound;
}

BoundS powerBound(const ShapeS& a, double k) {
    std::vector<double> degrees(a.degrees.size());
    for (std::size_t i = 0; i < degrees.size(); ++i) {
        degrees[i] = a.degrees[i] * k;
    }
    BoundS bound;
    // The products of k terms chosen among a's, with repetition.
    const double chosen = a.terms <= 1.0 ? 1.0 : support::binomialBound(a.terms - 1.0, k);
    bound.terms = std::min(chosen, monomialsBound(degrees, a.total * k));
    bound.bits = k * std::max(a.bits + log2Count(a.terms), a.denominator_bits);
    bound.computed = computedOf(degrees, bound.terms);
    return bound;
}

BoundS quotientBound(const ShapeS& a, const ShapeS& b) {
    const double steps = std::max(a.degrees[0] - b.degrees[0], 0.0);
    std::vector<double> degrees(a.degrees.size());
    degrees[0] = steps;
    double total = steps;
    for (std::size_t i = 1; i < degrees.size(); ++i) {
        degrees[i] = a.degrees[i] + steps * b.degrees[i];
        total += degrees[i];
    }
    BoundS bound;
    bound.terms = monomialsBound(degrees, total);
    // Each step divides by b's leading number and multiplies by b.
    bound.bits = a.bits + a.denominator_bits + (steps + 1.0) * (b.bits + b.denominator_bits + log2Count(b.terms) + 1.0);
    bound.computed = computedOf(degrees, bound.terms);
    return bound;
}

std::u16string countText(double count) { return support::approximately(std::ceil(count)); }

}  // namespace qorv::math::algexpr::poly
