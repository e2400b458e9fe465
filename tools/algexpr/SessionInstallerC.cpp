#include "SessionInstallerC.h"

#include <vector>

#include "CommandLineC.h"
#include "CoreNamesFileC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/numeric/NumericEngineC.h"
#include "algexpr/numeric/NumericSessionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

bool SessionInstallerC::install(const CommandLineC& options, std::string& problem, std::vector<std::string>& warnings) {
    // The names stay alive while the session is made; the session and its
    // engine copy what they keep.
    std::vector<std::u16string> names;
    std::vector<const char16_t*> list;
    const char16_t* const* core_names = numeric::NumericEngineC::builtinCoreNames();
    if (options.has_core_names) {
        if (!CoreNamesFileC::read(options.core_names_file, names, warnings, problem)) {
            return false;
        }
        for (const std::u16string& name : names) {
            list.push_back(name.c_str());
        }
        list.push_back(u"");
        core_names = list.data();
    }
    CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(new numeric::NumericSessionC(core_names)));
    return true;
}

}  // namespace qorv::math::algexpr::cli
