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
#include "GinacWalkerTC.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {


constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Decimal exponents of floats stay well inside CLN's range (about 10^(6*10^8)).
constexpr double kFloatRange = 1e8;

// Up to this degree factor takes polynomials in several symbols of ten
// times as many terms.
constexpr double kSparseDegree = 5.0;
// The products GiNaC may form in an expansion before it gathers like terms,
// in units of the terms allowed: with floats each takes about 10 us.
constexpr double kExpandWork = 2.0;

double magnitude(const GiNaC::numeric& n) {
    if (n.is_integer() && GiNaC::abs(n) < GiNaC::numeric(1L << 52)) {
        return std::fabs(static_cast<double>(n.to_long()));  // exact: degrees and exponents compare with limits
    }
    return n.is_real() ? std::pow(10.0, log10Magnitude(n)) : kInfinity;
}

// Decimal digits that the numbers inside e contribute when e is raised to a
// power: numbers, products of them and powers of them, and the rational
// content that GiNaC takes out of a sum ((4/3 + s)^n is 3^-n (4 + 3 s)^n);
// the rest of a sum, and functions, are left alone and contribute nothing.
// The digits of the rational content GiNaC takes out of a sum under an
// integer power: the gcd of the coefficients' numerators over the lcm of
// their denominators, real and imaginary parts alike (GiNaC's
// integer_content() leaves complex coefficients out: (2*x + 8/27*I*y)^N
// made CLN raise 27 to the N/2, asking for gigabytes; found by the engine
// fuzzer).
double contentDigits(const GiNaC::ex& sum) {
    GiNaC::numeric numerators = 0;
    GiNaC::numeric denominators = 1;
    const auto take = [&](const GiNaC::numeric& part) {
        if (part.is_zero() || !part.is_rational()) {
            return;
        }
        numerators = GiNaC::gcd(numerators, part.numer());
        denominators = GiNaC::lcm(denominators, part.denom());
    };
    for (std::size_t i = 0; i < sum.nops(); ++i) {
        const GiNaC::ex term = sum.op(i);
        GiNaC::numeric coefficient = 1;
        if (isExactly<GiNaC::numeric>(term)) {
            coefficient = GiNaC::ex_to<GiNaC::numeric>(term);
        } else if (isExactly<GiNaC::mul>(term)) {
            for (std::size_t k = 0; k < term.nops(); ++k) {
                if (isExactly<GiNaC::numeric>(term.op(k))) {
                    coefficient *= GiNaC::ex_to<GiNaC::numeric>(term.op(k));
                }
            }
        }
        take(coefficient.real());
        take(coefficient.imag());
    }
    if (numerators.is_zero()) {
        return 0.0;
    }
    return decimalDigits(numerators / denominators);
}

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
        if (isExactly<GiNaC::numeric>(item.e)) {
            const auto& n = GiNaC::ex_to<GiNaC::numeric>(item.e);
            if (!n.is_zero()) {
                weight += item.factor * decimalDigits(n);
            }
        } else if (isExactly<GiNaC::mul>(item.e)) {
            for (std::size_t i = 0; i < item.e.nops(); ++i) {
                stack.push_back(Item{item.e.op(i), item.factor});
            }
        } else if (isExactly<GiNaC::add>(item.e)) {
            weight += item.factor * contentDigits(item.e);
        } else if (isExactly<GiNaC::power>(item.e) && isExactly<GiNaC::numeric>(item.e.op(1)) &&
                   GiNaC::ex_to<GiNaC::numeric>(item.e.op(1)).is_rational()) {
            // GiNaC computes rational powers of numbers only; others stay as they are.
            const double factor = item.factor * std::max(1.0, magnitude(GiNaC::ex_to<GiNaC::numeric>(item.e.op(1))));
            stack.push_back(Item{item.e.op(0), factor});
        } else if (GiNaC::is_the_function<GiNaC::abs_SERIAL>(item.e)) {
            // abs(u)^(2k) is (u*conjugate(u))^k: the numbers of u are raised too.
            stack.push_back(Item{item.e.op(0), item.factor});
        }
    }
    return weight;
}

