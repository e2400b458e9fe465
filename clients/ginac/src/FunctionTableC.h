// SPDX-License-Identifier: MIT
// FunctionTableC: the GiNaC functions behind unknown function names. Each
// name and arity is registered with GiNaC once, on first use, for the life of
// the process (GiNaC cannot forget a function); registrations are declared
// overloaded as needed so that GiNaC prints no warning about a name used
// twice. Also tells the GiNaC functions that read and write by name (csgn,
// conjugate, real_part, imag_part, step). Used on the worker thread only.
#ifndef ALGEXPR_GINAC_SRC_FUNCTIONTABLEC_H
#define ALGEXPR_GINAC_SRC_FUNCTIONTABLEC_H

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

namespace qorv::math::algexpr::ginac::detail {

class FunctionTableC {
public:
    static FunctionTableC& instance();

    /// The serial of the function for this name and arity: one of GiNaC's
    /// that reads by name, or one registered now or before. Throws RefusalC
    /// beyond GinacEngineC::kMaxFunctions registrations.
    unsigned serialFor(const std::u16string& name, std::size_t arity);
    /// The name of a function registered here, or null.
    const std::u16string* registeredName(unsigned serial) const;

private:
    FunctionTableC();

    std::map<std::pair<std::u16string, std::size_t>, unsigned> serials;
    std::unordered_map<unsigned, std::u16string> names;
    std::unordered_map<std::string, unsigned> uses;  // GiNaC functions per GiNaC name
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
