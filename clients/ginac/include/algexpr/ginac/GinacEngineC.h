// SPDX-License-Identifier: MIT
// GinacEngineC: the GiNaC client's engine. It turns expression trees into
// GiNaC expressions, has GiNaC evaluate them (exactly, or numerically at a
// given precision) and turns the result back into a new tree that belongs to
// the caller; GinacSessionC calls it from executeExpression. It never changes
// the tree it is given. Its header needs none of GiNaC's headers.
//
// Vocabulary (builtinCoreNames(), codes in this order): the numeric client's
// plus minus times divide power neg sin cos tan exp log sqrt abs pi e, then
// asin acos atan sinh cosh tanh, i (the imaginary unit), and the operations
// as core functions:
//   diff(f,x), diff(f,x,n)   derivative by the symbol x, n times (n >= 0)
//   expand(f)                products and integer powers multiplied out
//   simplify(f)              GiNaC's rational normal form (normal): common
//                            denominators, cancelled common factors; no
//                            trigonometric or other identities
//   factor(f)                factorisation of polynomials over the rationals
//   series(f,x,a,n)          series of f in x around a up to order n: the
//                            polynomial part plus order(power(x-a,n)), which
//                            an exact series (a polynomial in x - a, or an
//                            f free of x) does without; a may
//                            be infinity or neg(infinity) (powers of 1/x, x
//                            real), and fractional powers of x - a give a
//                            series in their common root; infinity anywhere
//                            else is refused
//   pdiff(g(...),k)          derivative of an unknown function g by its k-th
//                            argument (1-based)
//   order(e)                 the order term of a series
// and what GiNaC's results about complex values hold:
//   conjugate(z), real_part(z), imag_part(z), csgn(z) (the sign of the real
//   part, or of the imaginary part when that is 0), step(x) (Heaviside, 1/2
//   at 0), atan2(y,x)
// then names of the engines' one vocabulary that this engine has at their
// codes but does not compute, refused with the reason "integrate: not
// offered by this engine": integrate, limit, solve, sum, list, equal,
// infinity; then
//   factorial(n), binomial(n,k)  of whole numbers (n >= 0)
//   gcd(a,b), lcm(a,b)           of integers or polynomials over the rationals
//   mod(a,b)                     a - b*floor(a/b) of integers: the sign of b
//   quo(a,b[,x]), rem(a,b[,x])   polynomial division in x, or in the one
//                                symbol of a and b
// and our own: nintegrate(f,x,a,b), the integral of f from a to b by an
// adaptive Gauss-Kronrod rule to 15 significant digits (fewer when the
// session's digits are), and nsolve(f,x,a,b), a
// root of f between a and b where f changes sign, at the session's digits.
// Each is refused before GiNaC works where its result would pass the
// integer digits limit (factorial(10^9) at once), and nintegrate and nsolve
// for functions of more than 400 parts. factorial and binomial of symbols
// stay as they are; expand, simplify and factor write binomial(n,k) of a
// whole k out (n*(n-1)/2 for k = 2). Then the special and everyday
// functions, exact where GiNaC has the value (gamma(1/2) is sqrt(pi),
// zeta(2) pi^2/6), numeric at any precision:
//   erf erfc gamma lgamma zeta polylog(s,x) floor ceil frac sign sec csc
//   cot asec acsc acot min max log10
// (erf, erfc, floor, ceil, sign, min and max are functions of this engine's
// own, GiNaC having none; sec, csc and cot come back written with cos and
// sin, their inverses with acos, asin and atan, log10(x) as
// log(x)/log(10)); Si and Ci it refuses.
// plus and times take any number of arguments, minus one or two, divide and
// power two, the functions one. Any other name applied to arguments is an
// unknown function, registered with GiNaC once per name and arity for the
// life of the process: arithmetic, expansion and simplification work around
// it, its arguments are evaluated, and differentiating through it gives pdiff
// (diff(f(times(2,x)),x) is times(2,pdiff(f(times(2,x)),1))). Any other name
// standing alone is a symbol, which stands for a complex number unless the
// session names it real or positive (GinacSessionC::setAssumptions):
// log(exp(x)) and x*conjugate(x) stay as they are for a complex x; with x
// positive, sqrt(x^2) is x and expand splits log(x*y) over the positive
// factors. A fractional power of a reciprocal of what is not known
// positive, sqrt(divide(1,k)), stays as it is (GiNaC would take it for
// 1/sqrt(k), which differs for a negative k): times(x,sqrt(divide(1,k)));
// its integer powers are powers of its base. Only diff, series, solve and
// apart by a variable that it holds, and quo and rem, see it as GiNaC does.
// GiNaC knows no integer, negative or merely non-zero symbols: those
// assumptions are refused, never dropped. A result without meaning
// in this vocabulary is refused with the reason, never written: a derivative
// of conjugate, real_part, abs and the like (for complex arguments they have
// none), GiNaC's other constants and functions. Integration, solving and
// limits are not offered.
//
// Results read as a person writes them, in one order of our own that depends
// on nothing but the expression (not on what was read before it, nor on
// GiNaC's hash values; the free symbols of each evaluation are made afresh,
// numbered by name). The result goes through an engine-independent graph
// that clients/support orders and writes (ResultShaperC), by these rules:
//  - numbers: integers as they are, rationals divide(p,q) (divide(-1,3)),
//    floats with the session's digits, i for the imaginary unit, a + b i as
//    plus(a,times(b,i)); pi, e (for exp(1)), sqrt(x) for power(x,divide(1,2));
//  - a product: coefficient first (times(3,x), times(-3,x), neg(x) for -x),
//    then the factors; negative powers go to a denominator, divide(x,y),
//    divide(times(2,x),times(3,y)); a rational coefficient goes into the
//    quotient, divide(1,times(2,minus(x,1))), divide(times(2,plus(x,1)),y);
//    a float or complex one beside a lone sum above the line stands before
//    the quotient, as GiNaC would multiply it into the sum;
//  - the factors of a product: numbers, constants, symbols (by name, in
//    UTF-16 code unit order), functions (by name, then arguments), powers of
//    other things, sums; a power sorts with its base;
//  - the terms of a sum: higher degree in the symbols first, then by their
//    factors as above (higher powers of the same base first), then the real
//    constant, the imaginary constant and the order term last:
//    plus(power(x,2),times(2,x),1), plus(x,y), plus(x,sin(x));
//  - a sum is written left to right in that order with minus for negative
//    terms, a negative first term with its sign: minus(x,y),
//    plus(neg(x),y), plus(neg(power(x,2)),times(2,x),1); but a positive
//    number or constant beside one negative factor stands first, minus(1,x);
//  - a series (a sum with an order term) in ascending powers, the order
//    term last: plus(1,x,divide(power(x,2),2),order(power(x,3)));
//  - exact forms: integer radicals reduced by perfect powers and by the
//    primes up to 10^6, times(2,sqrt(2)); powers of exp joined where their
//    exponents differ by a number factor, exp(5) for exp(2)*exp(3) (but
//    times(exp(x),exp(y)) stays), -1 for power(e,times(i,pi)); asin, acos and atan exact
//    at the arguments of the usual triangles, divide(pi,3) for
//    atan(sqrt(3)); simplify rationalises denominators of square roots of
//    integers, minus(sqrt(2),1) for divide(1,plus(sqrt(2),1));
//  - a sum raised to an integer power in a product has a positive leading
//    term, its sign moved to the coefficient (times(L,minus(B,A)) is
//    neg(times(L,minus(A,B)))), so that GiNaC's choice between (a-b) and
//    -(b-a), which follows its hash values, never shows.
// Every result reads back (through the same session) to the same value, and
// to the same GiNaC expression except where a rational coefficient merged
// into a quotient meets a lone sum (divide(times(2,plus(x,1)),y)), which
// GiNaC multiplies out as it reads it: evaluating such a result again gives
// the sum multiplied out, and that text is a fixed point.
//
// Polynomials: expand, factor, simplify, gcd, lcm, quo and rem at the root
// of the tree go to FLINT (the polynomial layer the Giac client shares, so
// the two write the same text) when their evaluated arguments are
// polynomials, or for simplify and factor quotients of them, with integer
// or rational coefficients; anything else (floats, radicals, simplify of
// functions) takes GiNaC's own path as before. Its bound is
// GinacLimitsS::polynomial_terms, checked before each product and power.
//
// Limits (GinacLimitsS, a session setting; below, the defaults as the
// constants here), each with a message that names it, so that no input
// crashes the process or runs away. They hold for the whole expression: the
// one walk over the input estimates what it asks for before GiNaC builds any
// of it (derivative orders added up through nested diffs, the digits of
// numbers through products and powers), and what only GiNaC's values tell
// (an expansion of what another operation produced, the growth of a
// derivative order by order) is checked where it is built. The worst case
// each one lets through takes about a second or less, compositions
// included (measured with bench/ginac_limits.cpp on a 2-core 2.1 GHz
// machine; AddressSanitizer builds are 3 to 10 times slower):
//  - depth: trees nested more than kMaxDepth levels are refused before GiNaC
//    sees them, as GiNaC's algorithms recurse and building some chains grows
//    as the square of their depth (0.3 s at 10000). Arguments that GiNaC
//    flattens do not count as levels: a plus or binary minus inside a plus
//    or as the first argument of a binary minus, a times inside a times.
//    The operand of real_part and imag_part may be 16 deep (GiNaC splits
//    each level of functions in two: 0.3 s at 16, 17 s at 22).
//    The operand of diff may be kMaxDiffDepth deep (diff grows as the cube of
//    the depth: 0.5 s at 500, 3.5 s at 1000), that of simplify and factor
//    kMaxSimplifyDepth (0.8 s at 5000), that of series kMaxSeriesDepth
//    (series of nested functions grows steeply: 0.8 s at 50, minutes at 100).
//  - exact integers: at most kMaxIntegerDigits digits, in the input, in a
//    power before GiNaC computes it (power(3,power(10,9)) is refused at
//    once; a power of 10^6 digits takes 0.35 s), and in results.
//  - expand (and simplify and factor, which expand on the way): refused when
//    an upper estimate of the expanded form exceeds kMaxExpandTerms terms or
//    kMaxExpandDigits digits of coefficients in all (0.3 s near either).
//  - factor: polynomials of degree above kMaxFactorDegree are refused
//    (factorisation time is erratic in the degree: x^60+1 takes 8 s, x^80-1
//    13 s, x^100-1 minutes), and in several symbols of degree above 20, or
//    dense ones above degree 5 (see GinacLimitsS).
//  - simplify and factor: common denominators of degree above 100.
//  - diff order at most kMaxDiffOrder, nested diffs added up (the 50th
//    derivative of f(x)g(x)sin(x) takes 0.5 s, the 100th 10 s); each order
//    is computed in turn, and one that its growth so far predicts beyond
//    kMaxResultNodes is refused before it is computed. Series order at most
//    kMaxSeriesOrder.
//  - sin, cos and tan of a float with no digit left after its point (or
//    beyond 10^kMaxDigits) are refused: the result would be noise, and the
//    reduction would need as many digits of pi as the float has.
//  - results of more than kMaxResultNodes nodes are refused.
//  - precision: 1 to kMaxDigits significant digits (GinacSessionC::setDigits).
//  - unknown functions: at most kMaxFunctions name/arity pairs per process.
// Factorisation and differentiation can still take long on inputs the
// estimates do not foresee (GiNaC cannot be interrupted): callers that must
// bound time should also bound the time of the process (the algexpr tool
// evaluates in a worker process that it kills past --timeout).
// GiNaC's own exceptions (division by zero, poles, bad arguments), CLN's and
// memory exhaustion end the evaluation with a null result and the reason;
// nothing is thrown out of the engine. Memory exhausted inside GMP or CLN
// aborts the process as in any GiNaC program unless the host asks otherwise
// (GinacSessionC::setThrowOnAllocationFailure).
//
// Threads: GiNaC is not thread-safe, so all GiNaC work of the process (making,
// evaluating and destroying GiNaC objects) runs on one persistent worker
// thread with a stack of kWorkerStackBytes, started on first use and joined at
// exit; callers wait for it. Engines and sessions may be used from any thread
// (one evaluation at a time runs), and the process may fork and exit from any
// thread at any time. Each call hands its work to the worker thread and back,
// which costs tens of microseconds on a busy machine: code that evaluates
// many expressions in a row runs the whole loop as one job (runOnWorker), in
// which every evaluation runs at once. Code that uses GiNaC itself beside
// this client must run it through runOnWorker. The worker keeps what one
// evaluation grew for the next (its containers, up to a bound, and the
// GiNaC symbol of each of the first 256 ranks with its name and domain);
// they go when the worker thread ends.
#ifndef ALGEXPR_GINAC_GINACENGINEC_H
#define ALGEXPR_GINAC_GINACENGINEC_H

