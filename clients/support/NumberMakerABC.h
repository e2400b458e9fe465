// SPDX-License-Identifier: MIT
// NumberMakerABC: how ResultShaperC makes the number values of the tree it
// writes: each client makes its own value classes from the digits of a
// RealS. Both answer a new value owned by the caller, or null when memory
// runs out.
#ifndef ALGEXPR_CLIENTS_SUPPORT_NUMBERMAKERABC_H
#define ALGEXPR_CLIENTS_SUPPORT_NUMBERMAKERABC_H

#include <string>

#include "ResultGraphC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerValueABC.h"

namespace qorv::math::algexpr::support {

class NumberMakerABC {
public:
    virtual ~NumberMakerABC() = default;

    /// The integer -digits (negative) or digits.
    virtual IntegerValueABC* integer(bool negative, const std::string& digits) = 0;
    /// The float of a RealS of the Float form.
    virtual FloatValueABC* decimal(const RealS& value) = 0;

protected:
    NumberMakerABC() = default;
};

}  // namespace qorv::math::algexpr::support

#endif
