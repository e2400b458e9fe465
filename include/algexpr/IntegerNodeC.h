// SPDX-License-Identifier: MIT
// IntegerNodeC: an integer number leaf. The node owns its IntegerValueABC
// (made by the client's integer factory) and forwards reading, setting,
// printing and copying to it; it does no arithmetic itself.
//
// A node built with a null value prints as the empty text, clones to a node
// holding nothing, and ignores setValue.
#ifndef ALGEXPR_INTEGERNODEC_H
#define ALGEXPR_INTEGERNODEC_H

#include <cstdint>

#include "algexpr/LeafNodeABC.h"

namespace qorv::math::algexpr {

class IntegerValueABC;

class ALGEXPR_API IntegerNodeC : public LeafNodeABC {
public:
    /// Takes ownership of `value` (no copy is made).
    explicit IntegerNodeC(IntegerValueABC* value) noexcept;
    /// Deletes the value object.
    ~IntegerNodeC() override;

    /// Clones the value object too; null when that clone comes back null.
    NodeABC* clone() const override;
    std::u16string toString() const override;
    bool acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE order) override;
    void* lookUpBase(const char16_t* castable_id) const override;
    const char16_t* qCastableId() const override;

    static const char16_t* getCastableId();

    /// The value object, lent; the node keeps it.
    const IntegerValueABC* getValue() const;
    /// Hands the number to the value object; nothing happens without one.
    void setValue(std::int64_t value);

private:
    IntegerValueABC* value_p;

    static const char16_t* const TheCastableId;
};

}  // namespace qorv::math::algexpr

#endif
