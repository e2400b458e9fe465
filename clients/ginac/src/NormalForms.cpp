// SPDX-License-Identifier: MIT
#include "NormalForms.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "ComplexRules.h"
#include "EvaluationForms.h"
#include "GinacFunctions.h"
#include "GinacWalkerTC.h"
#include "OrderedSymbolC.h"
#include "SupportNames.h"

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
    return isExactly<GiNaC::constant>(e) ||
           (isExactly<GiNaC::numeric>(e) && !e.info(GiNaC::info_flags::rational));
}

std::uint64_t mix(std::uint64_t seed, std::uint64_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2));
}

std::uint64_t textHash(const std::string& text) { return std::hash<std::string>()(text); }

// A fingerprint of an expression that depends on it alone, not on GiNaC's
// order of the operands of sums and products (which follows addresses).
std::uint64_t fingerprint(const GiNaC::ex& e) {
    GinacWalkerTC<std::uint64_t> walker;
    return walker.run(
        e, [](const GiNaC::ex& x) { return !isExactly<GiNaC::numeric>(x); },
        [](const GiNaC::ex& x, const std::uint64_t* parts, std::size_t count) {
            if (isExactly<GiNaC::numeric>(x) || GiNaC::is_a<GiNaC::symbol>(x) ||
                isExactly<GiNaC::constant>(x)) {
                std::ostringstream text;
                text << x;
                return textHash(text.str());
            }
            const bool commutative = isExactly<GiNaC::add>(x) || isExactly<GiNaC::mul>(x);
            std::uint64_t h = textHash(GiNaC::is_a<GiNaC::function>(x)
                                           ? utf8(functionName(GiNaC::ex_to<GiNaC::function>(x).get_serial()))
                                           : std::string(GiNaC::ex_to<GiNaC::basic>(x).class_name()));
            std::uint64_t sum = 0;
            for (std::size_t i = 0; i < count; ++i) {
                if (commutative) {
                    sum += mix(0, parts[i]);
                } else {
                    h = mix(h, parts[i]);
                }
            }
            return mix(h, sum);
        });
}

// Whether an expression holds a symbol.
bool hasSymbol(const GiNaC::ex& e) {
    GinacWalkerTC<unsigned char> walker;
    return walker.run(
               e, [](const GiNaC::ex&) { return true; },
               [](const GiNaC::ex& x, const unsigned char* parts, std::size_t count) {
                   unsigned char found = GiNaC::is_a<GiNaC::symbol>(x) ? 1 : 0;
                   for (std::size_t i = 0; found == 0 && i < count; ++i) {
                       found = parts[i];
                   }
                   return found;
               }) != 0;
}

// exp of a constant, such as exp(1/2): to normal() a symbol. normal() would
// write exp(1/2) + exp(-3) over whichever exp it meets first, and GiNaC meets
// them in the order of addresses.
bool isExpOfConstant(const GiNaC::ex& e) {
    return GiNaC::is_a<GiNaC::function>(e) && GiNaC::ex_to<GiNaC::function>(e).get_serial() == GiNaC::exp_SERIAL::serial &&
           !e.op(0).is_equal(1) && !hasSymbol(e.op(0));
}

// The symbol a hidden part stands behind. Its serial comes from the part's
// fingerprint, so that GiNaC orders the stand-ins alike in every process
// (made in order of operands, their serials would follow addresses).
class StandInC : public GiNaC::symbol {
public:
    explicit StandInC(unsigned number) { serial = number; }
    StandInC* duplicate() const override {
        auto* copy = new StandInC(*this);
        copy->setflag(GiNaC::status_flags::dynallocated);
        return copy;
    }

protected:
    unsigned calchash() const override {
        hashvalue = serial;
        setflag(GiNaC::status_flags::hash_calculated);
        return hashvalue;
    }
};

// Stand-in serials lie between GiNaC's own (from 0 up) and the evaluation's
// symbols (OrderedSymbolC::kFirstSerial up).
constexpr unsigned kFirstStandIn = 0x40000000u;

