// SPDX-License-Identifier: MIT
#include "Operations.h"

#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <new>
#include <string>

#include "NumberTextC.h"
#include "PolynomialRootsC.h"
#include "Refusal.h"
#include "algexpr/Utf8C.h"
#include "algexpr/giac/GiacEngineC.h"

namespace qorv::math::algexpr::giac::detail {

using ::giac::gen;
using ::giac::makesequence;

namespace {

// The most periods of a trigonometric integrand that a definite integral
// checks for singular points.
constexpr double kMaxPeriods = 1000;

std::u16string named(OperationE operation) { return Words::nameOf(operation); }

RefusalC misuse(OperationE operation, const char16_t* what) { return RefusalC(named(operation) + u": " + what); }

const gen& variable(OperationE operation, const gen& g) {
    if (g.type != ::giac::_IDNT) {
        throw misuse(operation, u"the variable must be a symbol");
    }
    return g;
}

long wholeNumber(OperationE operation, const gen& g, long low, long high, const char16_t* what) {
    if (g.type != ::giac::_INT_ || g.val < low || g.val > high) {
        throw RefusalC(named(operation) + u": " + what + u" must be a whole number from " +
                       Utf8C::toUtf16(std::to_string(low)) + u" to " + Utf8C::toUtf16(std::to_string(high)));
    }
    return g.val;
}

bool isHead(const gen& g, const char* name) {
    return g.type == ::giac::_SYMB && std::string(g._SYMBptr->sommet.ptr()->s) == name;
}

// Whether any part of g satisfies `test`, by a walk with an explicit stack.
template <class Test>
bool containsPart(const gen& g, Test test) {
    std::vector<gen> stack{g};
    while (!stack.empty()) {
        const gen part = stack.back();
        stack.pop_back();
        if (test(part)) {
            return true;
        }
        if (part.type == ::giac::_SYMB) {
            stack.push_back(part._SYMBptr->feuille);
        } else if (part.type == ::giac::_VECT) {
            stack.insert(stack.end(), part._VECTptr->begin(), part._VECTptr->end());
        } else if (part.type == ::giac::_CPLX) {
            stack.push_back(part._CPLXptr[0]);
            stack.push_back(part._CPLXptr[1]);
        }
    }
    return false;
}

// A finite value: no infinity, undef, oscillation or unevaluated operation.
bool isFinite(const gen& g) {
    return !containsPart(g, [](const gen& part) {
        if (part.type == ::giac::_IDNT) {
            const std::string name = part._IDNTptr->id_name;
            return name == "infinity" || name == "undef";
        }
        return isHead(part, "bounded_function") || isHead(part, "limit") || isHead(part, "integrate");
    });
}

// A real number, as a double, when g is one (after evaluation to floats).
bool realNumber(const gen& g, double& value, ::giac::context* context) {
    bool complex = false;
    return approximate(g, value, complex, context);
}

// Refuses powers of numbers whose exact value would exceed the digits allowed.
void checkPower(const gen& base, const gen& exponent, std::size_t max_digits) {
    const auto digitsOf = [](const gen& g) -> double {
        if (g.type == ::giac::_INT_) {
            return g.val == 0 ? 0.0 : std::log10(std::fabs(static_cast<double>(g.val)));
        }
        if (g.type == ::giac::_ZINT) {
            return static_cast<double>(mpz_sizeinbase(*g._ZINTptr, 10));
        }
        return -1.0;
    };
    double size = digitsOf(base);
    if (base.type == ::giac::_FRAC) {
        size = std::max(digitsOf(base._FRACptr->num), digitsOf(base._FRACptr->den));
    }
    const double times = exponent.type == ::giac::_INT_   ? std::fabs(static_cast<double>(exponent.val))
                         : exponent.type == ::giac::_ZINT ? 1e300
                                                          : 0.0;
    if (size > 0.0 && times * size > static_cast<double>(max_digits)) {
        throw RefusalC(u"power: the exact result would have more than " +
                       Utf8C::toUtf16(std::to_string(max_digits)) + u" digits");
    }
}

gen sequence(const std::vector<gen>& arguments) { return vectorOf(arguments, ::giac::_SEQ__VECT); }

}  // namespace

namespace {

// A one-sided limit (direction 1 from above, -1 from below, 0 for Giac's own
// at an infinity), refused when it does not exist.
gen limitOf(const gen& f, const gen& x, const gen& a, int direction, ::giac::context* context) {
    const gen result = direction == 0 ? ::giac::_limit(makesequence(f, x, a), context)
                                      : ::giac::_limit(makesequence(f, x, a, gen(direction)), context);
    if (isHead(result, "bounded_function")) {
        throw RefusalC(u"limit: no value, the function oscillates without a limit");
    }
    if (containsPart(result, [](const gen& part) {
            return part.type == ::giac::_IDNT && std::string(part._IDNTptr->id_name) == "undef";
        })) {
        throw RefusalC(u"limit: no value, Giac finds the limit undefined");
    }
    return result;
}

bool isInfinity(const gen& g) {
    return ::giac::is_inf(g);
}

gen limit(std::vector<gen>& arguments, ::giac::context* context) {
    const gen& f = arguments[0];
    const gen& x = variable(OperationE::Limit, arguments[1]);
    const gen& a = arguments[2];
    if (arguments.size() == 4) {
        const long direction = wholeNumber(OperationE::Limit, arguments[3], -1, 1, u"the direction");
        if (direction == 0) {
            throw misuse(OperationE::Limit, u"the direction must be 1 (from above) or -1 (from below)");
        }
        return limitOf(f, x, a, static_cast<int>(direction), context);
    }
    if (isInfinity(a)) {
        return limitOf(f, x, a, 0, context);
    }
    const gen above = limitOf(f, x, a, 1, context);
    const gen below = limitOf(f, x, a, -1, context);
    const bool same = above == below || (isFinite(above) && isFinite(below) &&
                                         ::giac::is_zero(::giac::_simplify(above - below, context), context));
    if (!same) {
        throw RefusalC(u"limit: no value, the limits from above and from below differ");
    }
    return above;
}

// The antiderivative's limit at a bound of a piece, which must be finite.
gen boundValue(const gen& antiderivative, const gen& x, const gen& at, int direction, ::giac::context* context) {
    const gen value = limitOf(antiderivative, x, at, isInfinity(at) ? 0 : direction, context);
    if (!isFinite(value)) {
        throw RefusalC(u"integrate: no value, the integral diverges");
    }
    return value;
}

// Whether f may have singular points that repeat with a period: a
// trigonometric function anywhere but in sums, products, whole positive
// powers and entire functions of its own (sin(x)/x has its one singular
// point at 0; 1/sin(x), tan(x) and log(sin(x)) have one every pi).
bool periodicSingularities(const gen& f) {
    // A part, and whether everything around it is entire (a size_t beside
    // it: Giac reads a gen as an aligned 64-bit word).
    std::vector<std::pair<gen, std::size_t>> stack{{f, 1}};
    while (!stack.empty()) {
        const gen part = stack.back().first;
        const bool entire = stack.back().second != 0;
        stack.pop_back();
        if (part.type == ::giac::_VECT) {
            for (const gen& g : *part._VECTptr) {
                stack.emplace_back(g, entire);
            }
            continue;
        }
        if (part.type != ::giac::_SYMB) {
            continue;
        }
        const bool trigonometric = isHead(part, "sin") || isHead(part, "cos") || isHead(part, "tan");
        if (trigonometric && (!entire || isHead(part, "tan"))) {
            return true;
        }
        const gen& operand = part._SYMBptr->feuille;
        if (isHead(part, "^") && operand.type == ::giac::_VECT && operand._VECTptr->size() == 2) {
            const gen& exponent = operand._VECTptr->back();
            stack.emplace_back(operand._VECTptr->front(), entire && exponent.type == ::giac::_INT_ && exponent.val > 0);
            stack.emplace_back(exponent, entire);
            continue;
        }
        const bool keeps = isHead(part, "+") || isHead(part, "*") || isHead(part, "-") || isHead(part, "exp") ||
                           isHead(part, "sin") || isHead(part, "cos") || isHead(part, "sinh") || isHead(part, "cosh");
        stack.emplace_back(operand, entire && keeps);
    }
    return false;
}

gen definiteIntegral(const gen& f, const gen& x, const gen& a, const gen& b, ::giac::context* context) {
    double low = 0.0;
    double high = 0.0;
    const bool numeric = (isInfinity(a) || realNumber(a, low, context)) && (isInfinity(b) || realNumber(b, high, context));
    low = ::giac::is_inf(a) ? (::giac::is_positive(a, context) ? HUGE_VAL : -HUGE_VAL) : low;
    high = ::giac::is_inf(b) ? (::giac::is_positive(b, context) ? HUGE_VAL : -HUGE_VAL) : high;
    if (numeric && low > high) {
        return -definiteIntegral(f, x, b, a, context);
    }
    const gen antiderivative = ::giac::_integrate(makesequence(f, x), context);
    if (!numeric || !isFinite(antiderivative)) {
        // No antiderivative to check against (or bounds that cannot be
        // ordered): Giac's own value, when it is finite.
        const gen value = ::giac::_integrate(makesequence(f, x, a, b), context);
        // integrate stays exact: no numeric value in place of a closed form,
        // whose digits no one could tell from exact ones; the reason names
        // the numeric integral, which refuses divergent ones itself.
        if (!isFinite(value)) {
            throw RefusalC(u"integrate: no closed form (the integral may also diverge); "
                           u"nintegrate(f,x,a,b) with the GiNaC engine gives its value numerically");
        }
        if (numeric && !::giac::find_singularities(f, *x._IDNTptr, 0, context).empty()) {
            throw RefusalC(u"integrate: no antiderivative to check for divergence at the integrand's singular points; "
                           u"nintegrate(f,x,a,b) with the GiNaC engine gives its value numerically where it converges");
        }
        return value;
    }
    // The singular points of f strictly between the bounds, in order. Giac
    // gives those of periodic functions in one period only: where f has
    // trigonometric functions, each is repeated every pi (a point where f is
    // in fact regular only splits the integral once more).
    const bool periodic = periodicSingularities(f);
    std::vector<std::pair<double, gen>> inner;
    for (const gen& point : ::giac::find_singularities(f, *x._IDNTptr, 0, context)) {
        double where = 0.0;
        if (!realNumber(point, where, context)) {
            continue;
        }
        const bool bounded = std::isfinite(low) && std::isfinite(high);
        const double first = periodic && bounded ? std::ceil((low - where) / M_PI) : 0.0;
        const double last = periodic && bounded ? std::floor((high - where) / M_PI) : 0.0;
        if (last - first > static_cast<double>(kMaxPeriods) || (periodic && !bounded)) {
            throw RefusalC(u"integrate: too many periods of a periodic integrand to check for divergence");
        }
        for (double k = first; k <= last; k += 1.0) {
            const double shifted = where + k * M_PI;
            if (shifted > low && shifted < high) {
                inner.emplace_back(shifted, k == 0.0 ? point : point + gen(static_cast<long long>(k)) * ::giac::cst_pi);
            }
        }
    }
    std::sort(inner.begin(), inner.end(), [](const auto& p, const auto& q) { return p.first < q.first; });
    std::vector<gen> bounds{a};
    for (const auto& point : inner) {
        bounds.push_back(point.second);
    }
    bounds.push_back(b);
    gen total(0);
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        total = total + boundValue(antiderivative, x, bounds[k + 1], -1, context) -
                boundValue(antiderivative, x, bounds[k], 1, context);
    }
    // It converges. Giac's own value also mends jumps that an antiderivative
    // can have where f is regular; the sum of the pieces stands in when
    // Giac has none.
    const gen value = ::giac::_integrate(makesequence(f, x, a, b), context);
    return isFinite(value) ? value : ::giac::_simplify(total, context);
}

gen integrate(std::vector<gen>& arguments, ::giac::context* context) {
    const gen& x = variable(OperationE::Integrate, arguments[1]);
    if (arguments.size() == 2) {
        return ::giac::_integrate(makesequence(arguments[0], x), context);
    }
    return definiteIntegral(arguments[0], x, arguments[2], arguments[3], context);
}

// Whether solve gives complex solutions too (the worker's evaluation's setting).
thread_local bool complex_solutions = false;

// Whether a part is a float or a root Giac names through rootof: a value
// known only approximately.
bool floatOrRootOf(const gen& part) {
    return part.type == ::giac::_DOUBLE_ || part.type == ::giac::_REAL || isHead(part, "rootof");
}

// A solution Giac names through rootof, as a real float (an imaginary part
// left by rounding dropped), or with complex solutions a complex one; other
// solutions as they are. With `certified` (the roots of the equation's
// polynomial), the float is the double nearest the root itself, and a root
// that cannot be so matched is refused.
gen solution(const gen& s, ::giac::context* context, PolynomialRootsC* certified = nullptr) {
    if (certified != nullptr && containsPart(s, floatOrRootOf)) {
        double re = 0.0;
        double im = 0.0;
        if (!approximateParts(s, re, im, context) || !certified->nearest(re, im, !complex_solutions, re, im)) {
            throw RefusalC(u"solve: a root Giac gives only as a float, which could not be matched to a root "
                           u"isolated exactly");
        }
        const gen real = gen(::giac::real_object(re));
        return im == 0.0 ? real : real + ::giac::cst_i * gen(::giac::real_object(im));
    }
    if (!containsPart(s, [](const gen& part) { return isHead(part, "rootof"); })) {
        return s;
    }
    double value = 0.0;
    if (realNumber(s, value, context)) {
        return gen(::giac::real_object(value));
    }
    double imaginary = 0.0;
    if (complex_solutions && approximateParts(s, value, imaginary, context)) {
        return gen(::giac::real_object(value)) + ::giac::cst_i * gen(::giac::real_object(imaginary));
    }
    throw RefusalC(u"solve: a solution that can be named only as a root of a polynomial, and not as a float");
}

// The solutions as a list, by their real values (key) where `ordered`.
template <class KeyT>
gen listOf(std::vector<std::pair<KeyT, gen>>& solutions, bool ordered) {
    if (ordered) {
        std::stable_sort(solutions.begin(), solutions.end(),
                         [](const auto& p, const auto& q) { return p.first < q.first; });
    }
    ::giac::vecteur list;
    for (const auto& s : solutions) {
        list.push_back(s.second);
    }
    return gen(list, 0);
}

// Giac's solve, in complex mode for the evaluation when complex solutions
// are asked for (restored after, whatever happens).
gen solveIn(const gen& arguments, ::giac::context* context) {
    if (!complex_solutions) {
        return ::giac::_solve(arguments, context);
    }
    struct Restored {
        ::giac::context* context;
        bool before;
        ~Restored() { ::giac::complex_mode(before, context); }
    } restored{context, ::giac::complex_mode(context)};
    ::giac::complex_mode(true, context);
    return ::giac::_solve(arguments, context);
}

// The key a solution sorts by: its real value; with complex solutions its
// real part, then its imaginary part. False when it is no number.
bool sortKey(const gen& value, std::vector<double>& key, ::giac::context* context) {
    double re = 0.0;
    double im = 0.0;
    if (!complex_solutions) {
        key.push_back(0.0);
        return realNumber(value, key.back(), context);
    }
    if (!approximateParts(value, re, im, context)) {
        return false;
    }
    key.push_back(re);
    key.push_back(im);
    return true;
}

// solve(list(equations...), list(variables...)): each solution a list of
// the variables' values in their order; the solutions in ascending order of
// those values where all are real (or, with complex solutions, numbers).
gen solveSystem(const gen& equations, const gen& variables, ::giac::context* context) {
    if (equations.type != ::giac::_VECT || variables._VECTptr->empty()) {
        throw misuse(OperationE::Solve, u"a list of variables needs a list of equations");
    }
    for (const gen& x : *variables._VECTptr) {
        variable(OperationE::Solve, x);
    }
    const gen found = solveIn(makesequence(gen(*equations._VECTptr, 0), gen(*variables._VECTptr, 0)), context);
    if (found.type != ::giac::_VECT) {
        throw RefusalC(u"solve: Giac gives no list of solutions");
    }
    std::vector<std::pair<std::vector<double>, gen>> solutions;
    bool ordered = true;
    for (const gen& s : *found._VECTptr) {
        if (s.type != ::giac::_VECT || s._VECTptr->size() != variables._VECTptr->size()) {
            throw RefusalC(u"solve: Giac gives a solution that is not a value for each variable");
        }
        ::giac::vecteur values;
        std::vector<double> where;
        for (const gen& v : *s._VECTptr) {
            const ::giac::vecteur& names = *variables._VECTptr;
            if (containsPart(v, [&names](const gen& part) {
                    return part.type == ::giac::_IDNT && std::find(names.begin(), names.end(), part) != names.end();
                })) {
                throw RefusalC(u"solve: no single values, the solutions depend on a variable");
            }
            values.push_back(solution(v, context));
            ordered = ordered && sortKey(values.back(), where, context);
        }
        solutions.emplace_back(std::move(where), gen(values, 0));
    }
    return listOf(solutions, ordered);
}

// f - g of an equation f = g, else the expression itself.
gen zeroSide(const gen& f) {
    if (f.is_symb_of_sommet(::giac::at_equal) && f._SYMBptr->feuille.type == ::giac::_VECT &&
        f._SYMBptr->feuille._VECTptr->size() == 2) {
        return (*f._SYMBptr->feuille._VECTptr)[0] - (*f._SYMBptr->feuille._VECTptr)[1];
    }
    return f;
}

bool isRational(const gen& g) {
    return g.type == ::giac::_INT_ || g.type == ::giac::_ZINT ||
           (g.type == ::giac::_FRAC && g._FRACptr->num.type != ::giac::_CPLX && g._FRACptr->den.type != ::giac::_CPLX);
}

// The real cube root of w, whose sign is `sign` (1 or -1): sign * |w|^(1/3).
gen realCubeRoot(const gen& w, int sign, ::giac::context* context) {
    return gen(sign) * ::giac::pow(gen(sign) * w, gen(1) / gen(3), context);
}

// The real root, by Cardano's formula with real radicals, of each cubic
// factor over the rationals of f (an expression or an equation) in x that
// has one real root (the other two complex): with x = t - b/(3a), t^3 + p t
// + q = 0 and D = q^2/4 + p^3/27 > 0, t = cbrt(-q/2 + sqrt(D)) +
// cbrt(-q/2 - sqrt(D)), each cube root real (u*v = -p^3/27 gives their
// signs). Cubics with three real roots would need complex radicals: none.
std::vector<gen> realCubicRoots(const gen& f, const gen& x, ::giac::context* context) {
    const gen g = zeroSide(f);
    std::vector<gen> roots;
    const gen factors = ::giac::_factors(g, context);
    if (factors.type != ::giac::_VECT) {
        return roots;
    }
    for (std::size_t i = 0; i < factors._VECTptr->size(); i += 2) {
        const gen coefficients = ::giac::_coeff(makesequence((*factors._VECTptr)[i], x), context);
        if (coefficients.type != ::giac::_VECT || coefficients._VECTptr->size() != 4) {
            continue;
        }
        const ::giac::vecteur& c = *coefficients._VECTptr;  // highest degree first
        if (!isRational(c[0]) || !isRational(c[1]) || !isRational(c[2]) || !isRational(c[3]) ||
            ::giac::is_zero(c[0], context)) {
            continue;
        }
        const gen& a = c[0];
        const gen& b = c[1];
        const gen p = (gen(3) * a * c[2] - b * b) / (gen(3) * a * a);
        const gen q = (gen(2) * b * b * b - gen(9) * a * b * c[2] + gen(27) * a * a * c[3]) / (gen(27) * a * a * a);
        const gen d = q * q / gen(4) + p * p * p / gen(27);
        if (!::giac::is_strictly_positive(d, context)) {
            continue;
        }
        const int sign_p = ::giac::is_zero(p, context) ? 0 : ::giac::is_strictly_positive(p, context) ? 1 : -1;
        const int sign_q = ::giac::is_zero(q, context) ? 0 : ::giac::is_strictly_positive(q, context) ? 1 : -1;
        gen t;
        if (sign_p == 0) {
            t = realCubeRoot(-q, -sign_q, context);
        } else {
            const gen root_d = ::giac::sqrt(d, context);
            const gen u = -q / gen(2) + root_d;
            const gen v = -q / gen(2) - root_d;
            const int sign_u = sign_q <= 0 ? 1 : sign_p;
            const int sign_v = sign_q >= 0 ? -1 : -sign_p;
            t = realCubeRoot(u, sign_u, context) + realCubeRoot(v, sign_v, context);
        }
        roots.push_back(t - b / (gen(3) * a));
    }
    return roots;
}

gen solve(std::vector<gen>& arguments, ::giac::context* context) {
    if (arguments[1].type == ::giac::_VECT) {
        return solveSystem(arguments[0], arguments[1], context);
    }
    const gen& x = variable(OperationE::Solve, arguments[1]);
    const gen found = solveIn(makesequence(arguments[0], x), context);
    if (found.type != ::giac::_VECT) {
        throw RefusalC(u"solve: Giac gives no list of solutions");
    }
    std::vector<std::pair<std::vector<double>, gen>> solutions;
    bool ordered = true;
    // A root Giac names through rootof: the real root of a cubic factor in
    // radicals when one has its value, else a float.
    std::vector<std::pair<double, gen>> radicals;
    if (containsPart(found, [](const gen& part) { return isHead(part, "rootof"); })) {
        for (const gen& r : realCubicRoots(arguments[0], x, context)) {
            double value = 0.0;
            if (realNumber(r, value, context)) {
                radicals.emplace_back(value, r);
            }
        }
    }
    // The roots of the equation's polynomial, isolated exactly, for the
    // roots Giac gives only as floats.
    PolynomialRootsC certified;
    bool isolated = false;
    if (containsPart(found, floatOrRootOf)) {
        const gen coefficients = ::giac::_coeff(makesequence(::giac::_numer(zeroSide(arguments[0]), context), x), context);
        isolated = coefficients.type == ::giac::_VECT && certified.set(*coefficients._VECTptr);
        if (!isolated) {
            throw RefusalC(u"solve: Giac gives roots only as floats here, and their digits cannot be vouched "
                           u"for (the equation is no polynomial with rational coefficients); nsolve(f,x,a,b) finds "
                           u"a root in [a, b] to the digits asked");
        }
    }
    for (const gen& s : *found._VECTptr) {
        if (s == x) {
            throw RefusalC(u"solve: no value, every value of the variable is a solution");
        }
        gen value = solution(s, context, isolated ? &certified : nullptr);
        double approximate_value = 0.0;
        if (!radicals.empty() && value.type == ::giac::_REAL && realNumber(value, approximate_value, context)) {
            for (const auto& [known, exact] : radicals) {
                if (std::fabs(known - approximate_value) <= 1e-12 * std::max(1.0, std::fabs(known))) {
                    value = exact;
                    break;
                }
            }
        }
        std::vector<double> where;
        ordered = ordered && sortKey(value, where, context);
        solutions.emplace_back(std::move(where), value);
    }
    return listOf(solutions, ordered);
}

// The common denominator of the fractional exponents of the powers of u in
// f (sqrt(u) is u^(1/2)), at most `most` + 1.
long rootDenominator(const gen& f, const gen& u, long most) {
    long q = 1;
    containsPart(f, [&](const gen& part) {
        gen exponent;
        if (isHead(part, "sqrt") && part._SYMBptr->feuille == u) {
            exponent = gen(1) / gen(2);
        } else if (isHead(part, "^") && part._SYMBptr->feuille.type == ::giac::_VECT &&
                   part._SYMBptr->feuille._VECTptr->size() == 2 && part._SYMBptr->feuille._VECTptr->front() == u) {
            exponent = part._SYMBptr->feuille._VECTptr->back();
        }
        if (exponent.type == ::giac::_FRAC && exponent._FRACptr->den.type == ::giac::_INT_) {
            q = std::min(std::lcm(q, static_cast<long>(exponent._FRACptr->den.val)), most + 1);
        } else if (exponent.type == ::giac::_FRAC) {
            q = most + 1;
        }
        return q > most;
    });
    return q;
}

// Functions whose series from above differs from the one from below.
bool oneSided(const gen& f) {
    return containsPart(f, [](const gen& part) {
        return isHead(part, "abs") || isHead(part, "sign") || isHead(part, "floor") || isHead(part, "ceil") ||
               isHead(part, "max") || isHead(part, "min") || isHead(part, "re") || isHead(part, "im") ||
               isHead(part, "conj") || isHead(part, "arg") || isHead(part, "frac");
    });
}

// The degree in t of a term c*t^k (c free of t, k whole), false for any
// other shape (exp(1/t), ln(t)).
bool degreeIn(const gen& term, const gen& t, long& degree) {
    if (term == t) {
        degree = 1;
        return true;
    }
    degree = 0;
    if (!containsPart(term, [&t](const gen& p) { return p == t; })) {
        return true;
    }
    if (isHead(term, "*") && term._SYMBptr->feuille.type == ::giac::_VECT) {
        for (const gen& factor : *term._SYMBptr->feuille._VECTptr) {
            long k = 0;
            if (!degreeIn(factor, t, k)) {
                return false;
            }
            degree += k;
        }
        return true;
    }
    long k = 0;
    if (isHead(term, "-") && term._SYMBptr->feuille.type != ::giac::_VECT) {
        return degreeIn(term._SYMBptr->feuille, t, degree);
    }
    if (isHead(term, "inv") && degreeIn(term._SYMBptr->feuille, t, k)) {
        degree = -k;
        return true;
    }
    if (isHead(term, "^") && term._SYMBptr->feuille.type == ::giac::_VECT &&
        term._SYMBptr->feuille._VECTptr->size() == 2 && term._SYMBptr->feuille._VECTptr->back().type == ::giac::_INT_ &&
        term._SYMBptr->feuille._VECTptr->front() == t) {
        degree = term._SYMBptr->feuille._VECTptr->back().val;
        return true;
    }
    return false;
}

// The series in the local variable u (x - a; 1/x at infinity, -1/x at minus
// infinity): terms below u^n, then order(u^n). Giac's own series at
// infinity gives fewer terms than asked, and stops short where u has
// fractional powers: in those cases the series is Giac's in t = u^(1/q) from
// above (t > 0), q the common denominator of the fractional exponents,
// asked for more terms than needed, cut below t^(qn) and written back with
// t = u^(1/q).
// The terms of f's series in t at 0 (`parts`) with all those below t^wanted
// known: Giac may know fewer terms than it is asked for (its order term
// t^k*order_size(t) with k below the order asked), so it is asked for more
// until it does. True when the series is finite (no order term).
bool termsBelow(const gen& f, const gen& t, long wanted, long most, const std::u16string& none,
                std::vector<gen>& parts, ::giac::context* context) {
    for (long asked = wanted;; asked += std::max(2L, asked / 2)) {
        const gen expansion = ::giac::_series(makesequence(f, t, gen(0), gen(asked), gen(1)), context);
        parts.assign(1, expansion);
        if (isHead(expansion, "+") && expansion._SYMBptr->feuille.type == ::giac::_VECT) {
            parts.assign(expansion._SYMBptr->feuille._VECTptr->begin(), expansion._SYMBptr->feuille._VECTptr->end());
        }
        long known = std::numeric_limits<long>::max();
        for (const gen& part : parts) {
            if (containsPart(part, [](const gen& p) { return isHead(p, "order_size"); })) {
                const gen order_one = ::giac::symbolic(::giac::at_order_size, t);
                const gen rest = ::giac::_subst(makesequence(part, order_one, gen(1)), context);
                if (!degreeIn(rest, t, known)) {
                    throw RefusalC(none);
                }
            }
        }
        if (known >= wanted || asked >= 2 * most) {
            if (known < wanted) {
                throw RefusalC(u"series: Giac finds fewer terms than asked for");
            }
            return known == std::numeric_limits<long>::max();
        }
    }
}

gen series(std::vector<gen>& arguments, ::giac::context* context) {
    const gen& x = variable(OperationE::Series, arguments[1]);
    const long most = static_cast<long>(GiacEngineC::kMaxSeriesOrder);
    const long n = wholeNumber(OperationE::Series, arguments[3], 1, most, u"the order");
    const gen& a = arguments[2];
    const int infinite = isInfinity(a) ? (::giac::is_positive(a, context) ? 1 : -1) : 0;
    const gen u = infinite != 0 ? x : ::giac::_simplify(x - a, context);
    const long q = rootDenominator(arguments[0], u, most);
    const std::u16string none = u"series: no series in powers of the variable there (an essential singularity such "
                                u"as exp(1/x) at 0 or exp(x) at infinity, or a logarithmic branch point)";
    if (infinite == 0 && q == 1) {
        // Giac keeps the term of the order it is given and adds the next as
        // its order term: asking for n - 1 gives the terms below power n.
        const gen result = ::giac::_series(makesequence(arguments[0], x, a, gen(n - 1)), context);
        if (isHead(result, "order_size")) {
            throw RefusalC(none);  // Giac's order(1)
        }
        return result;
    }
    if (q * n > most) {
        throw RefusalC(u"series: the fractional powers of the variable ask for a series of order " +
                       Utf8C::toUtf16(std::to_string(q * n)) + u" in their common root; the limit is " +
                       Utf8C::toUtf16(std::to_string(most)));
    }
    if (q != 1 && oneSided(arguments[0])) {
        throw RefusalC(u"series: fractional powers of the variable beside abs, sign or a part of a complex number: "
                       u"no series in powers of a root of the variable on both sides");
    }
    const gen t(::giac::identificateur(" series root"));
    const gen power = q == 1 ? t : ::giac::pow(t, gen(q), context);
    const gen local = infinite != 0 ? gen(infinite) / power : a + power;
    const gen in_t = ::giac::_subst(makesequence(arguments[0], x, local), context);
    const long wanted = q * n;
    std::vector<gen> parts;
    const bool finite = termsBelow(in_t, t, wanted, most, none, parts, context);
    const gen back_u = infinite != 0 ? gen(infinite) / x : u;
    gen result(0);
    bool cut = false;
    for (const gen& part : parts) {
        if (containsPart(part, [](const gen& p) { return isHead(p, "order_size"); })) {
            continue;
        }
        long k = 0;
        if (!degreeIn(part, t, k)) {
            throw RefusalC(none);
        }
        if (k >= wanted) {
            cut = true;
            continue;
        }
        const gen coefficient = ::giac::_subst(makesequence(part, t, gen(1)), context);
        // (-1/x)^k is (-1)^k/x^k for a whole k.
        const gen written = infinite > 0 || q == 1 ? ::giac::pow(x, gen(-k) / gen(q), context)
                                                   : ::giac::pow(back_u, gen(k) / gen(q), context);
        const gen sign = infinite < 0 && q == 1 && k % 2 != 0 ? gen(-1) : gen(1);
        result = result + sign * coefficient * written;
    }
    if (finite && !cut) {
        return result;  // a finite sum: the series is the function itself
    }
    const gen order_term = (infinite != 0 ? ::giac::pow(x, gen(-n), context) : ::giac::pow(u, gen(n), context)) *
                           ::giac::symbolic(::giac::at_order_size, x);
    return result + order_term;
}

gen differentiate(std::vector<gen>& arguments, ::giac::context* context) {
    const gen& x = variable(OperationE::Diff, arguments[1]);
    const long n = arguments.size() == 3 ? wholeNumber(OperationE::Diff, arguments[2], 0,
                                                       static_cast<long>(GiacEngineC::kMaxDiffOrder), u"the order")
                                         : 1;
    gen result = arguments[0];
    for (long k = 0; k < n; ++k) {
        result = ::giac::_diff(makesequence(result, x), context);
    }
    return result;
}

}  // namespace

