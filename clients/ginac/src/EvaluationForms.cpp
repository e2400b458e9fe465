// SPDX-License-Identifier: MIT
#include "EvaluationForms.h"

#include <cln/integer.h>
#include <gmp.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "ComplexRules.h"
#include "Estimates.h"
#include "GinacFunctions.h"
#include "GinacWalkerTC.h"
#include "OperandsF.h"
#include "PairsC.h"
#include "SupportNames.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

// Word divisions that the trial divisions of one result may take together
// (about 0.2 s).
constexpr double kTrialBudget = 5e7;
// Roots of a higher degree, and exponents of a larger numerator, are left
// as GiNaC gives them.
constexpr long kMaxRootDegree = 64;
// The square roots a denominator may hold to be rationalised: each one
// doubles the terms of the conjugate.
constexpr std::size_t kMaxRationalizedRoots = 3;

cln::cl_I clnInteger(const GiNaC::numeric& n) { return cln::the<cln::cl_I>(n.to_cl_N()); }


bool isExp(const GiNaC::ex& e) { return isFunction(e, GiNaC::exp_SERIAL::serial); }

// The primes up to kRadicalTrialBound, made once.
const std::vector<std::uint32_t>& primes() {
    static const std::vector<std::uint32_t> list = [] {
        std::vector<bool> composite(kRadicalTrialBound + 1, false);
        std::vector<std::uint32_t> found;
        for (std::uint32_t p = 2; p <= kRadicalTrialBound; ++p) {
            if (composite[p]) {
                continue;
            }
            found.push_back(p);
            for (std::uint64_t m = std::uint64_t{p} * p; m <= kRadicalTrialBound; m += p) {
                composite[m] = true;
            }
        }
        return found;
    }();
    return list;
}

// Takes each q-th power of p out of m into s; p^k leaves p^(k mod q) in r.
template <class Integer, class Divide>
void takePowers(Integer& m, unsigned q, Integer& s, Integer& r, std::uint32_t p, Divide divide) {
    unsigned k = 0;
    Integer quotient;
    while (divide(m, p, quotient)) {
        m = quotient;
        if (++k == q) {
            s = s * p;
            k = 0;
        }
    }
    for (; k > 0; --k) {
        r = r * p;
    }
}

}  // namespace

namespace {

constexpr std::size_t kChunkPrimes = 256;  // primes per product below

// The products of the primes in turn, kChunkPrimes at a time, made once.
const std::vector<cln::cl_I>& chunkProducts() {
    static const std::vector<cln::cl_I> products = [] {
        std::vector<cln::cl_I> made;
        const std::vector<std::uint32_t>& list = primes();
        for (std::size_t first = 0; first < list.size(); first += kChunkPrimes) {
            cln::cl_I product = 1;
            for (std::size_t i = first; i < std::min(list.size(), first + kChunkPrimes); ++i) {
                product = product * cln::cl_I(static_cast<unsigned long>(list[i]));
            }
            made.push_back(product);
        }
        return made;
    }();
    return products;
}

// GMP's integer, freed with its scope.
struct MpzS {
    MpzS() { mpz_init(value); }
    MpzS(const MpzS&) = delete;
    MpzS& operator=(const MpzS&) = delete;
    ~MpzS() { mpz_clear(value); }
    mpz_t value;
};

// The product of all those primes, made once and kept for the process.
const mpz_t& allPrimesProduct() {
    static MpzS* const product = [] {
        auto* made = new MpzS;
        mpz_primorial_ui(made->value, kRadicalTrialBound);
        return made;
    }();
    return product->value;
}

// The gcd of m and the product of all primes up to kRadicalTrialBound. GMP
// reduces the 1.4 million bits of the product by m about twice as fast as
// CLN, which is most of the time taken on a radicand without such primes.
cln::cl_I gcdWithAllPrimes(const cln::cl_I& m) {
    const std::size_t words = (cln::integer_length(m) + 63) / 64;
    std::vector<std::uint64_t> digits(words);
    for (std::size_t k = 0; k < words; ++k) {
        digits[k] = cln::cl_I_to_UQ(cln::ldb(m, cln::cl_byte(64, 64 * k)));
    }
    MpzS value;
    MpzS gcd;
    mpz_import(value.value, words, -1, sizeof(std::uint64_t), 0, 0, digits.data());
    mpz_gcd(gcd.value, allPrimesProduct(), value.value);
    std::size_t count = 0;
    mpz_export(digits.data(), &count, -1, sizeof(std::uint64_t), 0, 0, gcd.value);
    cln::cl_I result = 0;
    for (std::size_t k = count; k-- > 0;) {
        result = cln::ash(result, 64) + cln::cl_I(static_cast<unsigned long long>(digits[k]));
    }
    return result;
}

// The primes up to kRadicalTrialBound that divide m > 0, ascending. Their
// product is the gcd of m with the product of all of them; the products of
// primes in turn tell which hold one, and only those primes are tried (on
// what is left of the gcd, which they divide once each), until none is left.
std::vector<std::uint32_t> primeDivisors(const cln::cl_I& m) {
    std::vector<std::uint32_t> found;
    const std::vector<std::uint32_t>& list = primes();
    const std::vector<cln::cl_I>& products = chunkProducts();
    cln::cl_I left = gcdWithAllPrimes(m);
    for (std::size_t chunk = 0; chunk < products.size() && cln::compare(left, 1) > 0; ++chunk) {
        cln::cl_I g = cln::gcd(left, products[chunk]);
        const std::size_t end = std::min(list.size(), (chunk + 1) * kChunkPrimes);
        for (std::size_t i = chunk * kChunkPrimes; cln::compare(g, 1) > 0 && i < end; ++i) {
            const cln::cl_I p(static_cast<unsigned long>(list[i]));
            const cln::cl_I_div_t division = cln::truncate2(g, p);
            if (cln::zerop(division.remainder)) {
                found.push_back(list[i]);
                g = division.quotient;
                left = cln::exquo(left, p);
            }
        }
        // What is left has only primes past this chunk's last, once each:
        // below that prime's square it is one of them.
        const cln::cl_I last(static_cast<unsigned long>(list[end - 1]));
        if (cln::compare(left, 1) > 0 && cln::compare(left, last * last) < 0) {
            found.push_back(static_cast<std::uint32_t>(cln::cl_I_to_UL(left)));
            break;
        }
    }
    return found;
}

// Below this a radicand is tried by every prime up to its square root.
constexpr std::uint64_t kTriedInTurn = std::uint64_t{1} << 32;

}  // namespace

