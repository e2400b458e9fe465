// SPDX-License-Identifier: MIT
// FloatValueABC: the client's floating-point number. A FloatNodeC owns
// exactly one and deletes it through this interface; values are never shared
// (copying a node clones its value).
#ifndef ALGEXPR_FLOATVALUEABC_H
#define ALGEXPR_FLOATVALUEABC_H

#include <string>

#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class ALGEXPR_API FloatValueABC {
public:
    FloatValueABC();
    FloatValueABC(const FloatValueABC&);
    FloatValueABC& operator=(const FloatValueABC&);

    virtual double getValue() const = 0;
    virtual void setValue(double value) = 0;
    /// Neither infinite nor NaN. Not called by the library.
    virtual bool isFinite() const = 0;
    /// The text for display; the library passes both arguments on unchanged
    /// from AlgebraicExpressionC::toPrefixString. Their meaning is yours.
    virtual std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) = 0;
    /// The text in the value's default form.
    virtual std::u16string toString() = 0;
    /// A new, independent copy allocated with new and owned by the caller;
    /// null only when memory runs out.
    virtual FloatValueABC* clone() = 0;
    virtual ~FloatValueABC();
};

}  // namespace qorv::math::algexpr

#endif
