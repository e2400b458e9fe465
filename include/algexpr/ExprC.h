// SPDX-License-Identifier: MIT
// ExprC: trees built in C++ with operators, as a small value that owns its
// tree. The tree is the one reading the prefix text gives, through the same
// session:
//
//   ExprC x = sym(u"x");
//   ExprC e = x + 2 * sin(x);                    // plus(x,times(2,sin(x)))
//   ExprC f = call(u"f", x, pow(x, 2), 0.5);     // f(x,power(x,2),0.5)
//   PointerTC<AlgebraicExpressionC> held = std::move(e).toExpression();   // no copy
//
// Names go through the current session as in reading: a name of its core
// vocabulary makes a core node, any other a symbol; numbers go to its
// factories as their shortest decimal text (integers to the integer factory
// first). The operators make the core functions plus, minus, times, divide
// and neg; pow makes power, and sin, cos, tan, exp, log and sqrt the core
// functions of those names. Those need the name in the session's vocabulary;
// call(name, ...) takes any name.
//
// Grouping: + and * build flat sums and products, as infix reading does for
// a + b + c; - and / nest, a - b - c is minus(minus(a,b),c). The rule is
// one of trees, not of how a value was made: a + b appends b to a when a's
// root is the core plus (a * b likewise for times), unless a is marked as a
// group; otherwise it makes plus(a,b). So with s = a + b, s + c is
// plus(a,b,c) whether s is named, moved, copied or returned from a
// function; group(s) + c is plus(plus(a,b),c), as "(a+b)+c" reads. The mark
// stays with the value through copies and moves and is not carried into
// what an operator builds. The right operand is never opened: a + (b + c) is
// plus(a,plus(b,c)). Write powers with pow: C++'s ^ binds more loosely than
// +. -x is neg(x); ExprC(-3) is the integer -3.
//
// What is refused when built: whatever would not read back from its prefix
// text as an equal tree. A name that is empty or holds whitespace, "(", ")"
// or ","; a symbol whose name reads as a number ("2", "1e5"); a call without
// arguments (f() does not read); a float that is not finite unless the
// client's text for it reads back to it (NaN never does).
//
// Failures: no exceptions. A value that could not be built (no current
// session, a name the vocabulary lacks, a number no factory takes, memory)
// holds no tree and says why in error(); everything built from it fails
// with that reason, and toExpression gives null.
//
// Ownership: an ExprC owns its tree; copies are deep, moves take the tree.
// Trees cross both ways without a second copy: ExprC(expression) copies the
// expression's tree once, adopt() takes a tree you own, and toExpression()
// on a temporary (std::move) hands the tree itself to a new expression.
//
// Containers: ExprC has ==, < (the order of TreeOrder.h), std::hash and
// std::equal_to, all structural and iterative, so std::set<ExprC> and
// std::unordered_set<ExprC> work as expected. Printing: TreePrint.h
// (std::cout << e, toInfixString(e), toLatexString(e)).
#ifndef ALGEXPR_EXPRC_H
#define ALGEXPR_EXPRC_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/TreeOrder.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

namespace detail {
// The types an ExprC is made from as a number: arithmetic ones but bool and
// the character types.
template <class T>
inline constexpr bool kExprNumber =
    std::is_arithmetic_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
    !std::is_same_v<T, signed char> && !std::is_same_v<T, unsigned char> && !std::is_same_v<T, wchar_t> &&
    !std::is_same_v<T, char16_t> && !std::is_same_v<T, char32_t>;
}  // namespace detail

class ALGEXPR_API ExprC final {
public:
    /// No tree ("no expression").
    ExprC() noexcept;
    /// An integer or a float, through the current session's factories.
    /// Implicit, so that 2 * x reads as written. (Not for bool and the
    /// character types: sym and num take names and texts.)
    template <class Number, std::enable_if_t<detail::kExprNumber<Number>, int> = 0>
    ExprC(Number value) : ExprC() {
        if constexpr (std::is_floating_point_v<Number>) {
            *this = fromDouble(static_cast<double>(value));
        } else if constexpr (std::is_signed_v<Number>) {
            *this = fromSigned(static_cast<std::int64_t>(value));
        } else {
            *this = fromUnsigned(static_cast<std::uint64_t>(value));
        }
    }
    /// A copy of the expression's tree (an expression without a root gives
    /// an ExprC without a tree).
    explicit ExprC(const AlgebraicExpressionC& expression);
    ExprC(const ExprC& other);
    ExprC(ExprC&& other) noexcept;
    ExprC& operator=(const ExprC& other);
    ExprC& operator=(ExprC&& other) noexcept;
    ~ExprC();

    /// Takes ownership of `tree` (null gives an ExprC without a tree).
    static ExprC adopt(NodeABC* tree) noexcept;
    static ExprC adopt(std::unique_ptr<NodeABC> tree) noexcept { return adopt(tree.release()); }
    static ExprC adopt(std::nullptr_t) noexcept { return ExprC(); }

    /// Whether there is a tree.
    explicit operator bool() const noexcept { return root_p != nullptr; }
    /// Why there is no tree; empty when there is one.
    std::u16string error() const;
    /// The tree, lent; null when there is none.
    const NodeABC* node() const noexcept { return root_p; }
    /// Hands the tree to the caller, who owns it from then on; this value is
    /// left without a tree ("no expression").
    NodeABC* release() noexcept;
    /// The same, owned by the returned pointer.
    std::unique_ptr<NodeABC> releaseOwned() noexcept { return std::unique_ptr<NodeABC>(release()); }

    /// Whether this value is marked as a finished group (see group()).
    bool isGroup() const noexcept { return group_mark; }