struct Size {
    double terms;   // of the expanded form
    double digits;  // log10 of the sum of the absolute values of its coefficients
    double degree;  // total degree in the atoms
    double raw = 1.0;  // terms GiNaC forms before it gathers like ones (no degree bound)
};

}  // namespace

// The number GiNaC raises on its own: the base, or the numbers of a product
// (c*x^2 to a float power is c^z*x^(2*z)); 1 when there is none.
GiNaC::numeric numberOfBase(const GiNaC::ex& base) {
    if (isExactly<GiNaC::numeric>(base)) {
        return GiNaC::ex_to<GiNaC::numeric>(base);
    }
    GiNaC::numeric product = 1;
    if (isExactly<GiNaC::mul>(base)) {
        for (std::size_t i = 0; i < base.nops(); ++i) {
            if (isExactly<GiNaC::numeric>(base.op(i))) {
                product = product * GiNaC::ex_to<GiNaC::numeric>(base.op(i));
            }
        }
    }
    return product;
}

void checkFloatPower(const GiNaC::ex& base, const GiNaC::numeric& exponent) {
    // exp(a) to a float power c is exp(a*c) to GiNaC (e^c of a huge complex
    // c took 2 GB).
    if (GiNaC::is_the_function<GiNaC::exp_SERIAL>(base) && isExactly<GiNaC::numeric>(base.op(0))) {
        const GiNaC::numeric argument = GiNaC::ex_to<GiNaC::numeric>(base.op(0)) * exponent;
        checkExponentialArgument(u"power", argument);
        checkPeriodicArgument(u"power", argument.imag());
        return;
    }
    // (b^q)^c of numbers is b^(q*c) to GiNaC (sqrt(2)^c of a huge c took 2 GB).
    if (isExactly<GiNaC::power>(base) && isExactly<GiNaC::numeric>(base.op(0)) &&
        isExactly<GiNaC::numeric>(base.op(1))) {
        checkFloatPower(base.op(0), GiNaC::ex_to<GiNaC::numeric>(base.op(1)) * exponent);
        return;
    }
    const GiNaC::numeric b = numberOfBase(base);
    if (b.is_zero() || b.is_equal(1) || exponent.is_zero()) {
        return;
    }
    // |part| * factor, with an infinite |part| times 0 taken as 0.
    const auto scaled = [](const GiNaC::numeric& part, double factor) {
        if (part.is_zero() || factor == 0.0) {
            return 0.0;
        }
        return (log10Magnitude(part) > 300.0 ? kInfinity : std::pow(10.0, log10Magnitude(part))) * factor;
    };
    // |b^c| is 10^(re(c) log10|b| - im(c) arg(b) / ln 10).
    const double arg = b.is_real() ? (b.is_negative() ? std::acos(-1.0) : 0.0)
                                   : std::atan2(b.imag().to_double(), b.real().to_double());
    const double size = scaled(exponent.real(), std::fabs(log10Magnitude(b.is_real() ? b : GiNaC::abs(b)))) +
                        scaled(exponent.imag(), std::fabs(arg) / std::log(10.0));
    if (size > kFloatRange) {
        throw RefusalC(u"power: the result would be a float of about 10^" + approximately(size) +
                       u", beyond the range of floats (10^" + approximately(kFloatRange) + u")");
    }
    // Its angle, im(c) log|b| + re(c) arg(b), is computed at the working
    // precision, kGuardDigits beyond the digits asked for: each digit of its
    // whole part beyond those leaves a wrong digit (2^(10^25 i) was wrong
    // from its 12th digit, 2^(10^200 i) came out 1.0), and reducing a huge
    // one costs memory (an angle of 10^(2*10^9) took 2 GB).
    const bool exact = exponent.real().is_rational() && exponent.imag().is_rational() && b.real().is_rational() &&
                       b.imag().is_rational();
    if (exact) {
        return;  // GiNaC leaves it alone
    }
    const double log_b = std::fabs(log10Magnitude(b.is_real() ? b : GiNaC::abs(b))) * std::log(10.0);
    const double angle = std::max(scaled(exponent.imag(), log_b), scaled(exponent.real(), std::fabs(arg)));
    const double digits = angle > 0.0 ? std::log10(angle) : 0.0;
    if (digits > static_cast<double>(GinacEngineC::kGuardDigits)) {
        throw RefusalC(u"power: the angle of the result, about 10^" +
                       (digits < 308.0 ? approximately(digits) : std::u16string(u"308 or more")) +
                       u" radians, leaves fewer correct digits than asked for");
    }
}