namespace {

// pdiff(g(a,...),k): the derivative of g by its k-th argument, as Giac
// writes it: g with a fresh variable t in place k, differentiated by t,
// then a put back for t.
gen pdiff(std::vector<gen>& arguments, ::giac::context* context) {
    const gen& call = arguments[0];
    if (!isHead(call, "of") || call._SYMBptr->feuille.type != ::giac::_VECT ||
        call._SYMBptr->feuille._VECTptr->size() != 2 || (*call._SYMBptr->feuille._VECTptr)[0].type != ::giac::_IDNT) {
        throw misuse(OperationE::Pdiff, u"the first argument must be an unknown function applied to arguments");
    }
    const gen& function = (*call._SYMBptr->feuille._VECTptr)[0];
    const gen& inner = (*call._SYMBptr->feuille._VECTptr)[1];
    std::vector<gen> parts;
    if (inner.type == ::giac::_VECT && inner.subtype == ::giac::_SEQ__VECT) {
        parts.assign(inner._VECTptr->begin(), inner._VECTptr->end());
    } else {
        parts.push_back(inner);
    }
    const long k = wholeNumber(OperationE::Pdiff, arguments[1], 1, static_cast<long>(parts.size()),
                               u"the argument position");
    const gen t(::giac::identificateur("algexpr_t"));
    const gen at = parts[static_cast<std::size_t>(k - 1)];
    parts[static_cast<std::size_t>(k - 1)] = t;
    const gen applied = ::giac::symbolic(
        ::giac::at_of, makesequence(function, parts.size() == 1 ? parts[0] : sequence(parts)));
    const gen derivative = ::giac::_diff(makesequence(applied, t), context);
    return ::giac::subst(derivative, t, at, false, context);
}

// quo(a,b[,x]) and rem(a,b[,x]): polynomial division in x, or in the one
// symbol of a and b (Giac's own default is the identifier x).
gen division(OperationE operation, std::vector<gen>& arguments, ::giac::context* context) {
    if (arguments.size() == 2) {
        const ::giac::vecteur symbols = *::giac::_lname(makesequence(arguments[0], arguments[1]), context)._VECTptr;
        if (symbols.size() > 1) {
            throw misuse(operation, u"name the variable: the polynomials have more than one symbol");
        }
        arguments.push_back(symbols.empty() ? gen(::giac::identificateur("algexpr_t")) : symbols[0]);
    }
    variable(operation, arguments[2]);
    return operation == OperationE::Quo ? ::giac::_quo(sequence(arguments), context)
                                        : ::giac::_rem(sequence(arguments), context);
}

// The elementary functions, unevaluated: the result is evaluated once, at
// the end (applying Giac's function now and evaluating again would do the
// work twice).
const ::giac::unary_function_ptr* elementary(OperationE operation) {
    switch (operation) {
        case OperationE::Sin:
            return ::giac::at_sin;
        case OperationE::Cos:
            return ::giac::at_cos;
        case OperationE::Tan:
            return ::giac::at_tan;
        case OperationE::Exp:
            return ::giac::at_exp;
        case OperationE::Log:
            return ::giac::at_ln;
        case OperationE::Sqrt:
            return ::giac::at_sqrt;
        case OperationE::Abs:
            return ::giac::at_abs;
        case OperationE::Asin:
            return ::giac::at_asin;
        case OperationE::Acos:
            return ::giac::at_acos;
        case OperationE::Atan:
            return ::giac::at_atan;
        case OperationE::Sinh:
            return ::giac::at_sinh;
        case OperationE::Cosh:
            return ::giac::at_cosh;
        case OperationE::Tanh:
            return ::giac::at_tanh;
        case OperationE::Conjugate:
            return ::giac::at_conj;
        case OperationE::RealPart:
            return ::giac::at_re;
        case OperationE::ImagPart:
            return ::giac::at_im;
        case OperationE::Csgn:
            // Giac's symbols are real, where csgn is the sign.
            return ::giac::at_sign;
        case OperationE::Step:
            return ::giac::at_Heaviside;
        case OperationE::Si:
            return ::giac::at_Si;
        case OperationE::Ci:
            return ::giac::at_Ci;
        case OperationE::Sec:
            return ::giac::at_sec;
        case OperationE::Csc:
            return ::giac::at_csc;
        case OperationE::Cot:
            return ::giac::at_cot;
        case OperationE::Asec:
            return ::giac::at_asec;
        case OperationE::Acsc:
            return ::giac::at_acsc;
        case OperationE::Acot:
            return ::giac::at_acot;
        case OperationE::Log10:
            return ::giac::at_log10;
        default:
            return nullptr;
    }
}

bool isWhole(const gen& g) { return g.type == ::giac::_INT_ || g.type == ::giac::_ZINT; }

// erf and erfc. Giac's evaluation does not end for floats far out (erf of
// 100000.0), and its erfc of a negative float is wrong there (0 at -30):
// beyond kMaxErfArgument a float gives the double the function is there,
// an exact value is refused; erfc of a negative float is 2 - erfc(-x).
constexpr double kMaxErfArgument = 1000.0;

gen errorFunction(OperationE operation, const gen& a, ::giac::context* context) {
    const bool complement = operation == OperationE::Erfc;
    const bool floating = a.type == ::giac::_REAL || a.type == ::giac::_DOUBLE_;
    double value = 0.0;
    bool complex = false;
    if (::giac::_lname(a, context)._VECTptr->empty() && approximate(a, value, complex, context) &&
        std::fabs(value) > kMaxErfArgument) {
        if (!floating) {
            throw misuse(operation, u"an exact argument beyond 1000 in size; write it as a float");
        }
        return gen(complement ? (value > 0.0 ? 0.0 : 2.0) : (value > 0.0 ? 1.0 : -1.0));
    }
    if (complement && floating && value < 0.0) {
        return gen(2) - ::giac::symbolic(::giac::at_erfc, -a);
    }
    return ::giac::symbolic(complement ? ::giac::at_erfc : ::giac::at_erf, a);
}

// Zeta of whole arguments beyond this is refused (exact values, through
// Bernoulli numbers, of as many digits).
constexpr int kMaxZetaArgument = 1000;

// gamma(n) of a whole n is (n-1)!, of half a whole number a product as long:
// refused before Giac computes one beyond the digits allowed.
void checkGammaArgument(OperationE operation, const gen& a, std::size_t max_digits) {
    double size = 0.0;
    if (a.type == ::giac::_ZINT) {
        size = 1e300;
    } else if (a.type == ::giac::_INT_) {
        size = std::fabs(static_cast<double>(a.val));
    } else if (a.type == ::giac::_FRAC && a._FRACptr->num.type == ::giac::_ZINT) {
        size = 1e300;
    } else if (a.type == ::giac::_FRAC && a._FRACptr->num.type == ::giac::_INT_ &&
               a._FRACptr->den.type == ::giac::_INT_ && a._FRACptr->den.val != 0) {
        size = std::fabs(static_cast<double>(a._FRACptr->num.val) / a._FRACptr->den.val);
    }
    if (size > 1.0 && std::lgamma(size + 1.0) / std::log(10.0) > static_cast<double>(max_digits)) {
        throw RefusalC(named(operation) + u": the exact result would have more than " +
                       Utf8C::toUtf16(std::to_string(max_digits)) + u" digits");
    }
}

// Giac decides floor, sign and comparisons of exact values with floats of
// its default precision (floor(10^15*pi) came out 11 too small): an exact
// value without symbols is decided here, with more digits than its
// magnitude, or refused when it lies too near the point in question.
constexpr int kDecisionDigits = 40;

bool isPlainNumber(const gen& g) {
    return g.type == ::giac::_INT_ || g.type == ::giac::_ZINT || g.type == ::giac::_FRAC ||
           g.type == ::giac::_DOUBLE_ || g.type == ::giac::_REAL;
}

// A constant real value (no symbols) at kDecisionDigits digits beyond its
// magnitude, and that magnitude's digits; false for anything else.
bool preciseValue(const gen& value, gen& precise, int& magnitude, ::giac::context* context) {
    if (!::giac::_lname(value, context)._VECTptr->empty()) {
        return false;
    }
    double rough = 0.0;
    bool complex = false;
    if (!approximate(value, rough, complex, context)) {
        return false;
    }
    magnitude = rough == 0.0 ? 0 : std::max(0, static_cast<int>(std::log10(std::fabs(rough))) + 1);
    if (magnitude > 10000) {
        return false;
    }
    const int digits = ::giac::decimal_digits(context);
    ::giac::decimal_digits(kDecisionDigits + magnitude, context);
    try {
        precise = ::giac::evalf(value, 1, context);
    } catch (...) {
        ::giac::decimal_digits(digits, context);
        throw;
    }
    ::giac::decimal_digits(digits, context);
    return precise.type == ::giac::_REAL || precise.type == ::giac::_DOUBLE_;
}

// The sign of a difference of precise values (from preciseValue): 1 or -1,
// or 0 when it is not clearly away from 0.
int signOfDifference(const gen& a, const gen& b, ::giac::context* context) {
    double value = 0.0;
    bool complex = false;
    if (!approximate(a - b, value, complex, context) || std::fabs(value) <= 1e-25) {
        return 0;
    }
    return value > 0.0 ? 1 : -1;
}

// floor(a) (ceil when `up`), held as Giac's call for symbolic values.
gen integerPart(OperationE operation, const gen& a, ::giac::context* context) {
    const bool up = operation == OperationE::Ceil;
    gen precise;
    int magnitude = 0;
    if (isPlainNumber(a) || !preciseValue(a, precise, magnitude, context)) {
        if (!isPlainNumber(a) && ::giac::_lname(a, context)._VECTptr->empty()) {
            throw misuse(operation, u"an exact value that cannot be evaluated precisely enough");
        }
        return ::giac::symbolic(up ? ::giac::at_ceil : ::giac::at_floor, a);
    }
    const gen below = ::giac::_floor(precise, context);
    if (signOfDifference(precise, below, context) <= 0 || signOfDifference(precise, below + gen(1), context) >= 0) {
        throw misuse(operation, u"the value is too near an integer to be decided");
    }
    return up ? below + gen(1) : below;
}

gen signOf(const gen& a, ::giac::context* context) {
    gen precise;
    int magnitude = 0;
    if (isPlainNumber(a) || !preciseValue(a, precise, magnitude, context)) {
        return ::giac::symbolic(::giac::at_sign, a);
    }
    const int sign = signOfDifference(precise, gen(0), context);
    if (sign == 0) {
        throw misuse(OperationE::Sign, u"the value is too near 0 to be decided");
    }
    return gen(sign);
}

// min or max of its arguments (one alone is itself); of constant values,
// the extreme one decided here.
gen extreme(OperationE operation, std::vector<gen>& arguments, ::giac::context* context) {
    if (arguments.size() == 1) {
        return arguments[0];
    }
    std::vector<gen> precise(arguments.size());
    bool constant = true;
    for (std::size_t i = 0; i < arguments.size() && constant; ++i) {
        int magnitude = 0;
        constant = isPlainNumber(arguments[i]) ? (precise[i] = arguments[i], true)
                                               : preciseValue(arguments[i], precise[i], magnitude, context);
    }
    if (!constant) {
        return ::giac::symbolic(operation == OperationE::Min ? ::giac::at_min : ::giac::at_max, sequence(arguments));
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == arguments[best]) {
            continue;
        }
        const gen difference = arguments[i] - arguments[best];
        const bool rational = difference.type == ::giac::_INT_ || difference.type == ::giac::_ZINT ||
                              difference.type == ::giac::_FRAC;
        const int sign = rational ? (::giac::is_strictly_positive(difference, context) ? 1 : -1)
                                  : signOfDifference(precise[i], precise[best], context);
        if (sign == 0) {
            throw misuse(operation, u"two values too near each other to be decided");
        }
        best = (sign > 0) == (operation == OperationE::Max) ? i : best;
    }
    return arguments[best];
}

