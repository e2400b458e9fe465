// SPDX-License-Identifier: MIT
// PolyReaderC: the arguments of a polynomial operation, nodes of a
// ResultGraphC, as quotients of FLINT polynomials over the rationals. Sums,
// products and integer powers are polynomial structure; every other part
// (a symbol, pi, e, a function call, a derivative) is a generator of its
// own, one per distinct graph node (equal nodes have equal ids), a symbol
// one per SymbolC. It declines (read() answers false, the engine's own path
// runs) what it cannot take exactly: a float or a complex number, a power
// whose exponent is not an integer (sqrt(2) and x^(1/2) are bound to 2 and
// to x), an order term, a zero denominator, a degree beyond 2^40.
//
//   PolyReaderC reader(graph, limits, u"expand");
//   if (reader.read(arguments, 1, support::kNoId)) {
//       const PolyReaderC::FractionS& a = reader.value(0);  // a.numerator / a.denominator
//   }
//
// One pass over the nodes below the arguments, in id order (children
// first), without recursion; each product and power is bounded (PolyBounds.h)
// before FLINT computes it and refused (RefusalC) past the limits. The reader
// owns the ring and the values; the graph must outlive it.
#ifndef ALGEXPR_CLIENTS_POLY_POLYREADERC_H
#define ALGEXPR_CLIENTS_POLY_POLYREADERC_H

#include <flint/fmpq.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "FlintPolyC.h"
#include "PolyBounds.h"
#include "PolyLimitsS.h"
#include "PolyRingC.h"
#include "ResultGraphC.h"

namespace qorv::math::algexpr::poly {

class PolyReaderC {
public:
    /// numerator / denominator, in lowest terms; the denominator is null for 1.
    struct FractionS {
        std::unique_ptr<FlintPolyC> numerator;
        std::unique_ptr<FlintPolyC> denominator;
    };

    /// `operation` names the refusals ("expand: ...").
    PolyReaderC(const support::ResultGraphC& graph, const PolyLimitsS& limits, std::u16string operation);
    ~PolyReaderC();
    PolyReaderC(const PolyReaderC&) = delete;
    PolyReaderC& operator=(const PolyReaderC&) = delete;

    /// Reads the `count` arguments; `variable` (a node among their
    /// generators, or kNoId) becomes generator 0. False declines.
    bool read(const support::IdT* arguments, std::size_t count, support::IdT variable);

    const PolyRingC& ring() const { return *ring_p; }
    const FractionS& value(std::size_t argument) const { return results[argument]; }
    /// Whether every generator is a symbol.
    bool onlySymbols() const { return only_symbols; }

    /// Refuses (RefusalC) a result of this bound beyond the limits; `what`:
    /// "the product", "the power", ...
    void check(const BoundS& bound, const char16_t* what) const;

private:
    enum class RoleE : unsigned char { None, Structure, Generator };

    bool mark(const support::IdT* arguments, std::size_t count);
    bool makeRing(support::IdT variable);
    bool evaluate(support::IdT id, FractionS& value);
    bool power(support::IdT id, FractionS& value);
    void number(const support::NumberS& n, FractionS& value) const;
    void multiply(FractionS& a, const FractionS& b) const;
    void add(FractionS& a, const FractionS& b) const;
    void cancel(FractionS& a) const;
    std::unique_ptr<FlintPolyC> times(const FlintPolyC& a, const FlintPolyC& b) const;
    std::unique_ptr<FlintPolyC> copy(const FlintPolyC& a) const;
    FractionS take(support::IdT id);

    const support::ResultGraphC& graph;
    const PolyLimitsS& limits;
    std::u16string operation;
    std::vector<RoleE> roles;          // by node
    std::vector<std::uint32_t> uses;   // by node: parents still to read it
    std::vector<std::size_t> place;    // by node: its generator, or its slot in values
    std::unique_ptr<PolyRingC> ring_p;
    std::vector<FractionS> values;     // by slot
    std::vector<FractionS> results;    // by argument
    bool only_symbols = true;
};

}  // namespace qorv::math::algexpr::poly

#endif
