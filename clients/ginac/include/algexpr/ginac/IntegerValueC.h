// SPDX-License-Identifier: MIT
// IntegerValueC: the GiNaC client's integer, exact with any number of digits.
// An IntegerNodeC owns each one; clone() gives the caller a new, independent
// one. It holds no GiNaC object, so values may be made, copied and deleted on
// any thread. Also home to the integer text form shared by the factory and
// the engine:
//
//   IntegerValueC* v = IntegerValueC::fromText(u"-123456789012345678901234567890");  // caller owns it
//   v->toString();   // u"-123456789012345678901234567890"
//   v->getValue();   // INT64_MIN: saturated, see below
//
// Reading (parse, fromText): one optional sign ("-", "+", U+2013 or U+2212,
// the last two meaning minus), then one or more ASCII digits, and nothing
// else; leading zeros are dropped. Writing (toString): "-" for negative
// numbers, no leading zeros, "0" for zero (never "-0"). Any number of digits
// is read and written here; the engine caps the digits it computes with
// (GinacEngineC::kMaxIntegerDigits).
//
// getValue() saturates: values above 2^63-1 give INT64_MAX and values below
// -2^63 give INT64_MIN. The constraint predicates see that saturated number:
// ConstraintsBC::isNumber(node, d) compares (double)getValue() with d, so every
// integer above 2^63-1 answers as 9223372036854775807 would, i.e. as the
// double 9223372036854775808.0, and isNumber(node, 1e30) is false for the
// integer 10^30. Test isLarge() first where that matters.
#ifndef ALGEXPR_GINAC_INTEGERVALUEC_H
#define ALGEXPR_GINAC_INTEGERVALUEC_H

#include <cstdint>
#include <string>

#include "algexpr/IntegerValueABC.h"
#include "algexpr/ginac/ginac_export.h"

namespace qorv::math::algexpr::ginac {

class ALGEXPR_GINAC_API IntegerValueC : public IntegerValueABC {
public:
    explicit IntegerValueC(std::int64_t value = 0) noexcept;
    ~IntegerValueC() override;

    /// The value, saturated at the 64-bit limits (see above).
    std::int64_t getValue() const override;
    void setValue(std::int64_t value) override;
    /// The decimal text described above; it reads back to the same value.
    std::u16string toString() override;
    /// Null when memory runs out.
    IntegerValueABC* clone() override;

    /// True when the value lies outside the 64-bit range (getValue saturates).
    bool isLarge() const;
    bool isNegative() const;
    /// The decimal digits of the magnitude when isLarge(), empty otherwise.
    const std::string& largeDigits() const;
    /// Number of decimal digits of the magnitude (1 for zero).
    std::size_t digitCount() const;

    /// A new value from a text in the form above; null for any other text and
    /// when memory runs out.
    static IntegerValueC* fromText(const std::u16string& text);
    /// A new value from a sign and the ASCII decimal digits of a magnitude
    /// (leading zeros allowed, at least one digit); null when the digits are
    /// malformed or memory runs out.
    static IntegerValueC* fromDigits(bool negative, const std::string& digits);
    /// Reads a text in the form above into a sign and the magnitude's digits
    /// without leading zeros ("0" for zero). False for every other text.
    static bool parse(const std::u16string& text, bool& negative, std::string& digits);

private:
    std::int64_t value;         // exact unless large; saturated otherwise
    std::string large_digits;   // the magnitude's digits when outside 64 bits
};

}  // namespace qorv::math::algexpr::ginac

#endif
