// SPDX-License-Identifier: MIT
// What the infix reader and the infix and LaTeX writers share: the lexical
// rules for numbers and identifiers, the six operators and their core names,
// and where a subexpression needs parentheses to keep its place in the tree.
#ifndef ALGEXPR_SRC_NOTATION_INFIXSYNTAX_H
#define ALGEXPR_SRC_NOTATION_INFIXSYNTAX_H

#include <cstddef>
#include <string>

namespace qorv::math::algexpr {
class CASSessionBC;
}

namespace qorv::math::algexpr::detail {

constexpr char16_t kMinusSign = u'\u2212';  // read as "-"

inline bool isWhitespace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

/// The code point that starts at text[i] (i < n), with `next` set past it. A
/// surrogate without its partner comes back as itself.
char32_t codePointAt(const char16_t* text, std::size_t n, std::size_t i, std::size_t& next);

/// The end of the identifier (a letter or "_", then letters, "_" and the
/// digits 0-9) that starts at text[i], or i when none starts there.
std::size_t scanIdentifier(const char16_t* text, std::size_t n, std::size_t i);

/// The end of the number that starts at text[i], or i when none does: digits
/// with an optional fraction (12, 2.5, .5, 5.) and an optional exponent ("e"
/// or "E", an optional sign "+", "-" or U+2212, and at least one digit; an
/// "e" without digits after it is not part of the number).
std::size_t scanNumber(const char16_t* text, std::size_t n, std::size_t i);

/// Whether the whole text is one identifier.
bool isIdentifier(const std::u16string& text);

/// Whether the whole text reads as one infix number token after one
/// optional leading "-": what a number leaf's text must be for the infix
/// writer to write it as it is.
bool readsAsSignedInfixNumber(const std::u16string& text);

/// Whether a number text holds ".", "e" or "E" (it goes to the float factory only).
bool isFloatText(const std::u16string& text);

/// The core functions that infix writes with signs: the six arithmetic
/// operators, equations (a = b) and lists ([a, b]).
enum class OperatorE : unsigned char { Plus, Minus, Times, Divide, Power, Neg, Equal, List };
constexpr int kOperatorCount = 8;

/// The core name of the operator: "plus", "minus", "times", "divide",
/// "power", "neg", "equal", "list".
const char16_t* operatorName(OperatorE op);

/// The codes of the operators' core names in the current session's vocabulary.
class OperatorCodesC {
public:
    /// Looks all their names up; with no session none is known.
    void lookUpAll(CASSessionBC* session);
    /// Looks the operator's name up unless that was done before; false when
    /// the vocabulary lacks it.
    bool lookUp(CASSessionBC& session, OperatorE op);
    /// The code of an operator that lookUp found.
    int code(OperatorE op) const { return codes[static_cast<int>(op)]; }
    /// Whether the code is one of the operators' (found ones only), and which.
    bool find(int code, OperatorE& op) const;

private:
    enum StateE : unsigned char { Unknown, Found, Missing };
    int codes[kOperatorCount] = {};
    StateE states[kOperatorCount] = {};
};

/// How a subexpression is written, as far as its neighbours care.
enum class FormE : unsigned char {
    Atom,        // a name, a call, a list, or anything in parentheses of its own
    Equation,    // a = b            equal with two
    Number,      // an unsigned number
    Sum,         // a + b + ...      plus with two or more arguments
    Difference,  // a - b            minus with two
    Product,     // a*b*...          times with two or more
    Quotient,    // a/b              divide with two
    Negation,    // -a               neg with one
    Negative,    // -3               a number whose text starts with "-"
    Power,       // a^b              power with two
    Fraction,    // \frac{a}{b}      (LaTeX only)
    List         // [a, b, ...]      list with any number; written as an atom
};

/// The form of an operator applied to `arity` arguments: Atom where the
/// operator cannot express that many (the call form, plus(x)).
FormE operatorForm(OperatorE op, unsigned int arity);

/// Whether the argument at `index` of an expression of form `parent`, being
/// of form `child`, needs parentheses so that reading the text gives back the
/// same tree. Besides what the grammar needs, a sign never directly follows
/// an operator: x + (-3), 2*(-x), x^(-1), -(-x); it may follow "=": x = -1.
/// (A product whose first factor is signed, a + (-b*c), is the writer's to
/// find: it looks deeper.)
bool needsParentheses(FormE parent, unsigned int index, FormE child);

}  // namespace qorv::math::algexpr::detail

#endif
