// SPDX-License-Identifier: MIT
// GiacEntryC: the Giac client's engine, as the tool registers it: exact
// numbers, floats as doubles, real symbols, integrals, limits and equations,
// evaluated in a supervised worker process on the engine's thread.
#ifndef ALGEXPR_TOOL_GIACENTRYC_H
#define ALGEXPR_TOOL_GIACENTRYC_H

#include "EngineEntryABC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::giac {
class GiacSessionC;
}  // namespace qorv::math::algexpr::giac

namespace qorv::math::algexpr::cli {

class GiacEntryC final : public EngineEntryABC {
public:
    const char* name() const override { return "giac"; }
    const char* title() const override { return "Giac"; }
    support::EngineColumnE column() const override { return support::EngineColumnE::Giac; }
    FiguresS figures() const override;
    std::string helpLines() const override;
    std::string versionLine() const override;
    const char16_t* const* builtinCoreNames() const override;
    bool install(const CommandLineC& options, const char16_t* const* core_names, std::string& problem) const override;
    void prepareWorker(const CommandLineC& options) const override;
    bool runBatch(void (*work)(void*), void* context) const override;
    bool realSymbols() const override { return true; }
    support::OutcomeS evaluate(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression,
                               bool numeric) const override;
    support::OutcomeS evaluateAside(const CommandLineC& options, const char16_t* const* core_names, bool worker,
                                    const qorv::oss::PointerTC<AlgebraicExpressionC>& expression) const override;

private:
    // A session set up as the options say, not installed.
    static qorv::oss::PointerTC<giac::GiacSessionC> make(const CommandLineC& options, const char16_t* const* core_names,
                                                         std::string& problem);

    mutable qorv::oss::PointerTC<giac::GiacSessionC> aside;  // evaluateAside's, made on its first call
    mutable giac::GiacSessionC* installed = nullptr;  // the session install() made current; never deleted before exit
};

}  // namespace qorv::math::algexpr::cli

#endif
