// SPDX-License-Identifier: MIT
// ReadResultC: what reading a text gives: the expression, or why the text
// does not read and where. Prefix reading (AlgebraicExpressionC::readPrefix)
// and infix reading (InfixReaderC::readResult) both answer with it, so a
// caller handles every notation's refusals in one way.
//
//   ReadResultC read = AlgebraicExpressionC::readPrefix(u"plus(1-2,3)");
//   if (!read.ok()) {
//       report(read.position(), read.message());   // 5, "number not accepted"
//   }
//
// A plain value: it shares the expression (a counted pointer) and owns its
// message. Positions are code-unit indexes into the text read.
#ifndef ALGEXPR_READRESULTC_H
#define ALGEXPR_READRESULTC_H

#include <cstddef>
#include <string>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API ReadResultC final {
public:
    static constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

    /// Why a text did not read; the message says more.
    enum class ReasonE {
        None,               ///< it read
        Syntax,             ///< the text breaks the notation's grammar
        NumberNotAccepted,  ///< every number factory asked declined a number text
        Vocabulary,         ///< an operator's core name is missing from the vocabulary
        NoSession,          ///< no session is current; no position
        OutOfMemory,        ///< memory ran out; the position is where reading stood, when known
    };

    /// A failure for want of a session (what a default value says).
    ReadResultC() noexcept;
    /// A success holding `expression` (which must not be null).
    static ReadResultC success(qorv::oss::PointerTC<AlgebraicExpressionC> expression) noexcept;
    /// A failure: why, where (kNoPosition when nowhere in particular) and a
    /// short message in ASCII or UTF-8. Should memory for the message run
    /// out, the message is left empty.
    static ReadResultC failure(ReasonE reason, std::size_t position, const char* message) noexcept;
    static ReadResultC failure(ReasonE reason, std::size_t position, std::string message) noexcept;

    /// Whether the text read.
    bool ok() const noexcept;
    /// The expression read; null after a failure.
    const qorv::oss::PointerTC<AlgebraicExpressionC>& tree() const noexcept;
    /// None after a success.
    ReasonE reason() const noexcept;
    /// The code-unit index where the text stops reading (its length for its
    /// end), or kNoPosition; kNoPosition after a success.
    std::size_t position() const noexcept;
    /// Such as "empty argument" or "number not accepted"; empty after a
    /// success.
    const std::string& message() const noexcept;

private:
    ReadResultC(ReasonE reason, std::size_t position) noexcept;

    qorv::oss::PointerTC<AlgebraicExpressionC> tree_p;
    ReasonE reason_e = ReasonE::NoSession;
    std::size_t position_n = kNoPosition;
    std::string message_s;
};

}  // namespace qorv::math::algexpr

#endif
