// SPDX-License-Identifier: MIT
#include "Numbers.h"

#include <cln/float.h>
#include <cln/integer.h>
#include <cln/integer_io.h>
#include <cln/malloc.h>
#include <cln/complex.h>
#include <cln/rational.h>
#include <cln/real.h>

#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "SupportNames.h"
#include "algexpr/ginac/FloatValueC.h"
#include "algexpr/ginac/GinacEngineC.h"
#include "algexpr/ginac/IntegerValueC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

constexpr double kLog10Of2 = 0.30102999566398119521;

// Binary exponents up to this are rounded exactly through rationals.
constexpr long kExactBinaryExponent = 300000;

RefusalC tooManyDigits(double digits, std::size_t max_digits) {
    return RefusalC(u"an integer of about " + count(static_cast<std::uint64_t>(digits)) +
                    u" digits; exact integers are limited to " + count(max_digits) + u" digits");
}

// log10 |n| for n != 0.
double log10Abs(const cln::cl_I& n) {
    const cln::cl_I magnitude = cln::abs(n);
    const auto length = static_cast<long>(cln::integer_length(magnitude));
    if (length <= 1000) {
        return std::log10(cln::double_approx(magnitude));
    }
    const cln::cl_I top = cln::ash(magnitude, -(length - 64));
    return std::log10(cln::double_approx(top)) + static_cast<double>(length - 64) * kLog10Of2;
}

std::string decimal(const cln::cl_I& magnitude) {
    char* text = cln::print_integer_to_string(10, magnitude);
    std::string result;
    try {
        result = text;
    } catch (...) {
        cln::free_hook(text);
        throw;
    }
    cln::free_hook(text);
    return result;
}

// base^n for n >= 0 (CLN's expt_pos wants n > 0); the powers of the small
// exponents every rounding asks for are made once.
template <int kBase>
cln::cl_I powerOf(unsigned long n) {
    constexpr unsigned long kKept = 80;
    if (n >= kKept) {
        return cln::expt_pos(cln::cl_I(kBase), n);
    }
    static thread_local std::vector<cln::cl_I> kept;
    if (kept.empty()) {
        std::vector<cln::cl_I> made;
        made.reserve(kKept);
        made.emplace_back(1);
        while (made.size() < kKept) {
            made.push_back(made.back() * kBase);
        }
        kept.swap(made);
    }
    return kept[n];
}

cln::cl_I tenTo(unsigned long n) { return powerOf<10>(n); }

cln::cl_RA powerOf10(long exponent) {
    if (exponent >= 0) {
        return tenTo(static_cast<unsigned long>(exponent));
    }
    return cln::recip(cln::cl_RA(tenTo(static_cast<unsigned long>(-exponent))));
}

// The `digits` significant digits of q > 0, correctly rounded, and the
// decimal exponent of the first one.
std::string roundRational(const cln::cl_RA& q, unsigned long digits, long& exponent) {
    long k = static_cast<long>(std::floor(log10Abs(cln::numerator(q)) - log10Abs(cln::denominator(q))));
    while (q >= powerOf10(k + 1)) {
        ++k;
    }
    while (q < powerOf10(k)) {
        --k;
    }
    const auto count = static_cast<long>(digits);
    cln::cl_I n = cln::round1(q * powerOf10(count - 1 - k));
    if (n == tenTo(digits)) {
        n = tenTo(digits - 1);
        ++k;
    }
    exponent = k;
    return decimal(n);
}

// The same for a float x > 0, exactly: x = m 2^e, and the digits are
// m 2^e 10^p rounded to an integer (ties to even) for p = digits - 1 - k.
std::string roundFloatExactly(const cln::cl_F& x, unsigned long digits, long& exponent) {
    const cln::cl_idecoded_float parts = cln::integer_decode_float(x);
    const long e = cln::cl_I_to_long(parts.exponent);
    const auto length = static_cast<long>(cln::integer_length(parts.mantissa));
    long k = static_cast<long>(std::floor(static_cast<double>(length - 1 + e) * kLog10Of2));
    const cln::cl_I low = tenTo(digits - 1);
    const cln::cl_I high = tenTo(digits);
    cln::cl_I n;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const long p = static_cast<long>(digits) - 1 - k;
        cln::cl_I numerator = parts.mantissa;
        cln::cl_I denominator = 1;
        if (p > 0) {
            numerator = numerator * powerOf<5>(static_cast<unsigned long>(p));
        } else if (p < 0) {
            denominator = powerOf<5>(static_cast<unsigned long>(-p));
        }
        if (e + p >= 0) {
            numerator = cln::ash(numerator, e + p);
        } else {
            denominator = cln::ash(denominator, -(e + p));
        }
        n = cln::round2(numerator, denominator).quotient;
        if (n >= high) {
            ++k;
        } else if (n < low) {
            --k;
        } else {
            break;
        }
    }
    if (n >= high) {  // 9.99...95 rounded up to 10.00...0
        n = low;
        ++k;
    }
    exponent = k;
    return decimal(n);
}

