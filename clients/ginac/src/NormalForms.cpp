// SPDX-License-Identifier: MIT
#include "NormalForms.h"

#include <map>

#include "ComplexRules.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

using Operation = GiNaC::ex (*)(const GiNaC::ex&);

GiNaC::ex withOpaquePowers(const GiNaC::ex& e, Operation operation);

GiNaC::ex normal(const GiNaC::ex& e) { return e.normal(); }

GiNaC::ex factor(const GiNaC::ex& e) { return GiNaC::factor(e); }

// pi and the other constants, floats and complex numbers, which
// factor() refuses as not rational ("gcd: arguments must be polynomials over
// the rationals"), while as symbols they factor as they should: pi*x + pi*y
// is pi*(x + y).
bool isIrrationalNumber(const GiNaC::ex& e) {
    return GiNaC::is_exactly_a<GiNaC::constant>(e) ||
           (GiNaC::is_exactly_a<GiNaC::numeric>(e) && !e.info(GiNaC::info_flags::rational));
}

// Replaces each power of a non-integer exponent by a symbol, the same symbol
// for equal powers; `back` maps the symbols to their powers. A power of a
// negative exponent becomes 1 over the symbol of its reciprocal, as normal()
// itself would have it, so that sums of such powers still become one fraction.
class HidePowers : public GiNaC::map_function {
public:
    explicit HidePowers(Operation operation) : operation(operation) {}

    GiNaC::ex operator()(const GiNaC::ex& e) override {
        if (operation == factor && isIrrationalNumber(e)) {
            return standIn(e);
        }
        if (!GiNaC::is_exactly_a<GiNaC::power>(e) || e.op(1).info(GiNaC::info_flags::integer)) {
            return e.map(*this);
        }
        const GiNaC::ex base = withOpaquePowers(e.op(0), operation);
        GiNaC::ex exponent = withOpaquePowers(e.op(1), operation);
        const bool reciprocal = exponent.info(GiNaC::info_flags::negative);
        if (reciprocal) {
            exponent = -exponent;
        }
        const GiNaC::ex power = principalPower(base, exponent);
        if (!GiNaC::is_exactly_a<GiNaC::power>(power)) {
            return reciprocal ? GiNaC::pow(power, -1) : power;  // evaluated: 4^(1/2) is 2
        }
        const GiNaC::ex symbol = standIn(power);
        return reciprocal ? GiNaC::pow(symbol, -1) : symbol;
    }

    GiNaC::exmap back;

private:
    GiNaC::ex standIn(const GiNaC::ex& e) {
        auto found = hidden.find(e);
        if (found == hidden.end()) {
            const GiNaC::symbol stand_in;
            found = hidden.emplace(e, stand_in).first;
            back.emplace(stand_in, e);
        }
        return found->second;
    }

    Operation operation;
    std::map<GiNaC::ex, GiNaC::ex, GiNaC::ex_is_less> hidden;
};

GiNaC::ex withOpaquePowers(const GiNaC::ex& e, Operation operation) {
    HidePowers hide(operation);
    const GiNaC::ex opaque = hide(e);
    if (hide.back.empty()) {
        return operation(e);
    }
    return operation(opaque).subs(hide.back, GiNaC::subs_options::no_pattern);
}

}  // namespace

GiNaC::ex normalForm(const GiNaC::ex& e) { return withOpaquePowers(e, normal); }

GiNaC::ex factorForm(const GiNaC::ex& e) { return withOpaquePowers(e, factor); }

}  // namespace qorv::math::algexpr::ginac::detail