// Whether Giac finds g positive at a glance (its fastsign, which reads the
// assumptions on the symbols): no proof is attempted.
bool provedPositive(const gen& g, ::giac::context* context) { return ::giac::fastsign(g, context) == 1; }

bool hasSymbol(const gen& g, ::giac::context* context) { return !::giac::_lname(g, context)._VECTptr->empty(); }

// ln(a) split where a is a product with positive factors that hold symbols,
// or a positive base with symbols to a real power; `split` tells whether it
// was. Recurses as deep as products and powers alternate, within the
// engine's depth limit, as Giac itself does.
gen splitLog(const gen& a, bool& split, ::giac::context* context) {
    split = false;
    if (a.is_symb_of_sommet(::giac::at_prod) && a._SYMBptr->feuille.type == ::giac::_VECT) {
        gen sum(0);
        gen rest(1);
        bool inner = false;
        for (const gen& factor : *a._SYMBptr->feuille._VECTptr) {
            if (provedPositive(factor, context)) {
                sum = sum + splitLog(factor, inner, context);
                split = split || hasSymbol(factor, context);
            } else {
                rest = rest * factor;
            }
        }
        if (split) {
            return ::giac::is_one(rest) ? sum : sum + ::giac::ln(rest, context);
        }
    } else if (a.is_symb_of_sommet(::giac::at_pow) && a._SYMBptr->feuille.type == ::giac::_VECT &&
               a._SYMBptr->feuille._VECTptr->size() == 2) {
        const gen& base = (*a._SYMBptr->feuille._VECTptr)[0];
        const gen& exponent = (*a._SYMBptr->feuille._VECTptr)[1];
        if (hasSymbol(base, context) && ::giac::is_real(exponent, context) && provedPositive(base, context)) {
            bool inner = false;
            split = true;
            return exponent * splitLog(base, inner, context);
        }
    }
    return ::giac::ln(a, context);
}

}  // namespace