// The same for floats too large or small for exact rounding: computed with
// 20 digits more than asked.
std::string roundFloat(const cln::cl_F& x, unsigned long digits, long& exponent) {
    const cln::float_format_t format = cln::float_format(digits + 20);
    const cln::cl_F value = cln::cl_float(x, format);
    const cln::cl_F ten = cln::cl_float(cln::cl_I(10), format);
    long k = cln::cl_I_to_long(cln::floor1(cln::ln(value) / cln::ln(ten)));
    const cln::cl_I low = tenTo(digits - 1);
    const cln::cl_I high = tenTo(digits);
    auto scaled = [&](long k) {
        return cln::round1(value * cln::the<cln::cl_F>(cln::expt(ten, cln::cl_I(static_cast<long>(digits) - 1 - k))));
    };
    cln::cl_I n = scaled(k);
    if (n >= high) {
        ++k;
        n = scaled(k);
    } else if (n < low) {
        --k;
        n = scaled(k);
    }
    if (n >= high) {
        n = low;
        ++k;
    }
    exponent = k;
    return decimal(n);
}

}  // namespace

double decimalDigits(const GiNaC::numeric& value) {
    if (value.is_zero()) {
        return 0.0;
    }
    if (!value.is_real()) {
        return decimalDigits(value.real()) + decimalDigits(value.imag());
    }
    if (!value.is_rational()) {
        return 0.0;
    }
    const cln::cl_RA q = cln::the<cln::cl_RA>(value.to_cl_N());
    return log10Abs(cln::numerator(q)) + log10Abs(cln::denominator(q));
}

double significantDigits(const GiNaC::numeric& value) {
    const cln::cl_F f = cln::the<cln::cl_F>(cln::realpart(value.to_cl_N()));
    return static_cast<double>(cln::float_digits(f)) * kLog10Of2;
}

double log10Magnitude(const GiNaC::numeric& value) {
    if (value.is_zero()) {
        return -std::numeric_limits<double>::infinity();
    }
    if (value.is_rational()) {
        const cln::cl_RA q = cln::the<cln::cl_RA>(value.to_cl_N());
        return log10Abs(cln::numerator(q)) - log10Abs(cln::denominator(q));
    }
    const cln::cl_F f = cln::the<cln::cl_F>(cln::realpart(value.to_cl_N()));
    const cln::cl_F m = cln::abs(f);
    // m = mantissa * 2^exponent with the mantissa in [1/2, 1).
    return static_cast<double>(cln::float_exponent(m)) * kLog10Of2 +
           std::log10(cln::double_approx(cln::scale_float(m, -cln::float_exponent(m))));
}

GiNaC::numeric integerOf(const IntegerValueABC& value, std::size_t max_digits) {
    const auto* ours = dynamic_cast<const IntegerValueC*>(&value);
    if (ours == nullptr || !ours->isLarge()) {
        return GiNaC::numeric(static_cast<long>(value.getValue()));
    }
    const std::string& digits = ours->largeDigits();
    if (digits.size() > max_digits) {
        throw tooManyDigits(static_cast<double>(digits.size()), max_digits);
    }
    const std::string text = (ours->isNegative() ? "-" : "") + digits;
    return GiNaC::numeric(cln::cl_N(cln::cl_I(text.c_str())));
}

