// SPDX-License-Identifier: MIT
#include "FunctionTableC.h"

#include <ginac/ginac.h>

#include "SupportNames.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

FunctionTableC& FunctionTableC::instance() {
    static FunctionTableC* table = new FunctionTableC();  // never destroyed: outlives static teardown
    return *table;
}

FunctionTableC::FunctionTableC() {
    for (const GiNaC::function_options& options : GiNaC::function::get_registered_functions()) {
        ++uses[options.get_name()];
    }
    const std::pair<const char16_t*, unsigned> read_by_name[] = {
        {u"conjugate", GiNaC::conjugate_function_SERIAL::serial},
        {u"real_part", GiNaC::real_part_function_SERIAL::serial},
        {u"imag_part", GiNaC::imag_part_function_SERIAL::serial},
        {u"csgn", GiNaC::csgn_SERIAL::serial},
        {u"step", GiNaC::step_SERIAL::serial}};
    for (const auto& [name, serial] : read_by_name) {
        serials[{name, 1}] = serial;
    }
}

unsigned FunctionTableC::serialFor(const std::u16string& name, std::size_t arity) {
    const auto found = serials.find({name, arity});
    if (found != serials.end()) {
        return found->second;
    }
    if (names.size() >= GinacEngineC::kMaxFunctions) {
        throw RefusalC(u"too many distinct unknown functions: at most " + count(GinacEngineC::kMaxFunctions) +
                       u" names and arities can be registered with GiNaC");
    }
    const std::string ginac_name = utf8(name);
    unsigned& same_name = uses[ginac_name];
    const unsigned serial = GiNaC::function::register_new(
        GiNaC::function_options(ginac_name, static_cast<unsigned>(arity)).overloaded(same_name + 1));
    ++same_name;
    serials[{name, arity}] = serial;
    names[serial] = name;
    return serial;
}

const std::u16string* FunctionTableC::registeredName(unsigned serial) const {
    const auto found = names.find(serial);
    return found == names.end() ? nullptr : &found->second;
}

}  // namespace qorv::math::algexpr::ginac::detail
