// SPDX-License-Identifier: MIT
#include "SessionInstallerC.h"

#include <utility>
#include <vector>

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "CoreNamesFileC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/Utf8C.h"
#include "algexpr/numeric/NumericEngineC.h"
#include "algexpr/numeric/NumericSessionC.h"
#include "oss/PointerTC.h"
#ifdef ALGEXPR_TOOL_WITH_GINAC
#include "algexpr/ginac/GinacEngineC.h"
#include "algexpr/ginac/GinacSessionC.h"
#endif

namespace qorv::math::algexpr::cli {

bool SessionInstallerC::install(const CommandLineC& options, std::string& problem, std::vector<std::string>& warnings) {
    // The names stay alive while the session is made; the session and its
    // engine copy what they keep.
    std::vector<std::u16string> names;
    std::vector<const char16_t*> list;
    const char16_t* const* core_names = numeric::NumericEngineC::builtinCoreNames();
#ifdef ALGEXPR_TOOL_WITH_GINAC
    if (options.engine == EngineE::Ginac) {
        core_names = ginac::GinacEngineC::builtinCoreNames();
    }
#endif
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
#ifdef ALGEXPR_TOOL_WITH_GINAC
    if (options.engine == EngineE::Ginac) {
        auto* session = new ginac::GinacSessionC(core_names);
        CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(session));
        std::vector<std::u16string> real_names;
        for (const std::string& name : options.real_symbols) {
            std::u16string wide;
            std::size_t bad = 0;
            if (Utf8C::decode(name, wide, bad) != Utf8C::Converted) {
                problem = "--real: '" + name + "' is not valid UTF-8";
                return false;
            }
            real_names.push_back(std::move(wide));
        }
        session->setRealSymbols(std::move(real_names));
        std::u16string message;
        if (!session->setDigits(options.precision(), &message)) {  // CommandLineC keeps to the bounds
            appendUtf8(message, problem);
            return false;
        }
        return true;
    }
#endif
    CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(new numeric::NumericSessionC(core_names)));
    return true;
}

void SessionInstallerC::runForEngine(const CommandLineC& options, void (*work)(void*), void* context) {
#ifdef ALGEXPR_TOOL_WITH_GINAC
    // When the worker cannot be started, the work runs here and each
    // evaluation says so.
    if (options.engine == EngineE::Ginac && ginac::GinacEngineC::runOnWorker(work, context)) {
        return;
    }
#else
    (void)options;
#endif
    work(context);
}

std::string SessionInstallerC::describeEngines() {
#ifdef ALGEXPR_TOOL_WITH_GINAC
    std::string name;
    appendUtf8(ginac::GinacEngineC(nullptr).getName(), name);
    return "engines (--engine):\n"
           "  ginac    " + name + ": exact numbers and symbolic operations; the default\n"
           "  numeric  64-bit integers and doubles\n";
#else
    return std::string("engines (--engine):\n"
                       "  numeric  64-bit integers and doubles; the only one, as ") +
           kGinacMissing + "\n";
#endif
}

}  // namespace qorv::math::algexpr::cli