// Replaces each power of a non-integer exponent by a symbol, the same symbol
// for equal powers; `back` maps the symbols to their powers. A power of a
// negative exponent becomes 1 over the symbol of its reciprocal, as normal()
// itself would have it, so that sums of such powers still become one fraction.
class HidePowers : public GiNaC::map_function {
public:
    explicit HidePowers(Operation operation) : operation(operation) {}

    GiNaC::ex operator()(const GiNaC::ex& e) override {
        if ((operation == factor && isIrrationalNumber(e)) || (operation == normal && isExpOfConstant(e))) {
            return standIn(e);
        }
        if (operation == factor && GiNaC::is_a<GiNaC::function>(e) &&
            GiNaC::ex_to<GiNaC::function>(e).get_serial() == GiNaC::conjugate_function_SERIAL::serial) {
            // GiNaC's factor() recurses without end on a sum holding
            // conjugate(x): the call is a symbol to it, its argument factored.
            return standIn(GiNaC::conjugate_function(withOpaquePowers(e.op(0), operation)));
        }
        if (!isExactly<GiNaC::power>(e) || e.op(1).info(GiNaC::info_flags::integer)) {
            return e.map(*this);
        }
        const GiNaC::ex base = withOpaquePowers(e.op(0), operation);
        GiNaC::ex exponent = withOpaquePowers(e.op(1), operation);
        const bool reciprocal = exponent.info(GiNaC::info_flags::negative);
        if (reciprocal) {
            exponent = -exponent;
        }
        const GiNaC::ex power = principalPower(base, exponent);
        if (!isExactly<GiNaC::power>(power)) {
            return reciprocal ? evaluated(GiNaC::power(power, -1)) : power;  // evaluated: 4^(1/2) is 2
        }
        const GiNaC::ex symbol = standIn(power);
        return reciprocal ? evaluated(GiNaC::power(symbol, -1)) : symbol;
    }

    GiNaC::exmap back;

private:
    GiNaC::ex standIn(const GiNaC::ex& e) {
        auto found = hidden.find(e);
        if (found == hidden.end()) {
            auto number = static_cast<unsigned>(fingerprint(e) % (OrderedSymbolC::kFirstSerial - kFirstStandIn));
            while (!serials.insert(number).second) {  // the same fingerprint, by chance
                number = (number + 1) % (OrderedSymbolC::kFirstSerial - kFirstStandIn);
            }
            const GiNaC::ex stand_in = GiNaC::dynallocate<StandInC>(kFirstStandIn + number);
            found = hidden.emplace(e, stand_in).first;
            back.emplace(stand_in, e);
        }
        return found->second;
    }

    Operation operation;
    std::map<GiNaC::ex, GiNaC::ex, GiNaC::ex_is_less> hidden;
    std::set<unsigned> serials;
};

GiNaC::ex withOpaquePowers(const GiNaC::ex& e, Operation operation) {
    HidePowers hide(operation);
    const GiNaC::ex opaque = hide(e);
    if (hide.back.empty()) {
        return operation(e);
    }
    return operation(opaque).subs(hide.back, GiNaC::subs_options::no_pattern);
}


// A part of the expression as the log splitting leaves it, and what is
// known of it, found from its operands': whether it holds a symbol, is
// surely real, surely positive, and (for a product or power) the split log
// of it, when there is one.
struct SplitPartS {
    GiNaC::ex e;
    bool symbol = false;
    bool real = false;
    bool positive = false;
    GiNaC::ex logged;  // empty (0) when log(e) does not split
};

// The part with its operands replaced by those made (GiNaC's map, one level).
class OperandsF : public GiNaC::map_function {
public:
    explicit OperandsF(const SplitPartS* made) : made(made) {}
    GiNaC::ex operator()(const GiNaC::ex&) override { return made[next++].e; }

private:
    const SplitPartS* made;
    std::size_t next = 0;
};

