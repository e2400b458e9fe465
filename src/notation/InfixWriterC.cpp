// SPDX-License-Identifier: MIT
#include "InfixWriterC.h"

#include <new>
#include <utility>

#include "UnicodeLetters.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/NodeVisitorABC.h"
#include "algexpr/ParentNodeABC.h"
#include "support/OutOfMemory.h"

namespace qorv::math::algexpr::detail {

namespace {

// Greek letter names that LaTeX has a command of the same name for (it has
// no \omicron, nor capitals that look like Latin letters).
const char16_t* const kGreek[] = {u"alpha", u"beta",  u"gamma",   u"delta",  u"epsilon", u"zeta",   u"eta",
                                  u"theta", u"iota",  u"kappa",   u"lambda", u"mu",      u"nu",     u"xi",
                                  u"pi",    u"rho",   u"sigma",   u"tau",    u"upsilon", u"phi",    u"chi",
                                  u"psi",   u"omega", u"Gamma",   u"Delta",  u"Theta",   u"Lambda", u"Xi",
                                  u"Pi",    u"Sigma", u"Upsilon", u"Phi",    u"Psi",     u"Omega"};

// Functions written with LaTeX's own operator command.
const char16_t* const kNamedFunctions[] = {u"sin", u"cos", u"tan", u"exp", u"log"};

template <std::size_t N>
bool listed(const char16_t* const (&names)[N], const std::u16string& name) {
    for (const char16_t* listed_name : names) {
        if (name == listed_name) {
            return true;
        }
    }
    return false;
}

// The name with LaTeX's special characters made literal, for \mathrm{} and
// \operatorname{}.
std::u16string escaped(const std::u16string& name) {
    std::u16string out;
    for (char16_t c : name) {
        switch (c) {
            case u'#':
            case u'$':
            case u'%':
            case u'&':
            case u'_':
            case u'{':
            case u'}':
                out += u'\\';
                out += c;
                break;
            case u'\\':
                out += u"\\backslash{}";
                break;
            case u'~':
                out += u"\\sim{}";
                break;
            case u'^':
                out += u"\\hat{}";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A symbol's name in LaTeX: \pi, \alpha; a single letter as it is; anything
// else upright.
std::u16string latexName(const std::u16string& name) {
    if (listed(kGreek, name)) {
        return u"\\" + name;
    }
    std::size_t next = 0;
    if (!name.empty() && isUnicodeLetter(codePointAt(name.data(), name.size(), 0, next)) && next == name.size()) {
        return name;
    }
    return u"\\mathrm{" + escaped(name) + u"}";
}

unsigned int arity(const ParentNodeABC& node) {
    const unsigned int n = node.numChildren();
    unsigned int count = 0;
    for (unsigned int i = 0; i < n; ++i) {
        count += node.child(i) != nullptr ? 1 : 0;
    }
    return count;
}

NodeABC* firstChild(const ParentNodeABC& node) {
    for (unsigned int i = 0; i < node.numChildren(); ++i) {
        if (NodeABC* child = node.child(i)) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace

InfixWriterC::InfixWriterC(StyleE style, unsigned long digits, qorv::math::NumberDisplayFormatE format) noexcept
    : style(style), digits(digits), format(format) {}

std::u16string InfixWriterC::write(NodeVisitorABC& visitor, InfixWriterC*& current, NodeABC* node, StyleE style,
                                   unsigned long digits, qorv::math::NumberDisplayFormatE format,
                                   std::u16string& message_text, const char16_t*& message) {
    message_text.clear();
    message = u"";
    if (node == nullptr) {
        message = u"no expression";
        return std::u16string();
    }
    InfixWriterC writer(style, digits, format);
    // The visits reach this writer for the walk, whatever way it ends.
    struct Installed {
        InfixWriterC*& current;
        InfixWriterC* const outer;
        ~Installed() { current = outer; }
    } installed{current, current};
    current = &writer;
    // A node text that could not be made, or a walk that could not grow its
    // work stack, leaves a note: the text would miss a piece.
    OutOfMemoryScope scope;
    node->traverse(visitor);
    if (scope.ranOut() || writer.out_of_memory) {
        message = u"out of memory";
        return std::u16string();
    }
    if (writer.error != nullptr) {
        message_text.swap(writer.error_text);
        message = message_text.c_str();
        return std::u16string();
    }
    return std::move(writer.text);
}

bool InfixWriterC::function(ParentNodeABC& node, bool core, int code, VisitationOrderE order) {
    try {
        if (order == PreOrder) {
            Item item;
            classifyFunction(node, core, code, item);
            if (item.write == WriteE::Call && style == StyleE::Infix && !isIdentifier(item.text)) {
                return fail(u"the name '", item.text);
            }
            if ((item.form == FormE::Product || item.form == FormE::Quotient) && afterOperator()) {
                item.sign_first = startsWithSign(node, item.form);
            }
            const bool parenthesized = beginChild(item);
            const bool dots = style == StyleE::Latex && item.form == FormE::Product && productDots(node);
            frames.push_back(Frame{item.form, item.write, parenthesized, dots, 0});
            if (item.write != WriteE::Operator) {
                text += item.text;
                if (style == StyleE::Infix) {
                    text += u'(';
                }
            } else if (item.form == FormE::Negation) {
                text += u'-';
            } else if (item.form == FormE::Fraction) {
                text += u"\\frac{";
            }
        } else if (order == PostOrder) {
            const Frame frame = frames.back();
            frames.pop_back();
            if (frame.write == WriteE::Call || frame.write == WriteE::Named) {
                text += closeParenthesis();
            } else if (frame.write == WriteE::Abs) {
                text += u" \\right|";
            } else if (frame.write == WriteE::Root || frame.form == FormE::Fraction ||
                       (frame.form == FormE::Power && style == StyleE::Latex)) {
                text += u'}';
            }
            if (frame.parenthesized) {
                text += closeParenthesis();
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
        return false;
    }
}

bool InfixWriterC::symbol(NodeABC& node) {
    try {
        Item item;
        std::u16string name = node.toString();
        if (style == StyleE::Latex) {
            item.text = latexName(name);
        } else if (isIdentifier(name)) {
            item.text = std::move(name);
        } else {
            return fail(u"the name '", name);
        }
        writeLeaf(item);
        return true;
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
        return false;
    }
}

// A number leaf: classified by `classify` (false for a number text the
// notation cannot write), then written.
template <class Classify>
bool InfixWriterC::number(Classify classify) {
    try {
        Item item;
        if (!classify(item)) {
            return fail(u"the number '", item.text);
        }
        writeLeaf(item);
        return true;
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
        return false;
    }
}

bool InfixWriterC::integer(IntegerNodeC& node) {
    return number([&](Item& item) { return classifyNumber(node.toString(), item); });
}

bool InfixWriterC::real(FloatNodeC& node) {
    return number([&](Item& item) { return classifyReal(node, item); });
}

void InfixWriterC::classifyFunction(ParentNodeABC& node, bool core, int code, Item& item) {
    const unsigned int count = arity(node);
    if (core && !operators_known) {
        // Once per call, and only for trees that hold core functions.
        operators.lookUpAll(CASSessionBC::getSession().get());
        operators_known = true;
    }
    OperatorE op;
    if (core && operators.find(code, op)) {
        item.form = operatorForm(op, count);
        if (item.form != FormE::Atom) {
            item.write = WriteE::Operator;
            if (style == StyleE::Latex && item.form == FormE::Quotient) {
                item.form = FormE::Fraction;
                item.shape.fraction = true;
            }
            return;
        }
    }
    item.form = FormE::Atom;
    std::u16string name = node.toString();
    if (style == StyleE::Infix) {
        item.write = WriteE::Call;
        item.text = std::move(name);  // "(" follows
        return;
    }
    if (count == 1 && name == u"sqrt") {
        item.write = WriteE::Root;
        item.text = u"\\sqrt{";
    } else if (count == 1 && name == u"abs") {
        item.write = WriteE::Abs;
        item.text = u"\\left| ";
        item.shape.delimited = true;
    } else if (listed(kNamedFunctions, name)) {
        item.write = WriteE::Named;
        item.text = u"\\" + name + u"\\left(";
        item.shape.delimited = true;
    } else {
        item.write = WriteE::Call;
        item.text = u"\\operatorname{" + escaped(name) + u"}\\left(";
        item.shape.delimited = true;
    }
}

// Sets the item for a number's text. False in infix for a text that does
// not read back as one number (the item is then an atom of that text); LaTeX
// writes such a text upright.
bool InfixWriterC::classifyNumber(std::u16string number, Item& item) {
    if (!readsAsSignedInfixNumber(number)) {
        item.text = style == StyleE::Infix ? std::move(number) : u"\\mathrm{" + escaped(number) + u"}";
        return style == StyleE::Latex;
    }
    const bool negative = number[0] == u'-';
    item.form = negative ? FormE::Negative : FormE::Number;
    item.shape.numeric = true;
    item.shape.number_first = !negative;
    const std::size_t e = number.find_first_of(u"eE");
    if (style == StyleE::Infix || e == std::u16string::npos) {
        item.text = std::move(number);
        return true;
    }
    // 2.5e-3 is 2.5 \cdot 10^{-3}: a product, so it groups like a quotient.
    item.shape.scientific = true;
    item.form = negative ? FormE::Negative : FormE::Quotient;
    std::size_t i = e + 1;
    const bool exponent_negative = number[i] == u'-' || number[i] == kMinusSign;
    i += number[i] == u'+' || exponent_negative ? 1 : 0;
    while (i + 1 < number.size() && number[i] == u'0') {
        ++i;
    }
    item.text = number.substr(0, e) + u" \\cdot 10^{" + (exponent_negative ? u"-" : u"") + number.substr(i) + u"}";
    return true;
}

// LaTeX writes the values that are not finite as such, whatever their text.
bool InfixWriterC::classifyReal(FloatNodeC& node, Item& item) {
    const FloatValueABC* value = node.getValue();
    if (style == StyleE::Latex && value != nullptr && !value->isFinite()) {
        const double v = value->getValue();
        item.text = v != v ? u"\\mathrm{NaN}" : v > 0 ? u"\\infty" : u"-\\infty";
        item.form = v < 0 ? FormE::Negative : FormE::Atom;
        return true;
    }
    return classifyNumber(node.toString(digits, format), item);
}

// Any node, from outside: what its neighbours see. Names are not checked.
void InfixWriterC::classifyNode(NodeABC& node, Item& item) {
    if (void* found = node.lookUpBase(ParentNodeABC::getCastableId())) {
        auto* core = static_cast<CoreFunctionNodeC*>(node.lookUpBase(CoreFunctionNodeC::getCastableId()));
        classifyFunction(*static_cast<ParentNodeABC*>(found), core != nullptr, core != nullptr ? core->getCode() : 0,
                         item);
    } else if (auto* integer = static_cast<IntegerNodeC*>(node.lookUpBase(IntegerNodeC::getCastableId()))) {
        classifyNumber(integer->toString(), item);
    } else if (auto* real = static_cast<FloatNodeC*>(node.lookUpBase(FloatNodeC::getCastableId()))) {
        classifyReal(*real, item);
    }
}

// Whether a product or quotient (of form `form`) starts with a sign: its
// first factor, or that one's while it is a product or quotient written
// without parentheses, is a negation or a negative number. After a "+" or
// "-" it is then parenthesised: a + (-3*x). Each node is looked at by at most
// one such walk, since only the top of such a chain stands after an operator.
bool InfixWriterC::startsWithSign(ParentNodeABC& node, FormE form) {
    ParentNodeABC* current = &node;
    for (;;) {
        NodeABC* first = firstChild(*current);
        Item item;
        classifyNode(*first, item);
        if (parentheses(form, 0, item.form)) {
            return false;
        }
        if (item.form == FormE::Negation || item.form == FormE::Negative) {
            return true;
        }
        // (A float with an exponent groups like a quotient in LaTeX, but is a leaf.)
        auto* parent = static_cast<ParentNodeABC*>(first->lookUpBase(ParentNodeABC::getCastableId()));
        if ((item.form != FormE::Product && item.form != FormE::Quotient) || parent == nullptr) {
            return false;
        }
        form = item.form;
        current = parent;
    }
}

// Only infix fails: "the name 'a+b' has no infix form".
bool InfixWriterC::fail(const char16_t* what, const std::u16string& name) {
    error_text = what + name + u"' has no infix form";
    error = error_text.c_str();
    return false;
}

bool InfixWriterC::parentheses(FormE parent, unsigned int index, FormE child) const {
    if (style == StyleE::Infix) {
        return needsParentheses(parent, index, child);
    }
    // Braces group a fraction's parts and an exponent; a fraction is an atom
    // except as a base.
    switch (parent) {
        case FormE::Fraction:
            return false;
        case FormE::Power:
            return index == 0 && (child == FormE::Fraction || needsParentheses(parent, 0, child));
        default:
            return needsParentheses(parent, index, child == FormE::Fraction ? FormE::Atom : child);
    }
}

// A call as the base of a power is parenthesised in LaTeX:
// \sin\left(x\right)^{2} would read as the argument squared. (A root, a
// fraction's braces and bars delimit themselves.)
bool InfixWriterC::wrapped(FormE parent, unsigned int index, const Item& item) const {
    if (item.sign_first || parentheses(parent, index, item.form)) {
        return true;
    }
    return style == StyleE::Latex && parent == FormE::Power && index == 0 &&
           (item.write == WriteE::Named || item.write == WriteE::Call);
}

InfixWriterC::Shape InfixWriterC::shown(const Item& item, bool parenthesized) {
    if (!parenthesized) {
        return item.shape;
    }
    Shape shape;
    shape.delimited = true;
    return shape;
}

// Juxtaposition misleads before a number (x 2, 2 3), next to parentheses or
// bars, after a float with an exponent, and between a number and a fraction
// (2 \frac{1}{2} reads as a mixed number).
bool InfixWriterC::dotBetween(const Shape& last, const Shape& next) {
    return next.number_first || next.delimited || last.delimited || last.scientific ||
           (last.numeric && next.fraction);
}

// Whether a LaTeX product needs a \cdot between some two of its factors: it
// then has one between all of them, since 3 \cdot 7 \sqrt{x} mixes two kinds
// of product. Each factor is classified from outside, once here and once when
// it is written.
bool InfixWriterC::productDots(ParentNodeABC& node) {
    Shape last;
    unsigned int index = 0;
    for (unsigned int i = 0; i < node.numChildren(); ++i) {
        NodeABC* child = node.child(i);
        if (child == nullptr) {
            continue;
        }
        Item item;
        classifyNode(*child, item);
        if (item.form == FormE::Power || item.form == FormE::Negation) {
            auto& parent = *static_cast<ParentNodeABC*>(child->lookUpBase(ParentNodeABC::getCastableId()));
            item.shape = item.form == FormE::Power ? powerShape(parent) : negationShape(parent);
        }
        const Shape shape = shown(item, wrapped(FormE::Product, index, item));
        if (index > 0 && dotBetween(last, shape)) {
            return true;
        }
        last = shape;
        ++index;
    }
    return false;
}

// Whether the next child follows a binary "+" or "-".
bool InfixWriterC::afterOperator() const {
    return !frames.empty() && frames.back().started > 0 &&
           (frames.back().form == FormE::Sum || frames.back().form == FormE::Difference);
}

void InfixWriterC::writeLeaf(const Item& item) {
    const bool parenthesized = beginChild(item);
    text += item.text;
    if (parenthesized) {
        text += closeParenthesis();
    }
}

bool InfixWriterC::beginChild(const Item& item) {
    if (frames.empty()) {
        return false;
    }
    Frame& frame = frames.back();
    const bool parenthesized = wrapped(frame.form, frame.started, item);
    if (frame.started > 0) {
        writeSeparator(frame);
    }
    frame.started += 1;
    if (parenthesized) {
        text += openParenthesis();
    }
    return parenthesized;
}

void InfixWriterC::writeSeparator(const Frame& frame) {
    const bool latex = style == StyleE::Latex;
    if (frame.write != WriteE::Operator) {
        text += u", ";
        return;
    }
    switch (frame.form) {
        case FormE::Sum:
            text += u" + ";
            break;
        case FormE::Difference:
            text += u" - ";
            break;
        case FormE::Product:
            text += !latex ? u"*" : frame.dots ? u" \\cdot " : u" ";
            break;
        case FormE::Quotient:
            text += u'/';
            break;
        case FormE::Fraction:
            text += u"}{";
            break;
        default:  // a power; the other forms have one argument
            text += latex ? u"^{" : u"^";
            break;
    }
}

// What a power looks like from outside: its base decides (LaTeX).
InfixWriterC::Shape InfixWriterC::powerShape(ParentNodeABC& node) {
    Shape shape;
    Item item;
    classifyNode(*firstChild(node), item);
    if (wrapped(FormE::Power, 0, item)) {
        shape.delimited = true;
    } else {
        shape.delimited = item.shape.delimited;
        shape.number_first = item.shape.number_first;
    }
    return shape;
}

// What a negation shows the factor after it: its operand's end, as in
// -\exp\left(y\right) \cdot x (LaTeX). It only ever stands first in a
// product, so what follows its sign does not matter.
InfixWriterC::Shape InfixWriterC::negationShape(ParentNodeABC& node) {
    Shape shape;
    NodeABC* operand = firstChild(node);
    Item item;
    classifyNode(*operand, item);
    if (wrapped(FormE::Negation, 0, item)) {
        shape.delimited = true;
    } else if (item.form == FormE::Power) {
        shape.delimited =
            powerShape(*static_cast<ParentNodeABC*>(operand->lookUpBase(ParentNodeABC::getCastableId()))).delimited;
    } else {
        shape.delimited = item.shape.delimited;
    }
    return shape;
}

const char16_t* InfixWriterC::openParenthesis() const { return style == StyleE::Latex ? u"\\left(" : u"("; }

const char16_t* InfixWriterC::closeParenthesis() const { return style == StyleE::Latex ? u"\\right)" : u")"; }

}  // namespace qorv::math::algexpr::detail
