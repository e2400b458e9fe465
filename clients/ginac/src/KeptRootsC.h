// SPDX-License-Identifier: MIT
// KeptRootsC: the roots of one evaluation that GiNaC would take for other
// values, each kept as a symbol of its own. A fractional power of a base
// that holds a reciprocal, sqrt(1/k) or (496/k)^(1/3), is not k^(-c) where
// k is a negative number; GiNaC keeps a product's factors as bases with
// exponents and evaluates their powers anew, and so takes the one for the
// other as soon as such a power is a factor: x*sqrt(1/k) became x/sqrt(k).
// As a symbol the power is an atom to products, sums, expand, simplify and
// factor, all of which stay true of it, and the converter writes the power
// itself in its place. Operations that depend on the symbols an expression
// holds (the variable of diff or series, the one symbol of quo) get the
// powers that hold the variable back first, as GiNaC evaluates them; the
// numerical ones (nintegrate) get the roots' values. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_KEPTROOTSC_H
#define ALGEXPR_GINAC_SRC_KEPTROOTSC_H

#include <ginac/ginac.h>

#include <cstddef>
#include <map>
#include <vector>

namespace qorv::math::algexpr::ginac::detail {

class KeptRootsC {
public:
    /// Stand-in ranks (OrderedSymbolC) start here, past any evaluation's
    /// symbols: GiNaC orders them after those, by the order they were made.
    static constexpr unsigned kFirstRank = 0x40000000u;

    /// base^exponent as principalPower gives it, or the stand-in for it; an
    /// integer power of a stand-in is its base to the product of the
    /// exponents ((b^c)^n is b^(c*n) on every branch).
    GiNaC::ex power(const GiNaC::ex& base, const GiNaC::ex& exponent);

    bool empty() const { return kept.empty(); }
    /// The kept powers, by stand-in (GiNaC's power held; a base may hold
    /// stand-ins made before).
    const std::vector<GiNaC::ex>& powers() const { return kept; }

    /// `e` with each stand-in's power back in, as GiNaC evaluates it; with
    /// a `variable`, only the powers that hold it (the others are constants
    /// to what depends on the variable).
    GiNaC::ex released(const GiNaC::ex& e, const GiNaC::ex* variable = nullptr) const;
    /// `e` with each integer power of a stand-in that is an integer power
    /// of its base written as that: sqrt(1/k)^2 is 1/k.
    GiNaC::ex settled(const GiNaC::ex& e) const;
    /// `e` with each stand-in whose base has a value replaced by the root's
    /// principal value, at GiNaC's digits (the others released).
    GiNaC::ex valued(const GiNaC::ex& e) const;

    /// Whether `e` is a stand-in, and which.
    static bool standsIn(const GiNaC::ex& e, std::size_t& index);

private:
    std::vector<std::size_t> present(const GiNaC::ex& e) const;

    std::vector<GiNaC::ex> kept;       // by stand-in
    std::vector<GiNaC::ex> stand_ins;  // by stand-in
    GiNaC::exmap released_forms;       // stand-in -> its power as GiNaC evaluates it
    std::map<GiNaC::ex, GiNaC::ex, GiNaC::ex_is_less> found;  // kept power -> stand-in
    mutable std::vector<GiNaC::ex> values;  // by stand-in, made by valued() as far as asked
    mutable GiNaC::exmap value_map;         // the same, by stand-in
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
