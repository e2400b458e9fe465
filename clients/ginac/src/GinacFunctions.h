// SPDX-License-Identifier: MIT
// The GiNaC functions behind the vocabulary's functions, and the names under
// which GiNaC functions are written and ordered. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_GINACFUNCTIONS_H
#define ALGEXPR_GINAC_SRC_GINACFUNCTIONS_H

#include <ginac/ginac.h>

#include <string>

#include "EngineVocabulary.h"

namespace qorv::math::algexpr::ginac::detail {

/// The vocabulary function that a GiNaC function serial stands for, None
/// when it is none of them (exp, log, sin, ..., abs and Order map here).
OperationE operationOfSerial(unsigned serial);
/// The name a function is written with: the vocabulary's name, the name of
/// an unknown function, or GiNaC's own name.
const std::u16string& functionName(unsigned serial);
/// The name a GiNaC constant is written with: pi, Euler or Catalan.
std::u16string constantName(const GiNaC::ex& constant);
/// Whether `e` is of exactly the GiNaC class T, as GiNaC::is_exactly_a
/// says, told by the class's registration record (one per class) instead of
/// by its type name, which costs a string comparison whenever the classes
/// differ. Not for a class that others derive from without a registration
/// of their own (symbol).
template <class T>
bool isExactly(const GiNaC::ex& e) {
    return &GiNaC::ex_to<GiNaC::basic>(e).get_class_info() == &T::get_class_info_static();
}

/// Whether `e` is a call of the GiNaC function with this serial (not a
/// derivative of it).
inline bool isFunction(const GiNaC::ex& e, unsigned serial) {
    return isExactly<GiNaC::function>(e) && GiNaC::ex_to<GiNaC::function>(e).get_serial() == serial;
}

}  // namespace qorv::math::algexpr::ginac::detail

#endif
