// SPDX-License-Identifier: MIT
#include "InfixWriterC.h"

#include <utility>

namespace qorv::math::algexpr::detail {

InfixWriterC::InfixWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE format) noexcept
    : NotationWriterC(digits, format) {}

bool InfixWriterC::nameItem(std::u16string name, Item& item) {
    if (!isIdentifier(name)) {
        return fail(u"the name '", name);
    }
    item.text = std::move(name);
    return true;
}

void InfixWriterC::callItem(std::u16string name, unsigned int, Item& item) {
    item.write = WriteE::Call;
    item.text = std::move(name);  // "(" follows
}

// A call's name must read back as one; "the name 'a+b' has no infix form".
bool InfixWriterC::writable(const Item& item) {
    return item.write != WriteE::Call || isIdentifier(item.text) || fail(u"the name '", item.text);
}

// False for a text that does not read back as one number (the item is then
// an atom of that text).
bool InfixWriterC::numberItem(std::u16string number, Item& item) {
    const bool readable = readsAsSignedInfixNumber(number);
    if (readable) {
        const bool negative = number[0] == u'-';
        item.form = negative ? FormE::Negative : FormE::Number;
        item.shape.numeric = true;
        item.shape.number_first = !negative;
    }
    item.text = std::move(number);
    return readable;
}

bool InfixWriterC::parentheses(FormE parent, unsigned int index, FormE child) const {
    return needsParentheses(parent, index, child);
}

void InfixWriterC::open(ParentNodeABC&, const Item& item, Frame&) {
    switch (item.write) {
        case WriteE::List:
            out() += u'[';
            break;
        case WriteE::Operator:
            if (item.form == FormE::Negation) {
                out() += u'-';
            }
            break;
        default:
            out() += item.text;
            out() += u'(';
            break;
    }
}

void InfixWriterC::close(const Frame& frame) {
    if (frame.write == WriteE::List) {
        out() += u']';
    } else if (frame.write != WriteE::Operator) {
        out() += u')';
    }
}

void InfixWriterC::separator(Frame& frame) {
    if (frame.started == 0) {
        return;
    }
    const char16_t* shared = sharedSeparator(frame.form);
    if (frame.write != WriteE::Operator) {
        out() += u", ";
    } else if (shared != nullptr) {
        out() += shared;
    } else {
        // A product, a quotient or a power; the other forms have one argument.
        out() += frame.form == FormE::Product ? u'*' : frame.form == FormE::Quotient ? u'/' : u'^';
    }
}

const char16_t* InfixWriterC::openParenthesis() const { return u"("; }

const char16_t* InfixWriterC::closeParenthesis() const { return u")"; }

}  // namespace qorv::math::algexpr::detail
