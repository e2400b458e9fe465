// SPDX-License-Identifier: MIT
// MissingEntryC: an engine the tool was built without: its name, column of
// the vocabulary (so that the tool can say which engine an operation needs)
// and what to install to have it. It installs nothing.
#ifndef ALGEXPR_TOOL_MISSINGENTRYC_H
#define ALGEXPR_TOOL_MISSINGENTRYC_H

#include "EngineEntryABC.h"

namespace qorv::math::algexpr::cli {

class MissingEntryC final : public EngineEntryABC {
public:
    /// The texts in static storage; `why` says what to install.
    MissingEntryC(const char* name, const char* title, support::EngineColumnE column, const char* why)
        : name_(name), title_(title), column_(column), why_(why) {}

    const char* name() const override { return name_; }
    const char* title() const override { return title_; }
    const char* missing() const override { return why_; }
    support::EngineColumnE column() const override { return column_; }
    std::string helpLines() const override;
    std::string versionLine() const override { return std::string("not built: ") + why_; }
    bool install(const CommandLineC&, const char16_t* const*, std::string& problem) const override;

private:
    const char* name_;
    const char* title_;
    support::EngineColumnE column_;
    const char* why_;
};

}  // namespace qorv::math::algexpr::cli

#endif