// Each log met on a walk that stops at logs, its argument's own logs split
// first; then one substitution.
gen splitPositiveLogs(const gen& e, ::giac::context* context) {
    ::giac::vecteur from;
    ::giac::vecteur to;
    std::vector<gen> stack{e};
    while (!stack.empty()) {
        const gen part = stack.back();
        stack.pop_back();
        if (part.is_symb_of_sommet(::giac::at_ln)) {
            const gen& argument = part._SYMBptr->feuille;
            const gen inner = splitPositiveLogs(argument, context);
            bool split = false;
            const gen made = splitLog(inner, split, context);
            if (split || !::giac::operator_equal(inner, argument, context)) {
                from.push_back(part);
                to.push_back(made);
            }
        } else if (part.type == ::giac::_SYMB) {
            stack.push_back(part._SYMBptr->feuille);
        } else if (part.type == ::giac::_VECT) {
            stack.insert(stack.end(), part._VECTptr->begin(), part._VECTptr->end());
        }
    }
    return from.empty() ? e : ::giac::subst(e, from, to, false, context);
}

namespace {

// exp(3*log(2)) is 8, exp(log(2)/2) sqrt(2): exp(c*ln(r)) is r^c for a
// positive rational r and a rational c. False where a is no such product or
// r^c would pass the digits allowed (exp then stays).
bool powerOfLogarithm(const gen& a, std::size_t max_digits, gen& power, ::giac::context* context) {
    const auto rational = [](const gen& g) {
        return g.type == ::giac::_INT_ || g.type == ::giac::_ZINT || g.type == ::giac::_FRAC;
    };
    gen logarithm;
    int count = 0;
    containsPart(a, [&](const gen& part) {
        if (isHead(part, "ln")) {
            logarithm = part;
            ++count;
        }
        return count > 1;
    });
    if (count != 1 || !rational(logarithm._SYMBptr->feuille) ||
        !::giac::is_strictly_positive(logarithm._SYMBptr->feuille, context)) {
        return false;
    }
    const gen c = ::giac::ratnormal(a / logarithm, context);
    if (!rational(c)) {
        return false;
    }
    try {
        checkPower(logarithm._SYMBptr->feuille, c.type == ::giac::_FRAC ? c._FRACptr->num : c, max_digits);
    } catch (const RefusalC&) {
        return false;
    }
    power = ::giac::pow(logarithm._SYMBptr->feuille, c, context);
    return true;
}

gen unary(OperationE operation, const gen& a, std::size_t max_digits, ::giac::context* context) {
    gen power;
    if (operation == OperationE::Exp && powerOfLogarithm(a, max_digits, power, context)) {
        return power;
    }
    if (const ::giac::unary_function_ptr* function = elementary(operation)) {
        return ::giac::symbolic(function, a);
    }
    switch (operation) {
        case OperationE::Neg:
            return -a;
        case OperationE::Expand:
            return splitPositiveLogs(::giac::expand(binomialProducts(a, context), context), context);
        case OperationE::Simplify:
            return ::giac::_simplify(binomialProducts(a, context), context);
        case OperationE::Factor:
            return ::giac::_factor(binomialProducts(a, context), context);
        case OperationE::Factorial:
            // n! has about log10(n!) digits: refuse before Giac computes it.
            if (a.type == ::giac::_ZINT ||
                (a.type == ::giac::_INT_ && a.val > 1 && std::lgamma(a.val + 1.0) / std::log(10.0) > max_digits)) {
                throw RefusalC(u"factorial: the exact result would have more than " +
                               Utf8C::toUtf16(std::to_string(max_digits)) + u" digits");
            }
            return ::giac::_factorial(a, context);
        case OperationE::Gamma:
        case OperationE::Lgamma:
            // gamma(n) is (n-1)!: the same bound.
            checkGammaArgument(operation, a, max_digits);
            if (operation == OperationE::Gamma && (a.type == ::giac::_REAL || a.type == ::giac::_DOUBLE_) &&
                ::giac::is_strictly_positive(-a, context)) {
                // Giac leaves gamma of a negative float as it is: by the
                // reflection formula, pi/(sin(pi*x)*gamma(1-x)).
                return ::giac::cst_pi / (::giac::symbolic(::giac::at_sin, ::giac::cst_pi * a) *
                                         ::giac::symbolic(::giac::at_Gamma, gen(1) - a));
            }
            // lgamma as log(gamma(x)): the same for x > 0, where it is defined.
            return operation == OperationE::Gamma
                       ? ::giac::symbolic(::giac::at_Gamma, a)
                       : ::giac::symbolic(::giac::at_ln, ::giac::symbolic(::giac::at_Gamma, a));
        case OperationE::Zeta:
            // zeta of an even whole number is exact, through a Bernoulli number.
            if (a.type == ::giac::_ZINT || (a.type == ::giac::_INT_ && std::abs(a.val) > kMaxZetaArgument)) {
                throw misuse(operation, u"an exact value for whole arguments of at most 1000 in size only");
            }
            return ::giac::symbolic(::giac::at_Zeta, a);
        case OperationE::Erf:
        case OperationE::Erfc:
            return errorFunction(operation, a, context);
        case OperationE::Floor:
        case OperationE::Ceil:
            return integerPart(operation, a, context);
        case OperationE::Frac:
            return a - integerPart(OperationE::Floor, a, context);
        case OperationE::Sign:
            return signOf(a, context);
        case OperationE::Order:
            throw misuse(operation, u"order terms are results of series, not input of the Giac engine");
        default:
            throw misuse(operation, u"not a function of one argument");
    }
}

}  // namespace