SplitPartS splitPart(const GiNaC::ex& x, const SplitPartS* ops, std::size_t count) {
    SplitPartS part;
    part.e = x;
    bool changed = false;
    bool all_real = true;
    bool all_positive = true;
    for (std::size_t i = 0; i < count; ++i) {
        changed = changed || !GiNaC::are_ex_trivially_equal(ops[i].e, x.op(i));
        part.symbol = part.symbol || ops[i].symbol;
        all_real = all_real && ops[i].real;
        all_positive = all_positive && ops[i].positive;
    }
    if (changed) {
        OperandsF operands(ops);
        part.e = x.map(operands);
    }
    if (count == 0) {
        part.symbol = GiNaC::is_a<GiNaC::symbol>(x);
        const bool leaf = part.symbol || GiNaC::is_a<GiNaC::constant>(x) || isExactly<GiNaC::numeric>(x);
        part.real = leaf && x.info(GiNaC::info_flags::real);
        part.positive = leaf && x.info(GiNaC::info_flags::positive);
    } else if (isExactly<GiNaC::add>(x) || isExactly<GiNaC::mul>(x)) {
        part.real = all_real;
        part.positive = all_positive;
    } else if (isExactly<GiNaC::power>(x) && count == 2) {
        part.positive = ops[0].positive && ops[1].real;
        part.real = part.positive || (ops[0].real && ops[1].e.info(GiNaC::info_flags::integer));
    } else if (isFunction(x, GiNaC::exp_SERIAL::serial) && count == 1) {
        part.real = part.positive = ops[0].real;
    } else if (isFunction(x, GiNaC::log_SERIAL::serial) && count == 1) {
        part.real = ops[0].positive;
        if (!ops[0].logged.is_zero()) {
            part.e = ops[0].logged;
        }
        return part;
    }
    // log(a*b*...) splits over the positive factors when one holds a symbol;
    // log(b^c) for a positive b with symbols and a real c.
    if (isExactly<GiNaC::mul>(x)) {
        GiNaC::ex split = 0;
        GiNaC::ex rest = 1;
        bool symbolic = false;
        for (std::size_t i = 0; i < count; ++i) {
            if (ops[i].positive) {
                split += ops[i].logged.is_zero() ? GiNaC::log(ops[i].e) : ops[i].logged;
                symbolic = symbolic || ops[i].symbol;
            } else {
                rest *= ops[i].e;
            }
        }
        if (symbolic) {
            part.logged = split + (rest.is_equal(1) ? GiNaC::ex(0) : GiNaC::log(rest));
        }
    } else if (isExactly<GiNaC::power>(x) && count == 2 && ops[0].symbol && ops[0].positive && ops[1].real) {
        part.logged = ops[1].e * (ops[0].logged.is_zero() ? GiNaC::log(ops[0].e) : ops[0].logged);
    }
    return part;
}

}  // namespace

// One walk from the leaves up, each part rebuilt only where an operand
// changed (GiNaC's map() would rebuild every sum and product), so that the
// cost grows with the size of `e` alone; what is known of each part (real,
// positive) is found on the way, conservatively, rather than asked of
// GiNaC, whose info() walks a part again each time.
GiNaC::ex splitPositiveLogs(const GiNaC::ex& e) {
    // GiNaC's has() walks a shared part once for each place it is used: on an
    // expansion that shares its parts, a time exponential in their nesting.
    GinacWalkerTC<unsigned char> finder;
    const bool logarithm = finder.run(e, [](const GiNaC::ex&) { return true; },
                                      [](const GiNaC::ex& part, const unsigned char* parts, std::size_t count) {
                                          return static_cast<unsigned char>(
                                              isFunction(part, GiNaC::log_SERIAL::serial) ||
                                              std::any_of(parts, parts + count, [](unsigned char p) { return p != 0; }));
                                      }) != 0;
    if (!logarithm) {
        return e;
    }
    GinacWalkerTC<SplitPartS> walker;
    return walker.run(e, [](const GiNaC::ex&) { return true; }, splitPart).e;
}

GiNaC::ex normalForm(const GiNaC::ex& e) { return rationalizedDenominator(withOpaquePowers(e, normal)); }

GiNaC::ex factorForm(const GiNaC::ex& e) { return withOpaquePowers(e, factor); }

}  // namespace qorv::math::algexpr::ginac::detail
