// SPDX-License-Identifier: MIT
// GiacEngineC: the Giac client's engine. It turns expression trees into Giac
// values without text (a walk over the tree), has Giac evaluate them, and
// turns the result back into a new tree that belongs to the caller, by
// walking the result into an engine-independent form first; GiacSessionC
// calls it from executeExpression. It never changes the tree it is given.
// Its header needs none of Giac's headers.
//
// Vocabulary (builtinCoreNames(), codes in this order): the engines' one
// vocabulary (GiNaC's own nintegrate and nsolve, and polylog, refused with
// the reason "nsolve: not offered by this engine"), with the codes and, at
// real values of the symbols, the meanings every engine gives them: plus minus times divide power neg sin cos tan exp log sqrt abs
// pi e asin acos atan sinh cosh tanh i diff expand simplify factor series
// pdiff order; then
//   integrate(f,x)         an antiderivative (no constant added); no value
//                          when Giac finds none in closed form
//   integrate(f,x,a,b)     the definite integral; no value when it diverges:
//                          the antiderivative must have finite one-sided
//                          limits at a, at b and at every singular point of
//                          f between them that Giac finds (where f has
//                          trigonometric functions, those Giac gives repeated
//                          every pi; refused over more than 1000 periods or
//                          an infinite interval); the value is Giac's
//                          definite integral, or the sum of the pieces
//   limit(f,x,a)           the two-sided limit: no value unless the limits
//                          from above and below agree (limit(divide(1,x),x,0)
//                          has none); a may be infinity or neg(infinity)
//   limit(f,x,a,1)         the limit from above (-1: from below)
//   solve(f,x)             list(...) of the real solutions of f = 0 (f may
//                          be equal(l,r)), sorted; exact where Giac solves
//                          in radicals, otherwise a float (a root Giac can
//                          only name as a root of a polynomial, rootof, is
//                          approximated in double precision); periodic
//                          equations give the solutions Giac gives in one
//                          period (solve(sin(x),x) is list(0,pi)); no value
//                          when every x solves it
//   solve(list(f,g,...),list(x,y,...))
//                          a system: list(...) of its solutions, each the
//                          list of the values of x, y, ... in that order,
//                          sorted; no value when they depend on a variable
//   sum(f,k,a,b)           the sum of f for k from a to b (b may be infinity)
//   list(...), equal(a,b)  lists and equations, as results and as arguments
//   infinity               +infinity; neg(infinity) is -infinity. A result
//                          infinite without a sign (divide(1,0)) has no value
//   factorial(n), binomial(n,k), gcd(a,b), lcm(a,b)
//   mod(a,b)               a - b*floor(a/b): the sign of b (mod(-7,3) is 2,
//                          mod(7,-3) is -2)
//   quo(a,b), rem(a,b)     polynomial quotient and remainder (in the one
//                          symbol of a and b, or in x given as quo(a,b,x))
// diff(f,x,n): n from 0 to kMaxDiffOrder. expand multiplies out; simplify is
// Giac's simplify, which also applies trigonometric, exponential and radical
// identities (simplify(plus(power(sin(x),2),power(cos(x),2))) is 1); factor
// factors over the rationals, as GiNaC does; series(f,x,a,n) gives the terms
// below power n, then order(power(x-a,n)), at infinity in powers of 1/x, and
// in the common root of fractional powers of x - a. Any other name applied to
// arguments is an unknown function (differentiating through it gives pdiff),
// any other name standing alone a symbol. Evaluation without an operation
// collects like terms and factors (plus(x,x) is times(2,x)), except in
// results nested more than 250 levels deep, whose collection by Giac would
// take time that grows as the cube of the depth.
//
// Symbols: Giac takes every symbol to be real (abs(x)^2 is x^2, solve gives
// real solutions only). The GiNaC engine takes symbols to be complex unless
// asked otherwise: compare the two engines only at real values.
// More may be assumed of them (GiacSessionC::setAssumptions): positive,
// non-negative, negative, integer, non-zero; each evaluation tells Giac
// (its assume, on the identifiers that stand for the symbols) and purges
// them when it ends, so that nothing outlives the call.
//
// Results are written by the same rules as the GiNaC engine's, in the forms
// GinacEngineC.h lists (terms by falling degree, a product's number first,
// negative powers below a divide, minus for negative terms, a sum raised to
// an integer power with a positive leading term), depending on nothing but
// the result: not on addresses, hash values or what was evaluated before.
// Where the two engines compute the same expression, they print the same
// text. Lists, equations and infinity are written list(...), equal(a,b) and
// infinity. Results Giac gives that the vocabulary cannot say are refused
// with the reason: rootof (outside solve), bounded_function (a limit that
// oscillates), undef, an unevaluated integrate, an infinity without a sign,
// and any other function or constant of Giac's not in the vocabulary
// (Ei(x) is refused, naming Ei). The special functions (erf, gamma, zeta,
// Si, Ci, floor, sign, sec, min, log10, ...) are Giac's, but where Giac
// decides with floats of its default precision (floor, ceil, sign, min and
// max of exact values) the value is decided here with more digits, or
// refused when too near the point in question; factorial and binomial of
// symbols stay as they are.
//
// Polynomials: expand, factor, simplify, gcd, lcm, quo and rem at the root
// of the tree go to FLINT (the polynomial layer the GiNaC client shares, so
// the two write the same text) when Giac's evaluated arguments are
// polynomials, or for simplify and factor quotients of them; anything else
// takes Giac's own path (simplify of functions keeps Giac's identities).
//
// Limits (settings of the session, see LimitsS): trees deeper than
// `depth` levels or with more than `result_nodes` nodes are refused before Giac
// sees them, results with more than `result_nodes` nodes or integers of more than
// `integer_digits` digits are refused. Giac itself cannot be interrupted
// from here (its interrupt flag is one for the whole process): callers that
// must bound time or memory should run evaluations in a process of their own.
//
// Giac at the boundary: Giac's messages (warnings, notes) go to a log of the
// engine's own. A few bypass it and go to std::cerr ("sym2rxroot error ..."
// from some limits); GiacSessionC::setFilterStandardStreams drops those, on
// the host's request. Giac's exceptions end the evaluation with a null
// result and the reason; nothing is thrown out of the engine. Where GMP runs
// out of memory the process aborts, unless the host turns on
// GiacSessionC::setThrowOnAllocationFailure. Nothing process-wide changes
// otherwise.
//
// Threads: all of the process's Giac work runs on one worker thread, started
// on first use with a stack of kStackBytes (Giac recurses), one evaluation
// at a time, as Giac's global state is shared, while the caller waits. A
// process may fork or exit at any time: the child of a fork starts a worker
// of its own, and exit waits for the evaluation in progress. Engines and
// sessions may be used from any thread.
#ifndef ALGEXPR_GIAC_GIACENGINEC_H
#define ALGEXPR_GIAC_GIACENGINEC_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "algexpr/CASEngineABC.h"
#include "algexpr/SymbolAssumptionS.h"
#include "algexpr/giac/giac_export.h"