// Trial division by the primes in turn, as far as the square root of what is
// left (a word) or the budget (a larger radicand), with each prime's q-th
// powers taken out. Only the primes that divide are divided by: they are
// known beforehand, and the budget is charged as if each prime were tried.
void splitRadicand(const GiNaC::numeric& n, unsigned q, GiNaC::numeric& s_out, GiNaC::numeric& r_out,
                   double& budget) {
    cln::cl_I m = clnInteger(n);
    cln::cl_I s = 1;
    cln::cl_I r = 1;
    if (cln::integer_length(m) < 64) {
        std::uint64_t small = cln::cl_I_to_UQ(m);
        std::uint64_t small_s = 1;
        std::uint64_t small_r = 1;
        const auto divide = [](std::uint64_t a, std::uint32_t p, std::uint64_t& quotient) {
            quotient = a / p;
            return a % p == 0;
        };
        std::vector<std::uint32_t> divisors;
        if (small >= kTriedInTurn) {
            divisors = primeDivisors(m);
        }
        // Both branches name a vector: the list of all primes is not copied.
        const std::vector<std::uint32_t>& candidates = small < kTriedInTurn ? primes() : divisors;
        for (std::uint32_t p : candidates) {
            if (std::uint64_t{p} * p > small) {
                break;  // what is left is 1 or a prime
            }
            takePowers<std::uint64_t>(small, q, small_s, small_r, p, divide);
        }
        m = cln::cl_I(static_cast<unsigned long long>(small));
        s = cln::cl_I(static_cast<unsigned long long>(small_s));
        r = cln::cl_I(static_cast<unsigned long long>(small_r));
    } else {
        const auto divide = [](const cln::cl_I& a, std::uint32_t p, cln::cl_I& quotient) {
            const cln::cl_I_div_t division = cln::truncate2(a, cln::cl_I(static_cast<unsigned long>(p)));
            quotient = division.quotient;
            return cln::zerop(division.remainder);
        };
        const std::vector<std::uint32_t>& list = primes();
        std::size_t next = 0;  // the next prime to be charged for
        for (std::uint32_t p : budget < 0.0 ? std::vector<std::uint32_t>() : primeDivisors(m)) {
            const std::size_t at = static_cast<std::size_t>(std::lower_bound(list.begin(), list.end(), p) - list.begin());
            const double cost = static_cast<double>(cln::integer_length(m)) / 64.0 + 1.0;
            budget -= cost * static_cast<double>(at + 1 - next);
            next = at + 1;
            if (budget < 0.0) {
                break;
            }
            takePowers<cln::cl_I>(m, q, s, r, p, divide);
        }
        if (budget >= 0.0) {
            budget -= (static_cast<double>(cln::integer_length(m)) / 64.0 + 1.0) * static_cast<double>(list.size() - next);
        }
    }
    cln::cl_I root;
    if (cln::compare(m, 1) > 0 && cln::rootp(m, q, &root)) {
        s = s * root;
        m = 1;
    }
    s_out = GiNaC::numeric(s);
    r_out = GiNaC::numeric(r * m);
}

