// SPDX-License-Identifier: MIT
#include "ResultLayoutC.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "RealOrder.h"
#include "RefusalC.h"
#include "MessageText.h"
#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::support {

using KindE = ResultGraphC::KindE;

namespace {

// std::stable_sort's order; a short range by insertion, without the buffer
// stable_sort takes at each call.
template <class Iterator, class Less>
void stableSort(Iterator first, Iterator last, Less less) {
    constexpr long kShort = 16;
    if (last - first > kShort) {
        std::stable_sort(first, last, less);
        return;
    }
    for (Iterator i = first; i != last; ++i) {
        auto moving = std::move(*i);
        Iterator j = i;
        for (; j != first && less(moving, *(j - 1)); --j) {
            *j = std::move(*(j - 1));
        }
        *j = std::move(moving);
    }
}

template <class T>
int compareValues(const T& a, const T& b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

int sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

// A rational number p/q (q > 0) that fits in long longs, or false.
bool smallRational(const ResultGraphC& graph, IdT id, long long& p, long long& q) {
    if (graph.kind(id) != KindE::Number) {
        return false;
    }
    const NumberS& n = graph.numberOf(id);
    if (n.complex || n.real.form == RealS::FormE::Float || n.real.digits.size() > 12 || n.real.denominator.size() > 12) {
        return false;
    }
    p = std::strtoll(n.real.digits.c_str(), nullptr, 10) * (n.real.negative ? -1 : 1);
    q = n.real.form == RealS::FormE::Rational ? std::strtoll(n.real.denominator.c_str(), nullptr, 10) : 1;
    return true;
}

// The rational number p/q in lowest terms (q > 0).
NumberS rationalNumber(long long p, long long q) {
    long long a = p < 0 ? -p : p;
    long long b = q;
    while (b != 0) {
        const long long t = a % b;
        a = b;
        b = t;
    }
    const long long g = a == 0 ? 1 : a;
    p /= g;
    q /= g;
    NumberS number = NumberS::integer(p < 0, std::to_string(p < 0 ? -p : p));
    if (q != 1) {
        number.real.form = RealS::FormE::Rational;
        number.real.denominator = std::to_string(q);
    }
    return number;
}

// The value of an integer exponent that fits in a long long, for merging
// equal bases; false for anything else.
bool smallInteger(const ResultGraphC& graph, IdT id, long long& value) {
    if (graph.kind(id) != KindE::Number) {
        return false;
    }
    const NumberS& n = graph.numberOf(id);
    if (n.complex || n.real.form != RealS::FormE::Integer || n.real.digits.size() > 17) {
        return false;
    }
    value = std::strtoll(n.real.digits.c_str(), nullptr, 10);
    value = n.real.negative ? -value : value;
    return true;
}

}  // namespace

ResultLayoutC::ResultLayoutC(ResultGraphC& graph, std::size_t max_height)
    : graph(graph),
      max_height(max_height),
      one_id(graph.number(NumberS::integer(false, "1"))),
      minus_one_id(graph.number(NumberS::integer(true, "1"))) {}

ResultLayoutC::~ResultLayoutC() = default;

void ResultLayoutC::prepare() {
    // Symbols in name order (code units), ties by their place in the table.
    const auto& symbols = graph.symbols();
    std::vector<std::u16string> names(symbols.size());
    std::vector<IdT> by_name(symbols.size());
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        names[i] = symbols[i] ? symbols[i]->getName() : std::u16string();
        by_name[i] = static_cast<IdT>(i);
    }
    stableSort(by_name.begin(), by_name.end(), [&names](IdT a, IdT b) { return names[a] < names[b]; });
    symbol_rank.assign(symbols.size(), 0);
    for (std::size_t i = 0; i < by_name.size(); ++i) {
        symbol_rank[by_name[i]] = static_cast<IdT>(i);
    }
    entries.reserve(graph.size() + graph.size() / 4);  // the layout adds a few nodes
    for (IdT id = 0; id < graph.size(); ++id) {
        layOut(id);
    }
}

const ResultLayoutC::ProductS* ResultLayoutC::productOrNull(IdT id) const {
    const EntryS& entry = entries[id];
    return entry.product ? &products[entry.index] : nullptr;
}

const ResultLayoutC::SumS& ResultLayoutC::sum(IdT id) const { return sums[entries[id].index]; }

bool ResultLayoutC::isHalf(IdT id) const {
    if (graph.kind(id) != KindE::Number) {
        return false;
    }
    const NumberS& n = graph.numberOf(id);
    return !n.complex && n.real.form == RealS::FormE::Rational && !n.real.negative && n.real.digits == "1" &&
           n.real.denominator == "2";
}

