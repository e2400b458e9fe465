// SPDX-License-Identifier: MIT
// NumberDisplayFormatE: how a float value is asked to format itself. The
// library only passes it on, with an unsigned long, from
// AlgebraicExpressionC::toPrefixString to FloatValueABC::toString; what each
// value (and the number) means is the float value class's affair.
#ifndef ALGEXPR_NUMBERDISPLAYFORMATE_H
#define ALGEXPR_NUMBERDISPLAYFORMATE_H

namespace qorv::math {

// The underlying type is fixed, so every int value is a valid value.
enum NumberDisplayFormatE : int { Standard = 0, Fixed = 1, Scientific = 2, Engineering = 3 };

}  // namespace qorv::math

#endif
