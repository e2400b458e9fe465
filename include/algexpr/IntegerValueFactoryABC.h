// SPDX-License-Identifier: MIT
// IntegerValueFactoryABC: makes the client's integer values. The session
// keeps one; the prefix reader calls fromString for every integer text.
// Reference counted; hold through PointerTC.
#ifndef ALGEXPR_INTEGERVALUEFACTORYABC_H
#define ALGEXPR_INTEGERVALUEFACTORYABC_H

#include <cstdint>
#include <string>

#include "algexpr/algexpr_export.h"
#include "oss/RefCountedBC.h"

namespace qorv::math::algexpr {

class IntegerValueABC;

class ALGEXPR_API IntegerValueFactoryABC : public qorv::oss::RefCountedBC {
public:
    IntegerValueFactoryABC();
    IntegerValueFactoryABC(const IntegerValueFactoryABC&);
    IntegerValueFactoryABC& operator=(const IntegerValueFactoryABC&);

    /// A new value (owned by the caller) for a text the factory accepts; null
    /// to decline, which passes the text on to the float factory. The text is
    /// exactly the token read, possibly empty or malformed (e.g. "1-2").
    ///
    /// Null is the reader's only sign of "not mine", so do not answer null
    /// when memory runs out: the text would go on to the float factory, and
    /// "42" read while memory is short would become a float. Let
    /// std::bad_alloc leave fromString instead (plain new throws it): it
    /// passes through the reader unchanged, fromPrefixString throws it to its
    /// caller, and the reader frees the nodes it built on the way.
    virtual IntegerValueABC* fromString(const std::u16string& text) = 0;
    virtual IntegerValueABC* fromInt64(std::int64_t value) = 0;
    /// Null: no such integer.
    virtual IntegerValueABC* fromDouble(double value) = 0;
    virtual IntegerValueABC* zero() = 0;
    virtual ~IntegerValueFactoryABC();
};

}  // namespace qorv::math::algexpr

#endif
