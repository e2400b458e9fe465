// SPDX-License-Identifier: MIT
// NotationPrintVisitorBC: what the infix and LaTeX printers share, their
// visits and their failure reason. InfixPrintVisitorC and LatexPrintVisitorC
// derive from it and choose the notation; use those. The visits write only
// while one of their getExpressionString calls runs (elsewhere they answer
// true and write nothing). One printer serves one call at a time and can be
// reused.
#ifndef ALGEXPR_NOTATIONPRINTVISITORBC_H
#define ALGEXPR_NOTATIONPRINTVISITORBC_H

#include <string>

#include "algexpr/NodeVisitorABC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr {

class NodeABC;

namespace detail {
class NotationWriterC;
}

class ALGEXPR_API NotationPrintVisitorBC : public NodeVisitorABC {
public:
    NotationPrintVisitorBC(const NotationPrintVisitorBC&) = delete;
    NotationPrintVisitorBC& operator=(const NotationPrintVisitorBC&) = delete;
    ~NotationPrintVisitorBC() override;

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;

    /// Why the last getExpressionString gave no text ("out of memory", "no
    /// expression", or the name or number at fault); the empty text after a
    /// success. Never null; valid until the next call.
    const char16_t* getErrorMessage() const noexcept;

protected:
    enum class NotationE : unsigned char { Infix, Latex };

    explicit NotationPrintVisitorBC(NotationE notation) noexcept;

    /// The text of the subtree under `node` in the notation; the empty text
    /// when it cannot be written, for null, and when memory runs out.
    std::u16string write(NodeABC* node, unsigned long digits, qorv::math::NumberDisplayFormatE format);

private:
    detail::NotationWriterC* writer_p;   // the call in progress, or null
    const char16_t* error_message_p;  // a literal, or error_text's
    std::u16string error_text;
    NotationE notation;
};

}  // namespace qorv::math::algexpr

#endif
