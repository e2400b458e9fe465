// SPDX-License-Identifier: MIT
// EngineE: the engines the tool can evaluate with (--engine). The GiNaC
// engine is there only when the tool was built with the GiNaC client
// (ALGEXPR_TOOL_WITH_GINAC), and is then the default. CommandLineC reads the
// choice, SessionInstallerC installs the session for it. The GiNaC engine's
// figures (precision, orders, limits) are in GinacFigures.h. The Giac engine
// is there when the tool was built with the Giac client
// (ALGEXPR_TOOL_WITH_GIAC); it is never the default.
#ifndef ALGEXPR_TOOL_ENGINEE_H
#define ALGEXPR_TOOL_ENGINEE_H

namespace qorv::math::algexpr::cli {

enum class EngineE { Numeric, Ginac, Giac };

#ifdef ALGEXPR_TOOL_WITH_GINAC
constexpr bool kGinacBuilt = true;
#else
constexpr bool kGinacBuilt = false;
#endif
#ifdef ALGEXPR_TOOL_WITH_GIAC
constexpr bool kGiacBuilt = true;
#else
constexpr bool kGiacBuilt = false;
#endif
constexpr EngineE kDefaultEngine = kGinacBuilt ? EngineE::Ginac : EngineE::Numeric;

/// What to install to have the GiNaC engine, for messages.
constexpr const char* kGinacMissing =
    "this algexpr was built without GiNaC: install libginac-dev (scripts/install-deps.sh does) and rebuild";

/// What to install to have the Giac engine, for messages.
constexpr const char* kGiacMissing =
    "this algexpr was built without Giac: install libgiac-dev (scripts/install-deps.sh does) and rebuild";

}  // namespace qorv::math::algexpr::cli

#endif
