// SPDX-License-Identifier: MIT
// LatexWriterC: the LaTeX notation's part of the writing (NotationWriterC
// walks): names (\alpha, x_{1}, \square), function commands (\sin, \arctan,
// \sqrt{}, bars, \operatorname), powers of functions (\sin^{2}\left(x\right)),
// derivatives (f'(x), \partial_{k}), fractions, lists, numbers with powers of
// ten, and where a \cdot stands. Every tree can be written.
#ifndef ALGEXPR_SRC_NOTATION_LATEXWRITERC_H
#define ALGEXPR_SRC_NOTATION_LATEXWRITERC_H

#include "NotationWriterC.h"

namespace qorv::math::algexpr::detail {

class LatexWriterC final : public NotationWriterC {
public:
    LatexWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE format) noexcept;

private:
    // Frame modes: how a power or a pdiff is written.
    enum ModeE : unsigned char {
        kPlain = 0,    // as its form or call says
        kSuperscript,  // a power of a call: \sin^{2}\left(x\right); count is the exponent's piece,
                       // resume where the base's arguments end
        kPrime,        // a pdiff chain over a function of one argument: count primes
        kPartial,      // a pdiff chain over a function of several: \partial_{k} each
        kSignOut,      // a fraction whose numerator's sign stands before it: -\frac{1}{5}
    };

    bool nameItem(std::u16string name, Item& item) override;
    void callItem(std::u16string name, unsigned int count, Item& item) override;
    void operatorItem(ParentNodeABC& node, Item& item) override;
    bool numberItem(std::u16string text, Item& item) override;
    bool realItem(FloatNodeC& node, Item& item) override;
    bool parentheses(FormE parent, unsigned int index, FormE child) const override;
    bool wrapped(FormE parent, unsigned int index, const Item& item) const override;
    bool wrappedIn(const Frame& frame, const Item& item) const override;
    void open(ParentNodeABC& node, const Item& item, Frame& frame) override;
    void close(const Frame& frame) override;
    void separator(Frame& frame) override;
    const char16_t* openParenthesis() const override;
    const char16_t* closeParenthesis() const override;

    void openCall(const Item& item);
    static bool signOut(const Item& item) { return item.form == FormE::Fraction && item.text == u"-"; }
    bool inSignedNumerator(bool begun);
    bool superscriptPower(ParentNodeABC& node);
    void openDerivative(ParentNodeABC& node, Frame& frame);
    void planDerivative(ParentNodeABC& node, Frame& frame);
    static Shape shown(const Item& item, bool parenthesized);
    static bool dotBetween(const Shape& last, const Shape& next);
    bool productDots(ParentNodeABC& node);
    Shape powerShape(ParentNodeABC& node);
    Shape negationShape(ParentNodeABC& node);
};

}  // namespace qorv::math::algexpr::detail

#endif
