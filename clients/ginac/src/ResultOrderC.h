// SPDX-License-Identifier: MIT
// ResultOrderC: the order in which results are written (see GinacEngineC.h),
// independent of GiNaC's own order, which follows hash values. prepare()
// lays out every sum and product of a result once, bottom-up and without
// recursion: a product's coefficient, its factors sorted, and which go to
// the denominator; a sum's terms sorted and signed. compare() then needs no
// sorting and walks with an explicit stack. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_RESULTORDERC_H
#define ALGEXPR_GINAC_SRC_RESULTORDERC_H

#include <ginac/ginac.h>

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qorv::math::algexpr::ginac::detail {

struct FactorS {
    GiNaC::ex base;
    GiNaC::ex exponent;
};

struct TermS {
    GiNaC::ex term;
    bool negative;  // written with minus (or neg) and its sign turned
};

struct ProductLayoutS {
    GiNaC::numeric coefficient{1};
    std::vector<FactorS> factors;      // all, sorted by base
    std::vector<FactorS> numerator;    // those with a positive or symbolic exponent
    std::vector<FactorS> denominator;  // those with a negative number as exponent, turned positive
};

struct SumLayoutS {
    std::vector<GiNaC::ex> sorted;  // term order; a complex constant split into its parts
    std::vector<TermS> shown;       // as written
    double degree = 0.0;            // the highest degree of its terms
};

// What prepare() saw of a result, for the reason that goes with it.
struct ResultFactsS {
    unsigned symbol_rank = ~0u;                // the least OrderedSymbolC rank, ~0u for none
    const std::u16string* function = nullptr;  // the first unknown function by name
    bool complex = false;                      // a number off the real line
    bool order = false;                        // an order term
};

class ResultOrderC {
public:
    ResultOrderC();
    ~ResultOrderC();
    ResultOrderC(const ResultOrderC&) = delete;
    ResultOrderC& operator=(const ResultOrderC&) = delete;

    /// Lays out every sum and product in `root`, which must outlive this.
    void prepare(const GiNaC::ex& root);
    const ProductLayoutS& product(const GiNaC::ex& e) const;
    const SumLayoutS& sum(const GiNaC::ex& e) const;
    const ResultFactsS& resultFacts() const { return facts; }

    /// Expression order: <0, 0 or >0.
    int compare(const GiNaC::ex& a, const GiNaC::ex& b) const;
    /// Order of the terms of a sum.
    int compareTerms(const GiNaC::ex& a, const GiNaC::ex& b) const;
    /// Whether a term is written negated (its coefficient is negative).
    bool isNegative(const GiNaC::ex& term) const;

    /// Whether a number counts as negative: its real part, or its imaginary
    /// part when the real part is 0.
    static bool isNegative(const GiNaC::numeric& number);
    /// Moves the first positive term to the front when the first is negative.
    static void arrange(std::vector<TermS>& terms);

private:
    struct Task;

    int run(std::vector<Task>& tasks) const;
    void pushFactors(std::vector<Task>& tasks, const GiNaC::ex& a, const GiNaC::ex& b, bool term) const;
    /// The factors of a term, in the product's layout or in `single`.
    std::pair<const FactorS*, std::size_t> factorsOf(const GiNaC::ex& term, FactorS& single) const;
    double degreeOf(const GiNaC::ex& term) const;
    GiNaC::numeric coefficientOf(const GiNaC::ex& term) const;
    void layOutProduct(const GiNaC::ex& e, const std::vector<GiNaC::ex>& factors);
    void layOutSum(const GiNaC::ex& e, const std::vector<GiNaC::ex>& terms);

    // Parts are told apart by address. The operands of sums and products are
    // made afresh by each op() call, so they are taken once and every part
    // met is kept alive (`alive`) while this lives.
    std::vector<GiNaC::ex> alive;
    ResultFactsS facts;
    std::unordered_map<const GiNaC::basic*, ProductLayoutS> products;
    std::unordered_map<const GiNaC::basic*, SumLayoutS> sums;
    mutable std::vector<Task> tasks;  // of the comparison running; kept for its capacity
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