    /// A new expression holding this tree: moved from a temporary, copied
    /// once from anything else. Null without a tree or when memory runs out.
    qorv::oss::PointerTC<AlgebraicExpressionC> toExpression() &&;
    qorv::oss::PointerTC<AlgebraicExpressionC> toExpression() const&;
    /// The prefix text; the empty text without a tree.
    std::u16string toPrefixString() const;

    /// Structural equality (equalTrees); values without a tree are equal.
    bool equals(const ExprC& other) const;

    /// A copy with the symbols given as keys replaced, all at once (see
    /// SubstitutionC): subs({{x, y}, {y, x}}) swaps x and y. Keys must be
    /// symbols (extended or core).
    ExprC subs(std::initializer_list<std::pair<ExprC, ExprC>> replacements) const;

    /// The application of the core function `name` (the vocabulary must hold
    /// it) or, with `any_name`, of whatever `name` reads as, to `arguments`,
    /// which it empties.
    static ExprC apply(const std::u16string& name, bool any_name, ExprC* arguments, std::size_t count);
    /// Binary operators: with `chain`, b joins a when a's root is the core
    /// function `name` and a is not marked as a group (see above).
    static ExprC operate(const char16_t* name, bool chain, ExprC a, ExprC b);

    static ExprC symbol(const std::u16string& name);
    static ExprC number(const std::u16string& text);

    /// `e` marked as a finished group: an operator never appends to it.
    friend ExprC group(ExprC e) noexcept {
        e.group_mark = static_cast<bool>(e);
        return e;
    }

private:
    static ExprC fromSigned(std::int64_t value);
    static ExprC fromUnsigned(std::uint64_t value);
    static ExprC fromDouble(double value);
    static ExprC nonFinite(double value);
    static ExprC failure(const char16_t* reason, const std::u16string& detail = std::u16string());
    template <class Build>
    static ExprC guarded(Build build);

    NodeABC* root_p = nullptr;
    const char16_t* reason_p = nullptr;  // a literal: why there is no tree
    std::u16string detail;               // the name or text the reason is about
    bool group_mark = false;             // kept by copies and moves; never without a tree
};

inline bool operator==(const ExprC& a, const ExprC& b) { return a.equals(b); }
inline bool operator!=(const ExprC& a, const ExprC& b) { return !a.equals(b); }
/// The order of compareTrees (values without a tree first).
inline bool operator<(const ExprC& a, const ExprC& b) { return compareTrees(a.node(), b.node()) < 0; }
inline bool operator>(const ExprC& a, const ExprC& b) { return compareTrees(a.node(), b.node()) > 0; }
inline bool operator<=(const ExprC& a, const ExprC& b) { return compareTrees(a.node(), b.node()) <= 0; }
inline bool operator>=(const ExprC& a, const ExprC& b) { return compareTrees(a.node(), b.node()) >= 0; }

/// A symbol: a core symbol when the current session's vocabulary holds the
/// name, otherwise the session's symbol of that name.
inline ExprC sym(const std::u16string& name) { return ExprC::symbol(name); }
/// A number from its text, as prefix reading makes one.
inline ExprC num(const std::u16string& text) { return ExprC::number(text); }

/// `name` applied to the arguments: a core function when the vocabulary
/// holds the name, otherwise a function of that name (as reading makes).
template <class... Arguments>
ExprC call(const std::u16string& name, Arguments&&... arguments) {
    ExprC list[] = {ExprC(), ExprC(std::forward<Arguments>(arguments))...};
    return ExprC::apply(name, true, list + 1, sizeof...(Arguments));
}

inline ExprC operator+(ExprC a, ExprC b) { return ExprC::operate(u"plus", true, std::move(a), std::move(b)); }
inline ExprC operator-(ExprC a, ExprC b) { return ExprC::operate(u"minus", false, std::move(a), std::move(b)); }
inline ExprC operator*(ExprC a, ExprC b) { return ExprC::operate(u"times", true, std::move(a), std::move(b)); }
inline ExprC operator/(ExprC a, ExprC b) { return ExprC::operate(u"divide", false, std::move(a), std::move(b)); }
inline ExprC operator-(ExprC a) { return ExprC::apply(u"neg", false, &a, 1); }
inline ExprC pow(ExprC base, ExprC exponent) {
    return ExprC::operate(u"power", false, std::move(base), std::move(exponent));
}

/// The core functions of these names, applied to one argument.
inline ExprC sin(ExprC a) { return ExprC::apply(u"sin", false, &a, 1); }
inline ExprC cos(ExprC a) { return ExprC::apply(u"cos", false, &a, 1); }
inline ExprC tan(ExprC a) { return ExprC::apply(u"tan", false, &a, 1); }
inline ExprC exp(ExprC a) { return ExprC::apply(u"exp", false, &a, 1); }
inline ExprC log(ExprC a) { return ExprC::apply(u"log", false, &a, 1); }
inline ExprC sqrt(ExprC a) { return ExprC::apply(u"sqrt", false, &a, 1); }

}  // namespace qorv::math::algexpr

/// Structural hash and equality (hashTree, equalTrees): equal trees hash
/// alike in every process; the group mark plays no part.
namespace std {
template <>
struct hash<qorv::math::algexpr::ExprC> {
    std::size_t operator()(const qorv::math::algexpr::ExprC& e) const { return qorv::math::algexpr::hashTree(e.node()); }
};
template <>
struct equal_to<qorv::math::algexpr::ExprC> {
    bool operator()(const qorv::math::algexpr::ExprC& a, const qorv::math::algexpr::ExprC& b) const {
        return qorv::math::algexpr::equalTrees(a.node(), b.node());
    }
};
}  // namespace std

#endif
