// SPDX-License-Identifier: MIT
// The engine's core vocabulary: names, what each does, and how many
// arguments each takes.
#ifndef ALGEXPR_GINAC_SRC_VOCABULARY_H
#define ALGEXPR_GINAC_SRC_VOCABULARY_H

#include <cstddef>

#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac {

enum class GinacEngineC::OperationE : unsigned char {
    None,
    Plus,
    Minus,
    Times,
    Divide,
    Power,
    Neg,
    Sin,
    Cos,
    Tan,
    Exp,
    Log,
    Sqrt,
    Abs,
    Pi,
    E,
    Asin,
    Acos,
    Atan,
    Sinh,
    Cosh,
    Tanh,
    I,
    Diff,
    Expand,
    Simplify,
    Factor,
    Series,
    Pdiff,
    Order,
    Conjugate,
    RealPart,
    ImagPart,
    Csgn,
    Step,
    Atan2,
    // Offered by the Giac engine only: refused with that reason.
    Integrate,
    Limit,
    Solve,
    Sum,
    List,
    Equal,
    Infinity,
    // Numbers and polynomials.
    Factorial,
    Binomial,
    Gcd,
    Lcm,
    Mod,
    Quo,
    Rem,
    Nintegrate,
    Nsolve,
    Count  // not an operation: the number of them
};

namespace detail {

using OperationE = GinacEngineC::OperationE;

/// The built-in names, in code order, ended by an empty name.
extern const char16_t* const kBuiltinNames[];

/// The operation of a core name, None for names the engine does not know.
OperationE operationNamed(const char16_t* name);
/// The built-in name of an operation (never null for a real operation).
const char16_t* nameOf(OperationE operation);

/// Constants (pi, e, i, infinity) stand alone; everything else is applied.
bool isConstant(OperationE operation);
/// Whether only the Giac engine offers the operation.
bool isGiacOnly(OperationE operation);
/// Whether `count` arguments suit the operation.
bool acceptsArity(OperationE operation, std::size_t count);
/// "2 arguments", "1 or 2 arguments", ... for messages.
const char* arityText(OperationE operation);

}  // namespace detail
}  // namespace qorv::math::algexpr::ginac

#endif
