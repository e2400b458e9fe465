// SPDX-License-Identifier: MIT
#include "SessionInstallerC.h"

#include <utility>
#include <vector>

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "CoreNamesFileC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/Utf8C.h"
#include "algexpr/numeric/NumericEngineC.h"
#include "algexpr/numeric/NumericSessionC.h"
#include "oss/PointerTC.h"
#ifdef ALGEXPR_TOOL_WITH_GINAC
#include "algexpr/ginac/GinacEngineC.h"
#include "GinacFigures.h"
#include "algexpr/ginac/GinacSessionC.h"
#endif
#ifdef ALGEXPR_TOOL_WITH_GIAC
#include "algexpr/giac/GiacEngineC.h"
#include "algexpr/giac/GiacSessionC.h"
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
#ifdef ALGEXPR_TOOL_WITH_GIAC
    if (options.engine == EngineE::Giac) {
        core_names = giac::GiacEngineC::builtinCoreNames();
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
#ifdef ALGEXPR_TOOL_WITH_GIAC
    if (options.engine == EngineE::Giac) {
        auto* session = new giac::GiacSessionC(core_names);
        CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(session));
        // The few messages Giac writes to std::cerr itself never mix with
        // the tool's output.
        session->setFilterStandardStreams(true);
        return true;
    }
#endif
    CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(new numeric::NumericSessionC(core_names)));
    return true;
}

void SessionInstallerC::prepareWorker(const CommandLineC& options) {
#ifdef ALGEXPR_TOOL_WITH_GINAC
    if (options.engine == EngineE::Ginac) {
        auto* session = dynamic_cast<ginac::GinacSessionC*>(CASSessionBC::getSession().get());
        if (session != nullptr) {
            session->setThrowOnAllocationFailure(true);
        }
        // A static limit that refuses work GiNaC mostly does quickly is
        // raised where --timeout bounds the time instead.
        if (session != nullptr && options.timeout_ms != 0) {
            ginac::GinacLimitsS limits = session->getLimits();
            limits.factor_degree = kGinacTimedFactorDegree;
            session->setLimits(limits);
        }
    }
#endif
#ifdef ALGEXPR_TOOL_WITH_GIAC
    if (options.engine == EngineE::Giac) {
        auto* session = dynamic_cast<giac::GiacSessionC*>(CASSessionBC::getSession().get());
        if (session != nullptr) {
            session->setThrowOnAllocationFailure(true);
        }
    }
#endif
#if !defined(ALGEXPR_TOOL_WITH_GINAC) && !defined(ALGEXPR_TOOL_WITH_GIAC)
    (void)options;
#endif
    const qorv::oss::PointerTC<AlgebraicExpressionC> zero = AlgebraicExpressionC::fromPrefixString(u"0");
    if (zero) {
        zero->execute(false, nullptr);
    }
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
    std::string giac_line;
#ifdef ALGEXPR_TOOL_WITH_GIAC
    appendUtf8(giac::GiacEngineC(nullptr).getName(), giac_line);
    giac_line = "  giac     " + giac_line + ": symbolic operations, integrals, limits and equations\n";
#endif
#ifdef ALGEXPR_TOOL_WITH_GINAC
    std::string name;
    appendUtf8(ginac::GinacEngineC(nullptr).getName(), name);
    return "engines (--engine):\n"
           "  ginac    " + name + ": exact numbers and symbolic operations; the default\n" + giac_line +
           "  numeric  64-bit integers and doubles\n";
#else
    if (!giac_line.empty()) {
        return "engines (--engine):\n" + giac_line + "  numeric  64-bit integers and doubles; the default, as " +
               kGinacMissing + "\n";
    }
    return std::string("engines (--engine):\n"
                       "  numeric  64-bit integers and doubles; the only one, as ") +
           kGinacMissing + "\n";
#endif
}

}  // namespace qorv::math::algexpr::cli
