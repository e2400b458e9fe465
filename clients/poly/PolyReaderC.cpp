// SPDX-License-Identifier: MIT
#include "PolyReaderC.h"

#include <flint/fmpz_mpoly.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "FlintRationalC.h"
#include "RefusalC.h"

namespace qorv::math::algexpr::poly {

using support::IdT;
using support::NumberS;
using support::RealS;
using KindE = support::ResultGraphC::KindE;

namespace {

// Degrees beyond this are left to the engine (FLINT's exponents would need
// more than a word, and no written result of that degree is a polynomial
// anyone expands).
constexpr double kMaxDegree = 1099511627776.0;  // 2^40

bool isGeneratorKind(KindE kind) {
    return kind == KindE::Symbol || kind == KindE::Constant || kind == KindE::Function || kind == KindE::Derivative;
}

bool exactReal(const RealS& r) { return r.form != RealS::FormE::Float; }

bool exactNumber(const NumberS& n) { return !n.complex && exactReal(n.real); }

// The value of an exact real number.
void rationalOf(const RealS& r, fmpq_t q) {
    fmpz_set_str(fmpq_numref(q), r.digits.c_str(), 10);
    if (r.form == RealS::FormE::Rational) {
        fmpz_set_str(fmpq_denref(q), r.denominator.c_str(), 10);
    } else {
        fmpz_one(fmpq_denref(q));
    }
    if (r.negative) {
        fmpz_neg(fmpq_numref(q), fmpq_numref(q));
    }
    fmpq_canonicalise(q);
}

}  // namespace

PolyReaderC::PolyReaderC(const support::ResultGraphC& graph, const PolyLimitsS& limits, std::u16string operation)
    : graph(graph), limits(limits), operation(std::move(operation)) {}

PolyReaderC::~PolyReaderC() {
    // Values before the ring they live in.
    results.clear();
    values.clear();
}

void PolyReaderC::check(const BoundS& bound, const char16_t* what) const {
    const double digits = std::ceil(bound.bits * 0.30102999566398120);
    const double total = bound.terms * (digits + 1.0);
    if (bound.terms > static_cast<double>(limits.terms) || total > static_cast<double>(limits.total_digits)) {
        throw support::RefusalC(operation + u": " + what + u" would give up to " + countText(bound.terms) +
                                u" terms and " + countText(total) + u" digits of coefficients; the limits are " +
                                countText(static_cast<double>(limits.terms)) + u" terms and " +
                                countText(static_cast<double>(limits.total_digits)) + u" digits");
    }
    const double computed = bound.computed * (digits + 1.0);
    if (bound.computed > bound.terms && computed > static_cast<double>(limits.total_digits)) {
        throw support::RefusalC(operation + u": " + what + u" would work with all " + countText(bound.computed) +
                                u" coefficients of a polynomial in one symbol, " + countText(computed) +
                                u" digits; the limit is " + countText(static_cast<double>(limits.total_digits)) +
                                u" digits");
    }
    if (digits > static_cast<double>(limits.digits)) {
        throw support::RefusalC(operation + u": " + what + u" would give coefficients of up to " + countText(digits) +
                                u" digits; the limit is " + countText(static_cast<double>(limits.digits)) +
                                u" digits");
    }
}

bool PolyReaderC::read(const IdT* arguments, std::size_t count, IdT variable) {
    if (!mark(arguments, count) || !makeRing(variable)) {
        return false;
    }
    IdT last = 0;
    for (std::size_t i = 0; i < count; ++i) {
        last = std::max(last, arguments[i]);
        ++uses[arguments[i]];
    }
    for (IdT id = 0; id <= last; ++id) {
        if (roles[id] != RoleE::Structure) {
            continue;
        }
        place[id] = values.size();
        values.emplace_back();
        if (!evaluate(id, values.back())) {
            return false;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        results.push_back(take(arguments[i]));
    }
    return true;
}

// Marks what the arguments hold, parents before children (ids descend).
bool PolyReaderC::mark(const IdT* arguments, std::size_t count) {
    roles.assign(graph.size(), RoleE::None);
    uses.assign(graph.size(), 0);
    place.assign(graph.size(), 0);
    const auto role = [this](IdT id) {
        roles[id] = isGeneratorKind(graph.kind(id)) ? RoleE::Generator : RoleE::Structure;
    };
    IdT last = 0;
    for (std::size_t i = 0; i < count; ++i) {
        role(arguments[i]);
        last = std::max(last, arguments[i]);
    }
    for (IdT id = last + 1; id-- > 0;) {
        if (roles[id] != RoleE::Structure) {
            continue;
        }
        const support::ResultGraphC::NodeS& node = graph.node(id);
        switch (node.kind) {
            case KindE::Number:
                if (!exactNumber(graph.numberOf(id))) {
                    return false;
                }
                continue;
            case KindE::Power: {
                const IdT exponent = graph.child(id, 1);
                if (graph.kind(exponent) != KindE::Number || graph.numberOf(exponent).complex ||
                    graph.numberOf(exponent).real.form != RealS::FormE::Integer) {
                    return false;
                }
                role(graph.child(id, 0));
                ++uses[graph.child(id, 0)];
                continue;
            }
            case KindE::Product:
                if (node.data != support::kNoId && !exactNumber(graph.numberOf(node.data))) {
                    return false;
                }
                break;
            case KindE::Sum:
                break;
            default:  // an order term
                return false;
        }
        for (std::size_t i = 0; i < node.count; ++i) {
            role(graph.child(id, i));
            ++uses[graph.child(id, i)];
        }
    }
    return true;
}

// Generators: the variable first, then the symbols by name (so that a
// leading coefficient's sign, which gcd and quo show, depends on the names
// alone, not on the engine's order of terms), then the other generators in
// node order; a symbol once however many nodes it has.
bool PolyReaderC::makeRing(IdT variable) {
    if (variable != support::kNoId && graph.kind(variable) != KindE::Symbol) {
        return false;
    }
    struct NamedS {
        std::u16string name;
        IdT id;
    };
    std::vector<NamedS> symbols;
    std::vector<IdT> others;
    for (IdT id = 0; id < roles.size(); ++id) {
        if (roles[id] != RoleE::Generator && id != variable) {
            continue;
        }
        if (graph.kind(id) == KindE::Symbol) {
            symbols.push_back(NamedS{graph.symbols()[graph.node(id).data]->getName(), id});
        } else {
            others.push_back(id);
            only_symbols = false;
        }
    }
    const std::u16string first = variable == support::kNoId ? u"" : graph.symbols()[graph.node(variable).data]->getName();
    std::stable_sort(symbols.begin(), symbols.end(), [&first](const NamedS& a, const NamedS& b) {
        const bool a_first = !first.empty() && a.name == first;
        const bool b_first = !first.empty() && b.name == first;
        return a_first != b_first ? a_first : a.name < b.name;
    });
    std::vector<IdT> generators;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (i == 0 || symbols[i].name != symbols[i - 1].name) {
            generators.push_back(symbols[i].id);
        }
        place[symbols[i].id] = generators.size() - 1;
    }
    for (IdT id : others) {
        place[id] = generators.size();
        generators.push_back(id);
    }
    ring_p = std::make_unique<PolyRingC>(std::move(generators));
    return true;
}

PolyReaderC::FractionS PolyReaderC::take(IdT id) {
    FractionS result;
    if (roles[id] == RoleE::Generator) {
        result.numerator = std::make_unique<FlintPolyC>(*ring_p);
        fmpq_mpoly_gen(result.numerator->get(), static_cast<slong>(place[id]), ring_p->get());
        --uses[id];
        return result;
    }
    FractionS& stored = values[place[id]];
    if (--uses[id] == 0) {
        return std::move(stored);
    }
    result.numerator = copy(*stored.numerator);
    if (stored.denominator) {
        result.denominator = copy(*stored.denominator);
    }
    return result;
}

bool PolyReaderC::evaluate(IdT id, FractionS& value) {
    const support::ResultGraphC::NodeS node = graph.node(id);
    if (node.kind == KindE::Power) {
        return power(id, value);
    }
    if (node.kind == KindE::Number) {
        number(graph.numberOf(id), value);
        return true;
    }
    if (node.kind == KindE::Product) {
        value.numerator = std::make_unique<FlintPolyC>(*ring_p);
        if (node.data == support::kNoId) {
            fmpq_mpoly_one(value.numerator->get(), ring_p->get());
        } else {
            number(graph.numberOf(node.data), value);
        }
        for (std::size_t i = 0; i < node.count; ++i) {
            multiply(value, take(graph.child(id, i)));
        }
        return true;
    }
    // A sum: its polynomial terms added pairwise (n log n for a long sum),
    // the fractions one by one.
    std::vector<std::unique_ptr<FlintPolyC>> parts;
    FractionS fractions;
    for (std::size_t i = 0; i < node.count; ++i) {
        FractionS term = take(graph.child(id, i));
        if (!term.denominator) {
            parts.push_back(std::move(term.numerator));
        } else if (!fractions.numerator) {
            fractions = std::move(term);
        } else {
            add(fractions, term);
        }
    }
    for (std::size_t width = 1; width < parts.size(); width *= 2) {
        for (std::size_t i = 0; i + width < parts.size(); i += 2 * width) {
            fmpq_mpoly_add(parts[i]->get(), parts[i]->get(), parts[i + width]->get(), ring_p->get());
            parts[i + width].reset();
        }
    }
    value.numerator = parts.empty() ? std::make_unique<FlintPolyC>(*ring_p) : std::move(parts[0]);
    if (fractions.numerator) {
        add(value, fractions);
    }
    return true;
}

// An integer power: a polynomial's bounded before FLINT computes it; a
// negative one turns the fraction over (declined when it is zero).
bool PolyReaderC::power(IdT id, FractionS& value) {
    const RealS& exponent = graph.numberOf(graph.child(id, 1)).real;
    value = take(graph.child(id, 0));
    if (exponent.negative) {
        if (value.numerator->isZero()) {
            return false;
        }
        if (!value.denominator) {
            value.denominator = std::make_unique<FlintPolyC>(*ring_p);
            fmpq_mpoly_one(value.denominator->get(), ring_p->get());
        }
        value.numerator.swap(value.denominator);
    }
    const double k = exponent.digits.size() > 300 ? 1e300 : std::strtod(exponent.digits.c_str(), nullptr);
    for (std::unique_ptr<FlintPolyC>* part : {&value.numerator, &value.denominator}) {
        if (!*part || (*part)->isOne()) {
            continue;
        }
        const ShapeS shape = shapeOf(**part, *ring_p);
        const BoundS bound = powerBound(shape, k);
        if (shape.total * k > kMaxDegree && shape.terms <= 1.0) {
            return false;  // a monomial of a huge degree: the engine writes it as it is
        }
        check(bound, u"expanding");
        if (shape.total * k > kMaxDegree) {
            return false;
        }
        auto result = std::make_unique<FlintPolyC>(*ring_p);
        fmpq_mpoly_pow_ui(result->get(), (*part)->get(), static_cast<ulong>(k), ring_p->get());
        *part = std::move(result);
    }
    if (value.denominator && value.denominator->isOne()) {
        value.denominator.reset();
    }
    return true;
}

void PolyReaderC::number(const NumberS& n, FractionS& value) const {
    FlintRationalC q;
    rationalOf(n.real, q.value);
    if (!value.numerator) {
        value.numerator = std::make_unique<FlintPolyC>(*ring_p);
    }
    fmpq_mpoly_set_fmpq(value.numerator->get(), q.value, ring_p->get());
}

std::unique_ptr<FlintPolyC> PolyReaderC::copy(const FlintPolyC& a) const {
    auto result = std::make_unique<FlintPolyC>(*ring_p);
    fmpq_mpoly_set(result->get(), a.get(), ring_p->get());
    return result;
}

std::unique_ptr<FlintPolyC> PolyReaderC::times(const FlintPolyC& a, const FlintPolyC& b) const {
    check(productBound(shapeOf(a, *ring_p), shapeOf(b, *ring_p)), u"expanding");
    auto result = std::make_unique<FlintPolyC>(*ring_p);
    fmpq_mpoly_mul(result->get(), a.get(), b.get(), ring_p->get());
    return result;
}

void PolyReaderC::multiply(FractionS& a, const FractionS& b) const {
    a.numerator = times(*a.numerator, *b.numerator);
    if (b.denominator) {
        a.denominator = a.denominator ? times(*a.denominator, *b.denominator) : copy(*b.denominator);
    }
    cancel(a);
}

void PolyReaderC::add(FractionS& a, const FractionS& b) const {
    if (!a.denominator && !b.denominator) {
        fmpq_mpoly_add(a.numerator->get(), a.numerator->get(), b.numerator->get(), ring_p->get());
        return;
    }
    std::unique_ptr<FlintPolyC> left = b.denominator ? times(*a.numerator, *b.denominator) : copy(*a.numerator);
    std::unique_ptr<FlintPolyC> right = a.denominator ? times(*b.numerator, *a.denominator) : copy(*b.numerator);
    fmpq_mpoly_add(left->get(), left->get(), right->get(), ring_p->get());
    a.numerator = std::move(left);
    a.denominator = !a.denominator ? copy(*b.denominator)
                    : b.denominator ? times(*a.denominator, *b.denominator)
                                    : std::move(a.denominator);
    cancel(a);
}

// Lowest terms: the gcd out of both parts, the denominator monic.
void PolyReaderC::cancel(FractionS& a) const {
    if (!a.denominator) {
        return;
    }
    FlintPolyC g(*ring_p);
    auto numerator = std::make_unique<FlintPolyC>(*ring_p);
    auto denominator = std::make_unique<FlintPolyC>(*ring_p);
    if (!fmpq_mpoly_gcd_cofactors(g.get(), numerator->get(), denominator->get(), a.numerator->get(),
                                  a.denominator->get(), ring_p->get())) {
        throw support::RefusalC(operation + u": the polynomial library could not cancel a fraction");
    }
    FlintRationalC lead;
    fmpq_mpoly_get_term_coeff_fmpq(lead.value, denominator->get(), 0, ring_p->get());
    fmpq_mpoly_scalar_div_fmpq(numerator->get(), numerator->get(), lead.value, ring_p->get());
    fmpq_mpoly_scalar_div_fmpq(denominator->get(), denominator->get(), lead.value, ring_p->get());
    a.numerator = std::move(numerator);
    a.denominator = denominator->isOne() ? nullptr : std::move(denominator);
}

}  // namespace qorv::math::algexpr::poly
