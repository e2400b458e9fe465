// SPDX-License-Identifier: MIT
// ResultLayoutC: the one order of a ResultGraphC's parts, which depends on
// nothing but the expression (no engine's hash values, no addresses), and the
// layout of every sum and product in it: the terms of a sum in order, each
// with the sign it is written with; the coefficient and the ordered factors
// of a product. ResultShaperC writes the tree from it.
//
//   ResultLayoutC layout(graph, 10000);
//   layout.prepare();                              // every node, children first
//   const ResultLayoutC::SumS& s = layout.sum(id);  // s.shown: the terms as written
//
// Each rule has one place here:
//  - expression order (compare): numbers by value, the constants e and pi,
//    symbols by name, functions by name and then arguments, powers by base
//    and then exponent, products by their factors, sums by their terms;
//  - term order (compareTerms): terms by group (other terms, then the real
//    constant, the imaginary constant, the order term), higher degree in the
//    symbols first, then by their factors, higher powers first;
//  - signs (normalizeFactor): a sum raised to an integer power in a product
//    has a positive leading term, its sign going to the coefficient, so that
//    the engine's choice between (a-b) and -(b-a) never shows;
//  - series (sums with an order term): the order term last, the others
//    towards its degree: ascending around a point, descending at infinity
//    (x + 1/x + order(1/x^3));
//  - sign placement (arrange): a sum starts with its first term, negative or
//    not (-x^3 + 3*x^2, -1/5 + 2*i/5), except that a positive number or
//    constant beside a single negative factor stands first (1 - x).
// Comparisons recurse through the graph, at most as deep as its height,
// which prepare() bounds by `max_height` (a RefusalC beyond it); the caller
// provides the stack for that height (about 200 bytes a level).
// The layout keeps a reference to the graph, to which normalizeFactor adds
// the negated sums it needs.
#ifndef ALGEXPR_CLIENTS_SUPPORT_RESULTLAYOUTC_H
#define ALGEXPR_CLIENTS_SUPPORT_RESULTLAYOUTC_H

#include <cstddef>
#include <string>
#include <vector>

#include "ResultGraphC.h"

namespace qorv::math::algexpr::support {

class ResultLayoutC {
public:
    /// A factor of a product: base^exponent (exponent one() when plain).
    struct FactorS {
        IdT base;
        IdT exponent;
    };
    /// A term of a sum as written: negative ones are written with minus (or
    /// neg) and their sign turned.
    struct TermS {
        IdT term;
        bool negative;
    };
    struct ProductS {
        IdT coefficient = kNoId;       // a Number node, kNoId for 1
        std::vector<FactorS> factors;  // in expression order of their bases
    };
    struct SumS {
        std::vector<IdT> sorted;     // in term order; a complex constant split into its two parts
        std::vector<TermS> shown;    // as written
        double degree = 0.0;         // the highest degree of its terms
    };

    ResultLayoutC(ResultGraphC& graph, std::size_t max_height);
    ~ResultLayoutC();
    ResultLayoutC(const ResultLayoutC&) = delete;
    ResultLayoutC& operator=(const ResultLayoutC&) = delete;

    /// Lays out every node of the graph. Throws RefusalC when the graph is
    /// higher than the maximum.
    void prepare();

    /// A product's layout; also a power's whose base normalisation turned
    /// its sign (as a product of one factor); null for any other node.
    const ProductS* productOrNull(IdT id) const;
    const SumS& sum(IdT id) const;

    /// Expression order: <0, 0 or >0.
    int compare(IdT a, IdT b) const;
    /// Order of the terms of a sum.
    int compareTerms(IdT a, IdT b) const;
    /// Whether a term is written negated: its coefficient is negative.
    bool isNegative(IdT term) const;

    /// The Number nodes 1, -1 and 1/2.
    IdT one() const { return one_id; }
    IdT minusOne() const { return minus_one_id; }
    bool isHalf(IdT id) const;
    /// Puts a positive number or constant before a lone negative term
    /// (1 - x, pi - 2*x^3), as people write it; leaves other sums alone.
    void arrange(std::vector<TermS>& terms) const;

private:
    struct EntryS {
        bool done = false;
        bool product = false;   // index is into products
        std::size_t height = 0;
        std::size_t index = 0;  // into products or sums
    };

    void layOut(IdT id);
    void store(IdT id, ProductS layout);
    void layOutProduct(IdT id);
    void layOutPower(IdT id);
    void layOutSum(IdT id);
    void sortFactors(ProductS& layout) const;
    void normalizeFactors(ProductS& layout);
    bool joinOpposites(ProductS& layout);
    void mergeFactors(ProductS& layout);
    IdT negatedSum(IdT sum);
    IdT negatedTerm(IdT term);
    int compareFactors(IdT a, IdT b, bool terms) const;
    int compareNumbers(IdT a, IdT b) const;
    int compareFunctions(IdT a, IdT b) const;
    int compareSums(IdT a, IdT b) const;
    std::u16string functionName(IdT id) const;
    const FactorS* factorsOf(IdT term, FactorS& single, std::size_t& count) const;
    IdT coefficientOf(IdT term) const;
    double degreeOf(IdT term) const;
    int groupOf(IdT term) const;
    int rankOf(IdT id) const;

    ResultGraphC& graph;
    std::size_t max_height;
    IdT one_id;
    IdT minus_one_id;
    std::vector<EntryS> entries;     // by node
    std::vector<IdT> symbol_rank;    // by symbol: its place in name order
    mutable std::vector<double> degrees;  // by node, NaN until computed
    std::vector<ProductS> products;
    std::vector<SumS> sums;
};

}  // namespace qorv::math::algexpr::support

#endif
