// SPDX-License-Identifier: MIT
// PolynomialRootsC: the roots of a polynomial with rational coefficients,
// isolated and certified by Arb (arb_fmpz_poly_complex_roots), so that a
// root Giac gives only as a float is written as the double nearest the
// root itself, not Giac's approximation (off in its last digits: the real
// root of x^5 - x - 1 came out as 1.1673039782614296 for
// 1.16730397826141868...).
//
//   PolynomialRootsC roots;
//   if (roots.set(coefficients)) {          // highest degree first
//       double re, im;
//       if (roots.nearest(1.1673, 0.0, true, re, im)) { ... }
//   }
#ifndef ALGEXPR_GIAC_SRC_POLYNOMIALROOTSC_H
#define ALGEXPR_GIAC_SRC_POLYNOMIALROOTSC_H

#include <acb.h>
#include <flint/fmpz_poly.h>

#include <cstddef>

#include "GiacHeaders.h"

namespace qorv::math::algexpr::giac::detail {

class PolynomialRootsC {
public:
    /// Degrees beyond this are not isolated (the time grows quickly).
    static constexpr long kMaxDegree = 300;

    PolynomialRootsC();
    ~PolynomialRootsC();
    PolynomialRootsC(const PolynomialRootsC&) = delete;
    PolynomialRootsC& operator=(const PolynomialRootsC&) = delete;

    /// The roots of the polynomial of these coefficients (highest degree
    /// first; integers, fractions, or floats as the binary fractions they
    /// are). False for any other coefficient, a
    /// constant, or a degree past kMaxDegree.
    bool set(const ::giac::vecteur& coefficients);
    /// The root nearest (re, im) (among the real roots only, where
    /// `real_only`), as the doubles nearest its parts. False where no root
    /// is near (relative 1e-6) and clearly nearer than every other, or its
    /// parts cannot be rounded with certainty.
    bool nearest(double re, double im, bool real_only, double& out_re, double& out_im);

private:
    void isolate(long precision);
    // The double nearest the ball's value; false where the ball spans two.
    static bool nearestDouble(const arb_t ball, double& out);

    fmpz_poly_t squarefree;
    acb_ptr roots = nullptr;
    long count = 0;
    long precision = 0;
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