namespace {

// GiNaC takes the rational content out of a sum under an integer power,
// (x/6 + y/4)^-1 = 12*(2*x + 3*y)^-1, only when the first term of the sum in
// its own order has a rational coefficient; that order follows hash values
// that change from process to process. Where the sum also has float
// coefficients the choice shows, so the content is taken out here whatever
// comes first, by the very operations GiNaC uses (each coefficient divided
// by the content), and every process writes the one form.
// Whether the terms of a sum have coefficients of both kinds, rational and
// not: where the content GiNaC takes out of the sum shows.
bool mixedCoefficients(const GiNaC::epvector& terms) {
    bool floats = false;
    bool rationals = false;
    for (const GiNaC::expair& term : terms) {
        const bool rational = GiNaC::ex_to<GiNaC::numeric>(term.coeff).is_rational();
        floats = floats || !rational;
        rationals = rationals || rational;
    }
    return floats && rationals;
}

class SumContentC : GiNaC::add {
public:
    static GiNaC::ex takenOut(const GiNaC::add& sum, const GiNaC::numeric& exponent, const GiNaC::ex& e,
                              const GinacLimitsS& limits) {
        const GiNaC::numeric content = sum.integer_content();
        if (!mixedCoefficients(sum.*(&SumContentC::seq)) || content.is_equal(GiNaC::numeric(1)) || content.is_zero()) {
            return e;
        }
        checkPower(content, exponent, limits);
        auto& scaled = GiNaC::dynallocate<GiNaC::add>(sum);
        scaled.clearflag(GiNaC::status_flags::hash_calculated);
        GiNaC::ex& overall = scaled.*(&SumContentC::overall_coeff);
        overall = GiNaC::ex_to<GiNaC::numeric>(overall).div_dyn(content);
        for (GiNaC::expair& term : scaled.*(&SumContentC::seq)) {
            term.coeff = GiNaC::ex_to<GiNaC::numeric>(term.coeff).div_dyn(content);
        }
        return GiNaC::pow(GiNaC::ex(scaled), exponent) * content.power(exponent);
    }
};

bool squareRoots(const GiNaC::ex& e, std::vector<GiNaC::numeric>& radicands);

class FormsC {
public:
    FormsC(const GinacLimitsS& limits, double budget) : budget(budget), limits(limits) {}

    /// Whether the trial divisions wanted more than the budget.
    bool ranOut() const { return budget < 0.0; }

    GiNaC::ex rewritten(const GiNaC::ex& e) {
        if (isExactly<GiNaC::power>(e)) {
            return power(e);
        }
        if (isExactly<GiNaC::mul>(e)) {
            return product(e);
        }
        if (isExp(e)) {
            return powerOfLogarithm(e);
        }
        if (isExactly<GiNaC::function>(e) && e.nops() == 1) {
            return inverseTrigonometric(e);
        }
        return e;
    }

private:
    GiNaC::ex power(const GiNaC::ex& e) {
        const GiNaC::ex& base = e.op(0);
        const GiNaC::ex& exponent = e.op(1);
        if (isExactly<GiNaC::add>(base) && exponent.info(GiNaC::info_flags::integer)) {
            return SumContentC::takenOut(GiNaC::ex_to<GiNaC::add>(base), GiNaC::ex_to<GiNaC::numeric>(exponent), e,
                                         limits);
        }
        if (isExp(base) && (exponent.info(GiNaC::info_flags::integer) || base.op(0).info(GiNaC::info_flags::real))) {
            return GiNaC::exp(base.op(0) * exponent);  // (e^a)^b is e^(a*b) for a real a or an integer b
        }
        if (!isExactly<GiNaC::numeric>(base) || !isExactly<GiNaC::numeric>(exponent)) {
            return e;
        }
        const GiNaC::numeric& b = GiNaC::ex_to<GiNaC::numeric>(base);
        const GiNaC::numeric& c = GiNaC::ex_to<GiNaC::numeric>(exponent);
        if (!b.is_rational() || b.is_zero() || !c.is_rational() || c.is_integer() || c.denom() > kMaxRootDegree ||
            GiNaC::abs(c.numer()) > kMaxRootDegree) {
            return e;
        }
        const auto q = static_cast<unsigned>(c.denom().to_int());
        GiNaC::numeric sa;
        GiNaC::numeric ra;
        GiNaC::numeric sd;
        GiNaC::numeric rd;
        splitRadicand(GiNaC::abs(b.numer()), q, sa, ra, budget);
        splitRadicand(b.denom(), q, sd, rd, budget);
        if (sa.is_equal(1) && sd.is_equal(1)) {
            return e;
        }
        // (s^q * r)^c is s^(q*c) * r^c for a positive s, whatever r is; and
        // (-r)^(p/2) is i^p * r^(p/2) for a positive r.
        const GiNaC::numeric p = c.numer();
        GiNaC::ex unit = 1;
        GiNaC::numeric rest = ra / rd;
        if (b.is_negative() && q == 2) {
            unit = evaluated(GiNaC::power(GiNaC::I, p));
        } else if (b.is_negative()) {
            rest = -rest;
        }
        return unit * GiNaC::pow(sa, p) * GiNaC::pow(sd, -p) * evaluated(GiNaC::power(rest, c));
    }

