// SPDX-License-Identifier: MIT
#include "NumberOperations.h"

#include <cln/real.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>

#include "ComplexRules.h"
#include "DoubleValueC.h"
#include "Estimates.h"
#include "GinacFunctions.h"
#include "GinacWalkerTC.h"
#include "SupportNames.h"
#include "algexpr/Utf8C.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

std::u16string name(OperationE operation) { return Words::nameOf(operation); }

RefusalC misuse(OperationE operation, const char16_t* what) { return RefusalC(name(operation) + u": " + what); }

const GiNaC::numeric& integerArgument(OperationE operation, const GiNaC::ex& e) {
    if (!isExactly<GiNaC::numeric>(e) || !GiNaC::ex_to<GiNaC::numeric>(e).is_integer()) {
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
    if (!isExactly<GiNaC::numeric>(a)) {
        return GiNaC::factorial(a).hold();  // of a symbol, it stays
    }
    const GiNaC::numeric& n = integerArgument(OperationE::Factorial, a);
    if (n.is_negative()) {
        throw misuse(OperationE::Factorial, u"the argument must not be negative");
    }
    // Past 10^9 the digits alone tell: lgamma of a double is exact enough.
    checkDigits(OperationE::Factorial, n > 1000000000 ? 1e10 : factorialDigits(n), limits);
    return GiNaC::factorial(n);
}

GiNaC::ex binomial(const GiNaC::ex& a, const GiNaC::ex& b, const GinacLimitsS& limits) {
    if (!isExactly<GiNaC::numeric>(a) || !isExactly<GiNaC::numeric>(b)) {
        if (isExactly<GiNaC::numeric>(b)) {
            integerArgument(OperationE::Binomial, b);
        }
        return GiNaC::binomial(a, b).hold();  // of symbols, it stays (expand writes it out)
    }
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
    const char16_t* what = Words::nameOf(operation);
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
    if (!isExactly<GiNaC::numeric>(value) || !GiNaC::ex_to<GiNaC::numeric>(value).is_real()) {
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

// The 15-point Gauss-Kronrod rule on [-1, 1]: the nodes from 1 down to the
// middle, their Kronrod weights, and the weights of the 7-point Gauss rule
// on the odd nodes and the middle.
const char* const kNodes[] = {"0.991455371120812639206854697526329", "0.949107912342758524526189684047851",
                              "0.864864423359769072789712788640926", "0.741531185599394439863864773280788",
                              "0.586087235467691130294144845693013", "0.405845151377397166906606412076961",
                              "0.207784955007898467600689403773245", "0"};
const char* const kKronrod[] = {"0.022935322010529224963732008058970", "0.063092092629978553290700663189204",
                                "0.104790010322250183839876322541518", "0.140653259715525918745189590510238",
                                "0.169004726639267902826583426598550", "0.190350578064785409913256402421014",
                                "0.204432940075298892414161999234649", "0.209482141084727828012999174891714"};
const char* const kGauss[] = {"0.129484966168869693270611432679082", "0.279705391489276667901467771423780",
                              "0.381830050505118944950369775488975", "0.417959183673469387755102040816327"};

GiNaC::numeric decimal(const char* text) { return GiNaC::ex_to<GiNaC::numeric>(GiNaC::numeric(text).evalf()); }

struct PieceS {
    GiNaC::numeric a;
    GiNaC::numeric b;
    GiNaC::numeric value;
    GiNaC::numeric error;
};

// Adaptive Gauss-Kronrod integration: the piece of the largest error is
// halved until the errors together are below the tolerance, within a budget
// of evaluations.
class IntegratorC {
public:
    IntegratorC(const GiNaC::ex& f, const GiNaC::symbol& x, double parts) : f(f), x(x) {
        for (std::size_t i = 0; i < 8; ++i) {
            nodes[i] = decimal(kNodes[i]);
            kronrod[i] = decimal(kKronrod[i]);
        }
        for (std::size_t i = 0; i < 4; ++i) {
            gauss[i] = decimal(kGauss[i]);
        }
        evaluations = static_cast<long>(kIntegrationWork / std::max(parts, 1.0));
    }

    GiNaC::numeric integral(const GiNaC::numeric& a, const GiNaC::numeric& b, long digits) {
        std::vector<PieceS> pieces{piece(a, b)};
        const GiNaC::numeric tolerance = GiNaC::pow(GiNaC::numeric(10), -GiNaC::numeric(digits));
        const auto larger = [](const PieceS& p, const PieceS& q) { return p.error < q.error; };
        for (;;) {
            GiNaC::numeric total = 0;
            GiNaC::numeric error = 0;
            for (const PieceS& p : pieces) {
                total += p.value;
                error += p.error;
            }
            if (error <= tolerance * GiNaC::abs(total) || error <= tolerance * tolerance) {
                return total;
            }
            if (evaluations < 30) {
                throw RefusalC(u"nintegrate: no value to " + count(static_cast<std::uint64_t>(digits)) +
                               u" digits within the evaluations the function's size allows");
            }
            std::pop_heap(pieces.begin(), pieces.end(), larger);
            const PieceS worst = pieces.back();
            pieces.pop_back();
            const GiNaC::numeric middle = (worst.a + worst.b) / 2;
            for (const PieceS& half : {piece(worst.a, middle), piece(middle, worst.b)}) {
                pieces.push_back(half);
                std::push_heap(pieces.begin(), pieces.end(), larger);
            }
        }
    }

private:
    GiNaC::numeric at(const GiNaC::numeric& point) {
        --evaluations;
        const GiNaC::ex v = f.subs(x == point).evalf();
        if (!isExactly<GiNaC::numeric>(v) || !GiNaC::ex_to<GiNaC::numeric>(v).is_real()) {
            throw misuse(OperationE::Nintegrate, u"the function has no real number at some point of the interval");
        }
        return GiNaC::ex_to<GiNaC::numeric>(v);
    }

    PieceS piece(const GiNaC::numeric& a, const GiNaC::numeric& b) {
        const GiNaC::numeric centre = (a + b) / 2;
        const GiNaC::numeric half = (b - a) / 2;
        const GiNaC::numeric middle = at(centre);
        GiNaC::numeric k = kronrod[7] * middle;
        GiNaC::numeric g = gauss[3] * middle;
        for (std::size_t i = 0; i < 7; ++i) {
            const GiNaC::numeric both = at(centre - half * nodes[i]) + at(centre + half * nodes[i]);
            k += kronrod[i] * both;
            if (i % 2 == 1) {
                g += gauss[i / 2] * both;
            }
        }
        return PieceS{a, b, k * half, GiNaC::abs((k - g) * half)};
    }

    const GiNaC::ex& f;
    const GiNaC::symbol& x;
    GiNaC::numeric nodes[8];
    GiNaC::numeric kronrod[8];
    GiNaC::numeric gauss[4];
    long evaluations;
};

// The integral to the session's digits, rounded to them: each digit written
// is computed (more than kIntegrationDigits are refused, not padded).
GiNaC::ex nintegrate(std::vector<GiNaC::ex>& arguments, unsigned long working_digits) {
    const GiNaC::symbol& x = numericFunction(OperationE::Nintegrate, arguments);
    const GiNaC::numeric a = endpoint(OperationE::Nintegrate, arguments[2]);
    const GiNaC::numeric b = endpoint(OperationE::Nintegrate, arguments[3]);
    const long asked = std::max(1l, static_cast<long>(working_digits - GinacEngineC::kGuardDigits));
    if (asked > kIntegrationDigits) {
        throw RefusalC(u"nintegrate: at most " + count(static_cast<std::uint64_t>(kIntegrationDigits)) +
                       u" digits, not " + count(static_cast<std::uint64_t>(asked)));
    }
    long digits = asked;
    GiNaC::numeric v = 0;
    if (!a.is_equal(b)) {
        try {
            IntegratorC integrator(arguments[0], x, partsOf(arguments[0]));
            v = integrator.integral(a, b, digits);
        } catch (const RefusalC&) {
            if (asked <= kFewestIntegrationDigits) {
                throw;
            }
            // Fewer digits within the same work, and the shortfall said.
            digits = kFewestIntegrationDigits;
            IntegratorC integrator(arguments[0], x, partsOf(arguments[0]));
            v = integrator.integral(a, b, digits);
            shortfallNote() = u"unchecked: nintegrate: " + count(static_cast<std::uint64_t>(digits)) +
                              u" correct digits, not " + count(static_cast<std::uint64_t>(asked)) +
                              u" (the evaluations the function's size allows)";
        }
    }
    if (v.is_zero() || GiNaC::abs(v) < GiNaC::pow(GiNaC::numeric(10), -GiNaC::numeric(2 * digits))) {
        return GiNaC::numeric(cln::cl_float(0, cln::float_format(static_cast<std::uintptr_t>(digits))));  // zero to the digits computed
    }
    // Rounded to the digits computed: those beyond are noise.
    const long scale = digits - 1 - static_cast<long>(std::floor(std::log10(std::fabs(v.to_double()))));
    const GiNaC::numeric ten = GiNaC::pow(GiNaC::numeric(10), GiNaC::numeric(scale));
    const GiNaC::numeric rounded(cln::round1(cln::the<cln::cl_R>((v * ten).to_cl_N())));
    return GiNaC::ex(rounded / ten).evalf();
}

// The shortest text of x that reads back as its double; a rational as it is.
std::u16string shortText(const GiNaC::numeric& x) {
    if (x.is_rational() && x.numer().to_double() < 1e15 && x.denom().to_double() < 1e15) {
        std::ostringstream text;
        text << x;
        return Utf8C::toUtf16(text.str());
    }
    return support::DoubleValueC::format(x.to_double());
}

// An end of the interval as given: a rational stays one.
std::u16string endText(const GiNaC::ex& e) {
    return isExactly<GiNaC::numeric>(e) ? shortText(GiNaC::ex_to<GiNaC::numeric>(e))
                                                  : shortText(endpoint(OperationE::Nsolve, e));
}

// A change of sign is a root only where the function gets small: the
// residual must be below the ends' values by half the digits. At a pole
// (tan at pi/2) it grows far beyond them instead: refused, naming the
// innermost function that is that large there; otherwise the sign changes
// in a jump, or faster than the digits resolve: refused too.
void checkRoot(const std::vector<GiNaC::ex>& arguments, const GiNaC::symbol& x, const GiNaC::numeric& root,
               const GiNaC::numeric& residual, const GiNaC::numeric& scale, unsigned long digits) {
    const GiNaC::numeric size = std::max(scale, GiNaC::numeric(1));
    const GiNaC::numeric allowed = size * GiNaC::pow(GiNaC::numeric(10), -GiNaC::numeric(static_cast<long>(digits / 2)));
    if (residual <= allowed) {
        return;
    }
    const std::u16string where = u"no root in [" + endText(arguments[2]) + u", " + endText(arguments[3]) + u"]: ";
    if (residual < size * 1000) {
        throw RefusalC(where + u"the function changes sign at " + shortText(root) + u" but is " +
                       support::DoubleValueC::format(residual.to_double(), 3) + u" there, not near zero (a jump, or steeper than " +
                       count(static_cast<std::uint64_t>(digits)) + u" digits resolve)");
    }
    std::u16string culprit = u"the function";
    for (auto part = arguments[0].postorder_begin(); part != arguments[0].postorder_end(); ++part) {
        if (!GiNaC::is_a<GiNaC::function>(*part) && !GiNaC::is_a<GiNaC::power>(*part)) {
            continue;
        }
        const GiNaC::ex v = part->subs(x == root).evalf();
        if (isExactly<GiNaC::numeric>(v) && GiNaC::abs(GiNaC::ex_to<GiNaC::numeric>(v)) * 10 >= residual) {
            if (GiNaC::is_a<GiNaC::function>(*part)) {
                culprit = Utf8C::toUtf16(GiNaC::ex_to<GiNaC::function>(*part).get_name());
            }
            break;
        }
    }
    throw RefusalC(where + culprit + u" has a pole at " + shortText(root));
}

// A root by the Illinois variant of regula falsi: the interval keeps a
// change of sign and shrinks every step.
GiNaC::ex nsolve(std::vector<GiNaC::ex>& arguments, unsigned long digits) {
    const GiNaC::symbol& x = numericFunction(OperationE::Nsolve, arguments);
    GiNaC::numeric a = endpoint(OperationE::Nsolve, arguments[2]);
    GiNaC::numeric b = endpoint(OperationE::Nsolve, arguments[3]);
    const auto at = [&](const GiNaC::numeric& point) {
        const GiNaC::ex v = arguments[0].subs(x == point).evalf();
        if (!isExactly<GiNaC::numeric>(v) || !GiNaC::ex_to<GiNaC::numeric>(v).is_real()) {
            throw misuse(OperationE::Nsolve, u"the function must be real on the interval");
        }
        return GiNaC::ex_to<GiNaC::numeric>(v);
    };
    GiNaC::numeric fa = at(a);
    GiNaC::numeric fb = at(b);
    if (!fa.is_zero() && !fb.is_zero() && fa.is_positive() == fb.is_positive()) {
        throw misuse(OperationE::Nsolve, u"the function must change sign between the ends of the interval");
    }
    const GiNaC::numeric scale = std::max(GiNaC::abs(fa), GiNaC::abs(fb));
    const GiNaC::numeric tolerance = GiNaC::pow(GiNaC::numeric(10), -GiNaC::numeric(static_cast<long>(digits)));
    int side = 0;
    const double steps = std::min(static_cast<double>(kMaxRootSteps), kIntegrationWork / partsOf(arguments[0]));
    for (int step = 0; step < steps && !fa.is_zero() && !fb.is_zero(); ++step) {
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
    const GiNaC::numeric root = fa.is_zero() ? a : fb.is_zero() ? b : GiNaC::abs(fa) < GiNaC::abs(fb) ? a : b;
    checkRoot(arguments, x, root, GiNaC::abs(at(root)), scale, digits);  // fa and fb may be halved
    return root;
}

}  // namespace

GiNaC::ex binomialProducts(const GiNaC::ex& e) {
    GiNaC::exmap products;
    GinacWalkerTC<unsigned char> walker;
    walker.run(e, [](const GiNaC::ex&) { return true; },
               [&products](const GiNaC::ex& part, const unsigned char*, std::size_t) -> unsigned char {
                   if (!GiNaC::is_the_function<GiNaC::binomial_SERIAL>(part) ||
                       !isExactly<GiNaC::numeric>(part.op(1))) {
                       return 0;
                   }
                   const GiNaC::numeric& k = GiNaC::ex_to<GiNaC::numeric>(part.op(1));
                   if (!k.is_integer() || k > kMaxBinomialFactors || isExactly<GiNaC::numeric>(part.op(0))) {
                       return 0;
                   }
                   GiNaC::ex product = k.is_negative() ? 0 : 1;
                   for (long i = 0; i < k.to_long(); ++i) {
                       product = product * (part.op(0) - i) / (i + 1);
                   }
                   products[part] = product;
                   return 0;
               });
    return products.empty() ? e : e.subs(products, GiNaC::subs_options::no_pattern);
}

std::u16string& shortfallNote() {
    static thread_local std::u16string note;
    return note;
}

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
            return nintegrate(arguments, digits);
        case OperationE::Nsolve:
            return nsolve(arguments, digits);
        default:
            throw misuse(operation, u"not an operation on numbers");
    }
}

}  // namespace qorv::math::algexpr::ginac::detail
