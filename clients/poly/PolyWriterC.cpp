// SPDX-License-Identifier: MIT
#include "PolyWriterC.h"

namespace qorv::math::algexpr::poly {

using support::IdT;

PolyWriterC::PolyWriterC(support::ResultGraphC& graph, const PolyRingC& ring) : graph(graph), ring(ring) {}

std::string PolyWriterC::digitsOf(const fmpz_t z) {
    std::string text(fmpz_sizeinbase(z, 10) + 2, '\0');
    fmpz_get_str(&text[0], 10, z);
    text.resize(std::char_traits<char>::length(text.c_str()));
    if (!text.empty() && text[0] == '-') {
        text.erase(0, 1);
    }
    return text;
}

IdT PolyWriterC::integer(const fmpz_t z) { return graph.number(support::NumberS::integer(fmpz_sgn(z) < 0, digitsOf(z))); }

IdT PolyWriterC::integer(unsigned long n) { return graph.number(support::NumberS::integer(false, std::to_string(n))); }

IdT PolyWriterC::rational(const fmpq_t q) {
    if (fmpz_is_one(fmpq_denref(q))) {
        return integer(fmpq_numref(q));
    }
    support::NumberS n;
    n.real.form = support::RealS::FormE::Rational;
    n.real.negative = fmpz_sgn(fmpq_numref(q)) < 0;
    n.real.digits = digitsOf(fmpq_numref(q));
    n.real.denominator = digitsOf(fmpq_denref(q));
    return graph.number(n);
}

IdT PolyWriterC::polynomial(const FlintPolyC& p) {
    const slong length = p.terms();
    if (length == 0) {
        return integer(0ul);
    }
    std::vector<ulong> exponents(ring.size() == 0 ? 1 : ring.size());
    fmpq_t coefficient;
    fmpq_init(coefficient);
    struct Cleared {
        fmpq* q;
        ~Cleared() { fmpq_clear(q); }
    } cleared{coefficient};
    std::vector<IdT> written;
    written.reserve(static_cast<std::size_t>(length));
    for (slong i = 0; i < length; ++i) {
        fmpq_mpoly_get_term_coeff_fmpq(coefficient, p.get(), i, ring.get());
        fmpq_mpoly_get_term_exp_ui(exponents.data(), p.get(), i, ring.get());
        written.push_back(term(coefficient, exponents.data()));
    }
    return written.size() == 1 ? written[0] : graph.sum(written.data(), written.size());
}

IdT PolyWriterC::term(const fmpq_t coefficient, const ulong* exponents) {
    factors.clear();
    for (std::size_t v = 0; v < ring.size(); ++v) {
        if (exponents[v] == 1) {
            factors.push_back(ring.generators()[v]);
        } else if (exponents[v] > 1) {
            factors.push_back(graph.power(ring.generators()[v], integer(static_cast<unsigned long>(exponents[v]))));
        }
    }
    if (factors.empty()) {
        return rational(coefficient);
    }
    if (fmpq_is_one(coefficient) && factors.size() == 1) {
        return factors[0];
    }
    const IdT number = fmpq_is_one(coefficient) ? support::kNoId : rational(coefficient);
    return graph.product(number, factors.data(), factors.size());
}

}  // namespace qorv::math::algexpr::poly

namespace qorv::math::algexpr::poly {

PolyWriterC::ProductC::ProductC() {
    fmpq_init(coefficient);
    fmpq_one(coefficient);
}

PolyWriterC::ProductC::~ProductC() { fmpq_clear(coefficient); }

void PolyWriterC::ProductC::multiply(const support::ResultGraphC& graph, IdT node, long exponent) {
    using KindE = support::ResultGraphC::KindE;
    const auto numberPower = [this, exponent](const support::RealS& r) {
        fmpq_t q;
        fmpq_init(q);
        fmpz_set_str(fmpq_numref(q), r.digits.c_str(), 10);
        if (r.form == support::RealS::FormE::Rational) {
            fmpz_set_str(fmpq_denref(q), r.denominator.c_str(), 10);
        }
        if (r.negative) {
            fmpz_neg(fmpq_numref(q), fmpq_numref(q));
        }
        fmpq_pow_si(q, q, exponent);
        fmpq_mul(coefficient, coefficient, q);
        fmpq_clear(q);
    };
    const auto factor = [this](IdT base, long e) {
        for (auto& known : factors) {
            if (known.first == base) {
                known.second += e;
                return;
            }
        }
        factors.emplace_back(base, e);
    };
    const auto power = [&](IdT id, long e) {
        if (graph.kind(id) == KindE::Power) {
            const long inner = std::stol(graph.numberOf(graph.child(id, 1)).real.digits);
            factor(graph.child(id, 0), inner * e);
        } else {
            factor(id, e);
        }
    };
    switch (graph.kind(node)) {
        case KindE::Number:
            numberPower(graph.numberOf(node).real);
            return;
        case KindE::Product:
            if (graph.node(node).data != support::kNoId) {
                numberPower(graph.numberOf(graph.node(node).data).real);
            }
            for (std::size_t i = 0; i < graph.node(node).count; ++i) {
                power(graph.child(node, i), exponent);
            }
            return;
        default:
            power(node, exponent);
            return;
    }
}

IdT PolyWriterC::product(ProductC& gathered) {
    factors.clear();
    for (const auto& [base, e] : gathered.factors) {
        if (e == 1) {
            factors.push_back(base);
        } else if (e != 0) {
            const bool negative = e < 0;
            const unsigned long magnitude = negative ? 0ul - static_cast<unsigned long>(e) : static_cast<unsigned long>(e);
            factors.push_back(graph.power(base, graph.number(support::NumberS::integer(negative, std::to_string(magnitude)))));
        }
    }
    if (factors.empty() || fmpq_is_zero(gathered.coefficient)) {
        return rational(gathered.coefficient);
    }
    if (fmpq_is_one(gathered.coefficient) && factors.size() == 1) {
        return factors[0];
    }
    const IdT number = fmpq_is_one(gathered.coefficient) ? support::kNoId : rational(gathered.coefficient);
    return graph.product(number, factors.data(), factors.size());
}

}  // namespace qorv::math::algexpr::poly