namespace qorv::math::algexpr {
class CASSessionBC;
class NodeABC;
namespace support {
enum class OperationE : unsigned char;
enum class OutcomeE : unsigned char;
}  // namespace support
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::giac {

class ALGEXPR_GIAC_API GiacEngineC : public CASEngineABC {
public:
    static constexpr std::size_t kMaxDepth = 10000;
    static constexpr std::size_t kMaxNodes = 2000000;
    static constexpr std::size_t kMaxIntegerDigits = 1000000;
    static constexpr std::size_t kMaxDiffOrder = 50;
    static constexpr std::size_t kMaxSeriesOrder = 100;
    /// Terms of each polynomial expand, factor, simplify, gcd, lcm, quo and
    /// rem compute with FLINT (the GiNaC engine's default: about 1.4 KiB a
    /// written term).
    static constexpr std::size_t kMaxPolynomialTerms = 150000;
    static constexpr std::size_t kStackBytes = std::size_t{64} << 20;

    /// The bounds an evaluation keeps to; the defaults are the GiNaC engine's,
    /// and so are the names (GinacLimitsS's fields of the same meaning).
    struct LimitsS {
        std::size_t depth = kMaxDepth;                        // levels of the input tree
        std::size_t result_nodes = kMaxNodes;                 // nodes of the result (and of the input)
        std::size_t integer_digits = kMaxIntegerDigits;       // of integers in the input and the result
        std::size_t polynomial_terms = kMaxPolynomialTerms;   // of each polynomial the FLINT route computes
        std::size_t numeric_digits = 0;  // with the numeric flag: significant digits, each correct (0: a double)
        bool check_answers = true;       // integrate, simplify, expand, factor, solve checked at seeded points
        bool refuse_unchecked = false;   // an answer no point could check is refused, not given "unchecked: ..."
        bool complex_solutions = false;  // solve gives the complex solutions too (csolve), by real then imaginary part
    };

    /// The core vocabulary above, in a session's list format (zero-terminated
    /// names, the last one empty). Static storage.
    static const char16_t* const* builtinCoreNames();

    /// Learns the codes it works with from a session's core name list (any
    /// name not above is an unknown function or symbol). Null means no names.
    explicit GiacEngineC(const char16_t* const* core_names);
    ~GiacEngineC() override;
    GiacEngineC(const GiacEngineC&) = delete;
    GiacEngineC& operator=(const GiacEngineC&) = delete;

    /// "Giac 1.9.0" with the version built against.
    std::u16string getName() const override;

    /// Evaluates the tree under `root` and returns the result as a new tree,
    /// or null. Symbols and function names in the result come from
    /// `session`'s symbol table.
    ///  - `numeric` false: the exact result; `reason` is emptied when it
    ///    stands for a real number and otherwise says why not ("x: free
    ///    symbol", "f: unknown function", "a list, not a number").
    ///  - `numeric` true: a single number node: an integer when the exact
    ///    value is one, otherwise a float (a double); null with the reason
    ///    when there is no real number.
    ///  - null with the reason when a limit is exceeded, Giac fails or
    ///    refuses, the result has no value (see above) or memory runs out.
    NodeABC* evaluate(NodeABC& root, CASSessionBC& session, bool numeric, const LimitsS& limits,
                      std::u16string& reason) const;
    /// The same with the symbols as `assumptions` have them (Giac's assume,
    /// for this evaluation only): null, with the reason, when two exclude
    /// each other.
    NodeABC* evaluate(NodeABC& root, CASSessionBC& session, bool numeric, const LimitsS& limits,
                      const std::vector<SymbolAssumptionS>& assumptions, std::u16string& reason) const;
    /// Whether the engine honours `assumptions`: every kind, unless two
    /// exclude each other (then false with why).
    static bool honours(const std::vector<SymbolAssumptionS>& assumptions, std::u16string& why);

    /// Runs job(context) on the thread all Giac work runs on and waits for
    /// it; true when it ran. For a loop of evaluations without a hand-off
    /// each (evaluations asked for from the job run at once), and for code
    /// that uses Giac directly beside this client. The job must not throw.
    static bool runOnWorker(void (*job)(void*), void* context);

    /// Giac's context for this engine, made on first use; internal.
    struct StateS;

private:
    friend class GiacSessionC;
    // evaluate() with the outcome's kind (support::OutcomeE), for the session.
    NodeABC* evaluate(NodeABC& root, CASSessionBC& session, bool numeric, const LimitsS& limits,
                      const std::vector<SymbolAssumptionS>& assumptions, std::u16string& reason,
                      support::OutcomeE& kind) const;

    std::vector<support::OperationE> operations;  // by core code
    std::vector<int> codes;                       // by operation; -1 when the vocabulary lacks it
    std::unique_ptr<StateS> state_p;
};

}  // namespace qorv::math::algexpr::giac

#endif
