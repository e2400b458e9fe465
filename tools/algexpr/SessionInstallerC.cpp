// SPDX-License-Identifier: MIT
#include "SessionInstallerC.h"

#include "CommandLineC.h"
#include "CoreNamesFileC.h"
#include "EngineRegistryC.h"

namespace qorv::math::algexpr::cli {

namespace {

// The vocabulary of the installed session, kept for a second one, and
// whether this process is a prepared worker.
struct InstalledS {
    std::vector<std::u16string> names;
    std::vector<const char16_t*> list;
    const char16_t* const* core_names = nullptr;
    bool worker = false;
};

InstalledS& installed() {
    static InstalledS kept;
    return kept;
}

}  // namespace

bool SessionInstallerC::install(const CommandLineC& options, std::string& problem, std::vector<std::string>& warnings) {
    std::vector<std::u16string>& names = installed().names;
    std::vector<const char16_t*>& list = installed().list;
    const char16_t* const* core_names = options.engine->builtinCoreNames();
    installed().core_names = core_names;
    if (options.has_core_names) {
        if (!CoreNamesFileC::read(options.core_names_file, names, warnings, problem)) {
            return false;
        }
        for (const std::u16string& name : names) {
            list.push_back(name.c_str());
        }
        list.push_back(u"");
        core_names = list.data();
        installed().core_names = core_names;
    }
    return options.engine->install(options, core_names, problem);
}

void SessionInstallerC::prepareWorker(const CommandLineC& options) {
    installed().worker = true;
    options.engine->prepareWorker(options);
}

support::OutcomeS SessionInstallerC::evaluateAside(const CommandLineC& options, const EngineEntryABC& engine,
                                                   const qorv::oss::PointerTC<AlgebraicExpressionC>& expression) {
    const InstalledS& kept = installed();
    return engine.evaluateAside(options, kept.core_names != nullptr ? kept.core_names : engine.builtinCoreNames(),
                                kept.worker, expression);
}

// When the engine's thread cannot be started, the work runs here and each
// evaluation says so.
void SessionInstallerC::runForEngine(const CommandLineC& options, void (*work)(void*), void* context) {
    if (!options.engine->runBatch(work, context)) {
        work(context);
    }
}

std::string SessionInstallerC::describeEngines() {
    std::string text = "engines (--engine):\n";
    const EngineEntryABC& first = EngineRegistryC::defaultEngine();
    for (const EngineEntryABC* entry : EngineRegistryC::all()) {
        if (entry->missing() != nullptr) {
            continue;
        }
        const std::string name = entry->name();
        text += "  " + name + std::string(name.size() < 9 ? 9 - name.size() : 1, ' ') + entry->versionLine() +
                (entry == &first ? "; the default" : "") + "\n";
    }
    for (const EngineEntryABC* entry : EngineRegistryC::all()) {
        if (entry->missing() != nullptr) {
            text += std::string("  (") + entry->name() + ": " + entry->missing() + ")\n";
        }
    }
    return text;
}

}  // namespace qorv::math::algexpr::cli
