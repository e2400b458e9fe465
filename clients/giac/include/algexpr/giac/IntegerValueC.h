// SPDX-License-Identifier: MIT
// IntegerValueC: the Giac client's integer, exact with any number of digits.
// An IntegerNodeC owns each one; clone() gives the caller a new, independent
// one. It holds no Giac object, so values may be made, copied and deleted on
// any thread:
//
//   IntegerValueC* v = IntegerValueC::fromText(u"-123456789012345678901234567890");  // caller owns it
//   v->toString();   // u"-123456789012345678901234567890"
//   v->getValue();   // INT64_MIN: saturated
//
// Reading (fromText): one optional sign ("-", "+", U+2013 or U+2212, the last
// two meaning minus), then one or more ASCII digits, and nothing else;
// leading zeros are dropped. Writing (toString): "-" for negative numbers,
// no leading zeros, "0" for zero. getValue() saturates at the 64-bit limits.
#ifndef ALGEXPR_GIAC_INTEGERVALUEC_H
#define ALGEXPR_GIAC_INTEGERVALUEC_H

#include <cstdint>
#include <string>

#include "algexpr/IntegerValueABC.h"
#include "algexpr/giac/giac_export.h"

namespace qorv::math::algexpr::giac {

class ALGEXPR_GIAC_API IntegerValueC : public IntegerValueABC {
public:
    explicit IntegerValueC(std::int64_t value = 0);
    ~IntegerValueC() override;

    /// The value, saturated at the 64-bit limits.
    std::int64_t getValue() const override;
    void setValue(std::int64_t value) override;
    /// The decimal text described above; it reads back to the same value.
    std::u16string toString() override;
    /// Null when memory runs out.
    IntegerValueABC* clone() override;

    bool isNegative() const;
    /// The decimal digits of the magnitude, without leading zeros ("0" for 0).
    const std::string& digits() const;

    /// A new value from a text in the form above; null for any other text.
    /// Throws std::bad_alloc when memory runs out.
    static IntegerValueC* fromText(const std::u16string& text);
    /// A new value from a sign and ASCII digits (leading zeros allowed, at
    /// least one digit); null when the digits are malformed. Throws
    /// std::bad_alloc when memory runs out.
    static IntegerValueC* fromDigits(bool negative, const std::string& digits);

private:
    bool negative = false;
    std::string magnitude;  // decimal digits, no leading zeros
};

}  // namespace qorv::math::algexpr::giac

#endif
