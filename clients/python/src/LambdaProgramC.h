// SPDX-License-Identifier: MIT
// LambdaProgramC: a tree compiled for numeric evaluation over arrays, as a
// flat list of stack-machine instructions in post-order. evaluate() runs the
// whole list over a chunk of points at a time, so the cost per point is a
// few arithmetic operations per node, with no interpretation per point and
// no call into Python.
//
// What compiles: numbers, the argument symbols, pi and e, and the core
// functions plus, minus, times, divide, power, neg, sqrt, exp, log, abs, the
// trigonometric and hyperbolic functions and their inverses, and atan2.
// Anything else makes compile() fail with a reason. Results follow IEEE
// arithmetic (log(-1) is NaN, 1/0 is inf), as NumPy's do.
#ifndef ALGEXPR_PYTHON_LAMBDAPROGRAMC_H
#define ALGEXPR_PYTHON_LAMBDAPROGRAMC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr::python {

class LambdaProgramC {
public:
    /// False, with `why`, when the tree has a node without a numeric form or
    /// a symbol that is not among `arguments`.
    bool compile(const NodeABC* tree, const std::vector<std::u16string>& arguments, std::string& why);
    std::size_t argumentCount() const noexcept { return argument_count; }
    /// out[k] for k < count, from inputs[a][k]. Thread-safe: no state changes.
    void evaluate(const std::vector<const double*>& inputs, std::size_t count, double* out) const;

private:
    enum class OpE : std::uint8_t {
        Const, Arg, Add, Mul, Sub, Div, Pow, Atan2, Neg,
        Sin, Cos, Tan, Exp, Log, Sqrt, Abs, Asin, Acos, Atan, Sinh, Cosh, Tanh, PowInt
    };
    struct InstructionS {
        OpE op;
        std::uint32_t count;  // Add, Mul: operands; Arg: the argument's index; PowInt: |exponent|
        double value;         // Const; PowInt: the exponent's sign (1 or -1)
    };
    static std::size_t step(const InstructionS& instruction, const std::vector<const double*>& inputs,
                            std::size_t begin, std::size_t m, std::size_t chunk, double* stack, std::size_t top);
    static void elementwise(const InstructionS& instruction, double* r, std::size_t m);

    std::vector<InstructionS> code;
    std::size_t stack_depth = 0;
    std::size_t argument_count = 0;
};

}  // namespace qorv::math::algexpr::python

#endif
