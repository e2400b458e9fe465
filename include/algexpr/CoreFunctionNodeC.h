// SPDX-License-Identifier: MIT
// CoreFunctionNodeC: an application of a core element (by its code) to the
// node's children. Its own text is the element's name, found like that of a
// CoreSymbolNodeC ("?<code>?" or "<code>" when there is no name); the printer
// adds the parentheses and arguments.
#ifndef ALGEXPR_COREFUNCTIONNODEC_H
#define ALGEXPR_COREFUNCTIONNODEC_H

#include "algexpr/ParentNodeABC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API CoreFunctionNodeC : public ParentNodeABC {
public:
    explicit CoreFunctionNodeC(int code) noexcept;
    ~CoreFunctionNodeC() override;

    /// A deep copy (null children left out); null when memory runs out.
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
