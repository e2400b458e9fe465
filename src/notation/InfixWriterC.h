// SPDX-License-Identifier: MIT
// InfixWriterC: the infix notation's part of the writing (NotationWriterC
// walks): names and numbers as they are, calls as f(x, y), the operators'
// signs, "[a, b]" for lists, and the parentheses reading needs. It fails the
// call for a name or number text that would not read back.
#ifndef ALGEXPR_SRC_NOTATION_INFIXWRITERC_H
#define ALGEXPR_SRC_NOTATION_INFIXWRITERC_H

#include "NotationWriterC.h"

namespace qorv::math::algexpr::detail {

class InfixWriterC final : public NotationWriterC {
public:
    InfixWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE format) noexcept;

private:
    bool nameItem(std::u16string name, Item& item) override;
    void callItem(std::u16string name, unsigned int count, Item& item) override;
    bool writable(const Item& item) override;
    bool numberItem(std::u16string text, Item& item) override;
    bool parentheses(FormE parent, unsigned int index, FormE child) const override;
    void open(ParentNodeABC& node, const Item& item, Frame& frame) override;
    void close(const Frame& frame) override;
    void separator(Frame& frame) override;
    const char16_t* openParenthesis() const override;
    const char16_t* closeParenthesis() const override;
};

}  // namespace qorv::math::algexpr::detail

#endif