namespace {

// g evaluated to a float with `digits` digits, Giac's setting restored.
gen evalfAt(const gen& g, int digits, ::giac::context* context) {
    const int saved = ::giac::decimal_digits(context);
    ::giac::decimal_digits(digits, context);
    gen result;
    try {
        result = ::giac::evalf(g, 1, context);
    } catch (...) {
        ::giac::decimal_digits(saved, context);
        throw;
    }
    ::giac::decimal_digits(saved, context);
    return result;
}

}  // namespace

bool approximate(const gen& value, double& real, bool& complex, ::giac::context* context) {
    double im = 0.0;
    complex = false;
    if (!approximateParts(value, real, im, context)) {
        return false;
    }
    complex = std::fabs(im) > 1e-20 * std::max(1.0, std::fabs(real));
    return !complex;
}

bool approximateParts(const gen& value, double& real, double& im, ::giac::context* context) {
    // Giac's doubles lose their last bits to its type tag, and its floats at
    // its default 12 digits are off further: evaluate with more digits and
    // round each part to a double once.
    const gen result = evalfAt(value, kApproximationDigits, context);
    const auto toDouble = [](const gen& part, double& out) {
        switch (part.type) {
            case ::giac::_REAL:
                out = part._REALptr->evalf_double();
                return true;
            case ::giac::_DOUBLE_:
                out = part._DOUBLE_val;
                return true;
            case ::giac::_INT_:
                out = part.val;
                return true;
            case ::giac::_ZINT:
                out = mpz_get_d(*part._ZINTptr);
                return true;
            default:
                return false;
        }
    };
    im = 0.0;
    if (result.type != ::giac::_CPLX) {
        return toDouble(result, real) && std::isfinite(real);
    }
    // The parts as values of our own, on 8-byte boundaries: inside Giac's
    // complex numbers they are not, though Giac reads them as 8-byte words.
    alignas(8) const gen re_part = ::giac::re(result, context);
    alignas(8) const gen im_part = ::giac::im(result, context);
    return toDouble(re_part, real) && toDouble(im_part, im) && std::isfinite(real) && std::isfinite(im);
}

