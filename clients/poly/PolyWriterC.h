// SPDX-License-Identifier: MIT
// PolyWriterC: FLINT polynomials and numbers back into a ResultGraphC, in
// the shapes the engines' converters give: a sum of terms, each a number, a
// generator, a power of one, or a product with its coefficient (kNoId for
// 1) and its generators' powers in ring order; ResultShaperC then orders
// and writes them. Adds to the graph only; the graph and the ring must
// outlive it.
//
//   PolyWriterC writer(graph, ring);
//   IdT root = writer.polynomial(p);
#ifndef ALGEXPR_CLIENTS_POLY_POLYWRITERC_H
#define ALGEXPR_CLIENTS_POLY_POLYWRITERC_H

#include <flint/fmpq.h>
#include <flint/fmpz.h>

#include <string>
#include <utility>
#include <vector>

#include "FlintPolyC.h"
#include "PolyRingC.h"
#include "ResultGraphC.h"

namespace qorv::math::algexpr::poly {

class PolyWriterC {
public:
    PolyWriterC(support::ResultGraphC& graph, const PolyRingC& ring);

    /// The polynomial as a sum of its terms (a single term alone, 0 for zero).
    support::IdT polynomial(const FlintPolyC& p);
    support::IdT rational(const fmpq_t q);
    support::IdT integer(const fmpz_t z);
    support::IdT integer(unsigned long n);
    /// The integer's digits in base 10, without sign.
    static std::string digitsOf(const fmpz_t z);

    /// A product being gathered: a rational coefficient and bases with
    /// integer exponents, equal bases joined.
    class ProductC {
    public:
        ProductC();
        ~ProductC();
        ProductC(const ProductC&) = delete;
        ProductC& operator=(const ProductC&) = delete;
        /// Multiplies in `node` (a written polynomial) to the power `exponent`:
        /// a product's coefficient and factors, a number, or a factor.
        void multiply(const support::ResultGraphC& graph, support::IdT node, long exponent);
        void scale(const fmpq_t q) { fmpq_mul(coefficient, coefficient, q); }
        fmpq* number() { return coefficient; }

    private:
        friend class PolyWriterC;
        fmpq_t coefficient;
        std::vector<std::pair<support::IdT, long>> factors;
    };
    /// The gathered product: a number, a single factor, or a product node.
    support::IdT product(ProductC& gathered);

private:
    support::IdT term(const fmpq_t coefficient, const ulong* exponents);

    support::ResultGraphC& graph;
    const PolyRingC& ring;
    std::vector<support::IdT> factors;
};

}  // namespace qorv::math::algexpr::poly

#endif
