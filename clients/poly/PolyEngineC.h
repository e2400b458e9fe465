// SPDX-License-Identifier: MIT
// PolyEngineC: the polynomial operations the engine clients hand to FLINT
// when the operation is at the root of the evaluated tree and its evaluated
// arguments are polynomials (or, for simplify and factor, quotients of
// polynomials) in generators (PolyReaderC): graph in, graph out, no text in
// between. The result is written in the engines' shapes (PolyWriterC), and
// ResultShaperC writes it in the one engine-independent order, so every
// engine gives the same text.
//  - expand: the polynomial multiplied out;
//  - factor: over the rationals, with multiplicities, the content and sign
//    as the coefficient (times(-2,minus(x,1),plus(x,1))); a quotient's
//    factors over each other; an integer's prime factorisation as a product
//    of powers;
//  - simplify: one fraction in lowest terms, both parts expanded with
//    integer coefficients (only when every generator is a symbol: the
//    engines know identities between functions that generators would lose);
//  - gcd, lcm: of polynomials with integer coefficients in symbols, the gcd
//    with a positive leading coefficient, the lcm a*b/gcd(a,b) as a product;
//  - quo, rem: in the named variable (or the only symbol), when the
//    divisor's leading coefficient in it is a number;
//  - apart: partial fractions in the named variable over the rationals:
//    the polynomial part, then c/f^k for each irreducible factor f of the
//    denominator and each power k up to its multiplicity, c of lower
//    degree than f; other symbols may be in the numerator and in factors of
//    the denominator free of the variable (which stay under each term), but
//    a factor holding both (x - a) is refused.
//
//   PolyEngineC poly(graph, limits);
//   IdT result = poly.run(PolyEngineC::OperationE::Expand, &argument, 1);
//   if (result == support::kNoId) { /* declined: the engine's own path */ }
//
// run() answers kNoId when the route declines (the engine then computes as
// without it), throws support::RefusalC past a limit or for a division by
// zero, and std::bad_alloc (FlintAllocation.h makes FLINT's own failures
// throw, on the host's request). Deterministic: nothing depends on addresses
// or hash order. The graph must outlive the engine, which adds to it only.
#ifndef ALGEXPR_CLIENTS_POLY_POLYENGINEC_H
#define ALGEXPR_CLIENTS_POLY_POLYENGINEC_H

#include <cstddef>

#include "PolyLimitsS.h"
#include "ResultGraphC.h"

namespace qorv::math::algexpr::poly {

class PolyReaderC;

class PolyEngineC {
public:
    enum class OperationE : unsigned char { Expand, Factor, Simplify, Gcd, Lcm, Quo, Rem, Apart };
    static const char16_t* nameOf(OperationE operation);
    /// The operation of a core name the layer computes: false for any other
    /// name (the engine's own path then runs).
    static bool named(const char16_t* name, OperationE& operation);

    PolyEngineC(support::ResultGraphC& graph, const PolyLimitsS& limits);

    /// The result's node, or kNoId when the route declines.
    support::IdT run(OperationE operation, const support::IdT* arguments, std::size_t count);

private:
    support::IdT expand(PolyReaderC& reader);
    support::IdT factor(PolyReaderC& reader);
    support::IdT factorInteger(PolyReaderC& reader);
    support::IdT simplify(PolyReaderC& reader);
    support::IdT gcd(PolyReaderC& reader, bool lcm);
    support::IdT divide(PolyReaderC& reader, bool quotient);
    support::IdT apart(PolyReaderC& reader);

    support::ResultGraphC& graph;
    const PolyLimitsS& limits;
};

}  // namespace qorv::math::algexpr::poly

#endif