void ResultLayoutC::layOut(IdT id) {
    if (entries.size() <= id) {
        entries.resize(static_cast<std::size_t>(id) + 1);
    }
    if (entries[id].done) {
        return;
    }
    std::size_t height = 0;
    const std::size_t children = graph.node(id).count;
    for (std::size_t i = 0; i < children; ++i) {
        height = std::max(height, entries[graph.child(id, i)].height);
    }
    entries[id].height = height + 1;
    entries[id].done = true;
    if (height + 1 > max_height) {
        throw RefusalC(u"the result is nested more than " + count(max_height) + u" levels deep");
    }
    switch (graph.kind(id)) {
        case KindE::Product:
            layOutProduct(id);
            break;
        case KindE::Sum:
            layOutSum(id);
            break;
        case KindE::Power:
            layOutPower(id);
            break;
        default:
            break;
    }
}

void ResultLayoutC::store(IdT id, ProductS layout) {
    entries[id].product = true;
    entries[id].index = products.size();
    products.push_back(std::move(layout));
}

void ResultLayoutC::layOutProduct(IdT id) {
    ProductS layout;
    layout.coefficient = graph.node(id).data;
    const std::size_t count = graph.node(id).count;
    layout.factors.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const IdT factor = graph.child(id, i);
        if (graph.kind(factor) == KindE::Power) {
            layout.factors.push_back(FactorS{graph.child(factor, 0), graph.child(factor, 1)});
        } else {
            layout.factors.push_back(FactorS{factor, one_id});
        }
    }
    normalizeFactors(layout);
    sortFactors(layout);
    store(id, std::move(layout));
}

// A power is laid out as a product of one factor only when normalising its
// base turns its sign.
void ResultLayoutC::layOutPower(IdT id) {
    ProductS layout;
    layout.factors.push_back(FactorS{graph.child(id, 0), graph.child(id, 1)});
    normalizeFactors(layout);
    if (layout.coefficient != kNoId || layout.factors.size() != 1 || layout.factors[0].base != graph.child(id, 0)) {
        store(id, std::move(layout));
    }
}

void ResultLayoutC::sortFactors(ProductS& layout) const {
    stableSort(layout.factors.begin(), layout.factors.end(), [this](const FactorS& a, const FactorS& b) {
        const int order = compare(a.base, b.base);
        return order != 0 ? order < 0 : compare(a.exponent, b.exponent) < 0;
    });
}

// Each sum raised to an integer power gets a positive leading term; the
// signs taken out of odd powers go to the coefficient. A sum raised to an
// integer power p beside its negation raised to q joins it ((a-b)^p (b-a)^q
// is (-1)^p (b-a)^(p+q) for an integer p), and factors whose bases are equal
// merge, so that the engine's choice between (a-b) and -(b-a) never shows.
void ResultLayoutC::normalizeFactors(ProductS& layout) {
    bool flip = false;
    for (FactorS& factor : layout.factors) {
        long long exponent = 0;
        if (graph.kind(factor.base) != KindE::Sum || !smallInteger(graph, factor.exponent, exponent)) {
            continue;
        }
        const SumS& base = sum(factor.base);
        if (!base.sorted.empty() && isNegative(base.sorted.front())) {
            factor.base = negatedSum(factor.base);
            flip = flip != (exponent % 2 != 0);
        }
    }
    flip = flip != joinOpposites(layout);
    if (flip) {
        layout.coefficient = layout.coefficient == kNoId ? minus_one_id
                                                         : graph.number(graph.numberOf(layout.coefficient).negated());
        if (layout.coefficient == one_id) {
            layout.coefficient = kNoId;
        }
    }
    mergeFactors(layout);
}

// Joins each sum to an integer power into a factor whose base is its
// negation; true when that turned the sign of the product.
bool ResultLayoutC::joinOpposites(ProductS& layout) {
    bool flip = false;
    std::vector<FactorS> kept;
    for (std::size_t i = 0; i < layout.factors.size(); ++i) {
        FactorS& factor = layout.factors[i];
        long long p = 0;
        IdT partner = kNoId;
        if (graph.kind(factor.base) == KindE::Sum && smallInteger(graph, factor.exponent, p)) {
            for (std::size_t j = 0; j < layout.factors.size() && partner == kNoId; ++j) {
                long long num = 0;
                long long den = 0;
                const FactorS& other = layout.factors[j];
                if (j != i && graph.kind(other.base) == KindE::Sum && !smallInteger(graph, other.exponent, num) &&
                    smallRational(graph, other.exponent, num, den) && compare(other.base, negatedSum(factor.base)) == 0) {
                    partner = static_cast<IdT>(j);
                }
            }
        }
        if (partner == kNoId) {
            continue;
        }
        long long num = 0;
        long long den = 0;
        smallRational(graph, layout.factors[partner].exponent, num, den);
        layout.factors[partner].exponent = graph.number(rationalNumber(num + p * den, den));
        factor.exponent = graph.number(NumberS::integer(false, "0"));
        flip = flip != (p % 2 != 0);
    }
    return flip;
}

