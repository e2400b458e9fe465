// SPDX-License-Identifier: MIT
#include "LatexWriterC.h"

#include <string>
#include <utility>

#include "UnicodeLetters.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/ParentNodeABC.h"

namespace qorv::math::algexpr::detail {

namespace {

// Greek letter names that LaTeX has a command of the same name for (it has
// no \omicron, nor capitals that look like Latin letters).
const char16_t* const kGreek[] = {u"alpha", u"beta",  u"gamma",   u"delta",  u"epsilon", u"zeta",   u"eta",
                                  u"theta", u"iota",  u"kappa",   u"lambda", u"mu",      u"nu",     u"xi",
                                  u"pi",    u"rho",   u"sigma",   u"tau",    u"upsilon", u"phi",    u"chi",
                                  u"psi",   u"omega", u"Gamma",   u"Delta",  u"Theta",   u"Lambda", u"Xi",
                                  u"Pi",    u"Sigma", u"Upsilon", u"Phi",    u"Psi",     u"Omega"};

// Functions written with LaTeX's own operator command. A power of one is
// written \sin^{2}\left(x\right), except for exp and the logarithms, whose
// \log^{2} would read as the logarithm taken twice.
struct Command {
    const char16_t* name;
    const char16_t* command;
    bool superscript;
};
const Command kCommands[] = {
    {u"sin", u"\\sin", true},       {u"cos", u"\\cos", true},       {u"tan", u"\\tan", true},
    {u"cot", u"\\cot", true},       {u"sec", u"\\sec", true},       {u"csc", u"\\csc", true},
    {u"asin", u"\\arcsin", true},   {u"acos", u"\\arccos", true},   {u"atan", u"\\arctan", true},
    {u"arcsin", u"\\arcsin", true}, {u"arccos", u"\\arccos", true}, {u"arctan", u"\\arctan", true},
    {u"sinh", u"\\sinh", true},     {u"cosh", u"\\cosh", true},     {u"tanh", u"\\tanh", true},
    {u"coth", u"\\coth", true},     {u"exp", u"\\exp", false},      {u"log", u"\\log", false},
    {u"ln", u"\\ln", false}};

// Whether the name is the listed one (its first letter compared first: the
// lists are looked through for every name and call).
bool is(const std::u16string& name, const char16_t* listed) {
    return !name.empty() && name[0] == listed[0] && name == listed;
}

bool isGreek(const std::u16string& name) {
    for (const char16_t* greek : kGreek) {
        if (is(name, greek)) {
            return true;
        }
    }
    return false;
}

const Command* commandOf(const std::u16string& name) {
    for (const Command& command : kCommands) {
        if (is(name, command.name)) {
            return &command;
        }
    }
    return nullptr;
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

// Whether the text is letters and the digits 0-9 only (at least one).
bool isWord(const std::u16string& text) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); i = next) {
        const char32_t c = codePointAt(text.data(), text.size(), i, next);
        if (!isUnicodeLetter(c) && !(c >= U'0' && c <= U'9')) {
            return false;
        }
    }
    return !text.empty();
}

// A name that LaTeX writes as a letter: a Greek letter's name as its
// command, one letter as it is. Empty for any other name.
std::u16string letter(const std::u16string& name) {
    if (isGreek(name)) {
        return u"\\" + name;
    }
    std::size_t next = 0;
    if (!name.empty() && isUnicodeLetter(codePointAt(name.data(), name.size(), 0, next)) && next == name.size()) {
        return name;
    }
    return std::u16string();
}

