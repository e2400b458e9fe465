// SPDX-License-Identifier: MIT
// ExtendedSymbolNodeC: a leaf naming a symbol that is not a core element.
// The node holds one reference to its interned SymbolC for its whole life
// (clones share the symbol). Its text is the symbol's name; a node built with
// a null symbol prints as the empty text.
#ifndef ALGEXPR_EXTENDEDSYMBOLNODEC_H
#define ALGEXPR_EXTENDEDSYMBOLNODEC_H

#include "algexpr/LeafNodeABC.h"
#include "algexpr/SymbolC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

namespace detail {
struct NodeAccess;
}

class ALGEXPR_API ExtendedSymbolNodeC : public LeafNodeABC {
public:
    explicit ExtendedSymbolNodeC(qorv::oss::PointerTC<SymbolC> symbol) noexcept;
    ~ExtendedSymbolNodeC() override;

    NodeABC* clone() const override;
    std::u16string toString() const override;
    bool acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE order) override;
    void* lookUpBase(const char16_t* castable_id) const override;
    const char16_t* qCastableId() const override;

    static const char16_t* getCastableId();

    /// A new owner of the node's symbol.
    qorv::oss::PointerTC<SymbolC> getSymbol() const;

private:
    friend struct detail::NodeAccess;  // the symbol lent, without counting

    qorv::oss::PointerTC<SymbolC> symbol_p;

    static const char16_t* const TheCastableId;
};

}  // namespace qorv::math::algexpr

#endif
