// SPDX-License-Identifier: MIT
// The vocabulary's functions of real values that GiNaC lacks, registered
// with GiNaC as functions of their own: floor, ceil, sign, min and max, and
// the error functions erf and erfc. The first take their value where the
// argument is a number, or an exact value whose float lies clearly away from
// where the function jumps (floor(pi) is 3, sign(sqrt(2) - 1) is 1);
// otherwise the call stays as it is, and they have no derivative (a series
// or derivative through them is refused). erf and erfc are computed for real
// floats to the working precision, and have their derivatives. Worker thread
// only, but registered when the library loads.
#ifndef ALGEXPR_GINAC_SRC_REALFUNCTIONS_H
#define ALGEXPR_GINAC_SRC_REALFUNCTIONS_H

#include <ginac/ginac.h>

#include <vector>

namespace qorv::math::algexpr::ginac::detail {

/// The GiNaC serials of the functions.
struct RealSerialsS {
    unsigned floor;
    unsigned ceil;
    unsigned sign;
    unsigned min;
    unsigned max;
    unsigned erf;
    unsigned erfc;
};
const RealSerialsS& realSerials();

GiNaC::ex floorOf(const GiNaC::ex& a);
GiNaC::ex ceilOf(const GiNaC::ex& a);
GiNaC::ex signOf(const GiNaC::ex& a);
/// min or max of two values.
GiNaC::ex extremeOf(bool greatest, const GiNaC::ex& a, const GiNaC::ex& b);
/// min or max of one or more values (reordered): those known to be real
/// numbers first, folded into one.
GiNaC::ex extremeOfAll(bool greatest, std::vector<GiNaC::ex>& arguments);
/// erf(a) and erfc(a): computed for real floats (at any precision), exact
/// at 0, otherwise held.
GiNaC::ex erfOf(const GiNaC::ex& a);
GiNaC::ex erfcOf(const GiNaC::ex& a);

/// erfc of floats above this is refused: 1 - erf(x) would need about
/// x^2/ln(10) more digits (4,300 at 100).
constexpr double kMaxErfcArgument = 100.0;

}  // namespace qorv::math::algexpr::ginac::detail

#endif
