// SPDX-License-Identifier: MIT
// AlgebraicExpressionC: what clients hold for an expression. It owns the root
// node of a tree, is reference counted (hold it through PointerTC), and is the
// entry point for the prefix text form, copying, traversal and execution.
//
//   PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"f(g(x),2)");
//   if (e) {
//       std::u16string text = e->toPrefixString(0, qorv::math::Standard);  // "f(g(x),2)"
//       PointerTC<AlgebraicExpressionC> r = e->execute(false, nullptr);
//   }
//
// Ownership: the expression owns its root. Make it on the heap and hold it
// in a PointerTC (adopt() does both); execute() and every PointerTC taken of
// it count on that, and an expression on the stack is refused by execute().
// getNode() lends the root.
//
// The expression stores no session: whatever needs one uses the session that
// is current at the moment of the call. An expression may have no root (built
// with null): it clones to another such expression, traverses to true and
// prints as the empty text.
#ifndef ALGEXPR_ALGEBRAICEXPRESSIONC_H
#define ALGEXPR_ALGEBRAICEXPRESSIONC_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "algexpr/CASEngineABC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"
#include "oss/RefCountedBC.h"

// Reading prefix text
//
// fromPrefixString reads every text in one defined way. It first removes each
// space, tab, LF and CR wherever it stands (no other character counts as
// whitespace); a text left empty does not read. Then:
//
//   expression  := application | leaf
//       a text holding "(" is an application, any other text a leaf
//   application := name "(" arguments ")"
//       name: everything before the first "(", possibly empty
//       arguments: from after that "(" up to the last ")" of the
//       expression, or to its end when no ")" follows that "("; whatever
//       follows the last ")" is dropped. No arguments at all ("f()", "f(")
//       fail the reading.
//   arguments   := expression { "," expression }
//       split at each "," of depth 0, the depth counted from the start of the
//       arguments: "(" adds 1, ")" takes 1 away. A stray ")" makes the depth
//       negative, so the commas after it do not split until a "(" brings it
//       back to 0: "f(a),b)" gives f one argument, the leaf "a),b", and
//       "f(a)x(b,c)" gives f two, "a)x(b" (the name "a)x" applied to b) and
//       "c". An argument may be empty.
//   leaf        := number | name
//   number      := run [ ("e" | "E") run ], the "e" or "E" never first
//       run: a possibly empty run of "0123456789.-+", U+2013 and U+2212, so
//       the empty text is a number. With ".", "e" or "E" the text goes to the
//       float factory; otherwise to the integer factory and, when that one
//       declines it, to the float factory. A number that every factory asked
//       declines fails the reading.
//   name        := any other text
//       a core element's name makes a core node, any other name an interned
//       symbol's extended node. Function names are not tested for numbers
//       ("+(a,b)" applies "+"), and nothing splits a leaf: "a,b" and "x)"
//       read as names at the top level.
//
// Names are resolved, and factories asked, in the order in which they stand, a
// function's name before its arguments.
//
// Strict prefix text
//
// PrefixSyntaxCheckC tells whether a text keeps to the strict form, which
// tightens the reading above:
//
//   expression := leaf | name "(" expression { "," expression } ")"
//
//  - the tokens are names, "(", "," and ")"; a name is one or more
//    characters other than space, tab, LF, CR, "(", ")" and ",";
//  - whitespace may stand before and after the expression and between
//    tokens, never inside one ("1 2" and "si n(x)" are not strict);
//  - the whole text is exactly one expression;
//  - a leaf that is a number text by the rules above is a number, any other
//    leaf a name; a function's name is a name whatever it holds.
// A strict text reads by the rules above into the tree the grammar gives
// (when the factories accept its numbers). Printing a tree whose function
// nodes all have children and whose names are all names in this sense gives
// a strict text.
//
// Reading with reasons
//
// readPrefix reads strict text (or, Lax, by the rules above, as
// fromPrefixString does) and answers with a ReadResultC: the expression, or
// why and where not. The position is a code-unit index into the text as
// given, whitespace included:
//  - Syntax: the first departure from the strict form, with
//    PrefixSyntaxCheckC's message and position. Lax, only "empty text" (at
//    the end) and "no arguments" (at the ")" or the end after the "(").
//  - NumberNotAccepted, "number not accepted": at the start of the first
//    number text that every factory asked declined.
//  - NoSession, "no session is current": no position.
//  - OutOfMemory, "out of memory": at the name or number being read, or no
//    position when memory ran out elsewhere (std::bad_alloc from a factory
//    included: it does not leave readPrefix).
// It asks the session and the factories exactly what fromPrefixString asks,
// in the same order, for a text that keeps to the strict form.