void setComplexSolutions(bool on) { complex_solutions = on; }

namespace {

// The digits of g evaluated at `precision` digits, rounded to `count`
// (normalised); false when it is no real number.
bool digitsAt(const gen& g, int precision, unsigned long count, bool& negative, std::string& digits,
              std::int64_t& exponent, bool& complex, ::giac::context* context) {
    gen result = evalfAt(g, precision, context);
    complex = false;
    if (result.type == ::giac::_CPLX) {
        alignas(8) const gen im_part = ::giac::im(result, context);
        if (!::giac::is_zero(im_part, context)) {
            complex = true;
            return false;
        }
        result = ::giac::re(result, context);
    }
    if (result.type == ::giac::_INT_ || result.type == ::giac::_ZINT || result.type == ::giac::_DOUBLE_) {
        result = gen(::giac::real_object(result, static_cast<unsigned int>(precision * 3.33 + 8)));
    }
    if (result.type != ::giac::_REAL || !mpfr_number_p(result._REALptr->inf)) {
        return false;
    }
    negative = mpfr_sgn(result._REALptr->inf) < 0;
    if (mpfr_zero_p(result._REALptr->inf)) {
        digits.clear();
        exponent = 0;
        return true;
    }
    mpfr_exp_t e = 0;
    char* text = mpfr_get_str(nullptr, &e, 10, count, result._REALptr->inf, MPFR_RNDN);
    if (text == nullptr) {
        throw std::bad_alloc();
    }
    digits = text + (text[0] == '-' ? 1 : 0);
    mpfr_free_str(text);
    exponent = static_cast<std::int64_t>(e) - 1;
    support::NumberTextC::normalize(digits, exponent);
    return true;
}

}  // namespace

