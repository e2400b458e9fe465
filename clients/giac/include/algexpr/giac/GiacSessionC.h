// SPDX-License-Identifier: MIT
// GiacSessionC: the Giac client's session. It builds and owns (with its base)
// a GiacEngineC and the two number factories (exact integers of any size
// here, and doubles), and evaluates expressions with that engine:
//
//   CASSessionBC::setSession(PointerTC<CASSessionBC>(new GiacSessionC()));  // built-in vocabulary
//   std::u16string why;
//   PointerTC<AlgebraicExpressionC> r =
//       AlgebraicExpressionC::fromPrefixString(u"integrate(times(2,x),x)")->execute(false, &why);
//   // r: power(x,2); why: "x: free symbol"
//
// executeExpression(expression, numeric, reason):
//  - never changes `expression`; the result is a new expression;
//  - `numeric` false: the exact result (see GiacEngineC for the vocabulary,
//    the symbols' assumptions, the forms of results and the limits);
//  - `numeric` true: a single number node: an integer when the exact value
//    is one, otherwise a double; null when there is no real number;
//  - `reason`, when not null, is emptied when the result stands for a real
//    number and otherwise says why not, or why the result is null. Nothing
//    is thrown.
// The session may be used from any thread, one call at a time (as every
// session); the Giac work runs on the engine's worker thread.
//
// Nothing process-wide changes unless the host turns it on:
//  - Giac's messages go to a log of the engine's own, except a few that Giac
//    writes to std::cerr itself ("sym2rxroot error ..." from some limits),
//    which reach the host's standard error unless it turns on
//    setFilterStandardStreams;
//  - where GMP or FLINT (the polynomial route) runs out of memory, the
//    process ends as in any Giac program (GMP writes "GNU MP: Cannot
//    allocate memory" and aborts), unless the host turns on
//    setThrowOnAllocationFailure, which replaces both libraries' allocation
//    functions (and FLINT's abort) with ones that throw.
#ifndef ALGEXPR_GIAC_GIACSESSIONC_H
#define ALGEXPR_GIAC_GIACSESSIONC_H

#include <string>
#include <vector>

#include "algexpr/CASSessionBC.h"
#include "algexpr/SymbolAssumptionS.h"
#include "algexpr/giac/GiacEngineC.h"
#include "algexpr/giac/giac_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::support {
struct OutcomeS;
}  // namespace qorv::math::algexpr::support

namespace qorv::math::algexpr::giac {

class ALGEXPR_GIAC_API GiacSessionC : public CASSessionBC {
public:
    /// `core_names` in the base's list format; the session and its engine
    /// copy what they need.
    explicit GiacSessionC(const char16_t* const* core_names = GiacEngineC::builtinCoreNames());
    ~GiacSessionC() override;

    qorv::oss::PointerTC<AlgebraicExpressionC> executeExpression(qorv::oss::PointerTC<AlgebraicExpressionC> expression,
                                                                 bool numeric, std::u16string* reason) override;
    /// executeExpression's evaluation with its outcome by kind (for the
    /// tool, which is built with the clients' sources: OutcomeS is theirs).
    /// The session need not be current.
    void executeOutcome(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression, bool numeric,
                        support::OutcomeS& outcome);

    /// With true, GMP's allocation functions (mp_set_memory_functions) are
    /// replaced, for the whole process and for the rest of its life, with
    /// ones that allocate with malloc as GMP's own do and, when malloc fails,
    /// behave as operator new: they call the new-handler while one is
    /// installed and otherwise throw std::bad_alloc, so that an evaluation
    /// that exhausts memory inside GMP ends with a null result and "out of
    /// memory" instead of aborting the process. The GiNaC client's setting
    /// of the same name installs functions that behave the same, so the two
    /// never fight. What the host risks by turning it on:
    ///  - allocation functions of its own that it installed are lost, and
    ///    what they allocated is later freed with free();
    ///  - GMP's manual says throwing from them gives undefined results: GMP
    ///    values in the middle of the failed operation may be left broken;
    ///  - GMP code on the host's other threads gets the exception thrown
    ///    through it when memory runs out there.
    /// Off by default. Answers whether the process is now in the state asked
    /// for: false for false once the functions are replaced (it cannot be
    /// undone), and for true when the engine's worker cannot run.
    bool setThrowOnAllocationFailure(bool on);
    /// Whether this client replaced the functions in this process.
    bool getThrowOnAllocationFailure() const;

    /// With true, a filter goes in front of the buffers of std::cout,
    /// std::cerr and std::clog, for the whole process and the rest of its
    /// life (made once, never deleted), that drops what the engine's worker
    /// thread writes there and passes on, unchanged, what every other thread
    /// writes. What the host risks: a buffer it sets on those streams
    /// afterwards replaces the filter, and rdbuf() answers the filter rather
    /// than the buffer the host set before. Off by default; answers whether
    /// the process is now in the state asked for (false for false once the
    /// filter is in place).
    bool setFilterStandardStreams(bool on);
    bool getFilterStandardStreams() const;

    /// The bounds of evaluations (depth and size of trees, digits of
    /// integers); the GiNaC engine's defaults until changed. A zero in any
    /// field leaves the limits as they were and gives false.
    bool setLimits(const GiacEngineC::LimitsS& limits);
    const GiacEngineC::LimitsS& getLimits() const;

    /// What the symbols are assumed to be, replacing the assumptions before
    /// (none by default; every symbol is real to Giac in any case): positive,
    /// non-negative, negative, integer or non-zero. With x > 0, sqrt(x^2) is
    /// x; with a > 0, the integral of exp(-a*x) from 0 to infinity is 1/a;
    /// with n integer, sin(n*pi) is 0. The check of answers takes its points
    /// inside the assumptions. Assumptions that exclude each other leave
    /// those before in place and give false, with why in `message` (when not
    /// null).
    bool setAssumptions(std::vector<SymbolAssumptionS> assumptions, std::u16string* message = nullptr);
    const std::vector<SymbolAssumptionS>& getAssumptions() const;

private:
    GiacSessionC(qorv::oss::PointerTC<GiacEngineC> engine, const char16_t* const* core_names);

    qorv::oss::PointerTC<GiacEngineC> engine_p;
    GiacEngineC::LimitsS limits;
    std::vector<SymbolAssumptionS> assumptions;
};

}  // namespace qorv::math::algexpr::giac

#endif