namespace qorv::math::algexpr {

class NodeABC;
class NodeVisitorABC;
class CASSessionBC;
class SubstitutionC;
class ReadResultC;

class ALGEXPR_API AlgebraicExpressionC : public qorv::oss::RefCountedBC {
public:
    /// Takes ownership of `root` (no copy is made).
    explicit AlgebraicExpressionC(NodeABC* root) noexcept;
    AlgebraicExpressionC(const AlgebraicExpressionC&) = delete;
    AlgebraicExpressionC& operator=(const AlgebraicExpressionC&) = delete;
    /// Deletes the tree.
    virtual ~AlgebraicExpressionC();
    /// A new expression on the heap owning `root`, held: the way to make
    /// one. Null when memory runs out (the tree is then deleted).
    static qorv::oss::PointerTC<AlgebraicExpressionC> adopt(std::unique_ptr<NodeABC> root) noexcept;

    /// A new expression with a deep copy of the tree (only symbols are
    /// shared); null when memory runs out.
    virtual qorv::oss::PointerTC<AlgebraicExpressionC> clone() const;
    /// The root's traversal with the visitor; true without a root.
    virtual bool traverse(NodeVisitorABC& visitor);

    /// The root, lent: the tree may be inspected or changed in place.
    NodeABC* getNode() const;
    /// The current session (not one remembered from construction), or null.
    qorv::oss::PointerTC<CASSessionBC> getCASSession() const;
    /// The current session's engine, or null.
    qorv::oss::PointerTC<CASEngineABC> getCASEngine() const;

    /// Hands this expression to the current session's executeExpression with
    /// the flag and text pointer unchanged and returns its result; null
    /// without a session. Call it only on an expression that a PointerTC
    /// owns: the call holds a reference of its own for its duration. On an
    /// expression that none holds (one on the stack, which that reference
    /// would delete) it asserts in debug builds; otherwise it returns null
    /// at once and puts the reason in `*text`.
    qorv::oss::PointerTC<AlgebraicExpressionC> execute(bool flag, std::u16string* text);
    /// The same with `session`, current or not, instead of the current one:
    /// the way to evaluate with a second engine, since only one session is
    /// ever current. The outcome and the limits are those of execute() with
    /// that session current: its executeExpression decides both. Null
    /// without a session. The expression may have been read through another
    /// session: a session evaluates core names by their codes (the ready-made
    /// clients give a name the same code in every engine) and symbols by
    /// their names.
    ///
    ///   PointerTC<CASSessionBC> giac(new giac::GiacSessionC);   // not current
    ///   PointerTC<AlgebraicExpressionC> r = e->execute(giac, false, &reason);
    qorv::oss::PointerTC<AlgebraicExpressionC> execute(const qorv::oss::PointerTC<CASSessionBC>& session, bool flag,
                                                       std::u16string* text);

    /// Reads prefix text into a new expression, through the current session's
    /// tables and factories, by the reading rules at the top of this header.
    /// Null when the text does not read, when no session is current, or when
    /// memory runs out.
    static qorv::oss::PointerTC<AlgebraicExpressionC> fromPrefixString(std::u16string text);

    /// How readPrefix reads: the strict form, or the reading rules alone.
    enum class ReadingE { Strict, Lax };
    /// Reads prefix text as told under "Reading with reasons" above: the
    /// expression, or why and where the text does not read.
    static ReadResultC readPrefix(std::u16string_view text, ReadingE reading = ReadingE::Strict);

    /// The prefix text of the tree; the two arguments reach the float values'
    /// toString unchanged. The empty text without a root. Infix, LaTeX,
    /// UTF-8 and std::ostream: TreePrint.h.
    std::u16string toPrefixString(unsigned long digits = 0,
                                  qorv::math::NumberDisplayFormatE format = qorv::math::Standard) const;

    /// Whether the two trees are equal, compareTrees of them, hashTree of
    /// this one: structure and contents, not identity (see TreeOrder.h).
    /// Expressions without a root are equal to each other and come first.
    bool equals(const AlgebraicExpressionC& other) const;
    int compare(const AlgebraicExpressionC& other) const;
    std::size_t hash() const;

    /// A new expression: a copy of this one with the substitution's symbols
    /// replaced (see SubstitutionC); null when memory runs out or a
    /// replacement that some leaf needs is null. Without a root, a new
    /// expression without a root.
    qorv::oss::PointerTC<AlgebraicExpressionC> substitute(const SubstitutionC& substitution) const;

private:
    NodeABC* node_p;
};

}  // namespace qorv::math::algexpr

#endif

// readPrefix's result type, which holds an expression, so that callers of
// readPrefix need no include of their own.
#include "algexpr/ReadResultC.h"
