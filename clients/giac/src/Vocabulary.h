// SPDX-License-Identifier: MIT
// The engine's core vocabulary, one table: each name, what it does, and how
// many arguments it takes. The order of the table is the order of the codes
// of the built-in names; nothing else depends on it.
#ifndef ALGEXPR_GIAC_SRC_VOCABULARY_H
#define ALGEXPR_GIAC_SRC_VOCABULARY_H

#include <cstddef>
#include <string>

#include "algexpr/giac/GiacEngineC.h"

namespace qorv::math::algexpr::giac {

enum class GiacEngineC::OperationE : unsigned char {
    None,
    // Arithmetic and functions.
    Plus, Minus, Times, Divide, Power, Neg, Sin, Cos, Tan, Exp, Log, Sqrt, Abs,
    Asin, Acos, Atan, Sinh, Cosh, Tanh,
    // Constants.
    Pi, E, I, Infinity,
    // Operations.
    Diff, Expand, Simplify, Factor, Series, Pdiff, Order,
    // Parts and signs of complex values.
    Conjugate, RealPart, ImagPart, Csgn, Step, Atan2,
    Integrate, Limit, Solve, Sum,
    // Structures.
    List, Equal,
    // Integer functions.
    Factorial, Binomial, Gcd, Lcm, Mod, Quo, Rem,
    Count  // not an operation: the number of them
};

namespace detail {

using OperationE = GiacEngineC::OperationE;

constexpr std::size_t kAnyCount = ~std::size_t{0};

struct WordS {
    const char16_t* name;
    OperationE operation;
    std::size_t fewest;  // arguments; 0 and 0 for a constant
    std::size_t most;    // kAnyCount: no upper bound
    std::size_t step;    // the counts allowed: fewest, fewest + step, ... most
};

/// The vocabulary in code order.
extern const WordS kWords[];
extern const std::size_t kWordCount;
/// The built-in names, in code order, ended by an empty name. Static storage.
const char16_t* const* builtinNames();

/// The operation of a core name, None for names the engine does not know.
OperationE operationNamed(const char16_t* name);
/// The built-in name of an operation ("" for None).
const char16_t* nameOf(OperationE operation);
/// Constants (pi, e, i, infinity) stand alone; everything else is applied.
bool isConstant(OperationE operation);
/// Whether `count` arguments suit the operation.
bool acceptsArity(OperationE operation, std::size_t count);
/// "2 arguments", "2 or 4 arguments", "at least 1 argument", ... for messages.
std::u16string arityText(OperationE operation);

}  // namespace detail
}  // namespace qorv::math::algexpr::giac

#endif
