// SPDX-License-Identifier: MIT
// EngineE: the engines the tool can evaluate with (--engine). The GiNaC
// engine is there only when the tool was built with the GiNaC client
// (ALGEXPR_TOOL_WITH_GINAC), and is then the default. CommandLineC reads the
// choice, SessionInstallerC installs the session for it; the GiNaC figures
// here are checked against the client's own where the client is built. The
// Giac engine is there when the tool was built with the Giac client
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

/// The GiNaC engine's precision: significant digits of float results unless
/// --digits says otherwise, and the most --digits may ask for.
constexpr unsigned long kGinacDefaultDigits = 17;
constexpr unsigned long kGinacMaxDigits = 10000;

/// The most diff --order and series' ORDER may ask for.
constexpr unsigned long kGinacMaxDiffOrder = 50;
constexpr unsigned long kGinacMaxSeriesOrder = 100;

/// What to install to have the GiNaC engine, for messages.
constexpr const char* kGinacMissing =
    "this algexpr was built without GiNaC: install libginac-dev (scripts/install-deps.sh does) and rebuild";

/// What to install to have the Giac engine, for messages.
constexpr const char* kGiacMissing =
    "this algexpr was built without Giac: install libgiac-dev (scripts/install-deps.sh does) and rebuild";

}  // namespace qorv::math::algexpr::cli

#endif
