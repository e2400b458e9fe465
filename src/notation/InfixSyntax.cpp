// SPDX-License-Identifier: MIT
#include "InfixSyntax.h"

#include "UnicodeLetters.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreElementC.h"

namespace qorv::math::algexpr::detail {

namespace {

bool isIdentifierStart(char32_t c) { return c == U'_' || isUnicodeLetter(c); }

bool isIdentifierPart(char32_t c) { return isIdentifierStart(c) || (c >= U'0' && c <= U'9'); }

std::size_t skipDigits(const char16_t* text, std::size_t n, std::size_t i) {
    while (i < n && isDigit(text[i])) {
        ++i;
    }
    return i;
}

const char16_t* const kOperatorNames[kOperatorCount] = {u"plus",  u"minus", u"times", u"divide",
                                                        u"power", u"neg",   u"equal", u"list"};

// Binding strength: equations 0, the loosest operators 1, the tightest 4,
// atoms 5.
int level(FormE form) {
    switch (form) {
        case FormE::Equation:
            return 0;
        case FormE::Sum:
        case FormE::Difference:
            return 1;
        case FormE::Product:
        case FormE::Quotient:
            return 2;
        case FormE::Negation:
        case FormE::Negative:
            return 3;
        case FormE::Power:
            return 4;
        default:
            return 5;
    }
}

}  // namespace

char32_t codePointAt(const char16_t* text, std::size_t n, std::size_t i, std::size_t& next) {
    const char16_t c = text[i];
    next = i + 1;
    if (c >= 0xD800 && c <= 0xDBFF && next < n && text[next] >= 0xDC00 && text[next] <= 0xDFFF) {
        ++next;
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
    }
    return c;
}

std::size_t scanIdentifier(const char16_t* text, std::size_t n, std::size_t i) {
    std::size_t next = i;
    if (i >= n || !isIdentifierStart(codePointAt(text, n, i, next))) {
        return i;
    }
    std::size_t end = next;
    while (end < n && isIdentifierPart(codePointAt(text, n, end, next))) {
        end = next;
    }
    return end;
}

std::size_t scanNumber(const char16_t* text, std::size_t n, std::size_t i) {
    std::size_t end = skipDigits(text, n, i);
    const bool whole = end > i;
    if (end < n && text[end] == u'.') {
        const std::size_t fraction = skipDigits(text, n, end + 1);
        if (!whole && fraction == end + 1) {
            return i;  // a lone "."
        }
        end = fraction;
    } else if (!whole) {
        return i;
    }
    if (end < n && (text[end] == u'e' || text[end] == u'E')) {
        std::size_t digits = end + 1;
        if (digits < n && (text[digits] == u'+' || text[digits] == u'-' || text[digits] == kMinusSign)) {
            ++digits;
        }
        const std::size_t last = skipDigits(text, n, digits);
        if (last > digits) {
            end = last;
        }
    }
    return end;
}

bool isIdentifier(const std::u16string& text) {
    return !text.empty() && scanIdentifier(text.data(), text.size(), 0) == text.size();
}

bool readsAsSignedInfixNumber(const std::u16string& text) {
    const std::size_t start = !text.empty() && text[0] == u'-' ? 1 : 0;
    const std::size_t end = scanNumber(text.data(), text.size(), start);
    return end > start && end == text.size();
}

bool isFloatText(const std::u16string& text) { return text.find_first_of(u".eE") != std::u16string::npos; }

const char16_t* operatorName(OperatorE op) { return kOperatorNames[static_cast<int>(op)]; }

void OperatorCodesC::lookUpAll(CASSessionBC* session) {
    for (int i = 0; i < kOperatorCount; ++i) {
        states[i] = Unknown;
        if (session != nullptr) {
            lookUp(*session, static_cast<OperatorE>(i));
        } else {
            states[i] = Missing;
        }
    }
}

bool OperatorCodesC::lookUp(CASSessionBC& session, OperatorE op) {
    const int i = static_cast<int>(op);
    if (states[i] == Unknown) {
        qorv::oss::PointerTC<CoreElementC> element = session.lookupCoreElement(kOperatorNames[i]);
        states[i] = element ? Found : Missing;
        codes[i] = element ? element->getCode() : 0;
    }
    return states[i] == Found;
}

bool OperatorCodesC::find(int code, OperatorE& op) const {
    for (int i = 0; i < kOperatorCount; ++i) {
        if (states[i] == Found && codes[i] == code) {
            op = static_cast<OperatorE>(i);
            return true;
        }
    }
    return false;
}

FormE operatorForm(OperatorE op, unsigned int arity) {
    switch (op) {
        case OperatorE::Plus:
            return arity >= 2 ? FormE::Sum : FormE::Atom;
        case OperatorE::Minus:
            return arity == 2 ? FormE::Difference : FormE::Atom;
        case OperatorE::Times:
            return arity >= 2 ? FormE::Product : FormE::Atom;
        case OperatorE::Divide:
            return arity == 2 ? FormE::Quotient : FormE::Atom;
        case OperatorE::Power:
            return arity == 2 ? FormE::Power : FormE::Atom;
        case OperatorE::Neg:
            return arity == 1 ? FormE::Negation : FormE::Atom;
        case OperatorE::Equal:
            return arity == 2 ? FormE::Equation : FormE::Atom;
        case OperatorE::List:
            return FormE::List;
    }
    return FormE::Atom;
}

// Reading is left-associative for + - * / and chains an unparenthesised
// plus (times) into the plus (times) on its left, so only a left argument of
// the very same n-ary operator needs parentheses: (a+b)+c, but a-b+c. An
// equation is an operand of nothing but a call or a list: "=" does not chain.
bool needsParentheses(FormE parent, unsigned int index, FormE child) {
    const int inner = level(child);
    switch (parent) {
        case FormE::Equation:
            return inner == 0;
        case FormE::Sum:
        case FormE::Difference:
            if (index == 0) {
                return inner == 0 || (parent == FormE::Sum && child == FormE::Sum);
            }
            return inner <= 1 || inner == 3;
        case FormE::Product:
        case FormE::Quotient:
            if (index == 0) {
                return inner <= 1 || (parent == FormE::Product && child == FormE::Product);
            }
            return inner <= 3;
        case FormE::Negation:
            // -(3): -3 would read as a number; -(-x) rather than --x.
            return inner <= 3 || child == FormE::Number;
        case FormE::Power:
            // -3^2 is neg(power(3,2)); the exponent may not start with a sign.
            return index == 0 ? inner <= 4 : inner <= 3;
        default:
            return false;
    }
}

}  // namespace qorv::math::algexpr::detail
