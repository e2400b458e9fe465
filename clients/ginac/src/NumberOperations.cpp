// SPDX-License-Identifier: MIT
#include "NumberOperations.h"

#include <cln/real.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ComplexRules.h"
#include "Estimates.h"
#include "GinacWalkerTC.h"
#include "SupportNames.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

std::u16string name(OperationE operation) { return nameOf(operation); }

RefusalC misuse(OperationE operation, const char16_t* what) { return RefusalC(name(operation) + u": " + what); }

const GiNaC::numeric& integerArgument(OperationE operation, const GiNaC::ex& e) {
    if (!GiNaC::is_exactly_a<GiNaC::numeric>(e) || !GiNaC::ex_to<GiNaC::numeric>(e).is_integer()) {
        throw misuse(operation, u"the arguments must be integers");
    }
    return GiNaC::ex_to<GiNaC::numeric>(e);
}

// The decimal digits of n!, from above.
double factorialDigits(const GiNaC::numeric& n) {
    return n.is_negative() ? 0.0 : std::lgamma(n.to_double() + 1.0) / std::log(10.0) + 1.0;
}

void checkDigits(OperationE operation, double digits, const GinacLimitsS& limits) {
    if (digits > static_cast<double>(limits.integer_digits)) {
        throw RefusalC(name(operation) + u": the result would have about " + approximately(digits) +
                       u" digits; integers are limited to " + count(limits.integer_digits));
    }
}

GiNaC::ex factorial(const GiNaC::ex& a, const GinacLimitsS& limits) {
    const GiNaC::numeric& n = integerArgument(OperationE::Factorial, a);
    if (n.is_negative()) {
        throw misuse(OperationE::Factorial, u"the argument must not be negative");
    }
    // Past 10^9 the digits alone tell: lgamma of a double is exact enough.
    checkDigits(OperationE::Factorial, n > 1000000000 ? 1e10 : factorialDigits(n), limits);
    return GiNaC::factorial(n);
}

GiNaC::ex binomial(const GiNaC::ex& a, const GiNaC::ex& b, const GinacLimitsS& limits) {
    const GiNaC::numeric& n = integerArgument(OperationE::Binomial, a);
    const GiNaC::numeric& k = integerArgument(OperationE::Binomial, b);
    if (n.is_negative()) {
        throw misuse(OperationE::Binomial, u"the first argument must not be negative");
    }
    if (k.is_negative() || k > n) {
        return 0;
    }
    if (n > 1000000000) {
        const GiNaC::numeric j = k < n - k ? k : n - k;  // C(n,k) >= n^j/j^j
        checkDigits(OperationE::Binomial, j.to_double() * std::log10(n.to_double() / j.to_double()), limits);
    } else {
        checkDigits(OperationE::Binomial,
                    factorialDigits(n) - factorialDigits(k) - factorialDigits(n - k) + 2.0, limits);
    }
    return GiNaC::binomial(n, k);
}

// a - b*floor(a/b): the sign of b.
GiNaC::ex modulo(const GiNaC::ex& a, const GiNaC::ex& b) {
    const GiNaC::numeric& x = integerArgument(OperationE::Mod, a);
    const GiNaC::numeric& y = integerArgument(OperationE::Mod, b);
    if (y.is_zero()) {
        throw misuse(OperationE::Mod, u"division by zero");
    }
    const GiNaC::numeric r = GiNaC::irem(x, y);  // the sign of x
    return !r.is_zero() && r.is_negative() != y.is_negative() ? r + y : r;
}

// Collects the symbols of e.
void symbolsOf(const GiNaC::ex& e, GiNaC::exset& found) {
    GinacWalkerTC<unsigned char> walker;
    walker.run(e, [](const GiNaC::ex&) { return true; },
               [&found](const GiNaC::ex& part, const unsigned char*, std::size_t) -> unsigned char {
                   if (GiNaC::is_a<GiNaC::symbol>(part)) {
                       found.insert(part);
                   }
                   return 0;
               });
}

