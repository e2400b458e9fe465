// SPDX-License-Identifier: MIT
// AnswerCheckC: whether an engine's answer to an operation holds, tested
// with Arb's ball arithmetic (every value an interval that surely holds the
// exact one) at seeded points, before the answer is given:
//
//   simplify, expand, factor   the answer minus the input is zero; expand
//                              also by form (no product or power of a sum)
//   apart(f,x)                 the answer minus f is zero
//   integrate(f,x)             the answer's derivative (dual numbers) minus f
//   integrate(f,x,a,b)         the answer minus Arb's integral of f
//   nintegrate(f,x,a,b)        the same, to the answer's digits
//   solve(f,x)                 f at each root of the list
//   solve(list(f,...),list(x,...))  each equation at each solution
//
// A difference whose ball excludes zero proves the answer wrong (Failed); a
// ball around zero of radius below 2^-36 of the values (at 64 bits) passes
// the point; a wider one is tried again at 320 bits and the point is skipped
// when it stays wide. Two points must pass (one for expand, factor and apart, whose
// rewriting of polynomials holds on every branch). Points where either side is undefined (a pole, 0^-1,
// a value no finite ball holds) are skipped; functions take their principal
// values (sqrt(-1) is i, also where the engine's symbols are real). When no
// point is usable, or a function has no ball here (an unknown function, an
// operation left in the answer), the answer is Unchecked, with the reason.
//
// Points: rationals p/q, no integers, of both signs (the first point all
// negative and beyond 2 in size, the second of alternating signs, then the
// seed's), with imaginary parts where symbols are complex, the same in every
// process (a fixed seed). Points keep to the assumptions on the symbols: a
// real symbol has no imaginary part, a positive or non-negative one is
// positive, a negative one negative, an integer one a non-zero integer. Functions the vocabulary does not name take a
// fixed holomorphic function of their name. Floats are balls of their
// rounding and compared within a relative 10^-8; a numeric answer
// (nintegrate) must be right to its digits but one.
// The walk is iterative and allocation failures end in Unchecked.
#ifndef ALGEXPR_CLIENTS_SUPPORT_ANSWERCHECKC_H
#define ALGEXPR_CLIENTS_SUPPORT_ANSWERCHECKC_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "OperationE.h"
#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr::support {

class AssumedFactsC;

class AnswerCheckC {
public:
    enum class VerdictE : unsigned char { NotChecked, Passed, Unchecked, Failed };
    /// The seed of every engine's check (another one checks at other points).
    static constexpr std::uint64_t kSeed = 0x5eed0f0c4ec4ULL;
    enum class SymbolsE : unsigned char { Complex, Real };

    /// What an engine tells the check: its operation of each core code
    /// (None for none), the meaning of its symbols, its name for reasons,
    /// and the settings.
    struct ContextS {
        const OperationE* words = nullptr;  // by core code
        std::size_t count = 0;
        SymbolsE symbols = SymbolsE::Complex;
        const AssumedFactsC* facts = nullptr;  // what symbols are assumed to be (null: nothing)
        const char16_t* engine = u"the engine";
        unsigned long digits = 0;       // the session's significant digits of numeric answers (0: unknown)
        bool on = true;                 // false: no check (NotChecked)
        bool refuse_unchecked = false;  // for the driver: Unchecked answers are refused
        std::uint64_t seed = kSeed;     // of the points after the first two
    };

    /// The verdict on `answer` as the result of `input` (an operation call
    /// at the root; other roots are NotChecked), with the reason when
    /// Unchecked or Failed. Never throws.
    static VerdictE run(NodeABC& input, NodeABC& answer, const ContextS& context, std::u16string& why) noexcept;

    /// The input with its half powers written as roots (power(u,1/2) as
    /// sqrt(u), power(u,-1/2) as divide(1,sqrt(u))), for a second try after
    /// a failed check: new, the caller's; null when nothing changes.
    static NodeABC* rewritten(NodeABC& input, const ContextS& context) noexcept;
};

}  // namespace qorv::math::algexpr::support

#endif
