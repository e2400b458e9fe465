// SPDX-License-Identifier: MIT
#include "ComplexRules.h"

#include "Estimates.h"
#include "GinacFunctions.h"

namespace qorv::math::algexpr::ginac::detail {

GiNaC::ex absoluteValue(const GiNaC::ex& a, const GinacLimitsS& limits, int levels) {
    if (levels > 0 && isExactly<GiNaC::mul>(a)) {
        for (std::size_t i = 0; i < a.nops(); ++i) {
            const GiNaC::ex factor = a.op(i);
            if (isExactly<GiNaC::numeric>(factor) && !GiNaC::ex_to<GiNaC::numeric>(factor).is_real()) {
                return GiNaC::abs(GiNaC::ex_to<GiNaC::numeric>(factor)) * absoluteValue(a / factor, limits, levels - 1);
            }
        }
    }
    if (levels > 0 && isExactly<GiNaC::power>(a) && isExactly<GiNaC::numeric>(a.op(1)) &&
        GiNaC::ex_to<GiNaC::numeric>(a.op(1)).is_real()) {
        return evaluated(GiNaC::power(absoluteValue(a.op(0), limits, levels - 1), a.op(1)));
    }
    if (GiNaC::is_the_function<GiNaC::exp_SERIAL>(a)) {
        checkParts(a.op(0), u"abs", limits);
    } else if (isExactly<GiNaC::power>(a)) {
        checkParts(a.op(1), u"abs", limits);
    }
    return GiNaC::abs(a);
}

// Whether GiNaC would rewrite base^c, for a fractional c, through a factor
// 1/x of the base: it turns (1/x)^c into x^(-c), which differs from it where
// x is a negative real number (sqrt(1/(-2)) is i/sqrt(2), (-2)^(-1/2) is
// -i/sqrt(2)).
namespace {

// Whether the base holds the reciprocal of what may not be positive (of a
// positive x, (1/x)^c is x^(-c)).
bool reciprocalInside(const GiNaC::ex& base) {
    const auto reciprocal = [](const GiNaC::ex& e) {
        return isExactly<GiNaC::power>(e) && e.op(1).is_equal(-1) && !e.op(0).info(GiNaC::info_flags::positive);
    };
    if (reciprocal(base)) {
        return true;
    }
    if (isExactly<GiNaC::mul>(base)) {
        for (std::size_t i = 0; i < base.nops(); ++i) {
            if (reciprocal(base.op(i))) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

namespace {

// Whether the rational q > 0 is the square of a rational, which goes to root.
bool rationalSquare(const GiNaC::numeric& q, GiNaC::numeric& root) {
    if (!q.is_rational() || q.is_negative()) {
        return false;
    }
    const GiNaC::numeric top = GiNaC::isqrt(q.numer());
    const GiNaC::numeric bottom = GiNaC::isqrt(q.denom());
    if (top * top != q.numer() || bottom * bottom != q.denom()) {
        return false;
    }
    root = top / bottom;
    return true;
}

// sqrt(a + b*sqrt(c)), a, b, c rational, a > 0, c > 0: when a^2 - b^2*c is
// the square of a rational d, it is sqrt((a+d)/2) + sign(b)*sqrt((a-d)/2)
// (squared, a + |b|*sqrt(c) with the sign of b; both roots real, the first
// the larger, so the sum is the principal root). Null otherwise.
GiNaC::ex denestedRoot(const GiNaC::ex& base) {
    if (!isExactly<GiNaC::add>(base) || base.nops() != 2) {
        return GiNaC::ex();
    }
    GiNaC::numeric a;
    GiNaC::numeric b(1);
    GiNaC::ex root;
    bool found_a = false;
    for (std::size_t i = 0; i < 2; ++i) {
        const GiNaC::ex term = base.op(i);
        if (isExactly<GiNaC::numeric>(term)) {
            a = GiNaC::ex_to<GiNaC::numeric>(term);
            found_a = true;
        } else if (isExactly<GiNaC::mul>(term) && term.nops() == 2 &&
                   isExactly<GiNaC::numeric>(term.op(1))) {
            b = GiNaC::ex_to<GiNaC::numeric>(term.op(1));
            root = term.op(0);
        } else {
            root = term;
        }
    }
    if (!found_a || !a.is_rational() || !a.is_positive() || !b.is_rational() || !isExactly<GiNaC::power>(root) ||
        !root.op(1).is_equal(GiNaC::numeric(1, 2)) || !isExactly<GiNaC::numeric>(root.op(0))) {
        return GiNaC::ex();
    }
    const GiNaC::numeric c = GiNaC::ex_to<GiNaC::numeric>(root.op(0));
    GiNaC::numeric d;
    if (!c.is_rational() || !c.is_positive() || !rationalSquare(a * a - b * b * c, d)) {
        return GiNaC::ex();
    }
    // sqrt(p/q) as sqrt(p*q)/q, as the forms write roots of fractions.
    const auto rootOf = [](const GiNaC::numeric& q) {
        return evaluated(GiNaC::power(q.numer() * q.denom(), GiNaC::numeric(1, 2))) / q.denom();
    };
    const GiNaC::ex larger = rootOf((a + d) / 2);
    const GiNaC::ex smaller = rootOf((a - d) / 2);
    return b.is_positive() ? larger + smaller : larger - smaller;
}

}  // namespace

GiNaC::ex principalPower(const GiNaC::ex& base, const GiNaC::ex& exponent) {
    if (exponent.is_equal(GiNaC::numeric(1, 2)) || exponent.is_equal(GiNaC::numeric(-1, 2))) {
        const GiNaC::ex denested = denestedRoot(base);
        if (!denested.is_zero()) {
            return exponent.is_equal(GiNaC::numeric(1, 2)) ? denested : evaluated(GiNaC::power(denested, -1));
        }
    }
    if (keptAsIs(base, exponent)) {
        return GiNaC::power(base, exponent).hold();
    }
    return evaluated(GiNaC::power(base, exponent));
}

bool keptAsIs(const GiNaC::ex& base, const GiNaC::ex& exponent) {
    return isExactly<GiNaC::numeric>(exponent) && !GiNaC::ex_to<GiNaC::numeric>(exponent).is_integer() &&
           reciprocalInside(base);
}

GiNaC::ex oddSignOut(const GiNaC::ex& e) {
    if (!isExactly<GiNaC::function>(e) || e.nops() == 0 || !e.op(0).info(GiNaC::info_flags::negative)) {
        return e;
    }
    const GiNaC::ex positive = -e.op(0);
    if (GiNaC::is_the_function<GiNaC::atan2_SERIAL>(e)) {
        return -GiNaC::atan2(positive, e.op(1));  // odd in y wherever y is not 0
    }
    if (e.nops() != 1) {
        return e;
    }
    if (GiNaC::is_the_function<GiNaC::atan_SERIAL>(e)) {
        return -GiNaC::atan(positive);
    }
    if (GiNaC::is_the_function<GiNaC::sinh_SERIAL>(e)) {
        return -GiNaC::sinh(positive);
    }
    if (GiNaC::is_the_function<GiNaC::tanh_SERIAL>(e)) {
        return -GiNaC::tanh(positive);
    }
    return e;
}

}  // namespace qorv::math::algexpr::ginac::detail