    // sqrt(2)*sqrt(6) is 2*sqrt(3): roots of positive rationals of one
    // degree q, to exponents p/q and -p/q, join under one root (b^c * d^c is
    // (b*d)^c for positive b and d), which is then reduced.
    // A number made of square roots, one of its factors a sum of them, is
    // multiplied out, and its roots joined again: sin(pi/12), which GiNaC
    // gives as sqrt(6)*(3 - sqrt(3))/12, is sqrt(6)/4 - sqrt(2)/4.
    GiNaC::ex product(const GiNaC::ex& e) {
        const FactorsS factors = surveyed(e);
        if (factors.numbers && factors.sum && numberOfRoots(e)) {
            return evaluationForms(e.expand(), limits);
        }
        const GiNaC::ex joined = factors.roots > 1 ? joinedRoots(e) : e;
        // What joined roots make is looked at afresh.
        const bool fresh = !GiNaC::are_ex_trivially_equal(joined, e);
        if (!isExactly<GiNaC::mul>(joined) || (!fresh && !factors.symbolic_powers && factors.exponentials < 2)) {
            return joined;
        }
        const GiNaC::ex whole = fresh || factors.symbolic_powers ? wholePowersJoined(joined) : joined;
        return isExactly<GiNaC::mul>(whole) ? exponentials(whole) : whole;
    }

    // What the factors of a product hold, in one pass: which of product's
    // rewritings may apply.
    struct FactorsS {
        bool numbers = true;           // only numbers, sums, products and powers
        bool sum = false;              // a sum among them
        std::size_t roots = 0;         // positive rational roots
        bool symbolic_powers = false;  // powers of neither a number base nor a number exponent
        std::size_t exponentials = 0;  // exp and its integer powers
    };

    static FactorsS surveyed(const GiNaC::ex& e) {
        FactorsS found;
        for (std::size_t i = 0; i < e.nops(); ++i) {
            const GiNaC::ex factor = e.op(i);
            const bool power = isExactly<GiNaC::power>(factor);
            const bool sum = isExactly<GiNaC::add>(factor);
            found.sum = found.sum || sum;
            found.numbers = found.numbers && (sum || power || isExactly<GiNaC::numeric>(factor) ||
                                              isExactly<GiNaC::mul>(factor));
            if (power && isExactly<GiNaC::add>(factor.op(0))) {
                found.numbers = false;  // a denominator: rationalizedDenominator's
            }
            found.roots += positiveRoot(factor) ? 1 : 0;
            found.symbolic_powers = found.symbolic_powers || (power && !isExactly<GiNaC::numeric>(factor.op(0)) &&
                                                              !isExactly<GiNaC::numeric>(factor.op(1)));
            const bool exponential = isExp(factor) || (power && isExp(factor.op(0)) &&
                                                       factor.op(1).info(GiNaC::info_flags::integer));
            found.exponentials += exponential ? 1 : 0;
        }
        return found;
    }