#include <cstddef>
#include <string>
#include <vector>

#include "algexpr/CASEngineABC.h"
#include "algexpr/SymbolAssumptionS.h"
#include "algexpr/ginac/GinacLimitsS.h"
#include "algexpr/ginac/ginac_export.h"

namespace qorv::math::algexpr {
class CASSessionBC;
class NodeABC;
namespace support {
enum class OperationE : unsigned char;
enum class OutcomeE : unsigned char;
}  // namespace support
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::ginac {

class ALGEXPR_GINAC_API GinacEngineC : public CASEngineABC {
public:
    /// The default limits (GinacLimitsS), as constants.
    static constexpr std::size_t kMaxDepth = GinacLimitsS().depth;
    static constexpr std::size_t kMaxDiffDepth = GinacLimitsS().diff_depth;
    static constexpr std::size_t kMaxSimplifyDepth = GinacLimitsS().simplify_depth;
    static constexpr std::size_t kMaxSeriesDepth = GinacLimitsS().series_depth;
    static constexpr std::size_t kMaxIntegerDigits = GinacLimitsS().integer_digits;
    static constexpr std::size_t kMaxExpandTerms = GinacLimitsS().expand_terms;
    static constexpr std::size_t kMaxExpandDigits = GinacLimitsS().expand_digits;
    static constexpr std::size_t kMaxFactorDegree = GinacLimitsS().factor_degree;
    static constexpr std::size_t kMaxDiffOrder = GinacLimitsS().diff_order;
    static constexpr std::size_t kMaxSeriesOrder = GinacLimitsS().series_order;
    static constexpr std::size_t kMaxResultNodes = GinacLimitsS().result_nodes;
    /// Unknown functions: at most this many name/arity pairs per process
    /// (GiNaC cannot forget a registration).
    static constexpr std::size_t kMaxFunctions = 100000;
    /// Significant digits of float results unless the session is told otherwise.
    static constexpr unsigned long kDefaultDigits = 17;
    static constexpr unsigned long kMaxDigits = 10000;
    /// GiNaC computes with this many digits more than the results show.
    static constexpr unsigned long kGuardDigits = 10;
    /// The worker's stack. The deepest work the limits allow uses 3.5 MiB of
    /// it (simplify at depth 5000, where simplify and factor recurse through
    /// the expression as GiNaC itself does), measured by
    /// bench/ginac_limits.cpp; the walks over the input and over GiNaC's
    /// results use explicit stacks, and ordering and writing a result
    /// recurse at most as deep as the result is high, which is bounded by
    /// twice kMaxDepth (about 200 bytes a level). The rest is headroom for
    /// GiNaC's recursions. Stack reserved but not touched costs address
    /// space only.
    static constexpr std::size_t kWorkerStackBytes = std::size_t{64} << 20;

    /// The core vocabulary above, in a session's list format (zero-terminated
    /// names, the last one empty). Static storage.
    static const char16_t* const* builtinCoreNames();

    /// Learns the codes it works with from a session's core name list: the
    /// code of each name in it that is one of the names above (any other
    /// core name is treated as an unknown function or symbol). Null means
    /// no names.
    explicit GinacEngineC(const char16_t* const* core_names);
    ~GinacEngineC() override;

    /// "GiNaC 1.8.6 (CLN 1.3.6)" with the versions built against.
    std::u16string getName() const override;

    /// Evaluates the tree under `root` within the default limits, every
    /// symbol complex, and returns the result as a new tree, or null.
    /// Symbols and the names of GiNaC's functions in the result come from
    /// `session`'s symbol table.
    ///  - `numeric` false: the exact symbolic result; `reason` is emptied when
    ///    it stands for a real number and otherwise says why not ("x: free
    ///    symbol", "f: unknown function", "not a real number").
    ///  - `numeric` true: a number: an integer when the exact value is one,
    ///    otherwise a float with `digits` significant digits, correctly
    ///    rounded from GiNaC's value at digits + kGuardDigits; a complex value
    ///    as plus(a,times(b,i)) (minus for a negative b), each part so; the
    ///    reason is then empty. Null with the reason when there is no number
    ///    (free symbols, unknown functions).
    ///  - null with the reason when a limit is exceeded, GiNaC refuses
    ///    (division by zero, a pole), memory runs out or the worker thread
    ///    cannot be started. `digits` is clamped to [1, kMaxDigits].
    NodeABC* evaluate(NodeABC& root, CASSessionBC& session, bool numeric, unsigned long digits,
                      std::u16string& reason) const;
    /// The same within `limits`, the symbols named in `real_names` real
    /// (all others complex).
    NodeABC* evaluate(NodeABC& root, CASSessionBC& session, const GinacLimitsS& limits,
                      const std::vector<std::u16string>& real_names, bool numeric, unsigned long digits,
                      std::u16string& reason) const;
    /// The same with the symbols as `assumptions` have them: null, with the
    /// reason, when one is refused (see honours()).
    NodeABC* evaluate(NodeABC& root, CASSessionBC& session, const GinacLimitsS& limits,
                      const std::vector<SymbolAssumptionS>& assumptions, bool numeric, unsigned long digits,
                      std::u16string& reason) const;
    /// Whether the engine honours `assumptions` (real and positive symbols;
    /// non-negative and not zero together are positive); false with why not
    /// ("GiNaC cannot assume n integer: ...") or why they exclude each other.
    static bool honours(const std::vector<SymbolAssumptionS>& assumptions, std::u16string& why);

    /// Runs job(context) on the worker thread and waits for it; true when it
    /// ran. For code that uses GiNaC directly beside this client, and for a
    /// loop of evaluations without a hand-off each. The job must not throw;
    /// called on the worker itself, it runs at once. False once the process
    /// is exiting, and in the child of a fork made while a job ran on another
    /// thread (GiNaC's state may be half-changed there).
    static bool runOnWorker(void (*job)(void*), void* context);

private:
    friend class GinacSessionC;
    // evaluate() with the outcome's kind (support::OutcomeE), for the session.
    NodeABC* evaluate(NodeABC& root, CASSessionBC& session, const GinacLimitsS& limits,
                      const std::vector<SymbolAssumptionS>& assumptions, bool numeric, unsigned long digits,
                      std::u16string& reason, support::OutcomeE& kind) const;

    std::vector<support::OperationE> operations;  // by core code; None past the end
    std::vector<int> codes;                       // by operation; -1 when the vocabulary lacks it
};

}  // namespace qorv::math::algexpr::ginac

#endif
