// SPDX-License-Identifier: MIT
#include "NumericEntryC.h"

#include "algexpr/CASSessionBC.h"
#include "algexpr/numeric/NumericSessionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

std::string NumericEntryC::helpLines() const {
    return "  numeric  64-bit integers and doubles; what it cannot evaluate stays in\n"
           "           place, and it has none of the operations\n";
}

std::string NumericEntryC::versionLine() const { return "64-bit integers and doubles"; }

bool NumericEntryC::install(const CommandLineC&, const char16_t* const* core_names, std::string& problem) const {
    const qorv::oss::PointerTC<CASSessionBC> session(new numeric::NumericSessionC(core_names));
    return makeCurrent(session, problem);
}

const EngineEntryABC& numericEntry() {
    static const NumericEntryC entry;
    return entry;
}

}  // namespace qorv::math::algexpr::cli
