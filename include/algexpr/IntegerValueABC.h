// SPDX-License-Identifier: MIT
// IntegerValueABC: the client's integer number. An IntegerNodeC owns exactly
// one and deletes it through this interface; values are never shared
// (copying a node clones its value).
#ifndef ALGEXPR_INTEGERVALUEABC_H
#define ALGEXPR_INTEGERVALUEABC_H

#include <cstdint>
#include <string>

#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class ALGEXPR_API IntegerValueABC {
public:
    IntegerValueABC();
    IntegerValueABC(const IntegerValueABC&);
    IntegerValueABC& operator=(const IntegerValueABC&);

    virtual std::int64_t getValue() const = 0;
    virtual void setValue(std::int64_t value) = 0;
    /// The text the prefix printer writes for the number.
    virtual std::u16string toString() = 0;
    /// A new, independent copy allocated with new and owned by the caller;
    /// null only when memory runs out.
    virtual IntegerValueABC* clone() = 0;
    virtual ~IntegerValueABC();
};

}  // namespace qorv::math::algexpr

#endif
