// SPDX-License-Identifier: MIT
// TreePrint: the text of a tree in prefix, infix or LaTeX, as UTF-16 or
// UTF-8, and trees written to a std::ostream, for nodes (the subtree under
// them), AlgebraicExpressionC (also held by PointerTC) and ExprC alike.
//
//   std::cout << e << '\n';                       // prefix: plus(x,times(2,y))
//   std::cout << infix << e << prefix << '\n';    // x + 2*y; sticky, as std::hex
//   std::cout << latex << display(3, Fixed) << e; // floats with 3 digits, fixed
//   std::u16string t = toInfixString(e);          // u"x + 2*y"
//   std::string u = toLatexUtf8(*node);           // "x + 2 y"
//
// Defaults: prefix, and floats written with the display arguments 0 and
// Standard, as every printer passes them to the float values' toString.
// Failures give the empty text (toText says why in `*why`): no tree (null,
// an ExprC that failed to build), a tree the notation cannot write (infix
// refuses a name such as "a+b"), memory. The stream operators write nothing
// for no tree, and write nothing and set failbit for a tree they cannot
// write. Everything passed is lent for the call; the trees are only read.
#ifndef ALGEXPR_TREEPRINT_H
#define ALGEXPR_TREEPRINT_H

#include <iosfwd>
#include <string>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/ExprC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/NotationE.h"
#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

/// The text of the subtree under `tree` in `notation`; the empty text when
/// there is none, with the reason in `*why` when `why` is not null (and the
/// empty text there after a success).
ALGEXPR_API std::u16string toText(const NodeABC* tree, NotationE notation, unsigned long digits = 0,
                                  qorv::math::NumberDisplayFormatE format = qorv::math::Standard,
                                  std::u16string* why = nullptr);

namespace detail {
// The root of what the printing functions take: null for none.
inline const NodeABC* rootOf(const NodeABC* node) noexcept { return node; }
inline const NodeABC* rootOf(const NodeABC& node) noexcept { return &node; }
inline const NodeABC* rootOf(const AlgebraicExpressionC& e) noexcept { return e.getNode(); }
inline const NodeABC* rootOf(const qorv::oss::PointerTC<AlgebraicExpressionC>& e) noexcept {
    return e ? e->getNode() : nullptr;
}
inline const NodeABC* rootOf(const ExprC& e) noexcept { return e.node(); }
}  // namespace detail

/// Prefix, infix and LaTeX text of a node's subtree, an expression or an
/// ExprC; the empty text when it cannot be written (see toText).
template <class Tree>
auto toPrefixString(const Tree& tree, unsigned long digits = 0,
                    qorv::math::NumberDisplayFormatE format = qorv::math::Standard)
    -> decltype(detail::rootOf(tree), std::u16string()) {
    return toText(detail::rootOf(tree), NotationE::Prefix, digits, format);
}
template <class Tree>
auto toInfixString(const Tree& tree, unsigned long digits = 0,
                   qorv::math::NumberDisplayFormatE format = qorv::math::Standard)
    -> decltype(detail::rootOf(tree), std::u16string()) {
    return toText(detail::rootOf(tree), NotationE::Infix, digits, format);
}
template <class Tree>
auto toLatexString(const Tree& tree, unsigned long digits = 0,
                   qorv::math::NumberDisplayFormatE format = qorv::math::Standard)
    -> decltype(detail::rootOf(tree), std::u16string()) {
    return toText(detail::rootOf(tree), NotationE::Latex, digits, format);
}

/// The same texts in UTF-8.
ALGEXPR_API std::string toUtf8Text(const NodeABC* tree, NotationE notation, unsigned long digits = 0,
                                   qorv::math::NumberDisplayFormatE format = qorv::math::Standard);
template <class Tree>
auto toPrefixUtf8(const Tree& tree, unsigned long digits = 0,
                  qorv::math::NumberDisplayFormatE format = qorv::math::Standard)
    -> decltype(detail::rootOf(tree), std::string()) {
    return toUtf8Text(detail::rootOf(tree), NotationE::Prefix, digits, format);
}
template <class Tree>
auto toInfixUtf8(const Tree& tree, unsigned long digits = 0,
                 qorv::math::NumberDisplayFormatE format = qorv::math::Standard)
    -> decltype(detail::rootOf(tree), std::string()) {
    return toUtf8Text(detail::rootOf(tree), NotationE::Infix, digits, format);
}
template <class Tree>
auto toLatexUtf8(const Tree& tree, unsigned long digits = 0,
                 qorv::math::NumberDisplayFormatE format = qorv::math::Standard)
    -> decltype(detail::rootOf(tree), std::string()) {
    return toUtf8Text(detail::rootOf(tree), NotationE::Latex, digits, format);
}

/// Stream manipulators: the notation of the trees written after them to
/// that stream, until another says otherwise.
ALGEXPR_API std::ostream& prefix(std::ostream& stream);
ALGEXPR_API std::ostream& infix(std::ostream& stream);
ALGEXPR_API std::ostream& latex(std::ostream& stream);

/// The display arguments for the floats of the trees written after it to a
/// stream: stream << display(10, Scientific).
struct DisplayS {
    unsigned long digits;
    qorv::math::NumberDisplayFormatE format;
};
inline DisplayS display(unsigned long digits, qorv::math::NumberDisplayFormatE format = qorv::math::Standard) {
    return DisplayS{digits, format};
}
ALGEXPR_API std::ostream& operator<<(std::ostream& stream, DisplayS arguments);

/// The tree in UTF-8, in the stream's notation (prefix unless set).
ALGEXPR_API std::ostream& operator<<(std::ostream& stream, const NodeABC* tree);
inline std::ostream& operator<<(std::ostream& stream, const NodeABC& tree) { return stream << &tree; }
inline std::ostream& operator<<(std::ostream& stream, const AlgebraicExpressionC& e) {
    return stream << e.getNode();
}
inline std::ostream& operator<<(std::ostream& stream, const qorv::oss::PointerTC<AlgebraicExpressionC>& e) {
    return stream << detail::rootOf(e);
}
inline std::ostream& operator<<(std::ostream& stream, const ExprC& e) { return stream << e.node(); }

}  // namespace qorv::math::algexpr

#endif
