// SPDX-License-Identifier: MIT
#include "PolyEngineC.h"

#include <string_view>

#include <flint/flint.h>
#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <flint/fmpz_mpoly.h>
#include <flint/fmpz_mpoly_factor.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz_vec.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FlintRationalC.h"
#include "PolyReaderC.h"
#include "PolyWriterC.h"
#include "RefusalC.h"

namespace qorv::math::algexpr::poly {

using support::IdT;
using support::kNoId;

namespace {

// Integers of more digits are left to the engine: factoring them may take
// any time.
constexpr std::size_t kMaxFactoredDigits = 40;

// Partial fractions of denominators of higher degree are refused: the
// Bezout cofactors' coefficients grow with the degree.
constexpr slong kMaxApartDegree = 200;

// An integer polynomial in the ring's integer context, cleared when it goes.
class IntegerPoly {
public:
    explicit IntegerPoly(const PolyRingC& ring) : ring(ring) { fmpz_mpoly_init(value, ring.integers()); }
    ~IntegerPoly() { fmpz_mpoly_clear(value, ring.integers()); }
    IntegerPoly(const IntegerPoly&) = delete;
    IntegerPoly& operator=(const IntegerPoly&) = delete;
    fmpz_mpoly_struct* get() { return value; }

private:
    const PolyRingC& ring;
    fmpz_mpoly_t value;
};

// The factors of an integer polynomial over the integers, `sorted` in
// FLINT's order where the caller writes them in the order found (FLINT's
// own order varies between runs); `failure` is the refusal when FLINT
// cannot factor it.
class IntegerFactorsC {
public:
    IntegerFactorsC(IntegerPoly& z, const PolyRingC& ring, bool sorted, const char16_t* failure) : ring(ring) {
        fmpz_mpoly_factor_init(factors, ring.integers());
        if (!fmpz_mpoly_factor(factors, z.get(), ring.integers())) {
            fmpz_mpoly_factor_clear(factors, ring.integers());
            throw support::RefusalC(failure);
        }
        if (sorted) {
            fmpz_mpoly_factor_sort(factors, ring.integers());
        }
    }
    ~IntegerFactorsC() { fmpz_mpoly_factor_clear(factors, ring.integers()); }
    IntegerFactorsC(const IntegerFactorsC&) = delete;
    IntegerFactorsC& operator=(const IntegerFactorsC&) = delete;
    fmpz_mpoly_factor_struct* get() const { return factors; }

private:
    const PolyRingC& ring;
    mutable fmpz_mpoly_factor_t factors;
};

struct Integer {
    Integer() { fmpz_init(value); }
    ~Integer() { fmpz_clear(value); }
    Integer(const Integer&) = delete;
    Integer& operator=(const Integer&) = delete;
    fmpz_t value;
};

const fmpq* contentOf(const FlintPolyC& p, const PolyRingC& ring) {
    return fmpq_mpoly_content_ref(const_cast<fmpq_mpoly_struct*>(p.get()), ring.get());
}

const fmpz_mpoly_struct* zpolyOf(const FlintPolyC& p, const PolyRingC& ring) {
    return fmpq_mpoly_zpoly_ref(const_cast<fmpq_mpoly_struct*>(p.get()), ring.get());
}

bool integral(const FlintPolyC& p, const PolyRingC& ring) { return fmpz_is_one(fmpq_denref(contentOf(p, ring))); }

// p's integer multiple without common content (content and sign into `scale`).
void primitive(const FlintPolyC& p, const PolyRingC& ring, IntegerPoly& z, fmpq_t scale) {
    fmpz_mpoly_set(z.get(), zpolyOf(p, ring), ring.integers());
    fmpq_set(scale, contentOf(p, ring));
    Integer g;
    _fmpz_vec_content(g.value, z.get()->coeffs, z.get()->length);
    if (!fmpz_is_zero(g.value) && !fmpz_is_one(g.value)) {
        fmpz_mpoly_scalar_divexact_fmpz(z.get(), z.get(), g.value, ring.integers());
        fmpq_mul_fmpz(scale, scale, g.value);
    }
}

// p exactly as an integer polynomial (p integral).
void integerOf(const FlintPolyC& p, const PolyRingC& ring, IntegerPoly& z) {
    fmpz_mpoly_scalar_mul_fmpz(z.get(), zpolyOf(p, ring), fmpq_numref(contentOf(p, ring)), ring.integers());
}

void rationalOf(IntegerPoly& z, const PolyRingC& ring, FlintPolyC& p) {
    fmpz_mpoly_set(fmpq_mpoly_zpoly_ref(p.get(), ring.get()), z.get(), ring.integers());
    fmpq_one(fmpq_mpoly_content_ref(p.get(), ring.get()));
    fmpq_mpoly_reduce(p.get(), ring.get());
}

}  // namespace

namespace {

const char16_t* const kNames[] = {u"expand", u"factor", u"simplify", u"gcd", u"lcm", u"quo", u"rem", u"apart"};

}  // namespace

const char16_t* PolyEngineC::nameOf(OperationE operation) { return kNames[static_cast<std::size_t>(operation)]; }

bool PolyEngineC::named(const char16_t* name, OperationE& operation) {
    for (std::size_t i = 0; i < sizeof kNames / sizeof *kNames; ++i) {
        if (name[0] == kNames[i][0] && std::u16string_view(name) == kNames[i]) {
            operation = static_cast<OperationE>(i);
            return true;
        }
    }
    return false;
}

namespace {

// FLINT keeps caches of integers per thread: each thread that computes
// frees its own when it ends (the engines' workers at exit).
struct FlintCachesS {
    ~FlintCachesS() { flint_cleanup(); }
};

}  // namespace

PolyEngineC::PolyEngineC(support::ResultGraphC& graph, const PolyLimitsS& limits) : graph(graph), limits(limits) {
    static thread_local FlintCachesS caches;
    (void)caches;
}

IdT PolyEngineC::run(OperationE operation, const IdT* arguments, std::size_t count) {
    const bool division = operation == OperationE::Quo || operation == OperationE::Rem;
    const bool pair = operation == OperationE::Gcd || operation == OperationE::Lcm;
    const bool fractions = operation == OperationE::Apart;
    const std::size_t wanted = pair || fractions ? 2 : division ? (count == 3 ? 3 : 2) : 1;
    if (count != wanted) {
        return kNoId;  // the engine names the misuse
    }
    PolyReaderC reader(graph, limits, nameOf(operation));
    const IdT variable = count == 3 ? arguments[2] : fractions ? arguments[1] : kNoId;
    if (!reader.read(arguments, division ? 2 : fractions ? 1 : count, variable)) {
        return kNoId;
    }
    if (fractions) {
        return reader.onlySymbols() ? apart(reader) : kNoId;
    }
    const std::size_t generators = reader.ring().size();
    if (generators == 0) {
        return operation == OperationE::Factor ? factorInteger(reader) : kNoId;
    }
    if (operation != OperationE::Expand && operation != OperationE::Factor && !reader.onlySymbols()) {
        return kNoId;
    }
    switch (operation) {
        case OperationE::Expand:
            return expand(reader);
        case OperationE::Factor:
            return factor(reader);
        case OperationE::Simplify:
            return simplify(reader);
        case OperationE::Gcd:
        case OperationE::Lcm:
            return gcd(reader, operation == OperationE::Lcm);
        default:
            // Without a named variable, the only symbol is the variable.
            return count == 3 || generators == 1 ? divide(reader, operation == OperationE::Quo) : kNoId;
    }
}

IdT PolyEngineC::expand(PolyReaderC& reader) {
    const PolyReaderC::FractionS& a = reader.value(0);
    if (a.denominator) {
        return kNoId;  // the engines expand over each denominator
    }
    return PolyWriterC(graph, reader.ring()).polynomial(*a.numerator);
}

// n = (-1) p1^e1 ... pk^ek, each prime's power a factor (p^1 is written p).
IdT PolyEngineC::factorInteger(PolyReaderC& reader) {
    const PolyReaderC::FractionS& a = reader.value(0);
    const PolyRingC& ring = reader.ring();
    FlintRationalC value;
    fmpq_mpoly_get_fmpq(value.value, a.numerator->get(), ring.get());
    const fmpz* n = fmpq_numref(value.value);
    if (a.denominator || !fmpz_is_one(fmpq_denref(value.value)) || fmpz_cmpabs(n, fmpq_denref(value.value)) <= 0 ||
        fmpz_sizeinbase(n, 10) > kMaxFactoredDigits) {
        return kNoId;
    }
    fmpz_factor_t primes;
    fmpz_factor_init(primes);
    struct Cleared {
        fmpz_factor_struct* f;
        ~Cleared() { fmpz_factor_clear(f); }
    } cleared{primes};
    fmpz_factor(primes, n);
    PolyWriterC writer(graph, ring);
    std::vector<IdT> powers;
    for (slong i = 0; i < primes->num; ++i) {
        powers.push_back(graph.power(writer.integer(primes->p + i), writer.integer(primes->exp[i])));
    }
    if (powers.size() == 1 && primes->exp[0] == 1) {
        return writer.integer(n);  // a prime
    }
    if (powers.size() == 1 && primes->sign > 0) {
        return powers[0];
    }
    const IdT sign = primes->sign < 0 ? graph.number(support::NumberS::integer(true, "1")) : kNoId;
    return graph.product(sign, powers.data(), powers.size());
}

// Over the rationals: each part's content and its irreducible factors,
// those of a denominator with negative exponents.
IdT PolyEngineC::factor(PolyReaderC& reader) {
    const PolyReaderC::FractionS& a = reader.value(0);
    const PolyRingC& ring = reader.ring();
    if (a.numerator->isZero()) {
        return kNoId;
    }
    if (fmpq_mpoly_is_fmpq(a.numerator->get(), ring.get()) && !a.denominator) {
        return factorInteger(reader);
    }
    for (const FlintPolyC* part : {a.numerator.get(), a.denominator.get()}) {
        if (part != nullptr) {
            const ShapeS shape = shapeOf(*part, ring);
            double dense = 1.0;
            for (double d : shape.degrees) {
                dense *= d + 1.0;
            }
            // A factor has at most the monomials of the degrees it divides.
            reader.check(BoundS{std::min(dense, 1e300), shape.bits}, u"factoring");
        }
    }
    PolyWriterC writer(graph, ring);
    PolyWriterC::ProductC gathered;
    std::vector<std::pair<std::unique_ptr<FlintPolyC>, long>> found;
    const auto factorPart = [&](const FlintPolyC& part, long sign) {
        IntegerPoly z(ring);
        FlintRationalC scale;
        primitive(part, ring, z, scale.value);
        const IntegerFactorsC factors(z, ring, false,
                                      u"factor: the polynomial library could not factor the polynomial");
        fmpz_mpoly_factor_struct* f = factors.get();
        fmpq_mul_fmpz(scale.value, scale.value, f->constant);
        if (sign < 0) {
            fmpq_inv(scale.value, scale.value);
        }
        gathered.scale(scale.value);
        for (slong i = 0; i < f->num; ++i) {
            IntegerPoly factor_z(ring);
            fmpz_mpoly_swap(factor_z.get(), f->poly + i, ring.integers());
            found.emplace_back(std::make_unique<FlintPolyC>(ring), sign * fmpz_get_si(f->exp + i));
            rationalOf(factor_z, ring, *found.back().first);
        }
    };
    factorPart(*a.numerator, 1);
    if (a.denominator) {
        factorPart(*a.denominator, -1);
    }
    const fmpq* content = gathered.number();
    if (found.size() == 1 && found[0].second == 1 && fmpz_is_one(fmpq_denref(content)) &&
        fmpz_is_pm1(fmpq_numref(content))) {
        // Irreducible up to its sign: the polynomial itself, whose sign then
        // shows in its terms (a lone factor's would depend on the order of the
        // generators; beside a coefficient, the writer normalises it).
        fmpq_mpoly_scalar_mul_fmpq(found[0].first->get(), found[0].first->get(), gathered.number(), ring.get());
        return writer.polynomial(*found[0].first);
    }
    for (const auto& [polynomial, exponent] : found) {
        gathered.multiply(graph, writer.polynomial(*polynomial), exponent);
    }
    return writer.product(gathered);
}

// One fraction in lowest terms: the contents of both parts as a rational
// coefficient, the parts primitive integer polynomials, expanded; a
// polynomial stays one, expanded.
IdT PolyEngineC::simplify(PolyReaderC& reader) {
    const PolyReaderC::FractionS& a = reader.value(0);
    const PolyRingC& ring = reader.ring();
    PolyWriterC writer(graph, ring);
    if (!a.denominator) {
        return writer.polynomial(*a.numerator);
    }
    PolyWriterC::ProductC gathered;
    FlintRationalC scale;
    long exponent = 1;
    for (const FlintPolyC* part : {a.numerator.get(), a.denominator.get()}) {
        IntegerPoly z(ring);
        primitive(*part, ring, z, scale.value);
        if (exponent < 0) {
            fmpq_inv(scale.value, scale.value);
        }
        gathered.scale(scale.value);
        FlintPolyC p(ring);
        rationalOf(z, ring, p);
        gathered.multiply(graph, writer.polynomial(p), exponent);
        exponent = -1;
    }
    return writer.product(gathered);
}

// Integer polynomials in symbols: the gcd with a positive leading
// coefficient; the lcm (a/gcd) * b, a product as the engines write it.
IdT PolyEngineC::gcd(PolyReaderC& reader, bool lcm) {
    const PolyRingC& ring = reader.ring();
    const PolyReaderC::FractionS& a = reader.value(0);
    const PolyReaderC::FractionS& b = reader.value(1);
    if (a.denominator || b.denominator || !integral(*a.numerator, ring) || !integral(*b.numerator, ring)) {
        return kNoId;
    }
    PolyWriterC writer(graph, ring);
    if (lcm && (a.numerator->isZero() || b.numerator->isZero())) {
        return writer.integer(0ul);
    }
    IntegerPoly za(ring);
    IntegerPoly zb(ring);
    IntegerPoly g(ring);
    integerOf(*a.numerator, ring, za);
    integerOf(*b.numerator, ring, zb);
    if (!fmpz_mpoly_gcd(g.get(), za.get(), zb.get(), ring.integers())) {
        throw support::RefusalC(std::u16string(lcm ? u"lcm" : u"gcd") + u": the polynomial library could not compute the gcd");
    }
    FlintPolyC result(ring);
    if (!lcm) {
        rationalOf(g, ring, result);
        return writer.polynomial(result);
    }
    IntegerPoly q(ring);
    fmpz_mpoly_divides(q.get(), za.get(), g.get(), ring.integers());
    rationalOf(q, ring, result);
    PolyWriterC::ProductC gathered;
    gathered.multiply(graph, writer.polynomial(result), 1);
    gathered.multiply(graph, writer.polynomial(*b.numerator), 1);
    return writer.product(gathered);
}

// Division in generator 0, the divisor's leading coefficient in it a
// number: FLINT's division by the lexicographically leading term is then
// the division in that variable.
IdT PolyEngineC::divide(PolyReaderC& reader, bool quotient) {
    const PolyRingC& ring = reader.ring();
    const PolyReaderC::FractionS& a = reader.value(0);
    const PolyReaderC::FractionS& b = reader.value(1);
    if (a.denominator || b.denominator) {
        return kNoId;
    }
    const std::u16string name = quotient ? u"quo" : u"rem";
    if (b.numerator->isZero()) {
        throw support::RefusalC(name + u": division by zero");
    }
    std::vector<ulong> first(ring.size());
    fmpq_mpoly_get_term_exp_ui(first.data(), b.numerator->get(), 0, ring.get());
    for (std::size_t v = 1; v < first.size(); ++v) {
        if (first[v] != 0) {
            return kNoId;  // a leading coefficient in other symbols
        }
    }
    if (b.numerator->terms() > 1) {
        std::vector<ulong> second(ring.size());
        fmpq_mpoly_get_term_exp_ui(second.data(), b.numerator->get(), 1, ring.get());
        if (second[0] == first[0]) {
            return kNoId;
        }
    }
    reader.check(quotientBound(shapeOf(*a.numerator, ring), shapeOf(*b.numerator, ring)), u"dividing");
    FlintPolyC q(ring);
    FlintPolyC r(ring);
    fmpq_mpoly_divrem(q.get(), r.get(), a.numerator->get(), b.numerator->get(), ring.get());
    return PolyWriterC(graph, ring).polynomial(quotient ? q : r);
}

namespace {

// A univariate FLINT polynomial over the rationals, cleared when it goes.
struct UnivariateC {
    UnivariateC() { fmpq_poly_init(value); }
    ~UnivariateC() { fmpq_poly_clear(value); }
    UnivariateC(const UnivariateC&) = delete;
    UnivariateC& operator=(const UnivariateC&) = delete;
    fmpq_poly_t value;
};

// The partial fractions of one quotient (see PolyEngineC::apart): the
// denominator split into K and the powers fi^ei, then the terms.
class ApartC {
public:
    ApartC(PolyReaderC& reader, support::ResultGraphC& graph)
        : reader(reader), ring(reader.ring()), graph(graph), writer(graph, ring), dx(ring) {}

