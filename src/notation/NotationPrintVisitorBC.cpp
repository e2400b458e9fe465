// SPDX-License-Identifier: MIT
#include "algexpr/NotationPrintVisitorBC.h"

#include "InfixWriterC.h"
#include "LatexWriterC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"

namespace qorv::math::algexpr {


NotationPrintVisitorBC::NotationPrintVisitorBC(NotationE notation) noexcept
    : NodeVisitorABC(PreOrder | PostOrder), writer_p(nullptr), error_message_p(u""), notation(notation) {}

NotationPrintVisitorBC::~NotationPrintVisitorBC() = default;

bool NotationPrintVisitorBC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) {
    return writer_p == nullptr || writer_p->function(node, true, node.getCode(), order);
}

bool NotationPrintVisitorBC::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) {
    return writer_p == nullptr || writer_p->function(node, false, 0, order);
}

bool NotationPrintVisitorBC::visitCoreSymbolNode(CoreSymbolNodeC& node) {
    return writer_p == nullptr || writer_p->symbol(node);
}

bool NotationPrintVisitorBC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) {
    return writer_p == nullptr || writer_p->symbol(node);
}

bool NotationPrintVisitorBC::visitFloatNode(FloatNodeC& node) { return writer_p == nullptr || writer_p->real(node); }

bool NotationPrintVisitorBC::visitIntegerNode(IntegerNodeC& node) {
    return writer_p == nullptr || writer_p->integer(node);
}

std::u16string NotationPrintVisitorBC::write(NodeABC* node, unsigned long digits,
                                             qorv::math::NumberDisplayFormatE format) {
    if (notation == NotationE::Latex) {
        detail::LatexWriterC writer(digits, format);
        return writer.write(*this, writer_p, node, error_text, error_message_p);
    }
    detail::InfixWriterC writer(digits, format);
    return writer.write(*this, writer_p, node, error_text, error_message_p);
}

const char16_t* NotationPrintVisitorBC::getErrorMessage() const noexcept { return error_message_p; }

}  // namespace qorv::math::algexpr
