// SPDX-License-Identifier: MIT
#include "Estimates.h"

#include <algorithm>
#include <cln/float.h>
#include <cln/real.h>

#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "GinacFunctions.h"
#include "Numbers.h"
#include "SupportNames.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {


constexpr double kInfinity = std::numeric_limits<double>::infinity();

double magnitude(const GiNaC::numeric& n) {
    if (n.is_integer() && GiNaC::abs(n) < GiNaC::numeric(1L << 52)) {
        return std::fabs(static_cast<double>(n.to_long()));  // exact: degrees and exponents compare with limits
    }
    return n.is_real() ? std::pow(10.0, log10Magnitude(n)) : kInfinity;
}

// Decimal digits that the numbers inside e contribute when e is raised to a
// power: numbers, products of them and powers of them; sums and functions are
// left alone by GiNaC and contribute nothing.
double numberWeight(const GiNaC::ex& e) {
    struct Item {
        GiNaC::ex e;
        double factor;
    };
    double weight = 0.0;
    std::vector<Item> stack{Item{e, 1.0}};
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        if (GiNaC::is_exactly_a<GiNaC::numeric>(item.e)) {
            const auto& n = GiNaC::ex_to<GiNaC::numeric>(item.e);
            if (!n.is_zero()) {
                weight += item.factor * decimalDigits(n);
            }
        } else if (GiNaC::is_exactly_a<GiNaC::mul>(item.e)) {
            for (std::size_t i = 0; i < item.e.nops(); ++i) {
                stack.push_back(Item{item.e.op(i), item.factor});
            }
        } else if (GiNaC::is_exactly_a<GiNaC::power>(item.e)) {
            double factor = item.factor;
            if (GiNaC::is_exactly_a<GiNaC::numeric>(item.e.op(1))) {
                factor *= std::max(1.0, magnitude(GiNaC::ex_to<GiNaC::numeric>(item.e.op(1))));
            }
            stack.push_back(Item{item.e.op(0), factor});
        }
    }
    return weight;
}

// ln of the binomial coefficient C(n + k, k).
double logBinomial(double n, double k) { return std::lgamma(n + k + 1.0) - std::lgamma(n + 1.0) - std::lgamma(k + 1.0); }

struct Size {
    double terms;   // of the expanded form
    double digits;  // log10 of the sum of the absolute values of its coefficients
    double degree;  // total degree in the atoms
};

}  // namespace

void checkPower(const GiNaC::ex& base, const GiNaC::ex& exponent) {
    if (!GiNaC::is_exactly_a<GiNaC::numeric>(exponent)) {
        return;
    }
    const auto& n = GiNaC::ex_to<GiNaC::numeric>(exponent);
    if (!n.is_rational()) {
        return;
    }
    const double weight = numberWeight(base);
    if (weight == 0.0) {
        return;
    }
    const double digits = weight * magnitude(n);
    if (digits > static_cast<double>(GinacEngineC::kMaxIntegerDigits)) {
        throw RefusalC(u"power: the result would hold an integer of about " + approximately(digits) +
                       u" digits; exact integers are limited to " + count(GinacEngineC::kMaxIntegerDigits) + u" digits");
    }
}

void checkPeriodicArgument(const char16_t* operation, const GiNaC::ex& argument) {
    if (!GiNaC::is_exactly_a<GiNaC::numeric>(argument)) {
        return;
    }
    const auto& n = GiNaC::ex_to<GiNaC::numeric>(argument);
    if (n.is_rational() || (!n.is_real() && n.real().is_rational() && n.imag().is_rational())) {
        return;  // exact: GiNaC leaves it alone
    }
    for (const GiNaC::numeric& part : {n.real(), n.imag()}) {
        if (part.is_zero() || part.is_rational()) {
            continue;
        }
        const double magnitude = log10Magnitude(part);
        const double precision = significantDigits(part);
        if (magnitude >= precision || magnitude > static_cast<double>(GinacEngineC::kMaxDigits)) {
            throw RefusalC(std::u16string(operation) + u": a float argument of about 10^" + approximately(magnitude) +
                           u" has no significant digit after its point at " + approximately(precision) +
                           u" digits of precision");
        }
    }
}

