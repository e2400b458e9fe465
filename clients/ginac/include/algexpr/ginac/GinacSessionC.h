// SPDX-License-Identifier: MIT
// GinacSessionC: the GiNaC client's session. It builds and owns (with its
// base) a GinacEngineC and the two number factories, and evaluates
// expressions with that engine:
//
//   CASSessionBC::setSession(PointerTC<CASSessionBC>(new GinacSessionC()));  // built-in vocabulary
//   std::u16string why;
//   PointerTC<AlgebraicExpressionC> r =
//       AlgebraicExpressionC::fromPrefixString(u"plus(divide(1,2),divide(1,3))")->execute(false, &why);
//   // r: divide(5,6); why: empty
//   r = AlgebraicExpressionC::fromPrefixString(u"divide(1,3)")->execute(true, &why);
//   // r: 0.33333333333333333 (17 digits, see setDigits)
//
// executeExpression(expression, numeric, reason):
//  - never changes `expression`; the result is a new expression;
//  - `numeric` false: the exact symbolic result (see GinacEngineC for the
//    vocabulary, the forms and order results are written in, and limits);
//  - `numeric` true: a number: an integer when the exact value is one,
//    otherwise a float with getDigits() significant digits; a complex value
//    as plus(a,times(b,i)), each part so; null when there is no number
//    (free symbols);
//  - `reason`, when not null, is emptied when the result stands for a real
//    number and otherwise says why not, or why the result is null
//    (a limit, division by zero, a pole, out of memory). Nothing is thrown.
// Symbols stand for complex numbers unless setAssumptions (or
// setRealSymbols) makes them real or positive; the limits are setLimits'
// (GinacLimitsS). Threads: the session serves every
// thread at once, as every session does; the GiNaC work runs on the
// engine's worker thread, one evaluation at a time. The settings (digits,
// limits, assumptions) may be changed from any thread while others
// evaluate: each evaluation reads them once, as they stand when it starts.
//
// Running out of memory: where GiNaC itself runs out (operator new), the
// evaluation ends with a null result and "out of memory", and where CLN
// does, with CLN's message. Where GMP runs out, the process ends as in any
// GiNaC program (GMP writes "GNU MP: Cannot allocate memory" and aborts),
// unless the host turns on setThrowOnAllocationFailure. The client changes
// nothing process-wide otherwise.
#ifndef ALGEXPR_GINAC_GINACSESSIONC_H
#define ALGEXPR_GINAC_GINACSESSIONC_H

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "algexpr/CASSessionBC.h"
#include "algexpr/SymbolAssumptionS.h"
#include "algexpr/ginac/GinacEngineC.h"
#include "algexpr/ginac/GinacLimitsS.h"
#include "algexpr/ginac/ginac_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::support {
struct OutcomeS;
}  // namespace qorv::math::algexpr::support

namespace qorv::math::algexpr::ginac {

class ALGEXPR_GINAC_API GinacSessionC : public CASSessionBC {
public:
    /// `core_names` in the base's list format; the session and its engine
    /// copy what they need.
    explicit GinacSessionC(const char16_t* const* core_names = GinacEngineC::builtinCoreNames());
    ~GinacSessionC() override;

    qorv::oss::PointerTC<AlgebraicExpressionC> executeExpression(qorv::oss::PointerTC<AlgebraicExpressionC> expression,
                                                                 bool numeric, std::u16string* reason) override;
    /// executeExpression's evaluation with its outcome by kind (for the
    /// tool, which is built with the clients' sources: OutcomeS is theirs).
    /// The session need not be current.
    void executeOutcome(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression, bool numeric,
                        support::OutcomeS& outcome);

    /// The number of significant digits of float results (and floats in
    /// symbolic results); GiNaC computes with GinacEngineC::kGuardDigits more.
    /// From 1 to GinacEngineC::kMaxDigits; for anything else the digits stay
    /// as they were, and false comes back with a message in `message` (when
    /// not null), e.g. "digits must be at most 10,000".
    bool setDigits(unsigned long digits, std::u16string* message = nullptr);
    /// GinacEngineC::kDefaultDigits (17) until setDigits changes it.
    unsigned long getDigits() const;