bool decimalDigits(const gen& value, unsigned long count, bool& negative, std::string& digits, std::int64_t& exponent,
                   std::u16string& reason, ::giac::context* context) {
    bool complex = false;
    bool sign[2] = {false, false};
    std::string text[2];
    std::int64_t power[2] = {0, 0};
    const int base = static_cast<int>(count);
    for (int guard : {10, 25, 85}) {
        const int at = guard == 85 ? 1 : guard == 25 ? 1 : 0;
        if (!digitsAt(value, base + guard, count, sign[at], text[at], power[at], complex, context)) {
            reason = complex ? u"not a real number" : u"not a number";
            return false;
        }
        if (guard != 10 && sign[0] == sign[1] && text[0] == text[1] && power[0] == power[1]) {
            negative = sign[0];
            digits = text[0];
            exponent = power[0];
            return true;
        }
        if (guard == 25) {  // the last try is compared with the second
            sign[0] = sign[1];
            text[0] = text[1];
            power[0] = power[1];
        }
    }
    reason = u"no " + Utf8C::toUtf16(std::to_string(count)) + u" correct digits: Giac's floats do not settle";
    return false;
}

// Whether an operation works on its arguments' values. Arithmetic and the
// elementary functions build on what they are given, and the result is
// evaluated once at the end (evaluating each level's arguments again would
// cost as much as the depth times the size); the operations, powers (whose
// size is estimated from their values) and the integer functions need them.
bool needsValues(OperationE operation) {
    switch (operation) {
        case OperationE::Plus:
        case OperationE::Minus:
        case OperationE::Times:
        case OperationE::Divide:
        case OperationE::Neg:
        case OperationE::List:
        case OperationE::Equal:
        case OperationE::Sin:
        case OperationE::Cos:
        case OperationE::Tan:
        case OperationE::Exp:
        case OperationE::Log:
        case OperationE::Sqrt:
        case OperationE::Abs:
        case OperationE::Asin:
        case OperationE::Acos:
        case OperationE::Atan:
        case OperationE::Sinh:
        case OperationE::Cosh:
        case OperationE::Tanh:
        case OperationE::Conjugate:
        case OperationE::RealPart:
        case OperationE::ImagPart:
        case OperationE::Csgn:
        case OperationE::Step:
        case OperationE::Atan2:
        case OperationE::Si:
        case OperationE::Ci:
        case OperationE::Sec:
        case OperationE::Csc:
        case OperationE::Cot:
        case OperationE::Asec:
        case OperationE::Acsc:
        case OperationE::Acot:
        case OperationE::Log10:
            return false;
        default:
            return true;
    }
}

// Giac's closed form of a sum; a polynomial one factored, as it is written
// by hand (sum(k,k,1,n) is n*(n + 1)/2, not ((n + 1)^2 - n - 1)/2), when it
// is small enough for factoring to cost nothing to speak of.
gen closedSum(std::vector<gen>& arguments, ::giac::context* context) {
    constexpr std::size_t kMostFactoredParts = 200;
    const gen value = ::giac::_sum(
        makesequence(arguments[0], variable(OperationE::Sum, arguments[1]), arguments[2], arguments[3]), context);
    std::size_t parts = 0;
    const bool other = containsPart(value, [&parts](const gen& part) {
        ++parts;
        if (part.type == ::giac::_SYMB) {
            if (isHead(part, "^") && part._SYMBptr->feuille.type == ::giac::_VECT &&
                part._SYMBptr->feuille._VECTptr->size() == 2) {
                const gen& exponent = part._SYMBptr->feuille._VECTptr->back();
                return exponent.type != ::giac::_INT_ || exponent.val < 0;
            }
            return !isHead(part, "+") && !isHead(part, "*") && !isHead(part, "-") && !isHead(part, "inv");
        }
        return part.type != ::giac::_VECT && part.type != ::giac::_IDNT && !isPlainNumber(part);
    });
    if (other || parts > kMostFactoredParts || value.type != ::giac::_SYMB) {
        return value;
    }
    return ::giac::_factor(value, context);
}