// gcd, lcm, quo and rem of polynomials with rational coefficients.
GiNaC::ex polynomial(OperationE operation, std::vector<GiNaC::ex>& arguments, const GinacLimitsS& limits) {
    const char16_t* what = nameOf(operation);
    GiNaC::exset symbols;
    for (std::size_t i = 0; i < 2; ++i) {
        checkExpansion(arguments[i], what, true, limits);
        symbolsOf(arguments[i], symbols);
    }
    for (std::size_t i = 0; i < 2; ++i) {
        if (!arguments[i].info(GiNaC::info_flags::rational_polynomial)) {
            throw misuse(operation, u"the arguments must be polynomials with rational coefficients");
        }
    }
    if (operation == OperationE::Gcd) {
        return GiNaC::gcd(arguments[0], arguments[1]);
    }
    if (operation == OperationE::Lcm) {
        return GiNaC::lcm(arguments[0], arguments[1]);
    }
    if (arguments[1].is_zero()) {
        throw misuse(operation, u"division by zero");
    }
    GiNaC::ex x;
    if (arguments.size() == 3) {
        if (!GiNaC::is_a<GiNaC::symbol>(arguments[2])) {
            throw misuse(operation, u"the variable must be a symbol");
        }
        x = arguments[2];
    } else if (symbols.size() > 1) {
        throw misuse(operation, u"name the variable: the polynomials have more than one symbol");
    } else {
        x = symbols.empty() ? GiNaC::ex(GiNaC::symbol()) : *symbols.begin();
    }
    return operation == OperationE::Quo ? GiNaC::quo(arguments[0], arguments[1], x) : GiNaC::rem(arguments[0], arguments[1], x);
}

double partsOf(const GiNaC::ex& e) {
    GinacWalkerTC<double> walker;
    return walker.run(e, [](const GiNaC::ex&) { return true; },
                      [](const GiNaC::ex&, const double* parts, std::size_t count) {
                          double size = 1.0;
                          for (std::size_t i = 0; i < count; ++i) {
                              size += parts[i];
                          }
                          return size;
                      });
}

// The real number an end of an interval stands for.
GiNaC::numeric endpoint(OperationE operation, const GiNaC::ex& e) {
    const GiNaC::ex value = e.evalf();
    if (!GiNaC::is_exactly_a<GiNaC::numeric>(value) || !GiNaC::ex_to<GiNaC::numeric>(value).is_real()) {
        throw misuse(operation, u"the ends of the interval must be real numbers");
    }
    return GiNaC::ex_to<GiNaC::numeric>(value);
}

// The function of x that nintegrate and nsolve evaluate: x its only symbol.
const GiNaC::symbol& numericFunction(OperationE operation, const std::vector<GiNaC::ex>& arguments) {
    if (!GiNaC::is_a<GiNaC::symbol>(arguments[1])) {
        throw misuse(operation, u"the variable must be a symbol");
    }
    GiNaC::exset symbols;
    symbolsOf(arguments[0], symbols);
    symbols.erase(arguments[1]);
    if (!symbols.empty()) {
        throw misuse(operation, u"the function must have no symbol but the variable");
    }
    if (partsOf(arguments[0]) > kMaxNumericParts) {
        throw RefusalC(name(operation) + u": the function has more than " + count(kMaxNumericParts) +
                       u" parts, each evaluated thousands of times");
    }
    return GiNaC::ex_to<GiNaC::symbol>(arguments[1]);
}

// Sets GiNaC's subdivision depth of numeric integration for one call.
class IntegrationLevelC {
public:
    explicit IntegrationLevelC(int levels) : saved(GiNaC::integral::max_integration_level) {
        GiNaC::integral::max_integration_level = levels;
    }
    ~IntegrationLevelC() { GiNaC::integral::max_integration_level = saved; }
    IntegrationLevelC(const IntegrationLevelC&) = delete;
    IntegrationLevelC& operator=(const IntegrationLevelC&) = delete;

private:
    int saved;
};