    // n*x^n/x, as GiNaC differentiates x^n, is n*x^(n - 1): a power of x to
    // an exponent that is no number takes in the whole powers of x beside it
    // (x^a * x^k is x^(a + k) for a whole k, wherever both sides are defined).
    static GiNaC::ex wholePowersJoined(const GiNaC::ex& e) {
        std::vector<GiNaC::ex> factors;
        for (std::size_t i = 0; i < e.nops(); ++i) {
            factors.push_back(e.op(i));
        }
        bool joined = false;
        for (GiNaC::ex& power : factors) {
            if (!isExactly<GiNaC::power>(power) || isExactly<GiNaC::numeric>(power.op(1)) ||
                isExactly<GiNaC::numeric>(power.op(0))) {
                continue;
            }
            const GiNaC::ex base = power.op(0);
            GiNaC::ex exponent = power.op(1);
            for (GiNaC::ex& other : factors) {
                const bool plain = other.is_equal(base);
                const bool whole = isExactly<GiNaC::power>(other) && other.op(0).is_equal(base) &&
                                   other.op(1).info(GiNaC::info_flags::integer);
                if (&other != &power && (plain || whole)) {
                    exponent += plain ? GiNaC::ex(1) : other.op(1);
                    other = 1;
                    joined = true;
                }
            }
            power = GiNaC::pow(base, exponent);
        }
        return joined ? evaluated(GiNaC::mul(factors)) : e;
    }

    static bool numberOfRoots(const GiNaC::ex& e) {
        bool sum = false;
        for (std::size_t i = 0; i < e.nops(); ++i) {
            const GiNaC::ex factor = e.op(i);
            if (isExactly<GiNaC::power>(factor) && isExactly<GiNaC::add>(factor.op(0))) {
                return false;  // a denominator: rationalizedDenominator's
            }
            sum = sum || isExactly<GiNaC::add>(factor);
        }
        std::vector<GiNaC::numeric> radicands;
        return sum && squareRoots(e, radicands) && !radicands.empty();
    }

    static bool positiveRoot(const GiNaC::ex& factor) {
        if (!isExactly<GiNaC::power>(factor) || !isExactly<GiNaC::numeric>(factor.op(0)) ||
            !isExactly<GiNaC::numeric>(factor.op(1))) {
            return false;
        }
        const GiNaC::numeric& b = GiNaC::ex_to<GiNaC::numeric>(factor.op(0));
        const GiNaC::numeric& c = GiNaC::ex_to<GiNaC::numeric>(factor.op(1));
        return b.is_rational() && b.is_positive() && c.is_rational() && !c.is_integer() &&
               c.denom() <= kMaxRootDegree && GiNaC::abs(c.numer()) <= kMaxRootDegree;
    }

    GiNaC::ex joinedRoots(const GiNaC::ex& e) {
        GiNaC::exvector others;
        std::vector<std::pair<GiNaC::numeric, GiNaC::numeric>> roots;  // |exponent|, the product of the bases
        bool joined = false;
        for (std::size_t i = 0; i < e.nops(); ++i) {
            const GiNaC::ex factor = e.op(i);
            if (!positiveRoot(factor)) {
                others.push_back(factor);
                continue;
            }
            const GiNaC::numeric& c = GiNaC::ex_to<GiNaC::numeric>(factor.op(1));
            const GiNaC::numeric& b = GiNaC::ex_to<GiNaC::numeric>(factor.op(0));
            const GiNaC::numeric size = GiNaC::abs(c);
            auto root = std::find_if(roots.begin(), roots.end(), [&size](const auto& r) { return r.first == size; });
            if (root == roots.end()) {
                roots.emplace_back(size, c.is_positive() ? b : b.inverse());
            } else {
                root->second = c.is_positive() ? root->second * b : root->second / b;
                joined = true;
            }
        }
        if (!joined) {
            return e;
        }
        for (const auto& root : roots) {
            const GiNaC::ex root_value = evaluated(GiNaC::power(root.second, root.first));
            others.push_back(isExactly<GiNaC::power>(root_value) ? power(root_value) : root_value);
        }
        return evaluated(GiNaC::mul(others));
    }

    // exp(x)*exp(2*x)^2 is exp(5*x), exp(2)*exp(3) is exp(5): the exponents
    // of exp and of its integer powers add up where they differ by a number
    // factor only (or are numbers), as people join them; exp(x)*exp(y) stays.
    static GiNaC::ex exponentials(const GiNaC::ex& e) {
        GiNaC::exvector others;
        std::vector<std::pair<GiNaC::ex, GiNaC::exvector>> groups;  // by the exponent without its number factor
        for (std::size_t i = 0; i < e.nops(); ++i) {
            const GiNaC::ex factor = e.op(i);
            GiNaC::ex exponent;
            if (isExp(factor)) {
                exponent = factor.op(0);
            } else if (isExactly<GiNaC::power>(factor) && isExp(factor.op(0)) &&
                       factor.op(1).info(GiNaC::info_flags::integer)) {
                exponent = factor.op(0).op(0) * factor.op(1);
            } else {
                others.push_back(factor);
                continue;
            }
            const GiNaC::ex rest = isExactly<GiNaC::numeric>(exponent) ? GiNaC::ex(1) : withoutNumber(exponent);
            auto group = std::find_if(groups.begin(), groups.end(), [&rest](const auto& g) { return g.first.is_equal(rest); });
            if (group == groups.end()) {
                groups.emplace_back(rest, GiNaC::exvector{});
                group = groups.end() - 1;
            }
            group->second.push_back(exponent);
        }
        if (std::none_of(groups.begin(), groups.end(), [](const auto& g) { return g.second.size() > 1; })) {
            return e;
        }
        for (const auto& group : groups) {
            others.push_back(GiNaC::exp(evaluated(GiNaC::add(group.second))));
        }
        return evaluated(GiNaC::mul(others));
    }