gen apply(OperationE operation, std::vector<gen>& arguments, std::size_t integer_digits, ::giac::context* context) {
    for (gen& argument : arguments) {
        argument = needsValues(operation) ? argument.eval(1, context) : argument;
    }
    switch (operation) {
        case OperationE::Plus:
            return arguments.size() == 1 ? arguments[0] : gen(::giac::symbolic(::giac::at_plus, sequence(arguments)));
        case OperationE::Times:
            return arguments.size() == 1 ? arguments[0] : gen(::giac::symbolic(::giac::at_prod, sequence(arguments)));
        case OperationE::Minus:
            return arguments.size() == 1 ? -arguments[0] : arguments[0] - arguments[1];
        case OperationE::Divide:
            return arguments[0] / arguments[1];
        case OperationE::Power:
            checkPower(arguments[0], arguments[1], integer_digits);
            return ::giac::pow(arguments[0], arguments[1], context);
        case OperationE::Atan2:
            return ::giac::symbolic(::giac::at_atan2, makesequence(arguments[0], arguments[1]));
        case OperationE::Diff:
            return differentiate(arguments, context);
        case OperationE::Series:
            return series(arguments, context);
        case OperationE::Pdiff:
            return pdiff(arguments, context);
        case OperationE::Integrate:
            return integrate(arguments, context);
        case OperationE::Limit:
            return limit(arguments, context);
        case OperationE::Solve:
            return solve(arguments, context);
        case OperationE::Sum:
            return closedSum(arguments, context);
        case OperationE::List:
            return vectorOf(arguments, 0);
        case OperationE::Equal:
            return ::giac::symbolic(::giac::at_equal, makesequence(arguments[0], arguments[1]));
        case OperationE::Binomial:
            if (!isWhole(arguments[0]) || !isWhole(arguments[1])) {
                // Of symbols it stays (Giac would write it with gamma).
                return ::giac::symbolic(::giac::at_of, makesequence(binomialName(), sequence(arguments)));
            }
            return ::giac::_comb(makesequence(arguments[0], arguments[1]), context);
        case OperationE::Gcd:
            return ::giac::_gcd(makesequence(arguments[0], arguments[1]), context);
        case OperationE::Lcm:
            return ::giac::_lcm(makesequence(arguments[0], arguments[1]), context);
        case OperationE::Mod:
            // The sign of b: a - b*floor(a/b) (Giac's irem takes the sign of a).
            return arguments[0] - arguments[1] * ::giac::_floor(arguments[0] / arguments[1], context);
        case OperationE::Quo:
        case OperationE::Rem:
            return division(operation, arguments, context);
        case OperationE::Min:
        case OperationE::Max:
            return extreme(operation, arguments, context);
        case OperationE::Apart:
            // The polynomial layer takes it at the root; what reaches here it declined.
            throw misuse(operation, u"only of a quotient of polynomials in symbols, as the whole expression");
        default:
            return unary(operation, arguments[0], integer_digits, context);
    }
}

namespace {

// The nesting depth of a value, by a walk with an explicit stack.
std::size_t depthOf(const gen& value) {
    std::vector<std::pair<gen, std::size_t>> stack{{value, 0}};
    std::size_t deepest = 0;
    while (!stack.empty()) {
        const auto [part, depth] = stack.back();
        stack.pop_back();
        deepest = std::max(deepest, depth);
        if (part.type == ::giac::_SYMB) {
            stack.emplace_back(part._SYMBptr->feuille, depth + 1);
        } else if (part.type == ::giac::_VECT) {
            for (const gen& element : *part._VECTptr) {
                stack.emplace_back(element, depth);
            }
        }
    }
    return deepest;
}

// Giac's regrouping joins x*x^(x-1) into x^(x-1+1), the exponent's numbers
// left apart: each such exponent is put in normal form (x^x).
gen tidiedExponents(const gen& value, ::giac::context* context) {
    ::giac::vecteur before;
    ::giac::vecteur after;
    containsPart(value, [&](const gen& part) {
        if (isHead(part, "^") && part._SYMBptr->feuille.type == ::giac::_VECT &&
            part._SYMBptr->feuille._VECTptr->size() == 2 && isHead(part._SYMBptr->feuille._VECTptr->back(), "+")) {
            const gen& base = part._SYMBptr->feuille._VECTptr->front();
            const gen& exponent = part._SYMBptr->feuille._VECTptr->back();
            const gen& terms = exponent._SYMBptr->feuille;
            const auto numbers = terms.type != ::giac::_VECT ? 0
                                 : std::count_if(terms._VECTptr->begin(), terms._VECTptr->end(), [](const gen& t) {
                                       return isPlainNumber(t);
                                   });
            if (numbers >= 2) {
                before.push_back(part);
                after.push_back(::giac::symbolic(::giac::at_pow, makesequence(base, ::giac::ratnormal(exponent, context))));
            }
        }
        return false;
    });
    return before.empty() ? value : ::giac::subst(value, before, after, true, context);
}

// sqrt(2)*sqrt(6) is 2*sqrt(3): the square roots of positive rationals in a
// product, and their inverses, join under one root, which Giac reduces (sqrt(b)*sqrt(d) is
// sqrt(b*d) for positive b and d).
gen joinedRoots(const gen& value, ::giac::context* context) {
    ::giac::vecteur before;
    ::giac::vecteur after;
    containsPart(value, [&](const gen& part) {
        if (!isHead(part, "*") || part._SYMBptr->feuille.type != ::giac::_VECT) {
            return false;
        }
        gen radicand(1);
        gen others(1);
        int roots = 0;
        for (const gen& whole : *part._SYMBptr->feuille._VECTptr) {
            const bool inverse = isHead(whole, "inv");
            const gen& factor = inverse ? whole._SYMBptr->feuille : whole;
            gen inner;
            if (isHead(factor, "sqrt")) {
                inner = factor._SYMBptr->feuille;
            } else if (isHead(factor, "^") && factor._SYMBptr->feuille.type == ::giac::_VECT &&
                       factor._SYMBptr->feuille._VECTptr->size() == 2 &&
                       factor._SYMBptr->feuille._VECTptr->back() == gen(1) / gen(2)) {
                inner = factor._SYMBptr->feuille._VECTptr->front();
            }
            const bool rational = inner.type == ::giac::_INT_ || inner.type == ::giac::_ZINT || inner.type == ::giac::_FRAC;
            if (rational && ::giac::is_strictly_positive(inner, context)) {
                radicand = inverse ? radicand / inner : radicand * inner;
                ++roots;
            } else {
                others = others * whole;
            }
        }
        if (roots >= 2) {
            before.push_back(part);
            after.push_back(::giac::eval(others * ::giac::sqrt(radicand, context), 1, context));
        }
        return false;
    });
    return before.empty() ? value : ::giac::subst(value, before, after, true, context);
}

gen regrouped(const gen& value, ::giac::context* context) {
    return depthOf(value) > kMaxCollectDepth
               ? value
               : joinedRoots(tidiedExponents(::giac::simplifier(value, context), context), context);
}

}  // namespace

// binomial(n,k) of a whole k >= 0 (at most kMaxBinomialFactors) written
// n*(n-1)*...*(n-k+1)/k!, and of a negative k as 0; other binomials stay.
gen binomialProducts(const gen& e, ::giac::context* context) {
    ::giac::vecteur from;
    ::giac::vecteur to;
    containsPart(e, [&](const gen& part) {
        if (!isHead(part, "of") || part._SYMBptr->feuille.type != ::giac::_VECT ||
            part._SYMBptr->feuille._VECTptr->size() != 2 ||
            !isBinomialName((*part._SYMBptr->feuille._VECTptr)[0])) {
            return false;
        }
        const gen& pair = (*part._SYMBptr->feuille._VECTptr)[1];
        if (pair.type != ::giac::_VECT || pair._VECTptr->size() != 2 || (*pair._VECTptr)[1].type != ::giac::_INT_ ||
            (*pair._VECTptr)[1].val > kMaxBinomialFactors) {
            return false;
        }
        const gen& n = (*pair._VECTptr)[0];
        const int k = (*pair._VECTptr)[1].val;
        gen product(k < 0 ? 0 : 1);
        for (int i = 0; i < k; ++i) {
            product = product * (n - gen(i)) / gen(i + 1);
        }
        from.push_back(part);
        to.push_back(product);
        return false;
    });
    return from.empty() ? e : ::giac::subst(e, from, to, false, context);
}

const gen& binomialName() {
    static thread_local const gen name(::giac::identificateur("algexpr_binomial"));
    return name;
}

bool isBinomialName(const gen& g) {
    return g.type == ::giac::_IDNT && std::string(g._IDNTptr->id_name) == "algexpr_binomial";
}

gen collected(const gen& value, ::giac::context* context) {
    const gen evaluated = value.eval(1, context);
    if (evaluated.type == ::giac::_VECT) {
        ::giac::vecteur elements;
        for (const gen& element : *evaluated._VECTptr) {
            elements.push_back(regrouped(element, context));
        }
        return gen(elements, evaluated.subtype);
    }
    return regrouped(evaluated, context);
}

}  // namespace qorv::math::algexpr::giac::detail
