// SPDX-License-Identifier: MIT
#include "RealFunctions.h"

#include <cln/rational.h>
#include <cln/real.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "FloatEvaluation.h"
#include "GinacFunctions.h"
#include "SupportNames.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

// The float of an exact real value without symbols, at GiNaC's working
// precision; false for anything else (symbols, unknown functions, complex
// values).
bool realFloat(const GiNaC::ex& a, GiNaC::numeric& value) {
    const GiNaC::ex v = isExactly<GiNaC::numeric>(a) ? a : evaluateFloats(a);
    if (!isExactly<GiNaC::numeric>(v) || !GiNaC::ex_to<GiNaC::numeric>(v).is_real()) {
        return false;
    }
    value = GiNaC::ex_to<GiNaC::numeric>(v);
    return true;
}

// How far a float must lie from a point for its side to be known: half of
// the working digits below its magnitude (or below 1).
bool clearlyApart(const GiNaC::numeric& a, const GiNaC::numeric& b) {
    const GiNaC::numeric larger = GiNaC::abs(a) > GiNaC::abs(b) ? GiNaC::abs(a) : GiNaC::abs(b);
    const GiNaC::numeric scale = larger > 1 ? larger : GiNaC::numeric(1);
    const GiNaC::numeric tolerance = scale * GiNaC::pow(GiNaC::numeric(10), -GiNaC::numeric(GiNaC::Digits / 2));
    return GiNaC::abs(a - b) > tolerance;
}

GiNaC::numeric floorNumber(const GiNaC::numeric& n) {
    if (n.is_rational()) {
        return GiNaC::numeric(cln::floor1(cln::the<cln::cl_RA>(n.to_cl_N())));
    }
    return GiNaC::numeric(cln::floor1(cln::the<cln::cl_R>(n.to_cl_N())));
}

// floor(a) (ceil(a) as -floor(-a)) of a number, or an exact value clearly
// away from an integer; false otherwise.
bool floorValue(const GiNaC::ex& a, GiNaC::numeric& result) {
    if (isExactly<GiNaC::numeric>(a)) {
        const GiNaC::numeric& n = GiNaC::ex_to<GiNaC::numeric>(a);
        if (!n.is_real()) {
            return false;
        }
        // A float beyond its digits is a whole number already: it stays a
        // float rather than become an integer of as many digits as its
        // exponent says (1.0e1000000000).
        const long digits = GiNaC::Digits;
        const bool whole = !n.is_rational() && GiNaC::abs(n) > GiNaC::pow(GiNaC::numeric(10), GiNaC::numeric(digits));
        result = whole ? n : floorNumber(n);
        return true;
    }
    GiNaC::numeric value;
    if (!realFloat(a, value)) {
        return false;
    }
    const GiNaC::numeric below = floorNumber(value);
    if (!clearlyApart(value, below) || !clearlyApart(value, below + 1)) {
        return false;
    }
    result = below;
    return true;
}

// GiNaC's working precision raised for a computation, and put back.
class MoreDigitsC {
public:
    explicit MoreDigitsC(long extra) : saved(GiNaC::Digits) { GiNaC::Digits = saved + extra; }
    ~MoreDigitsC() { GiNaC::Digits = saved; }
    MoreDigitsC(const MoreDigitsC&) = delete;
    MoreDigitsC& operator=(const MoreDigitsC&) = delete;

private:
    long saved;
};