    // 2*x*y as x*y: a product without its number coefficient.
    static GiNaC::ex withoutNumber(const GiNaC::ex& e) {
        if (!isExactly<GiNaC::mul>(e)) {
            return e;
        }
        GiNaC::exvector factors;
        for (std::size_t i = 0; i < e.nops(); ++i) {
            if (!isExactly<GiNaC::numeric>(e.op(i))) {
                factors.push_back(e.op(i));
            }
        }
        return evaluated(GiNaC::mul(factors));
    }

    // exp(3*log(2)) is 8, exp(log(2)/2) sqrt(2): exp(c*log(r)) is r^c for a
    // positive rational r and a rational c (log(r) is real there).
    GiNaC::ex powerOfLogarithm(const GiNaC::ex& e) {
        const GiNaC::ex& a = e.op(0);
        GiNaC::ex c = 1;
        GiNaC::ex logarithm = a;
        if (isExactly<GiNaC::mul>(a) && a.nops() == 2 && isExactly<GiNaC::numeric>(a.op(1))) {
            c = a.op(1);
            logarithm = a.op(0);
        }
        if (!isFunction(logarithm, GiNaC::log_SERIAL::serial) || !c.info(GiNaC::info_flags::rational) ||
            !logarithm.op(0).info(GiNaC::info_flags::positive) || !logarithm.op(0).info(GiNaC::info_flags::rational)) {
            return e;
        }
        try {
            checkPower(logarithm.op(0), c, limits);
        } catch (const RefusalC&) {
            return e;  // a power beyond the digits allowed: exp stays
        }
        const GiNaC::ex value = evaluated(GiNaC::power(logarithm.op(0), c));
        return isExactly<GiNaC::power>(value) ? power(value) : value;
    }

    // asin, acos and atan at the arguments of the usual triangles.
    static GiNaC::ex inverseTrigonometric(const GiNaC::ex& e) {
        const unsigned serial = GiNaC::ex_to<GiNaC::function>(e).get_serial();
        const bool asin = serial == GiNaC::asin_SERIAL::serial;
        const bool acos = serial == GiNaC::acos_SERIAL::serial;
        if (!asin && !acos && serial != GiNaC::atan_SERIAL::serial) {
            return e;
        }
        const GiNaC::ex x = e.op(0);
        const GiNaC::ex root2 = GiNaC::sqrt(GiNaC::ex(2));
        const GiNaC::ex root3 = GiNaC::sqrt(GiNaC::ex(3));
        struct ValueS {
            GiNaC::ex argument;
            GiNaC::ex angle;  // of asin (and acos) or atan
        };
        const ValueS sines[] = {{root2 / 2, GiNaC::Pi / 4}, {1 / root2, GiNaC::Pi / 4}, {root3 / 2, GiNaC::Pi / 3}};
        const ValueS tangents[] = {{root3 / 3, GiNaC::Pi / 6}, {1 / root3, GiNaC::Pi / 6}, {root3, GiNaC::Pi / 3}};
        for (const ValueS& value : asin || acos ? sines : tangents) {
            for (int sign : {1, -1}) {
                if (x.is_equal(sign * value.argument)) {
                    const GiNaC::ex angle = sign * value.angle;
                    return acos ? GiNaC::Pi / 2 - angle : angle;
                }
            }
        }
        return e;
    }

