// SPDX-License-Identifier: MIT
// NumericEntryC: the numeric client's engine, as the tool registers it:
// 64-bit integers and doubles, in the tool's own process.
#ifndef ALGEXPR_TOOL_NUMERICENTRYC_H
#define ALGEXPR_TOOL_NUMERICENTRYC_H

#include "EngineEntryABC.h"

namespace qorv::math::algexpr::cli {

class NumericEntryC final : public EngineEntryABC {
public:
    const char* name() const override { return "numeric"; }
    const char* title() const override { return "numeric"; }
    support::EngineColumnE column() const override { return support::EngineColumnE::Numeric; }
    std::string helpLines() const override;
    std::string versionLine() const override;
    bool exact() const override { return false; }
    bool supervised() const override { return false; }
    const char* realSymbolsRefusal() const override { return "its symbols stand for no values"; }
    bool install(const CommandLineC& options, const char16_t* const* core_names, std::string& problem) const override;
    void prepareWorker(const CommandLineC&) const override {}
};

}  // namespace qorv::math::algexpr::cli

#endif