void ResultLayoutC::mergeFactors(ProductS& layout) {
    std::vector<FactorS> merged;
    merged.reserve(layout.factors.size());
    for (const FactorS& factor : layout.factors) {
        long long a = 0;
        long long b = 0;
        auto same = std::find_if(merged.begin(), merged.end(), [&](const FactorS& m) {
            return graph.kind(factor.base) == KindE::Sum && graph.kind(m.base) == KindE::Sum && compare(m.base, factor.base) == 0;
        });
        if (same == merged.end() || !smallInteger(graph, same->exponent, a) || !smallInteger(graph, factor.exponent, b)) {
            merged.push_back(factor);
            continue;
        }
        const long long total = a + b;
        same->exponent = graph.number(NumberS::integer(total < 0, std::to_string(total < 0 ? -total : total)));
    }
    merged.erase(std::remove_if(merged.begin(), merged.end(),
                                [this](const FactorS& f) {
                                    long long n = 0;
                                    return smallInteger(graph, f.exponent, n) && n == 0;
                                }),
                 merged.end());
    layout.factors.swap(merged);
}

IdT ResultLayoutC::negatedTerm(IdT term) {
    if (graph.kind(term) == KindE::Number) {
        return graph.number(graph.numberOf(term).negated());
    }
    const ProductS* layout = productOrNull(term);
    IdT coefficient = minus_one_id;
    std::vector<FactorS> factors{FactorS{term, one_id}};
    if (layout != nullptr) {
        coefficient = layout->coefficient == kNoId ? minus_one_id : graph.number(graph.numberOf(layout->coefficient).negated());
        factors = layout->factors;
    }
    if (coefficient == one_id && factors.size() == 1 && factors[0].exponent == one_id) {
        return factors[0].base;
    }
    std::vector<IdT> children;
    children.reserve(factors.size());
    for (const FactorS& f : factors) {
        children.push_back(f.exponent == one_id ? f.base : graph.power(f.base, f.exponent));
        layOut(children.back());
    }
    const IdT product = graph.product(coefficient == one_id ? kNoId : coefficient, children.data(), children.size());
    layOut(product);
    return product;
}

IdT ResultLayoutC::negatedSum(IdT id) {
    std::vector<IdT> terms;
    const std::size_t count = graph.node(id).count;
    terms.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        terms.push_back(negatedTerm(graph.child(id, i)));
        layOut(terms.back());
    }
    const IdT negated = graph.sum(terms.data(), terms.size());
    layOut(negated);
    return negated;
}

void ResultLayoutC::layOutSum(IdT id) {
    SumS layout;
    const std::size_t count = graph.node(id).count;
    layout.sorted.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const IdT term = graph.child(id, i);
        if (graph.kind(term) != KindE::Number) {
            layout.sorted.push_back(term);
            continue;
        }
        const NumberS& number = graph.numberOf(term);
        if (!number.complex) {
            if (!number.real.isZero()) {
                layout.sorted.push_back(term);
            }
            continue;
        }
        NumberS real;
        real.real = number.real;
        NumberS imaginary = number;
        imaginary.real = RealS();
        if (!real.real.isZero()) {
            layout.sorted.push_back(graph.number(real));
        }
        layout.sorted.push_back(graph.number(imaginary));
    }
    if (layout.sorted.empty()) {
        layout.sorted.push_back(graph.number(NumberS::integer(false, "0")));
    }
    for (IdT term : layout.sorted) {
        layOut(term);
    }
    stableSort(layout.sorted.begin(), layout.sorted.end(),
                     [this](IdT a, IdT b) { return compareTerms(a, b) < 0; });
    layout.shown.reserve(layout.sorted.size());
    for (IdT term : layout.sorted) {
        layout.shown.push_back(TermS{term, isNegative(term)});
        layout.degree = std::max(layout.degree, degreeOf(term));
    }
    if (groupOf(layout.sorted.back()) == 3) {
        // A series: powers towards the order term's, which stands last:
        // ascending around a point, descending at infinity (order(1/x^n)).
        const bool descending = degreeOf(graph.child(layout.sorted.back(), 0)) < 0.0;
        stableSort(layout.shown.begin(), layout.shown.end() - 1,
                         [this, descending](const TermS& a, const TermS& b) {
                             return descending ? degreeOf(a.term) > degreeOf(b.term)
                                               : degreeOf(a.term) < degreeOf(b.term);
                         });
    }
    arrange(layout.shown);
    entries[id].index = sums.size();
    sums.push_back(std::move(layout));
}

