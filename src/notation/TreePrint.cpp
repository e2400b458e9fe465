// SPDX-License-Identifier: MIT
#include "algexpr/TreePrint.h"

#include <new>
#include <ostream>

#include "algexpr/InfixPrintVisitorC.h"
#include "algexpr/LatexPrintVisitorC.h"
#include "algexpr/PrefixPrintVisitorC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr {

namespace {

// The stream's settings live in its iword slots, one each: the notation, the
// digits and the format. Zero in all three is prefix, 0, Standard.
struct SlotsS {
    int notation = std::ios_base::xalloc();
    int digits = std::ios_base::xalloc();
    int format = std::ios_base::xalloc();
};

const SlotsS& slots() {
    static const SlotsS made;
    return made;
}

std::ostream& setNotation(std::ostream& stream, NotationE notation) {
    stream.iword(slots().notation) = static_cast<long>(notation);
    return stream;
}

// A printer's text and why it is empty (its message, empty after a success).
template <class Printer>
std::u16string written(const NodeABC* tree, unsigned long digits, qorv::math::NumberDisplayFormatE format,
                       std::u16string* why) {
    Printer printer;
    std::u16string text = printer.getExpressionString(const_cast<NodeABC*>(tree), digits, format);
    if (why != nullptr) {
        *why = printer.getErrorMessage();
    }
    return text;
}

}  // namespace

// The printers only read the tree: their visitor interface is not const
// because visitors in general may change what they visit.
std::u16string toText(const NodeABC* tree, NotationE notation, unsigned long digits,
                      qorv::math::NumberDisplayFormatE format, std::u16string* why) {
    try {
        if (why != nullptr) {
            why->clear();
        }
        if (tree == nullptr) {
            if (why != nullptr) {
                *why = u"no expression";
            }
            return std::u16string();
        }
        switch (notation) {
            case NotationE::Infix:
                return written<InfixPrintVisitorC>(tree, digits, format, why);
            case NotationE::Latex:
                return written<LatexPrintVisitorC>(tree, digits, format, why);
            case NotationE::Prefix:
                break;
        }
        std::u16string text = PrefixPrintVisitorC().getExpressionString(const_cast<NodeABC*>(tree), digits, format);
        if (text.empty() && why != nullptr) {
            *why = u"out of memory";  // every tree has a prefix text (an empty name aside)
        }
        return text;
    } catch (const std::bad_alloc&) {
        return std::u16string();  // the reason's own copy failed
    }
}

std::string toUtf8Text(const NodeABC* tree, NotationE notation, unsigned long digits,
                       qorv::math::NumberDisplayFormatE format) {
    return Utf8C::toUtf8(toText(tree, notation, digits, format));
}

std::ostream& prefix(std::ostream& stream) { return setNotation(stream, NotationE::Prefix); }

std::ostream& infix(std::ostream& stream) { return setNotation(stream, NotationE::Infix); }

std::ostream& latex(std::ostream& stream) { return setNotation(stream, NotationE::Latex); }

std::ostream& operator<<(std::ostream& stream, DisplayS arguments) {
    stream.iword(slots().digits) = static_cast<long>(arguments.digits);
    stream.iword(slots().format) = static_cast<long>(arguments.format);
    return stream;
}

std::ostream& operator<<(std::ostream& stream, const NodeABC* tree) {
    if (tree == nullptr) {
        return stream;
    }
    const auto notation = static_cast<NotationE>(stream.iword(slots().notation));
    const auto digits = static_cast<unsigned long>(stream.iword(slots().digits));
    const auto format = static_cast<qorv::math::NumberDisplayFormatE>(stream.iword(slots().format));
    const std::string text = toUtf8Text(tree, notation, digits, format);
    if (text.empty()) {
        stream.setstate(std::ios_base::failbit);
        return stream;
    }
    return stream << text;
}

}  // namespace qorv::math::algexpr
