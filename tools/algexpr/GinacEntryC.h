// SPDX-License-Identifier: MIT
// GinacEntryC: the GiNaC client's engine, as the tool registers it: exact
// numbers, floats at --digits, complex symbols (--real names the real
// ones), evaluated in a supervised worker process on the engine's thread.
#ifndef ALGEXPR_TOOL_GINACENTRYC_H
#define ALGEXPR_TOOL_GINACENTRYC_H

#include <cstddef>

#include "EngineEntryABC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::ginac {
class GinacSessionC;
}  // namespace qorv::math::algexpr::ginac

namespace qorv::math::algexpr::cli {

class GinacEntryC final : public EngineEntryABC {
public:
    /// The degree of a polynomial in one symbol that factor takes when the
    /// worker runs under --timeout: GiNaC factors most such polynomials in
    /// well under a second (x^60-1 in 0.2 to 0.5 s) but a few of degree 40
    /// to 100 in minutes, which the timeout then stops instead of the static
    /// limit.
    static constexpr std::size_t kTimedFactorDegree = 100;

    const char* name() const override { return "ginac"; }
    const char* title() const override { return "GiNaC"; }
    support::EngineColumnE column() const override { return support::EngineColumnE::Ginac; }
    FiguresS figures() const override;
    std::vector<std::pair<const char*, unsigned long long>> helpFigures() const override;
    std::string helpLines() const override;
    std::string versionLine() const override;
    const char16_t* const* builtinCoreNames() const override;
    bool install(const CommandLineC& options, const char16_t* const* core_names, std::string& problem) const override;
    void prepareWorker(const CommandLineC& options) const override;
    bool runBatch(void (*work)(void*), void* context) const override;
    support::OutcomeS evaluate(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression,
                               bool numeric) const override;
    support::OutcomeS evaluateAside(const CommandLineC& options, const char16_t* const* core_names, bool worker,
                                    const qorv::oss::PointerTC<AlgebraicExpressionC>& expression) const override;

private:
    // A session set up as the options say, not installed; null with `problem`.
    static qorv::oss::PointerTC<ginac::GinacSessionC> make(const CommandLineC& options,
                                                           const char16_t* const* core_names, std::string& problem);
    // What a worker process needs of a session before its memory is capped.
    static void prepare(ginac::GinacSessionC& session, const CommandLineC& options);

    mutable ginac::GinacSessionC* installed = nullptr;  // the session install() made current; never deleted before exit
    mutable qorv::oss::PointerTC<ginac::GinacSessionC> aside;  // evaluateAside's, made on its first call
};

}  // namespace qorv::math::algexpr::cli

#endif