// The integral by GiNaC's adaptive Simpson rule to kIntegrationDigits,
// rounded to them.
GiNaC::ex nintegrate(std::vector<GiNaC::ex>& arguments) {
    const GiNaC::symbol& x = numericFunction(OperationE::Nintegrate, arguments);
    const GiNaC::numeric a = endpoint(OperationE::Nintegrate, arguments[2]);
    const GiNaC::numeric b = endpoint(OperationE::Nintegrate, arguments[3]);
    IntegrationLevelC levels(kIntegrationLevels);
    const GiNaC::ex error = GiNaC::pow(GiNaC::numeric(10), -GiNaC::numeric(kIntegrationDigits));
    GiNaC::ex value;
    try {
        value = GiNaC::adaptivesimpson(x, a, b, arguments[0], error);
    } catch (const std::runtime_error&) {
        throw RefusalC(u"nintegrate: no value to " + count(kIntegrationDigits) + u" digits within " +
                       count(std::size_t{1} << kIntegrationLevels) + u" pieces of the interval");
    }
    if (!GiNaC::is_exactly_a<GiNaC::numeric>(value) || !GiNaC::ex_to<GiNaC::numeric>(value).is_real()) {
        throw misuse(OperationE::Nintegrate, u"the function has no real number at some point of the interval");
    }
    const GiNaC::numeric& v = GiNaC::ex_to<GiNaC::numeric>(value);
    if (v.is_zero()) {
        return v;
    }
    // Rounded to the digits computed: those beyond are noise.
    const long scale = kIntegrationDigits - 1 - static_cast<long>(std::floor(std::log10(std::fabs(v.to_double()))));
    const GiNaC::numeric ten = GiNaC::pow(GiNaC::numeric(10), GiNaC::numeric(scale));
    const GiNaC::numeric rounded(cln::round1(cln::the<cln::cl_R>((v * ten).to_cl_N())));
    return GiNaC::ex(rounded / ten).evalf();
}

// A root by the Illinois variant of regula falsi: the interval keeps a
// change of sign and shrinks every step.
GiNaC::ex nsolve(std::vector<GiNaC::ex>& arguments, unsigned long digits) {
    const GiNaC::symbol& x = numericFunction(OperationE::Nsolve, arguments);
    GiNaC::numeric a = endpoint(OperationE::Nsolve, arguments[2]);
    GiNaC::numeric b = endpoint(OperationE::Nsolve, arguments[3]);
    const auto at = [&](const GiNaC::numeric& point) {
        const GiNaC::ex v = arguments[0].subs(x == point).evalf();
        if (!GiNaC::is_exactly_a<GiNaC::numeric>(v) || !GiNaC::ex_to<GiNaC::numeric>(v).is_real()) {
            throw misuse(OperationE::Nsolve, u"the function must be real on the interval");
        }
        return GiNaC::ex_to<GiNaC::numeric>(v);
    };
    GiNaC::numeric fa = at(a);
    GiNaC::numeric fb = at(b);
    if (!fa.is_zero() && !fb.is_zero() && fa.is_positive() == fb.is_positive()) {
        throw misuse(OperationE::Nsolve, u"the function must change sign between the ends of the interval");
    }
    const GiNaC::numeric tolerance = GiNaC::pow(GiNaC::numeric(10), -GiNaC::numeric(static_cast<long>(digits)));
    int side = 0;
    for (int step = 0; step < kMaxRootSteps && !fa.is_zero() && !fb.is_zero(); ++step) {
        if (GiNaC::abs(b - a) <= tolerance * std::max(GiNaC::abs(a), GiNaC::abs(b))) {
            break;
        }
        GiNaC::numeric c = (a * fb - b * fa) / (fb - fa);
        if (step % 8 == 7) {
            c = (a + b) / 2;  // bisection now and then bounds the steps
        }
        const GiNaC::numeric fc = at(c);
        if (fc.is_positive() == fb.is_positive()) {
            b = c;
            fb = fc;
            fa = side == -1 ? fa / 2 : fa;
            side = -1;
        } else {
            a = c;
            fa = fc;
            fb = side == 1 ? fb / 2 : fb;
            side = 1;
        }
    }
    return fa.is_zero() ? a : fb.is_zero() ? b : GiNaC::abs(fa) < GiNaC::abs(fb) ? a : b;
}

}  // namespace

GiNaC::ex numberOperation(OperationE operation, std::vector<GiNaC::ex>& arguments, const GinacLimitsS& limits,
                          unsigned long digits) {
    switch (operation) {
        case OperationE::Factorial:
            return factorial(arguments[0], limits);
        case OperationE::Binomial:
            return binomial(arguments[0], arguments[1], limits);
        case OperationE::Mod:
            return modulo(arguments[0], arguments[1]);
        case OperationE::Gcd:
        case OperationE::Lcm:
        case OperationE::Quo:
        case OperationE::Rem:
            return polynomial(operation, arguments, limits);
        case OperationE::Nintegrate:
            return nintegrate(arguments);
        case OperationE::Nsolve:
            return nsolve(arguments, digits);
        default:
            throw misuse(operation, u"not an operation on numbers");
    }
}

}  // namespace qorv::math::algexpr::ginac::detail
