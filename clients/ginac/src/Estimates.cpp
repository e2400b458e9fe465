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
#include "RefusalC.h"
#include "Text.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

std::u16string functionNameOf(unsigned serial) { return functionName(serial); }

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

namespace {

// A periodic function of an exact real number x, computed with the working
// precision plus the digits of x before its point.
GiNaC::ex periodicOfExact(unsigned serial, const GiNaC::numeric& x) {
    const double magnitude = log10Magnitude(x);
    if (magnitude > static_cast<double>(GinacEngineC::kMaxDigits)) {
        throw RefusalC(functionNameOf(serial) + u": an argument of about 10^" + approximately(magnitude) +
                       u" is too large to reduce; the limit is 10^" + count(GinacEngineC::kMaxDigits));
    }
    const long working = GiNaC::Digits;
    const long extra = magnitude > 0.0 ? static_cast<long>(magnitude) + 1 : 0;
    GiNaC::Digits = working + extra;
    GiNaC::ex value;
    try {
        value = GiNaC::function(serial, GiNaC::ex(x).evalf());
    } catch (...) {
        GiNaC::Digits = working;
        throw;
    }
    GiNaC::Digits = working;
    if (GiNaC::is_exactly_a<GiNaC::numeric>(value) && isRealNumber(GiNaC::ex_to<GiNaC::numeric>(value)) &&
        !realIfReal(GiNaC::ex_to<GiNaC::numeric>(value)).is_rational()) {
        const cln::cl_F f = cln::the<cln::cl_F>(realIfReal(GiNaC::ex_to<GiNaC::numeric>(value)).to_cl_N());
        return GiNaC::numeric(cln::cl_N(cln::cl_float(f, cln::float_format(static_cast<unsigned long>(working)))));
    }
    return value;
}

}  // namespace

GiNaC::ex evaluateFloats(const GiNaC::ex& e) {
    struct Frame {
        GiNaC::ex e;
        bool expanded;
        std::vector<GiNaC::ex> parts;
    };
    std::vector<GiNaC::ex> alive;  // parts are told apart by address: keep every one met
    std::unordered_map<const GiNaC::basic*, GiNaC::ex> values;
    auto keyOf = [](const GiNaC::ex& x) { return &GiNaC::ex_to<GiNaC::basic>(x); };
    std::vector<Frame> stack;
    stack.push_back(Frame{e, false, {}});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const GiNaC::ex x = frame.e;
        if (values.count(keyOf(x)) != 0) {
            stack.pop_back();
            continue;
        }
        const bool composite = GiNaC::is_exactly_a<GiNaC::add>(x) || GiNaC::is_exactly_a<GiNaC::mul>(x) ||
                               GiNaC::is_exactly_a<GiNaC::power>(x) || GiNaC::is_exactly_a<GiNaC::function>(x);
        if (composite && !frame.expanded) {
            frame.expanded = true;
            std::vector<GiNaC::ex> parts;
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
        GiNaC::ex value;
        if (!composite) {
            value = GiNaC::is_exactly_a<GiNaC::numeric>(x) || GiNaC::is_exactly_a<GiNaC::constant>(x) ? x.evalf() : x;
        } else {
            GiNaC::exvector arguments;
            arguments.reserve(parts.size());
            for (const GiNaC::ex& part : parts) {
                arguments.push_back(values.at(keyOf(part)));
            }
            if (GiNaC::is_exactly_a<GiNaC::add>(x)) {
                value = GiNaC::dynallocate<GiNaC::add>(arguments);
            } else if (GiNaC::is_exactly_a<GiNaC::mul>(x)) {
                value = GiNaC::dynallocate<GiNaC::mul>(arguments);
            } else if (GiNaC::is_exactly_a<GiNaC::power>(x)) {
                value = GiNaC::pow(arguments[0], arguments[1]);
            } else {
                const unsigned serial = GiNaC::ex_to<GiNaC::function>(x).get_serial();
                const bool periodic = serial == GiNaC::sin_SERIAL::serial || serial == GiNaC::cos_SERIAL::serial ||
                                      serial == GiNaC::tan_SERIAL::serial;
                const GiNaC::ex& exact = parts[0];
                if (periodic && GiNaC::is_exactly_a<GiNaC::numeric>(exact) &&
                    GiNaC::ex_to<GiNaC::numeric>(exact).is_rational()) {
                    value = periodicOfExact(serial, GiNaC::ex_to<GiNaC::numeric>(exact));
                } else {
                    if (periodic) {
                        checkPeriodicArgument(functionNameOf(serial).c_str(), arguments[0]);
                    }
                    value = GiNaC::function(serial, arguments);
                }
            }
        }
        values.emplace(keyOf(x), value);
        alive.push_back(x);
    }
    return values.at(keyOf(e));
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
