// SPDX-License-Identifier: MIT
#include "FloatEvaluation.h"

#include <cln/complex.h>
#include <cln/float.h>
#include <cln/real.h>

#include <algorithm>
#include <utility>
#include <cmath>

#include "ComplexRules.h"
#include "Estimates.h"
#include "GinacFunctions.h"
#include "GinacWalkerTC.h"
#include "Numbers.h"
#include "SupportNames.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

// A periodic function of an exact real number x, computed with the working
// precision plus the digits of x before its point.
GiNaC::ex periodicOfExact(unsigned serial, const GiNaC::numeric& x) {
    const double magnitude = log10Magnitude(x);
    if (magnitude > static_cast<double>(GinacEngineC::kMaxDigits)) {
        throw RefusalC(functionName(serial) + u": an argument of about 10^" + approximately(magnitude) +
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
    if (isExactly<GiNaC::numeric>(value) && isRealNumber(GiNaC::ex_to<GiNaC::numeric>(value)) &&
        !realIfReal(GiNaC::ex_to<GiNaC::numeric>(value)).is_rational()) {
        const cln::cl_F f = cln::the<cln::cl_F>(realIfReal(GiNaC::ex_to<GiNaC::numeric>(value)).to_cl_N());
        return GiNaC::numeric(cln::cl_N(cln::cl_float(f, cln::float_format(static_cast<unsigned long>(working)))));
    }
    return value;
}

// A float part with `digits` decimal digits of precision; an exact part as it is.
cln::cl_R withPrecision(const GiNaC::numeric& part, unsigned long digits) {
    const cln::cl_R value = cln::the<cln::cl_R>(part.to_cl_N());
    if (part.is_rational()) {
        return value;
    }
    return cln::cl_float(cln::the<cln::cl_F>(value), cln::float_format(digits));
}

GiNaC::numeric complexWithPrecision(const GiNaC::numeric& z, unsigned long digits) {
    return GiNaC::numeric(cln::complex(withPrecision(z.real(), digits), withPrecision(z.imag(), digits)));
}

// asin and acos of a complex float z go through 1 - z^2, whose 1 is lost as
// |z| nears 10^(digits/2), and the result with it (asin((0.5+i)*10^40) came
// out as 89.4i for 0.46+92.9i, and near 10^58 CLN did not finish). Computed
// with twice the digits of z before its point added, then rounded back.
GiNaC::ex inverseSineOfComplexFloat(unsigned serial, const GiNaC::numeric& z) {
    const double magnitude = std::max(log10Magnitude(z.real()), log10Magnitude(z.imag()));
    if (magnitude <= 0.0) {
        return GiNaC::function(serial, GiNaC::ex(z));
    }
    constexpr double kLargest = static_cast<double>(GinacEngineC::kMaxDigits) / 2.0;
    if (magnitude > kLargest) {
        throw RefusalC(functionName(serial) + u": a complex float argument of about 10^" + approximately(magnitude) +
                       u" is too large; the limit is 10^" + count(static_cast<unsigned long>(kLargest)));
    }
    const auto working = static_cast<unsigned long>(GiNaC::Digits);
    const GiNaC::numeric wide = complexWithPrecision(z, working + 2 * (static_cast<unsigned long>(magnitude) + 1));
    const GiNaC::numeric value = serial == GiNaC::asin_SERIAL::serial ? GiNaC::asin(wide) : GiNaC::acos(wide);
    return complexWithPrecision(value, working);
}

bool isPeriodic(unsigned serial) {
    return serial == GiNaC::sin_SERIAL::serial || serial == GiNaC::cos_SERIAL::serial ||
           serial == GiNaC::tan_SERIAL::serial;
}

GiNaC::ex functionOfFloats(const GiNaC::ex& e, const GiNaC::ex* values, std::size_t count) {
    const unsigned serial = GiNaC::ex_to<GiNaC::function>(e).get_serial();
    const GiNaC::ex exact = e.op(0);
    if (isPeriodic(serial) && isExactly<GiNaC::numeric>(exact) &&
        GiNaC::ex_to<GiNaC::numeric>(exact).is_rational()) {
        return periodicOfExact(serial, GiNaC::ex_to<GiNaC::numeric>(exact));
    }
    if (isPeriodic(serial)) {
        checkPeriodicArgument(functionName(serial).c_str(), values[0]);
    }
    if (serial == GiNaC::exp_SERIAL::serial || serial == GiNaC::sinh_SERIAL::serial ||
        serial == GiNaC::cosh_SERIAL::serial) {
        checkExponentialArgument(functionName(serial).c_str(), values[0]);
    }
    if (serial == GiNaC::asin_SERIAL::serial || serial == GiNaC::acos_SERIAL::serial) {
        return inverseSine(serial, values[0]);
    }
    GiNaC::exvector arguments(values, values + count);
    if (serial == GiNaC::Li_SERIAL::serial && exact.info(GiNaC::info_flags::integer)) {
        arguments[0] = exact;  // the order of a polylogarithm stays a whole number
    }
    const GiNaC::ex result = GiNaC::function(serial, std::move(arguments));
    // A function of numbers can give an exact constant (atan2(0,-1.5) is pi).
    const bool numbers = std::all_of(values, values + count, [](const GiNaC::ex& v) { return isExactly<GiNaC::numeric>(v); });
    return numbers && !isExactly<GiNaC::numeric>(result) ? result.evalf() : result;
}

}  // namespace

GiNaC::ex inverseSine(unsigned serial, const GiNaC::ex& argument) {
    if (isExactly<GiNaC::numeric>(argument)) {
        const auto& z = GiNaC::ex_to<GiNaC::numeric>(argument);
        if (!isRealNumber(z) && !(z.real().is_rational() && z.imag().is_rational())) {
            return inverseSineOfComplexFloat(serial, z);
        }
    }
    return GiNaC::function(serial, argument);
}

GiNaC::ex evaluateFloats(const GiNaC::ex& e) {
    GinacWalkerTC<GiNaC::ex> walker;
    const auto composite = [](const GiNaC::ex& x) {
        return isExactly<GiNaC::add>(x) || isExactly<GiNaC::mul>(x) ||
               isExactly<GiNaC::power>(x) || isExactly<GiNaC::function>(x);
    };
    return walker.run(e, composite, [&composite](const GiNaC::ex& x, const GiNaC::ex* values, std::size_t count) {
        if (!composite(x)) {
            return isExactly<GiNaC::numeric>(x) || isExactly<GiNaC::constant>(x) ? x.evalf() : x;
        }
        if (isExactly<GiNaC::add>(x)) {
            return evaluated(GiNaC::add(GiNaC::exvector(values, values + count)));
        }
        if (isExactly<GiNaC::mul>(x)) {
            return evaluated(GiNaC::mul(GiNaC::exvector(values, values + count)));
        }
        if (isExactly<GiNaC::power>(x)) {
            const GiNaC::ex& exponent = x.op(1);
            const bool exact = isExactly<GiNaC::numeric>(exponent) &&
                               GiNaC::ex_to<GiNaC::numeric>(exponent).is_rational();
            if (!exact && isExactly<GiNaC::numeric>(values[1])) {
                checkFloatPower(values[0], GiNaC::ex_to<GiNaC::numeric>(values[1]));
            }
            return evaluated(GiNaC::power(values[0], exact ? exponent : values[1]));
        }
        return functionOfFloats(x, values, count);
    });
}

GiNaC::numeric withoutNoise(const GiNaC::numeric& n, unsigned long digits) {
    if (n.is_real() || n.real().is_zero() || n.imag().is_zero() || n.real().is_rational() || n.imag().is_rational()) {
        return n;
    }
    const double re = log10Magnitude(n.real());
    const double im = log10Magnitude(n.imag());
    const double gap = static_cast<double>(digits);
    if (re < im - gap) {
        return n.imag() * GiNaC::I;
    }
    if (im < re - gap) {
        return n.real();
    }
    return n;
}

}  // namespace qorv::math::algexpr::ginac::detail
