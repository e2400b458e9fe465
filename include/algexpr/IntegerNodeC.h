// SPDX-License-Identifier: MIT
// IntegerNodeC: an integer number leaf. The node owns its IntegerValueABC
// (made by the client's integer factory) and forwards reading, setting,
// printing and copying to it; it does no arithmetic itself.
//
// A node built with a null value prints as the empty text, clones to a node
// holding nothing, and ignores setValue.
//
// The number's text: node->toString() gives it, on a const node too. The
// value that getValue() lends is const because the node owns it, and the
// value interface declares its toString() non-const, so it cannot be called
// through getValue(); the node's toString() calls it for you.
// getValue()->getValue() gives the number as 64 bits, which clients with
// larger integers saturate: compare such integers by text, as equalTrees does.
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