void checkPower(const GiNaC::ex& base, const GiNaC::ex& exponent, const GinacLimitsS& limits) {
    if (!isExactly<GiNaC::numeric>(exponent)) {
        return;
    }
    const auto& n = GiNaC::ex_to<GiNaC::numeric>(exponent);
    if (!n.is_rational()) {
        checkFloatPower(base, n);
        return;
    }
    const double weight = numberWeight(base);
    if (weight == 0.0) {
        return;
    }
    const double digits = weight * magnitude(n);
    if (digits > static_cast<double>(limits.integer_digits)) {
        throw RefusalC(u"power: the result would hold an integer of about " + approximately(digits) +
                       u" digits; exact integers are limited to " + count(limits.integer_digits) + u" digits");
    }
}

void checkPeriodicArgument(const char16_t* operation, const GiNaC::ex& argument) {
    if (!isExactly<GiNaC::numeric>(argument)) {
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

void checkInverseArgument(const char16_t* operation, const GiNaC::ex& argument, const GinacLimitsS& limits) {
    if (!isExactly<GiNaC::function>(argument) || argument.nops() != 1) {
        return;
    }
    const unsigned serial = GiNaC::ex_to<GiNaC::function>(argument).get_serial();
    if (serial != GiNaC::atan_SERIAL::serial && serial != GiNaC::asin_SERIAL::serial &&
        serial != GiNaC::acos_SERIAL::serial) {
        return;
    }
    // The parts as GiNaC walks them, each shared one counted at each place it
    // is used; a count past the limit stops growing.
    const double most = static_cast<double>(limits.result_nodes);
    GinacWalkerTC<double> walker;
    const double written = walker.run(argument.op(0), [](const GiNaC::ex&) { return true; },
                                      [most](const GiNaC::ex&, const double* parts, std::size_t count) {
                                          double total = 1.0;
                                          for (std::size_t i = 0; i < count && total <= most; ++i) {
                                              total += parts[i];
                                          }
                                          return std::min(total, most + 1.0);
                                      });
    if (2.0 * written > most) {
        throw RefusalC(std::u16string(operation) + u": the argument of its inverse would be written twice, in more "
                       u"than " + count(limits.result_nodes) + u" nodes");
    }
}

void checkExponentialArgument(const char16_t* operation, const GiNaC::ex& argument) {
    if (!isExactly<GiNaC::numeric>(argument)) {
        return;
    }
    const GiNaC::numeric real = GiNaC::ex_to<GiNaC::numeric>(argument).real();
    if (real.is_rational()) {
        return;  // exact: GiNaC leaves it alone
    }
    // The decimal exponent of e^|x| is |x| / ln 10.
    const double magnitude = log10Magnitude(real);
    const double size = magnitude > 300.0 ? kInfinity : std::pow(10.0, magnitude) / std::log(10.0);
    if (size > kFloatRange) {
        // exp of a negative argument is tiny; sinh and cosh of one are large.
        const bool tiny = real.is_negative() && std::u16string(operation) == u"exp";
        throw RefusalC(std::u16string(operation) + u": the result would be a float of about 10^" +
                       (tiny ? u"-" : u"") + approximately(size) +
                       u", beyond the range of floats (10^" + approximately(kFloatRange) + u")");
    }
}

namespace {

// The size of the expanded form of a part. Function arguments (and bases
// under non-integer powers) are expanded in place: they add their own size
// to `inner` and count as one atom outside.
struct Expansion {
    std::unordered_set<const GiNaC::basic*> atoms;
    double inner_terms = 0.0;
    double inner_digits = 0.0;
    double denominators = 0.0;  // degree of all the denominators, which a common one multiplies
    // Whether a power of a negative or fractional exponent was met: 1/x and
    // x are then two generators of terms (x^-3 .. x^5), which the degree
    // bound below does not count.
    bool inverses = false;
    double most_raw = 1.0;  // the most terms formed at any one node

    Size part(const GiNaC::ex& x, const Size* parts, std::size_t count) {
        Size size{1.0, 0.0, 0.0};
        if (isExactly<GiNaC::numeric>(x)) {
            const auto& n = GiNaC::ex_to<GiNaC::numeric>(x);
            size.digits = n.is_zero() ? 0.0 : decimalDigits(n);
        } else if (isExactly<GiNaC::add>(x)) {
            size = Size{0.0, 0.0, 0.0, 0.0};
            double biggest = 0.0;
            for (std::size_t i = 0; i < count; ++i) {
                size.terms += parts[i].terms;
                size.raw += parts[i].raw;
                biggest = std::max(biggest, parts[i].digits);
                size.degree = std::max(size.degree, parts[i].degree);
            }
            size.digits = biggest + std::log10(static_cast<double>(count));
        } else if (isExactly<GiNaC::mul>(x)) {
            for (std::size_t i = 0; i < count; ++i) {
                size.terms *= parts[i].terms;
                size.raw *= parts[i].raw;
                size.digits += parts[i].digits;
                size.degree += parts[i].degree;
            }
        } else if (isExactly<GiNaC::power>(x) && isExactly<GiNaC::numeric>(x.op(1)) &&
                   GiNaC::ex_to<GiNaC::numeric>(x.op(1)).is_integer()) {
            power(GiNaC::ex_to<GiNaC::numeric>(x.op(1)), parts[0], size);
        } else if (isExactly<GiNaC::power>(x) && count == 2 && parts[0].terms > 1.0 &&
                   isExactly<GiNaC::numeric>(x.op(1)) &&
                   GiNaC::ex_to<GiNaC::numeric>(x.op(1)).is_rational() &&
                   GiNaC::ex_to<GiNaC::numeric>(x.op(1)).is_positive()) {
            rootOfSum(GiNaC::ex_to<GiNaC::numeric>(x.op(1)), parts[0], size);
            atoms.insert(&GiNaC::ex_to<GiNaC::basic>(x));
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                inner_terms += parts[i].terms;
                inner_digits += parts[i].terms * (parts[i].digits + 1.0);
            }
            const bool constant = isExactly<GiNaC::constant>(x);
            size.degree = constant ? 0.0 : 1.0;
            if (!constant) {
                atoms.insert(&GiNaC::ex_to<GiNaC::basic>(x));
            }
        }
        // No polynomial of degree d in v atoms has more than C(d + v, v) terms.
        most_raw = std::max(most_raw, size.raw);
        if (size.terms > 1.0 && !atoms.empty() && !inverses) {
            const double bound = binomialBound(size.degree, static_cast<double>(atoms.size()));
            size.terms = std::min(size.terms, std::max(1.0, std::ceil(bound)));
        }
        return size;
    }

    // u^(p/q) of a u of several terms: one atom where it stands, but GiNaC
    // joins such powers in a product and multiplies out what comes whole
    // (sqrt(u)^6 is u^3): counted as of the size of u^(p/q), so that its
    // q-th power has the size of u^p.
    void rootOfSum(const GiNaC::numeric& exponent, const Size& base, Size& size) {
        const double e = exponent.to_double();
        inner_terms += base.terms;
        inner_digits += base.terms * (base.digits + 1.0);
        size.terms = std::pow(base.terms, e);
        size.raw = std::pow(base.raw, e);
        size.digits = e * base.digits;
        size.degree = std::max(1.0, e * base.degree);
    }

    void power(const GiNaC::numeric& exponent, const Size& base, Size& size) {
        const double n = magnitude(exponent);
        if (exponent.is_pos_integer()) {
            // At most C(n + t - 1, t - 1) terms from a base of t terms.
            size.terms = base.terms <= 1.0 ? 1.0 : binomialBound(n, base.terms - 1.0);
            size.raw = base.raw <= 1.0 ? 1.0 : binomialBound(n, base.raw - 1.0);
            size.digits = n * base.digits;
        } else {
            inner_terms += base.terms;
            inner_digits += base.terms * (base.digits + 1.0);
            denominators += n * base.degree;
            inverses = true;
        }
        size.degree = n * base.degree;
    }
};

}  // namespace

void checkExponentSums(const GiNaC::ex& e, const GinacLimitsS& limits) {
    GinacWalkerTC<int> walker;
    walker.run(e, [](const GiNaC::ex& x) { return !isExactly<GiNaC::numeric>(x); },
               [&limits](const GiNaC::ex& x, const int*, std::size_t) {
                   if (!isExactly<GiNaC::power>(x) || !isExactly<GiNaC::add>(x.op(1))) {
                       return 0;
                   }
                   const GiNaC::ex& sum = x.op(1);
                   for (std::size_t i = 0; i < sum.nops(); ++i) {
                       // A sum's one number is its overall coefficient. Its real
                       // and imaginary parts count too: real_part and imag_part
                       // make each the coefficient of an exponent of their own.
                       if (!isExactly<GiNaC::numeric>(sum.op(i))) {
                           continue;
                       }
                       // A rational part is raised by its whole part too
                       // (b^(15/2+y) is b^7*sqrt(b)*b^y).
                       const GiNaC::numeric& k = GiNaC::ex_to<GiNaC::numeric>(sum.op(i));
                       for (const GiNaC::numeric& part : {k.real(), k.imag()}) {
                           if (!part.is_rational()) {
                               continue;
                           }
                           const GiNaC::numeric whole = GiNaC::iquo(part.numer(), part.denom());
                           if (whole.is_zero()) {
                               continue;
                           }
                           checkPower(x.op(0), whole, limits);
                           const double n = magnitude(whole);
                           const double terms = static_cast<double>(x.op(0).nops());
                           if (isExactly<GiNaC::add>(x.op(0)) &&
                               logBinomial(n, terms - 1.0) > std::log(static_cast<double>(limits.expand_terms))) {
                               throw RefusalC(u"power: expanding would give up to " +
                                              approximately(std::exp(logBinomial(n, terms - 1.0))) +
                                              u" terms; the limit is " + count(limits.expand_terms) + u" terms");
                           }
                       }
                   }
                   return 0;
               });
}

void checkExpansion(const GiNaC::ex& e, const char16_t* operation, bool for_factor, const GinacLimitsS& limits) {
    checkExponentSums(e, limits);
    Expansion expansion;
    GinacWalkerTC<Size> walker;
    const Size total = walker.run(
        e, [](const GiNaC::ex& x) { return !isExactly<GiNaC::numeric>(x); },
        [&expansion](const GiNaC::ex& x, const Size* parts, std::size_t count) { return expansion.part(x, parts, count); });
    // GiNaC multiplies out every combination before it gathers like terms:
    // (36 float terms)^7 is 27 million products for 1,275 terms.
    const double work = std::max(expansion.most_raw, total.raw);
    if (work > static_cast<double>(limits.expand_terms) * kExpandWork) {
        throw RefusalC(std::u16string(operation) + u": expanding would form " + approximately(work) +
                       u" products before gathering like terms; the limit is " +
                       approximately(static_cast<double>(limits.expand_terms) * kExpandWork));
    }
    const double terms = total.terms + expansion.inner_terms;
    const double digits = total.terms * (total.digits + 1.0) + expansion.inner_digits;
    if (terms > static_cast<double>(limits.expand_terms) || digits > static_cast<double>(limits.expand_digits)) {
        throw RefusalC(std::u16string(operation) + u": expanding would give up to " + approximately(terms) + u" terms and " +
                       approximately(digits) + u" digits of coefficients; the limits are " + count(limits.expand_terms) +
                       u" terms and " + count(limits.expand_digits) + u" digits");
    }
    if (expansion.denominators > static_cast<double>(limits.denominator_degree) &&
        std::u16string(operation) != u"expand") {
        throw RefusalC(std::u16string(operation) + u": the fractions have denominators of degree " +
                       approximately(expansion.denominators) + u" in all; a common denominator is limited to degree " +
                       count(limits.denominator_degree));
    }
    if (for_factor) {
        checkFactorDegree(total.degree, expansion.atoms.size(), total.terms, limits);
    }
}

// Factorisation time grows erratically with the degree, and much faster in
// several symbols when the polynomial is dense: (x+y+z+w)^6+1 (85 terms)
// takes 0.1 s, (x+y+z+w)^7+1 (121 terms) minutes; (x+y+z)^12+1 0.3 s,
// (x+y+z)^15+1 2.4 s; of degree 5, 792 terms in 7 symbols take 0.5 s,
// 3003 in 10 symbols 2.4 s.
void checkFactorDegree(double degree, std::size_t symbols, double terms, const GinacLimitsS& limits) {
    if (degree > static_cast<double>(limits.factor_degree)) {
        throw RefusalC(u"factor: the polynomial has degree " + approximately(degree) + u"; factor is limited to degree " +
                       count(limits.factor_degree));
    }
    if (symbols < 2) {
        return;
    }
    if (degree > static_cast<double>(limits.factor_multivariate_degree)) {
        throw RefusalC(u"factor: the polynomial has degree " + approximately(degree) + u" in " + count(symbols) +
                       u" symbols; in several symbols factor is limited to degree " +
                       count(limits.factor_multivariate_degree));
    }
    const double most = static_cast<double>(limits.factor_multivariate_terms) * (degree > kSparseDegree ? 1.0 : 10.0);
    if (terms > most) {
        throw RefusalC(u"factor: the polynomial has degree " + approximately(degree) + u" and up to " +
                       approximately(terms) + u" terms in " + count(symbols) + u" symbols; of that degree in several "
                       u"symbols factor is limited to " + approximately(most) + u" terms");
    }
}

// GiNaC takes real_part and imag_part apart through the expression: a
// function's parts need both parts of its argument (even a real one), a
// product of k complex factors 2^(k-1) products of their parts. The work
// estimated that way is bounded like a chain of parts_depth functions
// (imag_part of 16 nested tan, 0.2 s). The real-valued functions (abs,
// real_part, imag_part, atan2, step, csgn) are their own real part,
// whatever their argument: one step each.
namespace {

bool ownRealPart(const GiNaC::ex& x) {
    return GiNaC::is_the_function<GiNaC::abs_SERIAL>(x) || GiNaC::is_the_function<GiNaC::real_part_function_SERIAL>(x) ||
           GiNaC::is_the_function<GiNaC::imag_part_function_SERIAL>(x) ||
           GiNaC::is_the_function<GiNaC::atan2_SERIAL>(x) || GiNaC::is_the_function<GiNaC::step_SERIAL>(x) ||
           GiNaC::is_the_function<GiNaC::csgn_SERIAL>(x);
}

// Functions real at a real argument.
bool realAtReal(const GiNaC::ex& x) {
    return GiNaC::is_the_function<GiNaC::exp_SERIAL>(x) || GiNaC::is_the_function<GiNaC::sin_SERIAL>(x) ||
           GiNaC::is_the_function<GiNaC::cos_SERIAL>(x) || GiNaC::is_the_function<GiNaC::tan_SERIAL>(x) ||
           GiNaC::is_the_function<GiNaC::sinh_SERIAL>(x) || GiNaC::is_the_function<GiNaC::cosh_SERIAL>(x) ||
           GiNaC::is_the_function<GiNaC::tanh_SERIAL>(x) || GiNaC::is_the_function<GiNaC::atan_SERIAL>(x);
}

// The work of taking a part apart, and whether it is real.
struct PartsWork {
    double work;
    bool real;
};

PartsWork leafParts(const GiNaC::ex& x) {
    if (isExactly<GiNaC::numeric>(x)) {
        return {1.0, GiNaC::ex_to<GiNaC::numeric>(x).is_real()};
    }
    return {1.0, ownRealPart(x) || (GiNaC::is_a<GiNaC::symbol>(x) && x.info(GiNaC::info_flags::real))};
}

// Whether a product has an integer power of a sum among its factors.
bool powerOfSum(const GiNaC::ex& product) {
    for (std::size_t i = 0; i < product.nops(); ++i) {
        const GiNaC::ex factor = product.op(i);
        if (isExactly<GiNaC::power>(factor) && isExactly<GiNaC::add>(factor.op(0)) &&
            factor.op(1).info(GiNaC::info_flags::integer)) {
            return true;
        }
    }
    return false;
}

PartsWork partsOf(const GiNaC::ex& x, const PartsWork* parts, std::size_t count) {
    if (count == 0) {
        return leafParts(x);
    }
    double sum = 0.0;
    std::size_t complex = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += parts[i].work;
        complex += parts[i].real ? 0 : 1;
    }
    const bool real = complex == 0;
    if (isExactly<GiNaC::mul>(x)) {
        const double products = std::pow(2.0, static_cast<double>(std::max<std::size_t>(complex, 2)) - 1.0);
        return {std::min(1e300, sum * products), real};
    }
    if (isExactly<GiNaC::add>(x)) {
        return {sum, real};
    }
    if (isExactly<GiNaC::power>(x) && x.op(1).info(GiNaC::info_flags::integer)) {
        // GiNaC multiplies an integer power of a + b i out, a term for each
        // power of the parts, to take it apart.
        const double n = parts[0].real ? 1.0 : std::fabs(GiNaC::ex_to<GiNaC::numeric>(x.op(1)).to_double());
        return {std::min(1e300, 2.0 * sum * std::max(1.0, n)), parts[0].real};
    }
    return {std::min(1e300, 2.0 * sum), real && realAtReal(x)};
}

}  // namespace