void ResultLayoutC::arrange(std::vector<TermS>& terms) const {
    if (terms.size() != 2 || !terms.front().negative || terms.back().negative) {
        return;
    }
    const IdT first = terms.front().term;
    const IdT second = terms.back().term;
    const ProductS* negative = productOrNull(first);
    const bool number = graph.kind(second) == KindE::Constant ||
                        (graph.kind(second) == KindE::Number && !graph.numberOf(second).complex);
    // A power whose base's sign was turned is laid out as a product too: the
    // engine may give -(b-a)^-1 or (a-b)^-1, and both must come out alike.
    if (number && negative != nullptr && negative->factors.size() == 1 &&
        !graph.numberOf(negative->coefficient).complex) {
        std::swap(terms.front(), terms.back());
    }
}

bool ResultLayoutC::isNegative(IdT term) const {
    if (graph.kind(term) == KindE::Number) {
        return graph.numberOf(term).isNegative();
    }
    const ProductS* layout = productOrNull(term);
    return layout != nullptr && layout->coefficient != kNoId && graph.numberOf(layout->coefficient).isNegative();
}

const ResultLayoutC::FactorS* ResultLayoutC::factorsOf(IdT term, FactorS& single, std::size_t& count) const {
    if (const ProductS* layout = productOrNull(term)) {
        count = layout->factors.size();
        return layout->factors.data();
    }
    count = 1;
    switch (graph.kind(term)) {
        case KindE::Number:
            count = 0;
            return nullptr;
        case KindE::Power:
            single = FactorS{graph.child(term, 0), graph.child(term, 1)};
            return &single;
        default:
            single = FactorS{term, one_id};
            return &single;
    }
}

IdT ResultLayoutC::coefficientOf(IdT term) const {
    if (graph.kind(term) == KindE::Number) {
        return term;
    }
    const ProductS* layout = productOrNull(term);
    return layout != nullptr && layout->coefficient != kNoId ? layout->coefficient : one_id;
}

// The degree of a term in the symbols: the sum of the rational exponents of
// its symbols, and of its sums weighted by their own degree.
double ResultLayoutC::degreeOf(IdT term) const {
    if (degrees.size() <= term) {
        degrees.resize(static_cast<std::size_t>(term) + 1, std::numeric_limits<double>::quiet_NaN());
    }
    if (!std::isnan(degrees[term])) {
        return degrees[term];
    }
    double total = 0.0;
    FactorS single{};
    std::size_t count = 0;
    const FactorS* factors = factorsOf(term, single, count);
    for (std::size_t i = 0; i < count; ++i) {
        const FactorS& f = factors[i];
        if (graph.kind(f.exponent) != KindE::Number) {
            continue;
        }
        const NumberS& n = graph.numberOf(f.exponent);
        if (n.complex || n.real.form == RealS::FormE::Float) {
            continue;
        }
        if (graph.kind(f.base) == KindE::Symbol) {
            total += n.real.approximate();
        } else if (graph.kind(f.base) == KindE::Sum) {
            total += n.real.approximate() * sum(f.base).degree;
        }
    }
    degrees[term] = total;
    return total;
}

// Real constants, imaginary constants, then order terms after all others.
int ResultLayoutC::groupOf(IdT term) const {
    switch (graph.kind(term)) {
        case KindE::Number:
            return graph.numberOf(term).complex ? 2 : 1;
        case KindE::Order:
            return 3;
        default:
            return 0;
    }
}

// Numbers, constants, symbols, functions, powers, products, sums.
int ResultLayoutC::rankOf(IdT id) const {
    switch (graph.kind(id)) {
        case KindE::Number:
            return 0;
        case KindE::Constant:
            return 1;
        case KindE::Symbol:
            return 2;
        case KindE::Function:
        case KindE::Derivative:
        case KindE::Order:
            return 3;
        case KindE::Power:
            return 4;
        case KindE::Product:
            return 5;
        case KindE::Sum:
            return 6;
    }
    return 7;
}