    double budget;
    const GinacLimitsS& limits;
};

GiNaC::ex formsOf(const GiNaC::ex& e, FormsC& forms, const GinacLimitsS& limits) {
    // Each part's form, and whether it differs from the part: a rewriting
    // that changes nothing gives back the object it was given.
    struct FormS {
        GiNaC::ex form;
        bool changed = false;
    };
    GinacWalkerTC<FormS> walker;
    std::vector<GiNaC::ex> operands;
    return walker
        .run(e, [](const GiNaC::ex&) { return true; },
             [&forms, &limits, &operands](const GiNaC::ex& part, const FormS* values, std::size_t count) {
                 if (std::none_of(values, values + count, [](const FormS& v) { return v.changed; })) {
                     GiNaC::ex form = forms.rewritten(part);
                     const bool changed = !GiNaC::are_ex_trivially_equal(form, part);
                     return FormS{std::move(form), changed};
                 }
                 if (isExactly<GiNaC::power>(part)) {
                     checkPower(values[0].form, values[1].form, limits);
                 }
                 operands.clear();
                 for (std::size_t i = 0; i < count; ++i) {
                     operands.push_back(values[i].form);
                 }
                 OperandsF rebuilt(operands.data());
                 return FormS{forms.rewritten(part.map(rebuilt)), true};
             })
        .form;
}

}  // namespace

namespace {

// Whether the walk may change base^exponent: a root of a number, a power of
// exp, a power with an exponent that is no number (whole powers of its base
// join it), or a sum's content taken out (which needs coefficients of both
// kinds, rational and not). A power of a product or of a power is made
// afresh by the walk, and GiNaC evaluates it anew: (496/k)^(1/2) as
// 496^(1/2)*k^(-1/2).
bool powerMayChange(const GiNaC::ex& base, const GiNaC::ex& exponent) {
    if (isExactly<GiNaC::numeric>(base) || isExp(base) || !isExactly<GiNaC::numeric>(exponent) ||
        isExactly<GiNaC::mul>(base) || isExactly<GiNaC::power>(base)) {
        return true;
    }
    if (!isExactly<GiNaC::add>(base)) {
        return false;
    }
    return mixedCoefficients(PairsC::pairs(base));
}

// Whether exp(a) may be a power of a number: a is a logarithm, or a product
// with one.
bool logarithmic(const GiNaC::ex& a) {
    if (isFunction(a, GiNaC::log_SERIAL::serial)) {
        return true;
    }
    if (!isExactly<GiNaC::mul>(a)) {
        return false;
    }
    const GiNaC::epvector& factors = PairsC::pairs(a);
    return std::any_of(factors.begin(), factors.end(),
                       [](const GiNaC::expair& f) { return isFunction(f.rest, GiNaC::log_SERIAL::serial); });
}

// Whether any part of `e` may be rewritten: false only where none of the
// rewritings can apply, so that the walk, which makes a new object for
// each factor of a product, is spared. Sums and products are read in
// place, their factors rest^coefficient as the powers the walk meets.
bool mayChange(const GiNaC::ex& e) {
    std::vector<GiNaC::ex> parts{e};
    while (!parts.empty()) {
        const GiNaC::ex part = std::move(parts.back());
        parts.pop_back();
        if (part.nops() == 0) {
            continue;  // a number, symbol or constant: nothing to rewrite
        }
        const bool product = isExactly<GiNaC::mul>(part);
        if (product || isExactly<GiNaC::add>(part)) {
            std::size_t exponentials = 0;
            for (const GiNaC::expair& pair : PairsC::pairs(part)) {
                if (product && !GiNaC::ex_to<GiNaC::numeric>(pair.coeff).is_equal(GiNaC::numeric(1)) && powerMayChange(pair.rest, pair.coeff)) {
                    return true;
                }
                exponentials += product && isExp(pair.rest) ? 1 : 0;
                parts.push_back(pair.rest);
            }
            if (exponentials > 1) {
                return true;  // exp(x)*exp(2*x)
            }
        } else if (isExactly<GiNaC::power>(part)) {
            if (powerMayChange(part.op(0), part.op(1))) {
                return true;
            }
            parts.push_back(part.op(0));
        } else if (isExactly<GiNaC::function>(part)) {
            // asin, acos and atan have exact values only at roots of numbers,
            // which the look-over finds in their arguments.
            if (isExp(part) && logarithmic(part.op(0))) {
                return true;  // exp(c*log(r))
            }
            for (std::size_t i = 0; i < part.nops(); ++i) {
                parts.push_back(part.op(i));
            }
        } else {
            return true;  // lists, equations, series, derivatives: the walk decides
        }
    }
    return false;
}

}  // namespace

