// SPDX-License-Identifier: MIT
#include "NotationWriterC.h"

#include <new>
#include <utility>

#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/NodeVisitorABC.h"
#include "algexpr/ParentNodeABC.h"
#include "support/OutOfMemory.h"

namespace qorv::math::algexpr::detail {

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

NotationWriterC::NotationWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE format) noexcept
    : digits(digits), format(format) {}

NotationWriterC::~NotationWriterC() = default;

std::u16string NotationWriterC::write(NodeVisitorABC& visitor, NotationWriterC*& installed, NodeABC* node,
                                      std::u16string& message_text, const char16_t*& message) {
    message_text.clear();
    message = u"";
    if (node == nullptr) {
        message = u"no expression";
        return std::u16string();
    }
    // The visits reach this writer for the walk, whatever way it ends.
    struct Installation {
        NotationWriterC*& installed;
        NotationWriterC* const outer;
        ~Installation() { installed = outer; }
    } installation{installed, installed};
    installed = this;
    // A node text that could not be made, or a walk that could not grow its
    // work stack, leaves a note: the text would miss a piece.
    OutOfMemoryScope scope;
    try {
        node->traverse(visitor);
        if (!scope.ranOut() && !out_of_memory && error == nullptr) {
            return joined();
        }
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
    }
    if (scope.ranOut() || out_of_memory) {
        message = u"out of memory";
    } else {
        message_text.swap(error_text);
        message = message_text.c_str();
    }
    return std::u16string();
}

bool NotationWriterC::function(ParentNodeABC& node, bool core, int code, VisitationOrderE order) {
    try {
        if (order == PreOrder) {
            Item item;
            classifyFunction(node, core, code, item);
            if (!writable(item)) {
                return false;
            }
            if ((item.form == FormE::Product || item.form == FormE::Quotient) && afterOperator()) {
                item.sign_first = startsWithSign(node, item.form);
            }
            const bool parenthesized = beginChild(item);
            frames.push_back(Frame{item.form, item.write, parenthesized});
            open(node, item, frames.back());
        } else if (order == PostOrder) {
            const Frame frame = frames.back();
            frames.pop_back();
            close(frame);
            if (frame.parenthesized) {
                out() += closeParenthesis();
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
        return false;
    }
}

bool NotationWriterC::symbol(NodeABC& node) {
    try {
        Item item;
        if (!nameItem(node.toString(), item)) {
            return false;
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
bool NotationWriterC::number(Classify classify) {
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

bool NotationWriterC::integer(IntegerNodeC& node) {
    return number([&](Item& item) { return numberItem(node.toString(), item); });
}

bool NotationWriterC::real(FloatNodeC& node) {
    return number([&](Item& item) { return realItem(node, item); });
}

bool NotationWriterC::writable(const Item&) { return true; }

void NotationWriterC::operatorItem(ParentNodeABC&, Item&) {}

bool NotationWriterC::realItem(FloatNodeC& node, Item& item) { return numberItem(node.toString(digits, format), item); }

bool NotationWriterC::wrapped(FormE parent, unsigned int index, const Item& item) const {
    return item.sign_first || parentheses(parent, index, item.form);
}

bool NotationWriterC::wrappedIn(const Frame& frame, const Item& item) const {
    return wrapped(frame.form, frame.started, item);
}

void NotationWriterC::classifyFunction(ParentNodeABC& node, bool core, int code, Item& item) {
    const unsigned int count = arity(node);
    if (core && !operators_known) {
        // Once per call, and only for trees that hold core functions.
        operators.lookUpAll(CASSessionBC::getSession().get());
        operators_known = true;
    }
    OperatorE op;
    if (core && operators.find(code, op)) {
        item.form = operatorForm(op, count);
        if (item.form == FormE::List) {
            item.form = FormE::Atom;
            item.write = WriteE::List;
            item.shape.delimited = true;
            return;
        }
        if (item.form != FormE::Atom) {
            item.write = WriteE::Operator;
            operatorItem(node, item);
            return;
        }
    }
    item.form = FormE::Atom;
    callItem(node.toString(), count, item);
}

// Any node, from outside: what its neighbours see. Names are not checked.
void NotationWriterC::classifyNode(NodeABC& node, Item& item) {
    if (void* found = node.lookUpBase(ParentNodeABC::getCastableId())) {
        auto* core = static_cast<CoreFunctionNodeC*>(node.lookUpBase(CoreFunctionNodeC::getCastableId()));
        classifyFunction(*static_cast<ParentNodeABC*>(found), core != nullptr, core != nullptr ? core->getCode() : 0,
                         item);
    } else if (auto* integer = static_cast<IntegerNodeC*>(node.lookUpBase(IntegerNodeC::getCastableId()))) {
        numberItem(integer->toString(), item);
    } else if (auto* real = static_cast<FloatNodeC*>(node.lookUpBase(FloatNodeC::getCastableId()))) {
        realItem(*real, item);
    }
}

// Whether a product or quotient (of form `form`) starts with a sign: its
// first factor, or that one's while it is a product or quotient written
// without parentheses, is a negation or a negative number. After a "+" or
// "-" it is then parenthesised: a + (-3*x). Each node is looked at by at most
// one such walk, since only the top of such a chain stands after an operator.
bool NotationWriterC::startsWithSign(ParentNodeABC& node, FormE form) {
    ParentNodeABC* at = &node;
    for (;;) {
        NodeABC* first = firstChild(*at);
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
        at = parent;
    }
}

const char16_t* NotationWriterC::sharedSeparator(FormE form) {
    switch (form) {
        case FormE::Equation:
            return u" = ";
        case FormE::Sum:
            return u" + ";
        case FormE::Difference:
            return u" - ";
        default:
            return nullptr;
    }
}

bool NotationWriterC::fail(const char16_t* what, const std::u16string& name) {
    error_text = what + name + u"' has no infix form";
    error = error_text.c_str();
    return false;
}

// Whether the next child follows a binary "+" or "-".
bool NotationWriterC::afterOperator() const {
    return !frames.empty() && frames.back().started > 0 &&
           (frames.back().form == FormE::Sum || frames.back().form == FormE::Difference);
}

void NotationWriterC::writeLeaf(const Item& item) {
    if (!frames.empty() && frames.back().silent_rest && frames.back().started > 0) {
        frames.back().started += 1;
        return;
    }
    const bool parenthesized = beginChild(item);
    out() += item.text;
    if (parenthesized) {
        out() += closeParenthesis();
    }
}

bool NotationWriterC::beginChild(const Item& item) {
    if (frames.empty()) {
        return false;
    }
    Frame& frame = frames.back();
    const bool parenthesized = wrappedIn(frame, item);
    separator(frame);
    frame.started += 1;
    if (parenthesized) {
        out() += openParenthesis();
    }
    return parenthesized;
}

std::size_t NotationWriterC::insertPiece(std::size_t after) {
    pieces.push_back(Piece{std::u16string(), nextOf(after)});
    nextOf(after) = pieces.size();
    return pieces.size();
}

std::u16string NotationWriterC::joined() {
    if (pieces.empty()) {
        return std::move(text);
    }
    std::size_t size = text.size();
    for (const Piece& piece : pieces) {
        size += piece.text.size();
    }
    std::u16string all;
    all.reserve(size);
    for (std::size_t i = 0; i != kNoPiece; i = nextOf(i)) {
        all += i == 0 ? text : pieces[i - 1].text;
    }
    return all;
}

}  // namespace qorv::math::algexpr::detail