int ResultLayoutC::compareNumbers(IdT a, IdT b) const {
    const NumberS& x = graph.numberOf(a);
    const NumberS& y = graph.numberOf(b);
    const int order = compareReals(x.real, y.real);
    return order != 0 ? sign(order) : sign(compareReals(x.imag, y.imag));
}

std::u16string ResultLayoutC::functionName(IdT id) const {
    switch (graph.kind(id)) {
        case KindE::Function:
            return graph.functions()[graph.node(id).data].name;
        case KindE::Derivative:
            return graph.functions()[graph.derivatives()[graph.node(id).data].function].name;
        default:
            return u"order";
    }
}

int ResultLayoutC::compareFunctions(IdT a, IdT b) const {
    int order = sign(functionName(a).compare(functionName(b)));
    if (order != 0) {
        return order;
    }
    const bool da = graph.kind(a) == KindE::Derivative;
    const bool db = graph.kind(b) == KindE::Derivative;
    order = compareValues(da, db);
    if (order == 0 && da) {
        const std::vector<unsigned>& pa = graph.derivatives()[graph.node(a).data].positions;
        const std::vector<unsigned>& pb = graph.derivatives()[graph.node(b).data].positions;
        order = compareValues(pa, pb);
    }
    const std::size_t na = graph.node(a).count;
    const std::size_t nb = graph.node(b).count;
    if (order == 0) {
        order = compareValues(na, nb);
    }
    for (std::size_t i = 0; order == 0 && i < na; ++i) {
        order = compare(graph.child(a, i), graph.child(b, i));
    }
    return order;
}

int ResultLayoutC::compare(IdT a, IdT b) const {
    if (a == b) {
        return 0;
    }
    const int ra = rankOf(a);
    const int rb = rankOf(b);
    if (ra != rb) {
        return compareValues(ra, rb);
    }
    switch (graph.kind(a)) {
        case KindE::Number:
            return compareNumbers(a, b);
        case KindE::Constant: {
            const auto name = [this](IdT id) {
                return graph.node(id).data == static_cast<IdT>(ResultGraphC::ConstantE::Pi) ? u"pi" : u"e";
            };
            return sign(std::u16string(name(a)).compare(name(b)));
        }
        case KindE::Symbol: {
            const IdT sa = graph.node(a).data;
            const IdT sb = graph.node(b).data;
            return compareValues(symbol_rank[sa], symbol_rank[sb]);
        }
        case KindE::Power: {
            const int order = compare(graph.child(a, 0), graph.child(b, 0));
            return order != 0 ? order : compare(graph.child(a, 1), graph.child(b, 1));
        }
        case KindE::Product:
            return compareFactors(a, b, false);
        case KindE::Sum:
            return compareSums(a, b);
        default:
            return compareFunctions(a, b);
    }
}

int ResultLayoutC::compareSums(IdT a, IdT b) const {
    const std::vector<IdT>& ta = sum(a).sorted;
    const std::vector<IdT>& tb = sum(b).sorted;
    for (std::size_t i = 0; i < ta.size() && i < tb.size(); ++i) {
        const int order = compareTerms(ta[i], tb[i]);
        if (order != 0) {
            return order;
        }
    }
    return compareValues(ta.size(), tb.size());
}

// The factor lists of a and b pair by pair (bases, then exponents: higher
// powers first within terms), then their lengths, then the coefficients.
int ResultLayoutC::compareFactors(IdT a, IdT b, bool terms) const {
    FactorS single_a{};
    FactorS single_b{};
    std::size_t na = 0;
    std::size_t nb = 0;
    const FactorS* fa = factorsOf(a, single_a, na);
    const FactorS* fb = factorsOf(b, single_b, nb);
    for (std::size_t i = 0; i < na && i < nb; ++i) {
        int order = compare(fa[i].base, fb[i].base);
        if (order == 0) {
            order = terms ? compare(fb[i].exponent, fa[i].exponent) : compare(fa[i].exponent, fb[i].exponent);
        }
        if (order != 0) {
            return order;
        }
    }
    if (na != nb) {
        return compareValues(na, nb);
    }
    return compareNumbers(coefficientOf(a), coefficientOf(b));
}

int ResultLayoutC::compareTerms(IdT a, IdT b) const {
    if (a == b) {
        return 0;
    }
    int order = compareValues(groupOf(a), groupOf(b));
    if (order == 0) {
        order = compareValues(degreeOf(b), degreeOf(a));  // higher degree first
    }
    return order != 0 ? order : compareFactors(a, b, true);
}

}  // namespace qorv::math::algexpr::support
