// SPDX-License-Identifier: MIT
// NumericEngineC: the numeric client's engine. It evaluates expression
// trees with 64-bit integers and doubles; NumericSessionC calls it from
// executeExpression. It never changes the tree it is given, and every tree it
// returns is new and belongs to the caller.
//
// What it evaluates (by core name, so any vocabulary that holds these names
// works, whatever their codes):
//   plus, times      any number of arguments (none: 0 and 1)
//   minus            minus(a) = -a, minus(a,b) = a - b
//   divide, power    two arguments
//   neg, abs, sqrt, exp, log (natural), sin, cos, tan    one argument
//   asin, acos, atan, sinh, cosh, tanh, erf, erfc, gamma, lgamma (x > 0),
//   zeta, floor, ceil, frac, sign, sec, csc, cot, asec, acsc, acot, log10
//                    one argument
//   atan2            two arguments; min, max: at least one
//   pi, e            the constants, as core symbols
// The other names of the engines' vocabulary it has (so that they keep
// their codes) but refuses: "diff: not offered by this engine".
// Integers stay exact while they can: plus, minus, times, neg, abs, divide
// without remainder, power with an exponent >= 0, sqrt of a perfect square,
// gamma of a whole number up to 21, log10 of a power of 10, floor and ceil
// (of floats too, within 64 bits), sign, and min and max of integers give
// integers, applied left to right; when a step overflows 64 bits it is done
// with doubles instead. Everything else gives doubles. Results
// may be infinite (exp(1000) is 1e999), but not NaN unless an argument is.
//
// A call is evaluated when all its arguments evaluated to numbers. What
// cannot be evaluated stays in place, its arguments evaluated: free
// symbols, functions that are not core or not in the list above, calls with
// the wrong number of arguments, division by zero (also 0 to a negative
// power and log(0)), and results that are not real numbers (sqrt(-1),
// log(-1), inf-inf). So plus(x,times(2,3)) gives plus(x,6). The reason given
// is that of the first such part in post-order (a call's arguments, left to
// right, before the call itself).
//
// The walk uses an explicit stack (through NodeABC::traverse), so trees of
// any depth evaluate in time linear in their size.
#ifndef ALGEXPR_NUMERIC_NUMERICENGINEC_H
#define ALGEXPR_NUMERIC_NUMERICENGINEC_H

#include <string>
#include <vector>

#include "algexpr/CASEngineABC.h"
#include "algexpr/numeric/numeric_export.h"

namespace qorv::math::algexpr {
class NodeABC;
class IntegerValueFactoryABC;
class FloatValueFactoryABC;
namespace support {
enum class OperationE : unsigned char;
}  // namespace support
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::numeric {

class ALGEXPR_NUMERIC_API NumericEngineC : public CASEngineABC {
public:
    /// The core vocabulary made of the names above, in a session's list
    /// format (zero-terminated names, the last one empty). Static storage.
    static const char16_t* const* builtinCoreNames();

    /// Learns the codes it evaluates from a session's core name list: the
    /// code of each name in it that is one of the names above. Null means no
    /// names.
    explicit NumericEngineC(const char16_t* const* core_names);
    ~NumericEngineC() override;

    std::u16string getName() const override;

    /// Evaluates the tree under `root`, making numbers with the two
    /// factories, and returns the result as a new tree. `reason` is emptied
    /// when the result is a single number, and otherwise receives why not
    /// (for example "x: free symbol"). With `require_number`, the evaluation
    /// stops at the first part that cannot be evaluated and returns null.
    /// Null with the reason "out of memory" when memory runs out (an empty
    /// reason when not even that text can be stored). Nothing is thrown but
    /// what the factories throw.
    NodeABC* evaluate(NodeABC& root, IntegerValueFactoryABC& integers, FloatValueFactoryABC& floats,
                      bool require_number, std::u16string& reason) const;

private:
    std::vector<support::OperationE> operations;  // by core code; None past the end
};

}  // namespace qorv::math::algexpr::numeric

#endif
