// SPDX-License-Identifier: MIT
#include "PolynomialRootsC.h"

#include <arb_fmpz_poly.h>
#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>

#include <mpfr.h>

#include <cmath>
#include <limits>

namespace qorv::math::algexpr::giac::detail {

namespace {

// n as a FLINT integer; false unless it is one.
bool integerOf(const ::giac::gen& n, fmpz_t out) {
    if (n.type == ::giac::_INT_) {
        fmpz_set_si(out, n.val);
        return true;
    }
    if (n.type == ::giac::_ZINT) {
        fmpz_set_mpz(out, *n._ZINTptr);
        return true;
    }
    return false;
}

// A float as the rational it is exactly; false for infinities and NaN.
bool rationalOfFloat(const ::giac::gen& g, fmpq_t out) {
    fmpz_t m;
    fmpz_init(m);
    slong shift = 0;
    bool ok = true;
    if (g.type == ::giac::_DOUBLE_) {
        int e = 0;
        const double fraction = std::frexp(g._DOUBLE_val, &e);
        ok = std::isfinite(g._DOUBLE_val);
        if (ok) {
            fmpz_set_d(m, std::ldexp(fraction, 53));  // an integer: exact
            shift = e - 53;
        }
    } else {
        mpz_t z;
        mpz_init(z);
        const mpfr_exp_t e = mpfr_get_z_2exp(z, g._REALptr->inf);
        ok = mpfr_number_p(g._REALptr->inf) != 0;
        fmpz_set_mpz(m, z);
        mpz_clear(z);
        shift = e;
    }
    if (ok) {
        fmpz_set(fmpq_numref(out), m);
        fmpz_one(fmpq_denref(out));
        if (shift >= 0) {
            fmpq_mul_2exp(out, out, static_cast<flint_bitcnt_t>(shift));
        } else {
            fmpq_div_2exp(out, out, static_cast<flint_bitcnt_t>(-shift));
        }
    }
    fmpz_clear(m);
    return ok;
}

// The midpoint of a ball as a double (for distances only).
double mid(const arb_t x) { return arf_get_d(arb_midref(x), ARF_RND_NEAR); }

// Arb and FLINT keep caches per thread: the thread that isolated roots
// frees its own when it ends (the engine's worker at exit).
struct FlintCachesS {
    ~FlintCachesS() { flint_cleanup(); }
};

}  // namespace

PolynomialRootsC::PolynomialRootsC() {
    static thread_local FlintCachesS caches;
    (void)caches;
    fmpz_poly_init(squarefree);
}

PolynomialRootsC::~PolynomialRootsC() {
    if (roots != nullptr) {
        _acb_vec_clear(roots, count);
    }
    fmpz_poly_clear(squarefree);
}

bool PolynomialRootsC::set(const ::giac::vecteur& coefficients) {
    const long degree = static_cast<long>(coefficients.size()) - 1;
    if (degree < 1 || degree > kMaxDegree) {
        return false;
    }
    fmpq_poly_t q;
    fmpq_poly_init(q);
    fmpq_t c;
    fmpq_init(c);
    bool rational = true;
    for (long i = 0; i <= degree && rational; ++i) {
        const ::giac::gen& g = coefficients[static_cast<std::size_t>(i)];
        if (g.type == ::giac::_FRAC) {
            rational = integerOf(g._FRACptr->num, fmpq_numref(c)) && integerOf(g._FRACptr->den, fmpq_denref(c)) &&
                       !fmpz_is_zero(fmpq_denref(c));
            if (rational) {
                fmpq_canonicalise(c);
            }
        } else if (g.type == ::giac::_DOUBLE_ || g.type == ::giac::_REAL) {
            rational = rationalOfFloat(g, c);  // the polynomial of the floats as given
        } else {
            rational = integerOf(g, fmpq_numref(c));
            fmpz_one(fmpq_denref(c));
        }
        if (rational) {
            fmpq_poly_set_coeff_fmpq(q, degree - i, c);
        }
    }
    fmpz_poly_t p;
    fmpz_poly_init(p);
    if (rational) {
        fmpq_poly_get_numerator(p, q);
    }
    fmpq_clear(c);
    fmpq_poly_clear(q);
    if (!rational || fmpz_poly_degree(p) < 1) {
        fmpz_poly_clear(p);
        return false;
    }
    // Arb isolates the roots of a squarefree polynomial: p / gcd(p, p').
    fmpz_poly_t g;
    fmpz_poly_init(g);
    fmpz_poly_derivative(g, p);
    fmpz_poly_gcd(g, p, g);
    fmpz_poly_div(squarefree, p, g);
    fmpz_poly_clear(g);
    fmpz_poly_clear(p);
    isolate(128);
    return true;
}

void PolynomialRootsC::isolate(long bits) {
    if (roots != nullptr) {
        _acb_vec_clear(roots, count);
    }
    count = fmpz_poly_degree(squarefree);
    roots = _acb_vec_init(count);
    arb_fmpz_poly_complex_roots(roots, squarefree, 0, bits);
    precision = bits;
}

bool PolynomialRootsC::nearestDouble(const arb_t ball, double& out) {
    arf_t low;
    arf_t high;
    arf_init(low);
    arf_init(high);
    arb_get_lbound_arf(low, ball, 2 * 53 + 20);
    arb_get_ubound_arf(high, ball, 2 * 53 + 20);
    const double a = arf_get_d(low, ARF_RND_NEAR);
    const double b = arf_get_d(high, ARF_RND_NEAR);
    arf_clear(low);
    arf_clear(high);
    out = a;
    return a == b && std::isfinite(a);
}

bool PolynomialRootsC::nearest(double re, double im, bool real_only, double& out_re, double& out_im) {
    const double scale = std::max(1.0, std::hypot(re, im));
    long best = -1;
    double best_distance = std::numeric_limits<double>::infinity();
    double second_distance = std::numeric_limits<double>::infinity();
    for (long i = 0; i < count; ++i) {
        if (real_only && !arb_is_zero(acb_imagref(roots + i))) {
            continue;
        }
        const double d = std::hypot(mid(acb_realref(roots + i)) - re, mid(acb_imagref(roots + i)) - im);
        if (d < best_distance) {
            second_distance = best_distance;
            best_distance = d;
            best = i;
        } else if (d < second_distance) {
            second_distance = d;
        }
    }
    if (best < 0 || best_distance > 1e-6 * scale || second_distance <= 10.0 * best_distance) {
        return false;
    }
    // Each part to the double nearest it, with more bits where the ball
    // still spans two doubles.
    for (long bits = precision; bits <= 4096; bits *= 4) {
        if (bits != precision) {
            isolate(bits);  // the same roots, in the same order
        }
        if (nearestDouble(acb_realref(roots + best), out_re) && nearestDouble(acb_imagref(roots + best), out_im)) {
            return true;
        }
    }
    return false;
}

}  // namespace qorv::math::algexpr::giac::detail