GiNaC::ex evaluationForms(const GiNaC::ex& e, const GinacLimitsS& limits) {
    if (!mayChange(e)) {
        return e;
    }
    // The walk meets radicands in GiNaC's order of terms, which changes from
    // process to process. Where the budget does not reach them all, which
    // ones it reaches would change with it: then none is tried (the walk
    // runs again without trial division), and every process writes one form.
    FormsC forms(limits, kTrialBudget);
    GiNaC::ex form = formsOf(e, forms, limits);
    if (forms.ranOut()) {
        FormsC untried(limits, -1.0);
        form = formsOf(e, untried, limits);
    }
    return form;
}

namespace {

// The radicands of the square roots of integers in `e`; false when it holds
// anything but rational numbers, such roots, sums, products and integer
// powers.
bool squareRoots(const GiNaC::ex& e, std::vector<GiNaC::numeric>& radicands) {
    GinacWalkerTC<unsigned char> walker;
    return walker.run(e, [](const GiNaC::ex& part) { return !isExactly<GiNaC::numeric>(part); },
                      [&radicands](const GiNaC::ex& part, const unsigned char* parts, std::size_t count) -> unsigned char {
                          const unsigned char fine =
                              std::all_of(parts, parts + count, [](unsigned char p) { return p != 0; }) ? 1 : 0;
                          if (isExactly<GiNaC::numeric>(part)) {
                              return GiNaC::ex_to<GiNaC::numeric>(part).is_rational() ? fine : 0;
                          }
                          if (isExactly<GiNaC::power>(part) && part.op(1).is_equal(GiNaC::ex(1) / 2) &&
                              part.op(0).info(GiNaC::info_flags::posint)) {
                              const GiNaC::numeric& n = GiNaC::ex_to<GiNaC::numeric>(part.op(0));
                              if (std::find_if(radicands.begin(), radicands.end(),
                                               [&n](const GiNaC::numeric& m) { return m.is_equal(n); }) ==
                                  radicands.end()) {
                                  radicands.push_back(n);
                              }
                              return fine;
                          }
                          const bool power = isExactly<GiNaC::power>(part) &&
                                             part.op(1).info(GiNaC::info_flags::integer);
                          const bool structure = isExactly<GiNaC::add>(part) ||
                                                 isExactly<GiNaC::mul>(part);
                          return power || structure ? fine : static_cast<unsigned char>(0);
                      }) != 0;
}

// The product c of conjugates with d*c rational, and that rational, or
// false.
bool conjugateOf(const GiNaC::ex& d, GiNaC::ex& conjugate, GiNaC::ex& rational) {
    std::vector<GiNaC::numeric> radicands;
    if (!isExactly<GiNaC::add>(d) || !squareRoots(d, radicands) || radicands.empty() ||
        radicands.size() > kMaxRationalizedRoots) {
        return false;
    }
    std::sort(radicands.begin(), radicands.end(),
              [](const GiNaC::numeric& a, const GiNaC::numeric& b) { return a < b; });
    const GiNaC::symbol t;
    GiNaC::ex current = d.expand();
    conjugate = 1;
    for (const GiNaC::numeric& n : radicands) {
        const GiNaC::ex root = evaluated(GiNaC::power(n, GiNaC::ex(1) / 2));
        const GiNaC::ex in_t = current.subs(root == t, GiNaC::subs_options::no_pattern).expand();
        if (in_t.degree(t) > 1 || in_t.ldegree(t) < 0) {
            return false;
        }
        const GiNaC::ex a = in_t.coeff(t, 0);
        const GiNaC::ex b = in_t.coeff(t, 1);
        conjugate = (conjugate * (a - b * root)).expand();
        current = (a * a - b * b * n).expand();
    }
    if (!isExactly<GiNaC::numeric>(current) || current.is_zero()) {
        return false;
    }
    rational = current;
    return true;
}

}  // namespace

GiNaC::ex rationalizedDenominator(const GiNaC::ex& e) {
    GiNaC::exvector factors;
    if (isExactly<GiNaC::mul>(e)) {
        for (std::size_t i = 0; i < e.nops(); ++i) {
            factors.push_back(e.op(i));
        }
    } else {
        factors.push_back(e);
    }
    bool changed = false;
    for (GiNaC::ex& factor : factors) {
        GiNaC::ex conjugate;
        GiNaC::ex rational;
        if (isExactly<GiNaC::power>(factor) && factor.op(1).info(GiNaC::info_flags::negint) &&
            conjugateOf(factor.op(0), conjugate, rational)) {
            const GiNaC::ex k = -factor.op(1);
            factor = (evaluated(GiNaC::power(conjugate, k)).expand()) / evaluated(GiNaC::power(rational, k));
            changed = true;
        }
    }
    return changed ? evaluated(GiNaC::mul(factors)) : e;
}

}  // namespace qorv::math::algexpr::ginac::detail
