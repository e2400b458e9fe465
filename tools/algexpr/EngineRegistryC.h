// SPDX-License-Identifier: MIT
// EngineRegistryC: the engines the tool knows, each by its entry
// (EngineEntryABC), in the order the help lists them; the first one built is
// the default. The tool asks it which engines exist and what each offers and
// never names an engine itself: the registration (EngineRegistryC.cpp) is the
// one place that does. Entries are static objects; pointers to them stay
// valid for the life of the process.
#ifndef ALGEXPR_TOOL_ENGINEREGISTRYC_H
#define ALGEXPR_TOOL_ENGINEREGISTRYC_H

#include <string>
#include <vector>

#include "CommandE.h"
#include "EngineEntryABC.h"

namespace qorv::math::algexpr::cli {

class EngineRegistryC {
public:
    /// Every engine, built or not, in the help's order.
    static const std::vector<const EngineEntryABC*>& all();
    /// The engine --engine NAME names (case as given), or null.
    static const EngineEntryABC* named(const std::string& name);
    /// The first engine built.
    static const EngineEntryABC& defaultEngine();
    /// The largest figures among the engines built.
    static EngineEntryABC::FiguresS largestFigures();
    /// A built engine other than `failed` that offers `command` and whose
    /// symbols take every value that `failed`'s do (an engine of real
    /// symbols does not answer for one of complex symbols), or null: where
    /// an answer that failed its check is asked for again.
    static const EngineEntryABC* answering(const EngineEntryABC& failed, CommandE command);
    /// "ginac, giac or numeric": the engines built.
    static std::string builtNames();
};

}  // namespace qorv::math::algexpr::cli

#endif