    IdT run() {
        const PolyReaderC::FractionS& a = reader.value(0);
        if (!a.denominator) {
            return writer.polynomial(*a.numerator);
        }
        FlintRationalC unit;
        split(*a.denominator, unit);
        FlintPolyC whole(ring);
        FlintPolyC rest(ring);
        fmpq_mpoly_divrem(whole.get(), rest.get(), a.numerator->get(), dx.get(), ring.get());
        fmpq_mpoly_scalar_div_fmpq(whole.get(), whole.get(), unit.value, ring.get());
        fmpq_mpoly_scalar_div_fmpq(rest.get(), rest.get(), unit.value, ring.get());
        if (!whole.isZero() && free_parts.empty()) {
            add(writer.polynomial(whole));
        } else if (!whole.isZero()) {
            PolyWriterC::ProductC gathered;
            overFree(whole, gathered);
            terms.push_back(writer.product(gathered));
        }
        for (std::size_t i = 0; i < bases.size(); ++i) {
            fractionsOf(i, rest);
        }
        if (terms.empty()) {
            return writer.integer(0ul);
        }
        return terms.size() == 1 ? terms[0] : graph.sum(terms.data(), terms.size());
    }

private:
    // D = u * K * Dx: the unit u, K's factors (free_parts), and each fi and
    // fi^ei of Dx; refused past the degree allowed or for a factor in x and
    // another symbol.
    void split(const FlintPolyC& d, FlintRationalC& unit) {
        if (fmpq_mpoly_degree_si(d.get(), 0, ring.get()) > kMaxApartDegree) {
            throw support::RefusalC(u"apart: the denominator's degree is beyond " + countText(kMaxApartDegree));
        }
        IntegerPoly dz(ring);
        primitive(d, ring, dz, unit.value);
        const IntegerFactorsC factors(dz, ring, true, u"apart: the polynomial library could not factor the denominator");
        fmpz_mpoly_factor_struct* f = factors.get();
        fmpq_mul_fmpz(unit.value, unit.value, f->constant);
        fmpq_mpoly_one(dx.get(), ring.get());
        for (slong i = 0; i < f->num; ++i) {
            auto factor_q = std::make_unique<FlintPolyC>(ring);
            IntegerPoly factor_z(ring);
            fmpz_mpoly_set(factor_z.get(), f->poly + i, ring.integers());
            rationalOf(factor_z, ring, *factor_q);
            const long e = static_cast<long>(fmpz_get_si(f->exp + i));
            if (fmpz_mpoly_degree_si(f->poly + i, 0, ring.integers()) == 0) {
                free_parts.emplace_back(std::move(factor_q), e);
                continue;
            }
            if (!fmpz_mpoly_is_fmpz_poly(f->poly + i, 0, ring.integers())) {
                throw support::RefusalC(
                    u"apart: a factor of the denominator holds the variable and other symbols together; partial "
                    u"fractions are taken of factors in the variable alone, over the rationals (substitute numbers "
                    u"for the other symbols)");
            }
            bases.push_back(std::make_unique<UnivariateC>());
            fmpq_mpoly_get_fmpq_poly(bases.back()->value, factor_q->get(), 0, ring.get());
            powers.push_back(std::make_unique<UnivariateC>());
            fmpq_poly_pow(powers.back()->value, bases.back()->value, static_cast<ulong>(e));
            multiplicities.push_back(e);
            FlintPolyC power_q(ring);
            fmpq_mpoly_set_fmpq_poly(power_q.get(), powers.back()->value, 0, ring.get());
            fmpq_mpoly_mul(dx.get(), dx.get(), power_q.get(), ring.get());
        }
    }

