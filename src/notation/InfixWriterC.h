// SPDX-License-Identifier: MIT
// InfixWriterC: the walk behind InfixPrintVisitorC and LatexPrintVisitorC.
// The visitors forward their visits to it; it decides each subexpression's
// form, its parentheses and its separators, and builds the text. It lives
// for one getExpressionString call.
#ifndef ALGEXPR_SRC_NOTATION_INFIXWRITERC_H
#define ALGEXPR_SRC_NOTATION_INFIXWRITERC_H

#include <string>
#include <vector>

#include "InfixSyntax.h"
#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/VisitationOrderE.h"

namespace qorv::math::algexpr {
class FloatNodeC;
class IntegerNodeC;
class NodeABC;
class NodeVisitorABC;
class ParentNodeABC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::detail {

class InfixWriterC {
public:
    enum class StyleE : unsigned char { Infix, Latex };

    InfixWriterC(StyleE style, unsigned long digits, qorv::math::NumberDisplayFormatE format) noexcept;

    /// One getExpressionString call of a visitor whose visits forward to
    /// `current` (set for the walk): the text, or the empty text with
    /// `message` set to why (pointing to a literal or into `message_text`).
    /// Running out of memory is such a failure; exceptions of the client's
    /// code (names, number texts) pass through.
    static std::u16string write(NodeVisitorABC& visitor, InfixWriterC*& current, NodeABC* node, StyleE style,
                                unsigned long digits, qorv::math::NumberDisplayFormatE format,
                                std::u16string& message_text, const char16_t*& message);

    // The visits. Each answers false when the walk must stop: the node
    // cannot be written (`error` says why) or memory ran out.
    bool function(ParentNodeABC& node, bool core, int code, VisitationOrderE order);
    bool symbol(NodeABC& node);
    bool integer(IntegerNodeC& node);
    bool real(FloatNodeC& node);

    std::u16string text;
    const char16_t* error = nullptr;  // a literal, or error_text's
    std::u16string error_text;
    bool out_of_memory = false;

private:
    // How a function is written, beyond its form.
    enum class WriteE : unsigned char { Operator, Call, Named, Root, Abs };

    // What a \cdot between two factors depends on (LaTeX).
    struct Shape {
        bool number_first = false;  // starts with a digit
        bool delimited = false;     // written with parentheses or bars
        bool fraction = false;
        bool numeric = false;  // a number, signed or not
        bool scientific = false;
    };

    // A node classified: its form, how to write it, and its text (a leaf's
    // whole text; a call's name, or in LaTeX its opening command).
    struct Item {
        FormE form = FormE::Atom;
        WriteE write = WriteE::Operator;
        std::u16string text;
        Shape shape;
        bool sign_first = false;  // a product after "+" or "-" that starts with a sign
    };

    struct Frame {
        FormE form;
        WriteE write;
        bool parenthesized;
        bool dots;             // a LaTeX product with \cdot between all its factors
        unsigned int started;  // children begun so far
    };

    void classifyFunction(ParentNodeABC& node, bool core, int code, Item& item);
    bool classifyNumber(std::u16string text, Item& item);
    bool classifyReal(FloatNodeC& node, Item& item);
    void classifyNode(NodeABC& node, Item& item);
    bool startsWithSign(ParentNodeABC& node, FormE form);
    bool afterOperator() const;
    bool fail(const char16_t* what, const std::u16string& name);
    template <class Classify>
    bool number(Classify classify);
    bool parentheses(FormE parent, unsigned int index, FormE child) const;
    // Whether the child `item` at `index` of an expression of form `parent`
    // is parenthesised, and the shape its neighbours then see.
    bool wrapped(FormE parent, unsigned int index, const Item& item) const;
    static Shape shown(const Item& item, bool parenthesized);
    static bool dotBetween(const Shape& last, const Shape& next);
    bool productDots(ParentNodeABC& node);
    // Writes what comes before a child of the innermost frame (its separator
    // and opening parenthesis); true when the child is parenthesised.
    bool beginChild(const Item& item);
    void writeLeaf(const Item& item);
    void writeSeparator(const Frame& frame);
    Shape powerShape(ParentNodeABC& node);
    Shape negationShape(ParentNodeABC& node);
    const char16_t* openParenthesis() const;
    const char16_t* closeParenthesis() const;

    StyleE style;
    unsigned long digits;
    qorv::math::NumberDisplayFormatE format;
    OperatorCodesC operators;
    bool operators_known = false;  // looked up in the current session
    std::vector<Frame> frames;
};

}  // namespace qorv::math::algexpr::detail

#endif
