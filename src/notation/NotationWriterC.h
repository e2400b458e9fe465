// SPDX-License-Identifier: MIT
// NotationWriterC: the walk that the infix and the LaTeX writer share. The
// printers' visits forward to it; it classifies each node (its form, how it
// is written, what its neighbours see), decides parentheses, keeps a frame
// per open function and assembles the text. What the text of each piece is
// belongs to the notation: InfixWriterC and LatexWriterC supply it through
// the hooks below. A writer lives for one getExpressionString call.
#ifndef ALGEXPR_SRC_NOTATION_NOTATIONWRITERC_H
#define ALGEXPR_SRC_NOTATION_NOTATIONWRITERC_H

#include <cstddef>
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

class NotationWriterC {
public:
    NotationWriterC(const NotationWriterC&) = delete;
    NotationWriterC& operator=(const NotationWriterC&) = delete;
    virtual ~NotationWriterC();

    /// One getExpressionString call of a visitor whose visits forward to
    /// `current` (set to this writer for the walk): the text, or the empty
    /// text with `message` set to why (pointing to a literal or into
    /// `message_text`). Running out of memory is such a failure; exceptions
    /// of the client's code (names, number texts) pass through.
    std::u16string write(NodeVisitorABC& visitor, NotationWriterC*& current, NodeABC* node,
                         std::u16string& message_text, const char16_t*& message);

    // The visits. Each answers false when the walk must stop: the node
    // cannot be written (the error says why) or memory ran out.
    bool function(ParentNodeABC& node, bool core, int code, VisitationOrderE order);
    bool symbol(NodeABC& node);
    bool integer(IntegerNodeC& node);
    bool real(FloatNodeC& node);

protected:
    // How a function is written, beyond its form.
    enum class WriteE : unsigned char {
        Operator,    // by its form: a + b, -a, a^b ...
        Call,        // a name and its arguments in parentheses
        Named,       // LaTeX: a command and its arguments, \sin\left(x\right)
        Root,        // LaTeX: \sqrt{x}
        Abs,         // LaTeX: \left| x \right|
        List,        // its elements in brackets
        Derivative,  // LaTeX: pdiff(f(x),1), as f'(x) where it can be
    };

    // What a \cdot between two factors depends on (LaTeX).
    struct Shape {
        bool number_first = false;  // starts with a digit
        bool delimited = false;     // written with parentheses, brackets or bars
        bool fraction = false;
        bool numeric = false;  // a number, signed or not
        bool scientific = false;
    };

    // A node classified: its form, how to write it, and its text (a leaf's
    // whole text; a call's name, or in LaTeX the command of a function that
    // has one).
    struct Item {
        FormE form = FormE::Atom;
        WriteE write = WriteE::Operator;
        std::u16string text;
        Shape shape;
        bool sign_first = false;   // a product after "+" or "-" that starts with a sign
        bool superscript = false;  // LaTeX: a power of it may be \sin^{2}\left(x\right)
    };

    // An open function. The fields after `started` serve LaTeX's forms.
    struct Frame {
        FormE form;
        WriteE write;
        bool parenthesized;
        unsigned int started = 0;       // children begun so far
        bool dots = false;              // a product with \cdot between all its factors
        bool silent_rest = false;       // the children after the first are not written
        unsigned char mode = 0;         // the writer's own kind of frame
        std::size_t count = 0;          // what the mode counts
        std::size_t resume = kNoPiece;  // the piece to go on in when the frame ends
    };

    static constexpr std::size_t kNoPiece = static_cast<std::size_t>(-1);

    NotationWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE format) noexcept;

    // ---- The hooks of a notation ----

    /// A name as a leaf: its text in `item`, or false when the notation
    /// cannot write it.
    virtual bool nameItem(std::u16string name, Item& item) = 0;
    /// A function that no operator writes: how, and its text.
    virtual void callItem(std::u16string name, unsigned int count, Item& item) = 0;
    /// Whether a function about to be written can be (it fails the call if
    /// not); only the names of calls can fail.
    virtual bool writable(const Item& item);
    /// An operator's item, its form set: adjusts it (LaTeX: \frac).
    virtual void operatorItem(ParentNodeABC& node, Item& item);
    /// A number leaf's text: sets the item, or false when the notation
    /// cannot write it (the item's text then holds the number text).
    virtual bool numberItem(std::u16string text, Item& item) = 0;
    /// A float leaf: by default its text with the display arguments.
    virtual bool realItem(FloatNodeC& node, Item& item);
    /// Whether the child of form `child` at `index` of an expression of form
    /// `parent` is parenthesised.
    virtual bool parentheses(FormE parent, unsigned int index, FormE child) const = 0;
    /// The same for a whole item (by default: a sign first, or its form).
    virtual bool wrapped(FormE parent, unsigned int index, const Item& item) const;
    /// The same for the next child of an open function (by default wrapped()).
    virtual bool wrappedIn(const Frame& frame, const Item& item) const;
    /// Writes what opens a function just begun (its frame on top) and sets
    /// up its frame.
    virtual void open(ParentNodeABC& node, const Item& item, Frame& frame) = 0;
    /// Writes what closes a function whose frame was just taken off.
    virtual void close(const Frame& frame) = 0;
    /// Writes what comes before the next child of `frame` (its separator).
    virtual void separator(Frame& frame) = 0;
    virtual const char16_t* openParenthesis() const = 0;
    virtual const char16_t* closeParenthesis() const = 0;

    // ---- What the notations use ----

    /// The text is built in pieces linked in order, so that a part written
    /// later can stand before one written earlier; out() is where the walk
    /// writes now.
    std::u16string& out() { return current == 0 ? text : pieces[current - 1].text; }
    /// A new empty piece right after `after`; its index.
    std::size_t insertPiece(std::size_t after);
    /// Where the walk writes now.
    std::size_t current = 0;

    /// Any node, from outside: what its neighbours see. Names are not checked.
    void classifyNode(NodeABC& node, Item& item);
    /// The innermost open function, or null.
    Frame* innermost() { return frames.empty() ? nullptr : &frames.back(); }
    /// The frame that encloses the innermost one, or null.
    Frame* enclosing() { return frames.size() < 2 ? nullptr : &frames[frames.size() - 2]; }
    /// What both notations write between two operands of an equation, a sum
    /// or a difference (" = ", " + ", " - "); null for the other forms.
    static const char16_t* sharedSeparator(FormE form);
    /// Fails the call: "the name 'a+b' has no infix form".
    bool fail(const char16_t* what, const std::u16string& name);
    /// Whether a product or quotient of form `form` starts with a sign.
    bool startsWithSign(ParentNodeABC& node, FormE form);

    unsigned long digits;
    qorv::math::NumberDisplayFormatE format;

private:
    struct Piece {
        std::u16string text;
        std::size_t next;
    };

    void classifyFunction(ParentNodeABC& node, bool core, int code, Item& item);
    bool afterOperator() const;
    template <class Classify>
    bool number(Classify classify);
    // Writes what comes before a child of the innermost frame (its separator
    // and opening parenthesis); true when the child is parenthesised.
    bool beginChild(const Item& item);
    void writeLeaf(const Item& item);
    std::size_t& nextOf(std::size_t piece) { return piece == 0 ? text_next : pieces[piece - 1].next; }
    std::u16string joined();

    const char16_t* error = nullptr;  // a literal, or error_text's
    std::u16string error_text;
    bool out_of_memory = false;
    OperatorCodesC operators;
    bool operators_known = false;  // looked up in the current session
    std::vector<Frame> frames;
    std::u16string text;  // the first piece (0), often the only one
    std::size_t text_next = kNoPiece;
    std::vector<Piece> pieces;  // pieces 1, 2, ...
};

unsigned int arity(const ParentNodeABC& node);
NodeABC* firstChild(const ParentNodeABC& node);

}  // namespace qorv::math::algexpr::detail

#endif