    // The terms Ai/fi^ei of R/Dx for factor i: Ai = R*Si mod fi^ei, with Si
    // the inverse of Dx/fi^ei modulo fi^ei (Bezout), written in powers of fi
    // (its digits in base fi): c0 + c1 fi + ... gives c_j over fi^(ei - j).
    void fractionsOf(std::size_t i, const FlintPolyC& rest) {
        UnivariateC others;
        fmpq_poly_one(others.value);
        for (std::size_t j = 0; j < bases.size(); ++j) {
            if (j != i) {
                fmpq_poly_mul(others.value, others.value, powers[j]->value);
            }
        }
        UnivariateC g;
        UnivariateC s;
        UnivariateC t;
        fmpq_poly_xgcd(g.value, s.value, t.value, others.value, powers[i]->value);
        FlintPolyC inverse(ring);
        FlintPolyC modulus(ring);
        FlintPolyC base(ring);
        fmpq_mpoly_set_fmpq_poly(inverse.get(), s.value, 0, ring.get());
        fmpq_mpoly_set_fmpq_poly(modulus.get(), powers[i]->value, 0, ring.get());
        fmpq_mpoly_set_fmpq_poly(base.get(), bases[i]->value, 0, ring.get());
        FlintPolyC product(ring);
        reader.check(productBound(shapeOf(rest, ring), shapeOf(inverse, ring)), u"the partial fractions");
        fmpq_mpoly_mul(product.get(), rest.get(), inverse.get(), ring.get());
        FlintPolyC digits(ring);
        FlintPolyC numerator(ring);
        fmpq_mpoly_divrem(digits.get(), numerator.get(), product.get(), modulus.get(), ring.get());
        for (long power = multiplicities[i]; power > 0 && !numerator.isZero(); --power) {
            FlintPolyC quotient(ring);
            FlintPolyC digit(ring);
            fmpq_mpoly_divrem(quotient.get(), digit.get(), numerator.get(), base.get(), ring.get());
            numerator.swap(quotient);
            if (digit.isZero()) {
                continue;
            }
            PolyWriterC::ProductC gathered;
            overFree(digit, gathered);
            gathered.multiply(graph, writer.polynomial(base), -power);
            terms.push_back(writer.product(gathered));
        }
    }

