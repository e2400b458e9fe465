// SPDX-License-Identifier: MIT
// CoreSymbolNodeC: a leaf naming a core element of the session by its code.
// The node stores the code only; its text is the name that the current
// session's core element table gives the code, at the moment it is asked:
//   the element's name       when the current session knows the code,
//   "?<code>?"               when it does not,
//   "<code>"                 when no session is current.
#ifndef ALGEXPR_CORESYMBOLNODEC_H
#define ALGEXPR_CORESYMBOLNODEC_H

#include "algexpr/LeafNodeABC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API CoreSymbolNodeC : public LeafNodeABC {
public:
    explicit CoreSymbolNodeC(int code) noexcept;
    ~CoreSymbolNodeC() override;

    NodeABC* clone() const override;
    std::u16string toString() const override;
    bool acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE order) override;
    void* lookUpBase(const char16_t* castable_id) const override;
    const char16_t* qCastableId() const override;

    static const char16_t* getCastableId();

    int getCode() const;

private:
    int code;

    static const char16_t* const TheCastableId;
};

}  // namespace qorv::math::algexpr

#endif
