// SPDX-License-Identifier: MIT
// Two of GiNaC's automatic rules that fail for complex values, done right
// where the engine builds the expressions concerned. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_COMPLEXRULES_H
#define ALGEXPR_GINAC_SRC_COMPLEXRULES_H

#include <ginac/ginac.h>

#include "algexpr/ginac/GinacLimitsS.h"

namespace qorv::math::algexpr::ginac::detail {

/// An expression made on the stack, evaluated: GiNaC's pow() and
/// dynallocate() put the object on the heap before evaluating it, and leak
/// it when the evaluation throws (a division by zero, a pole); an object on
/// the stack is copied only once evaluated.
inline GiNaC::ex evaluated(const GiNaC::basic& object) { return GiNaC::ex(object); }

/// abs(a). GiNaC takes a number off the real line for nonnegative (it is
/// not negative), and with it a product of such a coefficient and
/// nonnegative factors: abs(i*pi) would be i*pi, and abs of a power of one
/// likewise. So the coefficient's absolute value is taken out here, and the
/// absolute value of a power of a real exponent is that of its base to the
/// exponent (as far as `levels` of such nesting; beyond, GiNaC's own).
/// GiNaC writes abs(exp(z)) as exp of the real part of z, and abs(b^c) for a
/// real c or positive b with the real part of c; taking those apart is
/// bounded like real_part (a RefusalC beyond `limits`).
GiNaC::ex absoluteValue(const GiNaC::ex& a, const GinacLimitsS& limits, int levels = 8);

/// base^exponent, the principal value. GiNaC turns (1/x)^c, and a product
/// with such a factor, into x^(-c) for a fractional c, which differs where x
/// is a negative real number (sqrt(1/(-2)) is i/sqrt(2), (-2)^(-1/2) is
/// -i/sqrt(2)): such a power, of an x not known positive, is kept as it is. A square root (or its
/// reciprocal) of a + b*sqrt(c), a > 0, b, c rational, is denested when
/// a^2 - b^2*c is a rational square: sqrt(3 + 2*sqrt(2)) is sqrt(2) + 1.
GiNaC::ex principalPower(const GiNaC::ex& base, const GiNaC::ex& exponent);

/// Whether principalPower keeps base^exponent as it is: a fractional
/// exponent of a base that holds the reciprocal of something not known
/// positive. GiNaC takes such a power
/// for x^(-c) again as soon as it meets it in a product (a product keeps
/// each factor as a base and an exponent, and evaluates their power anew).
bool keptAsIs(const GiNaC::ex& base, const GiNaC::ex& exponent);

/// e, or -f(-u) for e = f(u) with f one of atan, sinh and tanh and u
/// negative, or -atan2(-y, x) for e = atan2(y, x) and y negative. GiNaC
/// takes the sign out of sin and tan of a negative argument but leaves
/// atan(-pi) and atan2(-3, x) as they are and knows them negative; a power
/// with such a factor in its base, expanded (as real_part and imag_part do on
/// the way), recurses without end, taking the sign out and putting it back:
/// the worker's stack overflowed on sqrt(-atan(-pi)) expanded. These are all
/// the functions of the engine's vocabulary that GiNaC knows negative while
/// they keep their form.
GiNaC::ex oddSignOut(const GiNaC::ex& e);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