    /// With true, GMP's allocation functions (mp_set_memory_functions),
    /// CLN's (cln::malloc_hook) and FLINT's (__flint_set_memory_functions,
    /// and its abort through flint_set_abort) are replaced, for the whole process and for
    /// the rest of its life, with ones that allocate with malloc as GMP's own
    /// do and, when malloc fails, behave as operator new: they call the
    /// new-handler (std::set_new_handler) while one is installed and
    /// otherwise throw std::bad_alloc, so that an evaluation that exhausts
    /// memory inside GMP ends with a null result and "out of memory" instead
    /// of aborting the process. What the host risks by turning it on:
    ///  - allocation functions of its own that it installed are lost, and
    ///    what they allocated is later freed with free() (GMP's manual: the
    ///    functions must be set before any object allocated with the earlier
    ///    ones exists);
    ///  - GMP's manual says throwing from them gives undefined results: a GMP
    ///    value in the middle of the failed operation may be left broken
    ///    (the client discards the evaluation's own, but a process that goes
    ///    on after such a failure should not trust GMP state it shares);
    ///  - GMP and CLN code on the host's other threads gets the exception
    ///    thrown through it when memory runs out there.
    /// Off by default. Answers whether the process is now in the state asked
    /// for: false for false once the functions are replaced (it cannot be
    /// undone), and for true when the engine's worker cannot run.
    bool setThrowOnAllocationFailure(bool on);
    /// Whether the replaced functions are in place in this process.
    bool getThrowOnAllocationFailure() const;

    /// The limits of the evaluations that follow; GinacLimitsS's defaults
    /// until changed.
    void setLimits(const GinacLimitsS& limits);
    GinacLimitsS getLimits() const;

    /// The names of the symbols that stand for real numbers; every other
    /// symbol stands for a complex number (the default: none are real).
    /// With x real, log(exp(x)) is x and x*conjugate(x) is x^2; with x
    /// complex both stay as they are.
    /// The real case of setAssumptions: the names replace those assumed
    /// real (other assumptions stay); getRealSymbols gives the names assumed
    /// real, in the order given.
    void setRealSymbols(std::vector<std::u16string> names);
    std::vector<std::u16string> getRealSymbols() const;

    /// What the symbols are assumed to be, replacing the assumptions before:
    /// real or positive (x > 0; also non-negative and not zero together).
    /// With x > 0, sqrt(x^2) is x, and expand splits log(x*y) into
    /// log(x) + log(y) when y > 0 too; the check of answers takes its points
    /// inside the assumptions. GiNaC has no integer, negative or merely
    /// non-zero symbols: for those, and for assumptions that exclude each
    /// other, nothing changes and false comes back with the reason in
    /// `message` (when not null), e.g. "GiNaC cannot assume n integer: ...".
    bool setAssumptions(std::vector<SymbolAssumptionS> assumptions, std::u16string* message = nullptr);
    std::vector<SymbolAssumptionS> getAssumptions() const;

private:
    GinacSessionC(qorv::oss::PointerTC<GinacEngineC> engine, const char16_t* const* core_names);

    // The settings as one value, replaced whole by each setter, so that an
    // evaluation holds one consistent set while others change them.
    struct SettingsS {
        unsigned long digits = GinacEngineC::kDefaultDigits;
        GinacLimitsS limits;
        std::vector<SymbolAssumptionS> assumptions;
    };
    std::shared_ptr<const SettingsS> settings() const;
    template <class ChangeT>
    void change(ChangeT&& change);

    qorv::oss::PointerTC<GinacEngineC> engine_p;
    mutable std::mutex settings_mutex;
    std::shared_ptr<const SettingsS> settings_p;
};

}  // namespace qorv::math::algexpr::ginac

#endif