GiNaC::numeric floatOf(const FloatValueABC& value, unsigned long digits) {
    FloatValueC converted;
    const auto* ours = dynamic_cast<const FloatValueC*>(&value);
    if (ours == nullptr) {
        converted.setValue(value.getValue());
        ours = &converted;
    }
    if (!ours->isFinite()) {
        throw RefusalC(u"a float that is infinite or not a number");
    }
    std::string significand = ours->significand();
    if (significand.empty()) {
        return GiNaC::numeric(cln::cl_N(cln::cl_float(cln::cl_I(0), cln::float_format(digits))));
    }
    // A float written with digits before its point keeps `digits` digits
    // after it, so that what is written is what is computed with: sin(1.0e300)
    // is the sine of 10^300, not of a 27-digit neighbour of it.
    const std::int64_t before = ours->exponent() + 1;
    if (before > 0 && before <= static_cast<std::int64_t>(GinacEngineC::kMaxDigits)) {
        digits += static_cast<unsigned long>(before);
    }
    const cln::float_format_t format = cln::float_format(digits);
    // Digits far beyond the precision cannot matter; a last 1 keeps a
    // truncated text from looking like an exact tie.
    if (significand.size() > digits + 5) {
        significand.resize(digits + 5);
        significand += '1';
    }
    const cln::cl_I mantissa(significand.c_str());
    const long shift = static_cast<long>(ours->exponent()) - static_cast<long>(significand.size() - 1);
    cln::cl_F result;
    if (shift <= kExactBinaryExponent / 3 && shift >= -kExactBinaryExponent / 3) {
        result = cln::cl_float(mantissa * powerOf10(shift), format);
    } else {
        result = cln::cl_float(mantissa, format) *
                 cln::the<cln::cl_F>(cln::expt(cln::cl_float(cln::cl_I(10), format), cln::cl_I(shift)));
    }
    return GiNaC::numeric(cln::cl_N(ours->isNegative() ? -result : result));
}

namespace {

// The magnitude's digits of an integer, refused beyond `max_digits`.
std::string integerDigits(const cln::cl_I& n, std::size_t max_digits) {
    const auto length = cln::integer_length(n);
    if (length < 63) {
        const long long value = cln::cl_I_to_Q(cln::abs(n));
        return std::to_string(value);
    }
    const double estimate = static_cast<double>(length) * kLog10Of2;
    if (estimate > static_cast<double>(max_digits) + 1.0) {
        throw tooManyDigits(estimate, max_digits);
    }
    std::string digits = decimal(cln::abs(n));
    if (digits.size() > max_digits) {
        throw tooManyDigits(static_cast<double>(digits.size()), max_digits);
    }
    return digits;
}

// `digits` significant digits of a float or rational x != 0.
void roundedDigits(const cln::cl_R& x, bool rational, unsigned long digits, support::RealS& real) {
    const cln::cl_R magnitude = cln::abs(x);
    long exponent = 0;
    if (rational) {
        real.digits = roundRational(cln::the<cln::cl_RA>(magnitude), digits, exponent);
    } else {
        const cln::cl_F f = cln::the<cln::cl_F>(magnitude);
        const long binary = cln::float_exponent(f);
        real.digits = binary <= kExactBinaryExponent && binary >= -kExactBinaryExponent
                          ? roundFloatExactly(f, digits, exponent)
                          : roundFloat(f, digits, exponent);
    }
    while (!real.digits.empty() && real.digits.back() == '0') {
        real.digits.pop_back();
    }
    real.exponent = exponent;
}

}  // namespace

support::RealS realOf(const GiNaC::numeric& value, unsigned long digits, std::size_t max_digits, bool as_float) {
    if (!as_float && value.is_integer() && value.is_equal(GiNaC::numeric(value.to_long()))) {
        const long small = value.to_long();  // the common case, without CLN's decimal conversion
        support::RealS real;
        real.negative = small < 0;
        real.digits = std::to_string(small < 0 ? 0 - static_cast<unsigned long>(small) : static_cast<unsigned long>(small));
        return real;
    }
    const cln::cl_R x = cln::the<cln::cl_R>(value.to_cl_N());
    support::RealS real;
    real.negative = cln::minusp(x);
    if (value.is_rational() && !as_float) {
        const cln::cl_RA q = cln::the<cln::cl_RA>(x);
        real.digits = integerDigits(cln::numerator(q), max_digits);
        if (!value.is_integer()) {
            real.form = support::RealS::FormE::Rational;
            real.denominator = integerDigits(cln::denominator(q), max_digits);
        }
        return real;
    }
    real.form = support::RealS::FormE::Float;
    real.digits.clear();
    if (!cln::zerop(x)) {
        roundedDigits(x, value.is_rational(), digits, real);
    }
    return real;
}

support::NumberS numberOf(const GiNaC::numeric& given, unsigned long digits, std::size_t max_digits, bool as_float) {
    const GiNaC::numeric value = realIfReal(given);
    support::NumberS number;
    if (value.is_real()) {
        number.real = realOf(value, digits, max_digits, as_float);
        return number;
    }
    number.complex = true;
    number.real = realOf(value.real(), digits, max_digits, as_float);
    number.imag = realOf(value.imag(), digits, max_digits, as_float);
    return number;
}

}  // namespace qorv::math::algexpr::ginac::detail