void checkExpansion(const GiNaC::ex& e, const char16_t* operation, bool for_factor) {
    // Post-order over the expression's graph, each shared part once. Function
    // arguments (and bases under non-integer powers) are expanded in place:
    // they add their own size to `inner` and count as one atom outside.
    // Parts are told apart by address, so every part met is kept alive: the
    // operands of sums and products are made afresh by each op() call, and
    // a freed one's address may come back for another.
    std::vector<GiNaC::ex> alive;
    std::unordered_map<const GiNaC::basic*, Size> sizes;
    std::unordered_set<const GiNaC::basic*> atoms;
    double inner_terms = 0.0;
    double inner_digits = 0.0;
    struct Frame {
        GiNaC::ex e;
        bool expanded;
        std::vector<GiNaC::ex> parts;  // its operands, taken once
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{e, false, {}});
    auto keyOf = [](const GiNaC::ex& x) { return &GiNaC::ex_to<GiNaC::basic>(x); };
    auto sizeOf = [&sizes, &keyOf](const GiNaC::ex& x) { return sizes.at(keyOf(x)); };
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const GiNaC::ex x = frame.e;
        const GiNaC::basic* key = keyOf(x);
        if (sizes.count(key) != 0) {
            stack.pop_back();
            continue;
        }
        if (!frame.expanded && !GiNaC::is_exactly_a<GiNaC::numeric>(x)) {
            frame.expanded = true;
            std::vector<GiNaC::ex> parts;
            parts.reserve(x.nops());
            for (std::size_t i = 0; i < x.nops(); ++i) {
                parts.push_back(x.op(i));
            }
            frame.parts = parts;
            for (const GiNaC::ex& part : parts) {
                stack.push_back(Frame{part, false, {}});
            }
            continue;
        }
        const std::vector<GiNaC::ex> parts = std::move(frame.parts);
        stack.pop_back();
        Size size{1.0, 0.0, 0.0};
        if (GiNaC::is_exactly_a<GiNaC::numeric>(x)) {
            const auto& n = GiNaC::ex_to<GiNaC::numeric>(x);
            size.digits = n.is_zero() ? 0.0 : decimalDigits(n);
        } else if (GiNaC::is_exactly_a<GiNaC::add>(x)) {
            size = Size{0.0, 0.0, 0.0};
            double biggest = 0.0;
            for (std::size_t i = 0; i < parts.size(); ++i) {
                const Size part = sizeOf(parts[i]);
                size.terms += part.terms;
                biggest = std::max(biggest, part.digits);
                size.degree = std::max(size.degree, part.degree);
            }
            size.digits = biggest + std::log10(static_cast<double>(parts.size()));
        } else if (GiNaC::is_exactly_a<GiNaC::mul>(x)) {
            for (std::size_t i = 0; i < parts.size(); ++i) {
                const Size part = sizeOf(parts[i]);
                size.terms *= part.terms;
                size.digits += part.digits;
                size.degree += part.degree;
            }
        } else if (GiNaC::is_exactly_a<GiNaC::power>(x) && GiNaC::is_exactly_a<GiNaC::numeric>(parts[1]) &&
                   GiNaC::ex_to<GiNaC::numeric>(parts[1]).is_integer()) {
            const Size base = sizeOf(parts[0]);
            const double n = magnitude(GiNaC::ex_to<GiNaC::numeric>(parts[1]));
            if (GiNaC::ex_to<GiNaC::numeric>(parts[1]).is_pos_integer()) {
                // At most C(n + t - 1, t - 1) terms from a base of t terms.
                size.terms = base.terms <= 1.0 ? 1.0 : std::exp(logBinomial(n, base.terms - 1.0));
                size.digits = n * base.digits;
            } else {
                inner_terms += base.terms;
                inner_digits += base.terms * (base.digits + 1.0);
            }
            size.degree = n * base.degree;
        } else {
            for (std::size_t i = 0; i < parts.size(); ++i) {
                const Size part = sizeOf(parts[i]);
                inner_terms += part.terms;
                inner_digits += part.terms * (part.digits + 1.0);
            }
            const bool constant = GiNaC::is_exactly_a<GiNaC::constant>(x);
            size.degree = constant ? 0.0 : 1.0;
            if (!constant) {
                atoms.insert(key);
            }
        }
        // No polynomial of degree d in v atoms has more than C(d + v, v) terms.
        if (size.terms > 1.0 && !atoms.empty()) {
            const double bound = std::exp(logBinomial(size.degree, static_cast<double>(atoms.size())));
            size.terms = std::min(size.terms, std::max(1.0, std::ceil(bound)));
        }
        sizes.emplace(key, size);
        alive.push_back(x);
    }
    const Size total = sizeOf(e);
    const double terms = total.terms + inner_terms;
    const double digits = total.terms * (total.digits + 1.0) + inner_digits;
    if (terms > static_cast<double>(GinacEngineC::kMaxExpandTerms) ||
        digits > static_cast<double>(GinacEngineC::kMaxExpandDigits)) {
        throw RefusalC(std::u16string(operation) + u": expanding would give up to " + approximately(terms) + u" terms and " +
                       approximately(digits) + u" digits of coefficients; the limits are " +
                       count(GinacEngineC::kMaxExpandTerms) + u" terms and " + count(GinacEngineC::kMaxExpandDigits) +
                       u" digits");
    }
    if (for_factor && total.degree > static_cast<double>(GinacEngineC::kMaxFactorDegree)) {
        throw RefusalC(u"factor: the polynomial has degree " + approximately(total.degree) +
                       u"; factor is limited to degree " + count(GinacEngineC::kMaxFactorDegree));
    }
}

}  // namespace qorv::math::algexpr::ginac::detail