void checkParts(const GiNaC::ex& e, const char16_t* operation, const GinacLimitsS& limits) {
    checkExponentSums(e, limits);
    GinacWalkerTC<PartsWork> walker;
    // GiNaC expands the product of a product's real parts, multiplying out an
    // integer power of a sum among its factors ((x + 1)^(10^29)/2 ran out of
    // stack): such a product asks for the expansion's bound.
    bool multiplied = false;
    const double work = walker
                            .run(e, [](const GiNaC::ex& x) { return !isExactly<GiNaC::numeric>(x) && !ownRealPart(x); },
                                 [&multiplied](const GiNaC::ex& x, const PartsWork* parts, std::size_t count) {
                                     multiplied = multiplied || (isExactly<GiNaC::mul>(x) && powerOfSum(x));
                                     return partsOf(x, parts, count);
                                 })
                            .work;
    if (multiplied) {
        checkExpansion(e, operation, false, limits);
    }
    const double most = std::pow(2.0, static_cast<double>(limits.parts_depth) + 2.0);  // the chain passes
    if (work > most) {
        throw RefusalC(std::u16string(operation) + u": taking the expression apart would take about " +
                       approximately(work) + u" steps; the limit is " + approximately(most));
    }
}

}  // namespace qorv::math::algexpr::ginac::detail