// A symbol's name in LaTeX: \pi, \alpha; a single letter as it is; a letter
// with a subscript after one "_" (x_1, omega_0, x_max, alpha_beta) as x_{1},
// \omega_{0}, x_{max}, \alpha_{\beta}; the empty slot "_" as \square;
// anything else upright.
std::u16string latexName(const std::u16string& name) {
    if (name == u"_") {
        return u"\\square";
    }
    std::u16string base = letter(name);
    if (!base.empty()) {
        return base;
    }
    const std::size_t bar = name.find(u'_');
    if (bar != std::u16string::npos && bar > 0) {
        base = letter(name.substr(0, bar));
        const std::u16string subscript = name.substr(bar + 1);
        if (!base.empty() && (isGreek(subscript) || isWord(subscript))) {
            return base + u"_{" + (isGreek(subscript) ? u"\\" + subscript : subscript) + u"}";
        }
    }
    return u"\\mathrm{" + escaped(name) + u"}";
}

// The k-th argument present (0 first), or null.
NodeABC* present(const ParentNodeABC& node, unsigned int k) {
    for (unsigned int i = 0; i < node.numChildren(); ++i) {
        NodeABC* child = node.child(i);
        if (child != nullptr && k-- == 0) {
            return child;
        }
    }
    return nullptr;
}

ParentNodeABC* asParent(NodeABC* node) {
    return node == nullptr ? nullptr : static_cast<ParentNodeABC*>(node->lookUpBase(ParentNodeABC::getCastableId()));
}

// For pdiff(f(...),k) with k a positive integer written in digits: k's text;
// the empty text for any other node.
std::u16string derivativeOrder(ParentNodeABC& node) {
    if (arity(node) != 2 || node.toString() != u"pdiff") {
        return std::u16string();
    }
    NodeABC* k = present(node, 1);
    auto* integer = static_cast<IntegerNodeC*>(k->lookUpBase(IntegerNodeC::getCastableId()));
    std::u16string text = integer != nullptr ? integer->toString() : std::u16string();
    const bool digits = !text.empty() && text.find_first_not_of(u"0123456789") == std::u16string::npos;
    return digits && text.find_first_not_of(u'0') != std::u16string::npos ? text : std::u16string();
}

}  // namespace

LatexWriterC::LatexWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE format) noexcept
    : NotationWriterC(digits, format) {}

bool LatexWriterC::nameItem(std::u16string name, Item& item) {
    item.text = latexName(name);
    return true;
}

void LatexWriterC::callItem(std::u16string name, unsigned int count, Item& item) {
    item.shape.delimited = true;
    if (count == 1 && name == u"sqrt") {
        item.write = WriteE::Root;
        item.shape.delimited = false;
    } else if (count == 1 && name == u"abs") {
        item.write = WriteE::Abs;
    } else if (count == 1 && name == u"order") {
        item.write = WriteE::Named;
        item.text = u"O";
    } else if (count == 2 && name == u"pdiff") {
        item.write = WriteE::Derivative;
    } else if (const Command* command = commandOf(name)) {
        item.write = WriteE::Named;
        item.text = command->command;
        item.superscript = count > 0 && command->superscript;
    } else {
        item.write = WriteE::Call;
        item.text = std::move(name);  // written as \operatorname{name}
        item.superscript = count > 0;
    }
}

// A quotient is a \frac. One whose numerator is a negative number or a
// negation has that sign before it, -\frac{1}{5}, and is then placed as a
// negation is (its text "-" marks it). The numerator is classified only when
// it is a leaf or has one argument, so that no chain of quotients is walked.
void LatexWriterC::operatorItem(ParentNodeABC& node, Item& item) {
    if (item.form != FormE::Quotient) {
        return;
    }
    item.form = FormE::Fraction;
    item.shape.fraction = true;
    NodeABC* numerator = firstChild(node);
    ParentNodeABC* parent =
        numerator == nullptr ? nullptr : static_cast<ParentNodeABC*>(numerator->lookUpBase(ParentNodeABC::getCastableId()));
    if (numerator == nullptr || (parent != nullptr && arity(*parent) != 1)) {
        return;
    }
    Item first;
    classifyNode(*numerator, first);
    if (first.form == FormE::Negative || first.form == FormE::Negation) {
        item.text = u"-";
    }
}

