// SPDX-License-Identifier: MIT
// ExtendedFunctionNodeC: an application of a non-core function, named by an
// interned SymbolC, to the node's children. The node holds one reference to
// its symbol; clones share it. Its own text is the symbol's name (empty for a
// null symbol); the printer adds the parentheses and arguments.
#ifndef ALGEXPR_EXTENDEDFUNCTIONNODEC_H
#define ALGEXPR_EXTENDEDFUNCTIONNODEC_H

#include "algexpr/ParentNodeABC.h"
#include "algexpr/SymbolC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

namespace detail {
struct NodeAccess;
}

class ALGEXPR_API ExtendedFunctionNodeC : public ParentNodeABC {
public:
    explicit ExtendedFunctionNodeC(qorv::oss::PointerTC<SymbolC> symbol) noexcept;
    /// Releases the symbol, then deletes the children.
    ~ExtendedFunctionNodeC() override;

    /// A deep copy (null children left out) sharing the symbol; null when
    /// memory runs out.
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
