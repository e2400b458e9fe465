// SPDX-License-Identifier: MIT
#include "KeptRootsC.h"

#include <algorithm>
#include <string>
#include <typeinfo>

#include "ComplexRules.h"
#include "GinacFunctions.h"
#include "GinacWalkerTC.h"
#include "OrderedSymbolC.h"

namespace qorv::math::algexpr::ginac::detail {

GiNaC::ex KeptRootsC::power(const GiNaC::ex& base, const GiNaC::ex& exponent) {
    std::size_t index = 0;
    if (standsIn(base, index) && exponent.info(GiNaC::info_flags::integer)) {
        // The kept power's base holds a reciprocal: it is no stand-in.
        return power(kept[index].op(0), kept[index].op(1) * exponent);
    }
    if (!keptAsIs(base, exponent)) {
        return principalPower(base, exponent);
    }
    const GiNaC::ex held = GiNaC::power(base, exponent).hold();
    const auto at = found.find(held);
    if (at != found.end()) {
        return at->second;
    }
    const std::size_t made = kept.size();
    const GiNaC::ex symbol = GiNaC::dynallocate<OrderedSymbolC>("root" + std::to_string(made),
                                                                kFirstRank + static_cast<unsigned>(made),
                                                                GiNaC::domain::complex);
    const GiNaC::ex released_form = held.subs(released_forms, GiNaC::subs_options::no_pattern);
    kept.push_back(held);
    stand_ins.push_back(symbol);
    released_forms.emplace(symbol, released_form);
    found.emplace(held, symbol);
    return symbol;
}

// The stand-ins that `e` holds, each once, in the order they were made.
std::vector<std::size_t> KeptRootsC::present(const GiNaC::ex& e) const {
    std::vector<std::size_t> found_here;
    GinacWalkerTC<unsigned char> walker;
    walker.run(e, [](const GiNaC::ex&) { return true; },
               [&found_here](const GiNaC::ex& part, const unsigned char*, std::size_t) -> unsigned char {
                   std::size_t index = 0;
                   if (standsIn(part, index)) {
                       found_here.push_back(index);
                   }
                   return 0;
               });
    std::sort(found_here.begin(), found_here.end());
    found_here.erase(std::unique(found_here.begin(), found_here.end()), found_here.end());
    return found_here;
}

GiNaC::ex KeptRootsC::released(const GiNaC::ex& e, const GiNaC::ex* variable) const {
    if (empty()) {
        return e;
    }
    if (variable == nullptr) {
        return e.subs(released_forms, GiNaC::subs_options::no_pattern);
    }
    GiNaC::exmap holding;
    for (const std::size_t index : present(e)) {
        const GiNaC::ex& form = released_forms.at(stand_ins[index]);
        if (form.has(*variable)) {
            holding.emplace(stand_ins[index], form);
        }
    }
    return holding.empty() ? e : e.subs(holding, GiNaC::subs_options::no_pattern);
}

GiNaC::ex KeptRootsC::settled(const GiNaC::ex& e) const {
    if (empty()) {
        return e;
    }
    GiNaC::exmap plain;
    GinacWalkerTC<unsigned char> walker;
    walker.run(e, [](const GiNaC::ex&) { return true; },
               [this, &plain](const GiNaC::ex& part, const unsigned char*, std::size_t) -> unsigned char {
                   std::size_t index = 0;
                   if (isExactly<GiNaC::power>(part) && standsIn(part.op(0), index) &&
                       part.op(1).info(GiNaC::info_flags::integer)) {
                       const GiNaC::ex exponent = kept[index].op(1) * part.op(1);
                       if (exponent.info(GiNaC::info_flags::integer)) {
                           plain.emplace(part, principalPower(kept[index].op(0), exponent));
                       }
                   }
                   return 0;
               });
    return plain.empty() ? e : e.subs(plain, GiNaC::subs_options::no_pattern);
}

GiNaC::ex KeptRootsC::valued(const GiNaC::ex& e) const {
    const std::vector<std::size_t> here = empty() ? std::vector<std::size_t>() : present(e);
    if (here.empty()) {
        return e;
    }
    // Each root's value once an evaluation, those before it first (a base
    // holds only stand-ins made before it).
    while (values.size() <= here.back()) {
        const std::size_t i = values.size();
        const GiNaC::ex base = kept[i].op(0).subs(value_map, GiNaC::subs_options::no_pattern).evalf();
        // A number's power is its principal value.
        values.push_back(isExactly<GiNaC::numeric>(base) ? GiNaC::pow(base, kept[i].op(1)).evalf()
                                                         : released_forms.at(stand_ins[i]));
        value_map.emplace(stand_ins[i], values.back());
    }
    GiNaC::exmap these;
    for (const std::size_t index : here) {
        these.emplace(stand_ins[index], values[index]);
    }
    return e.subs(these, GiNaC::subs_options::no_pattern);
}

bool KeptRootsC::standsIn(const GiNaC::ex& e, std::size_t& index) {
    const GiNaC::basic& object = GiNaC::ex_to<GiNaC::basic>(e);
    if (typeid(object) != typeid(OrderedSymbolC)) {
        return false;
    }
    const unsigned rank = static_cast<const OrderedSymbolC&>(object).rank();
    if (rank < kFirstRank) {
        return false;
    }
    index = rank - kFirstRank;
    return true;
}

}  // namespace qorv::math::algexpr::ginac::detail
