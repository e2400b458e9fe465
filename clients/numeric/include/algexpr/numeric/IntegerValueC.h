// SPDX-License-Identifier: MIT
// IntegerValueC: the numeric client's integer, a signed 64-bit number. An
// IntegerNodeC owns each one; clone() gives the caller a new, independent one.
// Also home to the integer text form shared by the factory and the printer:
//
//   std::int64_t n;
//   if (IntegerValueC::parse(u"\u2212" u"42", n)) { ... }   // n == -42
//   IntegerValueC::format(-42);                             // u"-42"
#ifndef ALGEXPR_NUMERIC_INTEGERVALUEC_H
#define ALGEXPR_NUMERIC_INTEGERVALUEC_H

#include <cstdint>
#include <string>

#include "algexpr/IntegerValueABC.h"
#include "algexpr/numeric/numeric_export.h"

namespace qorv::math::algexpr::numeric {

class ALGEXPR_NUMERIC_API IntegerValueC : public IntegerValueABC {
public:
    explicit IntegerValueC(std::int64_t value = 0) noexcept;
    ~IntegerValueC() override;

    std::int64_t getValue() const override;
    void setValue(std::int64_t value) override;
    /// Decimal, with "-" for negative numbers: the text parse() reads back.
    std::u16string toString() override;
    /// Null when memory runs out.
    IntegerValueABC* clone() override;

    /// Reads an optional single sign ("-", "+", U+2013 or U+2212, the last
    /// two meaning minus) followed by one or more ASCII decimal digits, and
    /// nothing else. False for every other text, the empty one included, and
    /// for numbers outside the 64-bit range; `value` is then left as it was.
    /// Throws std::bad_alloc when memory runs out.
    static bool parse(const std::u16string& text, std::int64_t& value);
    /// The decimal text of `value`.
    static std::u16string format(std::int64_t value);

private:
    std::int64_t value;
};

}  // namespace qorv::math::algexpr::numeric

#endif
