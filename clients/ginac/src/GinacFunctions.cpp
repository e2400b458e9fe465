// SPDX-License-Identifier: MIT
#include "GinacFunctions.h"

#include <ginac/ginac.h>

#include <unordered_map>
#include <utility>

#include "FunctionTableC.h"
#include "RealFunctions.h"
#include "SupportNames.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

const std::unordered_map<unsigned, OperationE>& bySerial() {
    static const auto* table = new std::unordered_map<unsigned, OperationE>{
        {GiNaC::exp_SERIAL::serial, OperationE::Exp},     {GiNaC::log_SERIAL::serial, OperationE::Log},
        {GiNaC::sin_SERIAL::serial, OperationE::Sin},     {GiNaC::cos_SERIAL::serial, OperationE::Cos},
        {GiNaC::tan_SERIAL::serial, OperationE::Tan},     {GiNaC::abs_SERIAL::serial, OperationE::Abs},
        {GiNaC::asin_SERIAL::serial, OperationE::Asin},   {GiNaC::acos_SERIAL::serial, OperationE::Acos},
        {GiNaC::atan_SERIAL::serial, OperationE::Atan},   {GiNaC::sinh_SERIAL::serial, OperationE::Sinh},
        {GiNaC::cosh_SERIAL::serial, OperationE::Cosh},   {GiNaC::tanh_SERIAL::serial, OperationE::Tanh},
        {GiNaC::Order_SERIAL::serial, OperationE::Order},
        {GiNaC::conjugate_function_SERIAL::serial, OperationE::Conjugate},
        {GiNaC::real_part_function_SERIAL::serial, OperationE::RealPart},
        {GiNaC::imag_part_function_SERIAL::serial, OperationE::ImagPart},
        {GiNaC::csgn_SERIAL::serial, OperationE::Csgn},
        {GiNaC::step_SERIAL::serial, OperationE::Step},
        {GiNaC::atan2_SERIAL::serial, OperationE::Atan2},
        {GiNaC::factorial_SERIAL::serial, OperationE::Factorial},
        {GiNaC::binomial_SERIAL::serial, OperationE::Binomial},
        {GiNaC::tgamma_SERIAL::serial, OperationE::Gamma},
        {GiNaC::lgamma_SERIAL::serial, OperationE::Lgamma},
        {GiNaC::zeta1_SERIAL::serial, OperationE::Zeta},
        {GiNaC::Li_SERIAL::serial, OperationE::Polylog},
        {realSerials().floor, OperationE::Floor},
        {realSerials().ceil, OperationE::Ceil},
        {realSerials().sign, OperationE::Sign},
        {realSerials().min, OperationE::Min},
        {realSerials().max, OperationE::Max},
        {realSerials().erf, OperationE::Erf},
        {realSerials().erfc, OperationE::Erfc}};
    return *table;
}

}  // namespace

OperationE operationOfSerial(unsigned serial) {
    const auto& table = bySerial();
    const auto found = table.find(serial);
    return found == table.end() ? OperationE::None : found->second;
}

const std::u16string& functionName(unsigned serial) {
    static auto* names = new std::unordered_map<unsigned, std::u16string>();
    const auto found = names->find(serial);
    if (found != names->end()) {
        return found->second;
    }
    std::u16string name;
    const OperationE operation = operationOfSerial(serial);
    if (operation != OperationE::None) {
        name = Words::nameOf(operation);
    } else if (const std::u16string* registered = FunctionTableC::instance().registeredName(serial)) {
        name = *registered;
    } else {
        name = utf16(GiNaC::function::get_registered_functions()[serial].get_name());
    }
    return names->emplace(serial, std::move(name)).first->second;
}

std::u16string constantName(const GiNaC::ex& constant) {
    if (constant.is_equal(GiNaC::Pi)) {
        return u"pi";
    }
    return constant.is_equal(GiNaC::Euler) ? u"Euler" : constant.is_equal(GiNaC::Catalan) ? u"Catalan" : u"constant";
}

}  // namespace qorv::math::algexpr::ginac::detail
