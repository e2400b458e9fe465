// SPDX-License-Identifier: MIT
// FloatNodeC: a floating-point number leaf. The node owns its FloatValueABC
// (made by the client's float factory) and forwards reading, setting,
// printing and copying to it; it does no arithmetic itself.
//
// A node without a value object (built with null, or after setValue(nullptr))
// prints as the empty text, clones to a node holding nothing and ignores
// setValue(double).
//
// The number's text: the node's toString() and toString(digits, format)
// give it, on a const node too; the lent value's own toString operations are
// not const, so they cannot be called through getValue() (see IntegerNodeC).
#ifndef ALGEXPR_FLOATNODEC_H
#define ALGEXPR_FLOATNODEC_H

#include "algexpr/LeafNodeABC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr {

class FloatValueABC;

class ALGEXPR_API FloatNodeC : public LeafNodeABC {
public:
    /// Takes ownership of `value` (no copy is made).
    explicit FloatNodeC(FloatValueABC* value) noexcept;
    /// Deletes the value object.
    ~FloatNodeC() override;

    /// Clones the value object too; null when that clone comes back null.
    NodeABC* clone() const override;
    /// The value's text in its default form.
    std::u16string toString() const override;
    bool acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE order) override;
    void* lookUpBase(const char16_t* castable_id) const override;
    const char16_t* qCastableId() const override;

    static const char16_t* getCastableId();

    /// The value object, lent; the node keeps it.
    const FloatValueABC* getValue() const;
    /// Deletes the current value object and takes `value` (may be null).
    /// Given the value object the node already holds, nothing changes.
    void setValue(FloatValueABC* value);
    /// Hands the number to the value object; nothing happens without one.
    /// (setValue(0) is ambiguous: write 0.0 or nullptr.)
    void setValue(double value);
    /// The value's text for display: both arguments go to the value unchanged.
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) const;

private:
    FloatValueABC* value_p;

    static const char16_t* const TheCastableId;
};

}  // namespace qorv::math::algexpr

#endif