// Whether the next child is the numerator of a fraction whose sign stands
// before it (`begun`: the child's own frame is already open).
bool LatexWriterC::inSignedNumerator(bool begun) {
    const Frame* frame = begun ? enclosing() : innermost();
    return frame != nullptr && frame->form == FormE::Fraction && frame->mode == kSignOut &&
           frame->started == (begun ? 1u : 0u);
}

// A number text that is no number is written upright. 2.5e-3 is
// 2.5 \cdot 10^{-3}: a product, so it groups like a quotient.
bool LatexWriterC::numberItem(std::u16string number, Item& item) {
    if (!number.empty() && number[0] == u'-' && inSignedNumerator(false)) {
        number.erase(0, 1);  // the fraction's sign, written before it
    }
    if (!readsAsSignedInfixNumber(number)) {
        item.text = u"\\mathrm{" + escaped(number) + u"}";
        return true;
    }
    const bool negative = number[0] == u'-';
    item.form = negative ? FormE::Negative : FormE::Number;
    item.shape.numeric = true;
    item.shape.number_first = !negative;
    const std::size_t e = number.find_first_of(u"eE");
    if (e == std::u16string::npos) {
        item.text = std::move(number);
        return true;
    }
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

// The values that are not finite are written as such, whatever their text.
bool LatexWriterC::realItem(FloatNodeC& node, Item& item) {
    const FloatValueABC* value = node.getValue();
    if (value != nullptr && !value->isFinite()) {
        const double v = value->getValue();
        item.text = v != v ? u"\\mathrm{NaN}" : v > 0 || inSignedNumerator(false) ? u"\\infty" : u"-\\infty";
        item.form = v < 0 ? FormE::Negative : FormE::Atom;
        return true;
    }
    return numberItem(node.toString(digits, format), item);
}

// Braces group a fraction's parts and an exponent; a fraction is an atom
// except as a base.
bool LatexWriterC::parentheses(FormE parent, unsigned int index, FormE child) const {
    switch (parent) {
        case FormE::Fraction:
            return false;
        case FormE::Power:
            return index == 0 && (child == FormE::Fraction || needsParentheses(parent, 0, child));
        default:
            return needsParentheses(parent, index, child == FormE::Fraction ? FormE::Atom : child);
    }
}

// A call as the base of a power is parenthesised, \left(\log\left(x\right)\right)^{2}:
// \log\left(x\right)^{2} would read as the argument squared. (A root, a
// fraction's braces and bars delimit themselves; a power that can be written
// \sin^{2}\left(x\right) is, see wrappedIn.)
bool LatexWriterC::wrapped(FormE parent, unsigned int index, const Item& item) const {
    if (item.sign_first || parentheses(parent, index, signOut(item) ? FormE::Negation : item.form)) {
        return true;
    }
    return parent == FormE::Power && index == 0 &&
           (item.write == WriteE::Named || item.write == WriteE::Call || item.write == WriteE::Derivative);
}

bool LatexWriterC::wrappedIn(const Frame& frame, const Item& item) const {
    if ((frame.form == FormE::Power && frame.mode == kSuperscript && frame.started == 0) ||
        (frame.form == FormE::Negation && frame.mode == kSignOut)) {
        return false;
    }
    return wrapped(frame.form, frame.started, item);
}

void LatexWriterC::open(ParentNodeABC& node, const Item& item, Frame& frame) {
    switch (item.write) {
        case WriteE::Operator:
            if (item.form == FormE::Negation) {
                if (inSignedNumerator(true)) {
                    frame.mode = kSignOut;  // its sign stands before the fraction; the braces group the rest
                } else {
                    out() += u'-';
                }
            } else if (signOut(item)) {
                out() += u"-\\frac{";
                frame.mode = kSignOut;
            } else if (item.form == FormE::Fraction) {
                out() += u"\\frac{";
            } else if (item.form == FormE::Product) {
                frame.dots = productDots(node);
            } else if (item.form == FormE::Power && superscriptPower(node)) {
                frame.mode = kSuperscript;
            }
            break;
        case WriteE::Root:
            out() += u"\\sqrt{";
            break;
        case WriteE::Abs:
            out() += u"\\left| ";
            break;
        case WriteE::List:
            out() += u"\\left[";
            break;
        case WriteE::Derivative:
            openDerivative(node, frame);
            break;
        default:
            openCall(item);
            break;
    }
}

// A call's command, then its parentheses. As the base of \sin^{2}, the
// exponent comes between the two: it is written later, into a piece of its
// own that stands before the arguments' pieces; the power goes on after the
// last of those. As the function of a derivative chain over one argument,
// its primes come there.
void LatexWriterC::openCall(const Item& item) {
    if (item.write == WriteE::Call) {
        out() += u"\\operatorname{";
        out() += escaped(item.text);
        out() += u'}';
    } else {
        out() += item.text;
    }
    Frame* outer = enclosing();
    if (outer != nullptr && outer->started == 1) {
        if (outer->write == WriteE::Derivative && outer->mode == kPrime) {
            if (outer->count <= 3) {
                out().append(outer->count, u'\'');
            } else {
                const std::string count = std::to_string(outer->count);
                out() += u"^{(" + std::u16string(count.begin(), count.end()) + u")}";
            }
        } else if (outer->form == FormE::Power && outer->mode == kSuperscript) {
            outer->count = insertPiece(current);
            current = insertPiece(outer->count);
        }
    }
    out() += u"\\left(";
}

void LatexWriterC::close(const Frame& frame) {
    switch (frame.write) {
        case WriteE::Operator:
            if (frame.form == FormE::Fraction || frame.form == FormE::Power) {
                out() += u'}';
            }
            if (frame.mode == kSuperscript) {
                current = frame.resume;
            }
            break;
        case WriteE::Root:
            out() += u'}';
            break;
        case WriteE::Abs:
            out() += u" \\right|";
            break;
        case WriteE::List:
            out() += u" \\right]";
            break;
        case WriteE::Derivative:
            if (frame.mode == kPlain) {
                out() += closeParenthesis();
            }
            break;
        default:
            out() += closeParenthesis();
            break;
    }
}

void LatexWriterC::separator(Frame& frame) {
    if (frame.write != WriteE::Operator) {
        if (frame.write == WriteE::List && frame.started == 0) {
            out() += u' ';
        } else if (frame.started > 0) {
            out() += u", ";
        }
        return;
    }
    if (frame.started == 0) {
        return;
    }
    if (const char16_t* shared = sharedSeparator(frame.form)) {
        out() += shared;
    } else if (frame.form == FormE::Product) {
        out() += frame.dots ? u" \\cdot " : u" ";
    } else if (frame.form == FormE::Fraction) {
        out() += u"}{";
    } else {  // a power; the other forms have one argument
        if (frame.mode == kSuperscript) {
            frame.resume = current;  // where the base's arguments end
            current = frame.count;
        }
        out() += u"^{";
    }
}

const char16_t* LatexWriterC::openParenthesis() const { return u"\\left("; }

const char16_t* LatexWriterC::closeParenthesis() const { return u"\\right)"; }

// Whether a power is written \sin^{2}\left(x\right): its base is a call of
// a function that allows it, and its exponent starts with no sign and is
// short enough to stand there (a number, a name, a call, a fraction or a
// power).
bool LatexWriterC::superscriptPower(ParentNodeABC& node) {
    Item base;
    classifyNode(*present(node, 0), base);
    if (!base.superscript) {
        return false;
    }
    Item exponent;
    classifyNode(*present(node, 1), exponent);
    if (signOut(exponent)) {
        return false;
    }
    switch (exponent.form) {
        case FormE::Number:
        case FormE::Fraction:
        case FormE::Power:
            return true;
        case FormE::Atom:
            return exponent.write != WriteE::List;
        default:
            return false;
    }
}

// pdiff(f(x),1) is f'(x), and pdiff(pdiff(f(x),1),1) f''(x): primes for a
// function of one argument; pdiff(g(x,y),2) is \partial_{2} g(x, y). The
// chain below the outermost pdiff decides, once; the pdiffs inside it take
// their frame's mode from the one around them. A chain that does not end in
// a function written as a call is written as calls of pdiff.
void LatexWriterC::openDerivative(ParentNodeABC& node, Frame& frame) {
    Frame* outer = enclosing();
    if (outer != nullptr && outer->write == WriteE::Derivative && outer->started == 1 &&
        (outer->mode != kPlain || outer->count > 0)) {
        frame.mode = outer->mode;
        frame.count = outer->mode == kPlain ? outer->count - 1 : outer->count;
    } else {
        planDerivative(node, frame);
    }
    frame.silent_rest = frame.mode != kPlain;
    if (frame.mode == kPartial) {
        out() += u"\\partial_{" + derivativeOrder(node) + u"} ";
    } else if (frame.mode == kPlain) {
        out() += u"\\operatorname{pdiff}\\left(";
    }
}

// Walks the chain of pdiff(..., k) below `node` (itself included) once: a
// chain ending in a call of some function is a derivative; otherwise its
// pdiffs are calls, and the frame counts those below this one, so that
// none of them walks again.
void LatexWriterC::planDerivative(ParentNodeABC& node, Frame& frame) {
    std::size_t length = 0;
    bool ones = true;
    ParentNodeABC* at = &node;
    for (std::u16string k; at != nullptr && !(k = derivativeOrder(*at)).empty(); at = asParent(present(*at, 0))) {
        ++length;
        ones = ones && k == u"1";
    }
    Item bottom;
    if (at != nullptr && length > 0) {
        classifyNode(*at, bottom);
    }
    const bool call = bottom.write == WriteE::Named || bottom.write == WriteE::Call;
    if (call && at->toString() != u"pdiff" && arity(*at) > 0) {
        frame.mode = ones && arity(*at) == 1 ? kPrime : kPartial;
        frame.count = length;
    } else {
        frame.mode = kPlain;
        frame.count = length > 0 ? length - 1 : 0;
    }
}

LatexWriterC::Shape LatexWriterC::shown(const Item& item, bool parenthesized) {
    if (!parenthesized) {
        return item.shape;
    }
    Shape shape;
    shape.delimited = true;
    return shape;
}

// Juxtaposition misleads before a number (x 2, 2 3), next to parentheses,
// brackets or bars, after a float with an exponent, and between a number and
// a fraction (2 \frac{1}{2} reads as a mixed number).
bool LatexWriterC::dotBetween(const Shape& last, const Shape& next) {
    return next.number_first || next.delimited || last.delimited || last.scientific || (last.numeric && next.fraction);
}

// Whether a product needs a \cdot between some two of its factors: it then
// has one between all of them, since 3 \cdot 7 \sqrt{x} mixes two kinds of
// product. Each factor is classified from outside, once here and once when
// it is written.
bool LatexWriterC::productDots(ParentNodeABC& node) {
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
            ParentNodeABC& parent = *asParent(child);
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

// What a power looks like from outside: its base decides. (A power written
// \sin^{2}\left(x\right) shows a call's end, as a parenthesised call does.)
LatexWriterC::Shape LatexWriterC::powerShape(ParentNodeABC& node) {
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
// -\exp\left(y\right) \cdot x. It only ever stands first in a product, so
// what follows its sign does not matter.
LatexWriterC::Shape LatexWriterC::negationShape(ParentNodeABC& node) {
    Shape shape;
    NodeABC* operand = firstChild(node);
    Item item;
    classifyNode(*operand, item);
    if (wrapped(FormE::Negation, 0, item)) {
        shape.delimited = true;
    } else if (item.form == FormE::Power) {
        shape.delimited = powerShape(*asParent(operand)).delimited;
    } else {
        shape.delimited = item.shape.delimited;
    }
    return shape;
}

}  // namespace qorv::math::algexpr::detail