    // A numerator over K's factors: those that divide it cancelled, its
    // content and sign as the coefficient, as factor writes it.
    void overFree(FlintPolyC& numerator, PolyWriterC::ProductC& gathered) {
        std::vector<long> left;
        for (const auto& [factor, e] : free_parts) {
            long k = e;
            FlintPolyC quotient(ring);
            while (k > 0 && fmpq_mpoly_divides(quotient.get(), numerator.get(), factor->get(), ring.get())) {
                numerator.swap(quotient);
                --k;
            }
            left.push_back(k);
        }
        IntegerPoly numerator_z(ring);
        FlintRationalC scale;
        primitive(numerator, ring, numerator_z, scale.value);
        FlintPolyC primitive_numerator(ring);
        rationalOf(numerator_z, ring, primitive_numerator);
        gathered.scale(scale.value);
        gathered.multiply(graph, writer.polynomial(primitive_numerator), 1);
        for (std::size_t k = 0; k < free_parts.size(); ++k) {
            if (left[k] != 0) {
                gathered.multiply(graph, writer.polynomial(*free_parts[k].first), -left[k]);
            }
        }
    }

    // A written sum's terms join the others; anything else is one term.
    void add(IdT written) {
        if (graph.kind(written) == support::ResultGraphC::KindE::Sum) {
            const IdT* parts = graph.children(written);
            terms.insert(terms.end(), parts, parts + graph.node(written).count);
        } else {
            terms.push_back(written);
        }
    }

    PolyReaderC& reader;
    const PolyRingC& ring;
    support::ResultGraphC& graph;
    PolyWriterC writer;
    std::vector<std::unique_ptr<UnivariateC>> bases;                       // fi
    std::vector<std::unique_ptr<UnivariateC>> powers;                      // fi^ei
    std::vector<long> multiplicities;                                      // ei
    std::vector<std::pair<std::unique_ptr<FlintPolyC>, long>> free_parts;  // K's factors
    FlintPolyC dx;                                                         // f1^e1 ... fk^ek
    std::vector<IdT> terms;
};

}  // namespace

// N/D in generator 0 (x): D = u * K * f1^e1 ... fk^ek over the integers (fi
// primitive, irreducible, in x alone; K the factors free of x, which stay
// under every term; a factor in x and another symbol is refused); with Dx =
// f1^e1 ... fk^ek, N = P*Dx + R, and R/Dx the sum of Ai/fi^ei (ApartC).
// Every division is by a polynomial in x alone, whose leading term in the
// lexicographic order is a power of x: FLINT's division is then division in x,
// whatever other symbols the numerator holds.
IdT PolyEngineC::apart(PolyReaderC& reader) { return ApartC(reader, graph).run(); }

}  // namespace qorv::math::algexpr::poly