// erf(x) of a real float, or for `complement` erfc(x), by the series of
// positive terms erf(x) = 2x/sqrt(pi) exp(-x^2) sum (2x^2)^n/(1*3*...*(2n+1)),
// which loses no digits to cancellation; erfc(x) = 1 - erf(x) is computed
// with the digits that the subtraction loses (about x^2/ln(10) for x > 0).
GiNaC::ex errorFunction(bool complement, const GiNaC::numeric& x) {
    const double magnitude = std::fabs(x.to_double());
    const long digits = GiNaC::Digits;
    // Beyond this, erf(x) is 1 or -1 to every digit; erfc(x) needs as many
    // more digits as it has leading zeros.
    const double saturated = std::sqrt((static_cast<double>(digits) + 5.0) * std::log(10.0));
    if (magnitude > saturated && (!complement || x.is_negative())) {
        // erf(x) is 1 or -1, and erfc of a negative x is 2, to every digit.
        return GiNaC::numeric(complement ? 2 : x.is_positive() ? 1 : -1).evalf();
    }
    if (complement && x.is_positive() && magnitude > kMaxErfcArgument) {
        throw support::RefusalC(u"erfc: an argument above 100 needs more digits than it is computed with");
    }
    const long extra = 10 + (complement && x.is_positive() ? static_cast<long>(magnitude * magnitude / std::log(10.0)) : 0);
    GiNaC::numeric value;
    {
        MoreDigitsC more(extra);
        // Float arithmetic keeps its operands' precision: x again, as the
        // exact value of its float, with the digits raised.
        const GiNaC::numeric exact(cln::rational(cln::the<cln::cl_R>(x.to_cl_N())));
        const GiNaC::numeric xf = GiNaC::ex_to<GiNaC::numeric>(GiNaC::ex(exact).evalf());
        const GiNaC::numeric square = xf * xf;
        const GiNaC::numeric epsilon = GiNaC::pow(GiNaC::numeric(10), -GiNaC::numeric(GiNaC::Digits));
        GiNaC::numeric term(1);
        GiNaC::numeric sum(1);
        for (long n = 1; term > epsilon * sum || 2 * square > 2 * n + 1; ++n) {
            term = term * 2 * square / (2 * n + 1);
            sum = sum + term;
        }
        const GiNaC::numeric pi = GiNaC::ex_to<GiNaC::numeric>(GiNaC::Pi.evalf());
        value = 2 * xf / GiNaC::sqrt(pi) * GiNaC::exp(-square) * sum;
        if (complement) {
            value = 1 - value;
        }
    }
    return GiNaC::ex(value).evalf();
}

// erf and erfc: a real float is computed, erf(0) is 0 and erfc(0) 1; the
// rest stays.
bool isRealFloat(const GiNaC::ex& a) {
    return isExactly<GiNaC::numeric>(a) && GiNaC::ex_to<GiNaC::numeric>(a).is_real() &&
           !GiNaC::ex_to<GiNaC::numeric>(a).is_rational();
}

GiNaC::ex erfEval(const GiNaC::ex& a) {
    if (a.is_zero()) {
        return 0;
    }
    return isRealFloat(a) ? errorFunction(false, GiNaC::ex_to<GiNaC::numeric>(a))
                          : GiNaC::function(realSerials().erf, a).hold();
}

GiNaC::ex erfcEval(const GiNaC::ex& a) {
    if (a.is_zero()) {
        return 1;
    }
    return isRealFloat(a) ? errorFunction(true, GiNaC::ex_to<GiNaC::numeric>(a))
                          : GiNaC::function(realSerials().erfc, a).hold();
}

// d/dx erf(x) = 2/sqrt(pi) exp(-x^2), and erfc's is its negative.
GiNaC::ex erfDerivative(const GiNaC::ex& a, unsigned) {
    return 2 / GiNaC::sqrt(GiNaC::Pi) * GiNaC::exp(-GiNaC::pow(a, 2));
}

GiNaC::ex erfcDerivative(const GiNaC::ex& a, unsigned) {
    return -2 / GiNaC::sqrt(GiNaC::Pi) * GiNaC::exp(-GiNaC::pow(a, 2));
}

GiNaC::ex floorEval(const GiNaC::ex& a) { return floorOf(a); }
GiNaC::ex ceilEval(const GiNaC::ex& a) { return ceilOf(a); }
GiNaC::ex signEval(const GiNaC::ex& a) { return signOf(a); }
GiNaC::ex minEval(const GiNaC::ex& a, const GiNaC::ex& b) { return extremeOf(false, a, b); }
GiNaC::ex maxEval(const GiNaC::ex& a, const GiNaC::ex& b) { return extremeOf(true, a, b); }

// Registered when the library loads, before any unknown function of the
// same name (FunctionTableC counts them as it starts).
RealSerialsS registerAll() {
    using GiNaC::function_options;
    RealSerialsS s{};
    s.floor = GiNaC::function::register_new(function_options("floor", 1).eval_func(floorEval).evalf_func(floorEval));
    s.ceil = GiNaC::function::register_new(function_options("ceil", 1).eval_func(ceilEval).evalf_func(ceilEval));
    s.sign = GiNaC::function::register_new(function_options("sign", 1).eval_func(signEval).evalf_func(signEval));
    s.min = GiNaC::function::register_new(function_options("min", 2).eval_func(minEval).evalf_func(minEval));
    s.max = GiNaC::function::register_new(function_options("max", 2).eval_func(maxEval).evalf_func(maxEval));
    s.erf = GiNaC::function::register_new(
        function_options("erf", 1).eval_func(erfEval).evalf_func(erfEval).derivative_func(erfDerivative));
    s.erfc = GiNaC::function::register_new(
        function_options("erfc", 1).eval_func(erfcEval).evalf_func(erfcEval).derivative_func(erfcDerivative));
    return s;
}

const RealSerialsS kSerials = registerAll();

}  // namespace

const RealSerialsS& realSerials() { return kSerials; }

GiNaC::ex floorOf(const GiNaC::ex& a) {
    GiNaC::numeric result;
    return floorValue(a, result) ? GiNaC::ex(result) : GiNaC::function(kSerials.floor, a).hold();
}

GiNaC::ex ceilOf(const GiNaC::ex& a) {
    GiNaC::numeric result;
    return floorValue(-a, result) ? GiNaC::ex(-result) : GiNaC::function(kSerials.ceil, a).hold();
}

// -1, 0 or 1 for real values; z/abs(z) for complex numbers.
GiNaC::ex signOf(const GiNaC::ex& a) {
    if (a.is_zero()) {
        return 0;
    }
    if (isExactly<GiNaC::numeric>(a)) {
        const GiNaC::numeric& n = GiNaC::ex_to<GiNaC::numeric>(a);
        return n.is_real() ? GiNaC::ex(n.is_positive() ? 1 : -1) : a / GiNaC::abs(a);
    }
    GiNaC::numeric value;
    if (realFloat(a, value) && clearlyApart(value, 0)) {
        return value.is_positive() ? 1 : -1;
    }
    return GiNaC::function(kSerials.sign, a).hold();
}

GiNaC::ex erfOf(const GiNaC::ex& a) { return erfEval(a); }

GiNaC::ex erfcOf(const GiNaC::ex& a) { return erfcEval(a); }

GiNaC::ex extremeOf(bool greatest, const GiNaC::ex& a, const GiNaC::ex& b) {
    if (a.is_equal(b)) {
        return a;
    }
    GiNaC::numeric x;
    GiNaC::numeric y;
    // Numbers compare as they are; other exact values by their floats.
    const bool numbers = isExactly<GiNaC::numeric>(a) && isExactly<GiNaC::numeric>(b);
    if (realFloat(a, x) && realFloat(b, y) && (numbers ? x != y : clearlyApart(x, y))) {
        return (x > y) == greatest ? a : b;
    }
    return GiNaC::function(greatest ? kSerials.max : kSerials.min, a, b).hold();
}

// The values known to be real numbers first (folded into one), then the
// others, so that max(x,1,pi) is max(x,pi).
GiNaC::ex extremeOfAll(bool greatest, std::vector<GiNaC::ex>& arguments) {
    std::stable_partition(arguments.begin(), arguments.end(), [](const GiNaC::ex& a) {
        GiNaC::numeric value;
        return realFloat(a, value);
    });
    GiNaC::ex result = arguments[0];
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        result = extremeOf(greatest, result, arguments[i]);
    }
    return result;
}

}  // namespace qorv::math::algexpr::ginac::detail
