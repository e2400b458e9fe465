#include "algexpr/LatexPrintVisitorC.h"

#include "InfixWriterC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"

namespace qorv::math::algexpr {

using detail::InfixWriterC;

LatexPrintVisitorC::LatexPrintVisitorC() noexcept
    : NodeVisitorABC(PreOrder | PostOrder), writer_p(nullptr), error_message_p(u"") {}

LatexPrintVisitorC::~LatexPrintVisitorC() = default;

bool LatexPrintVisitorC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) {
    return writer_p == nullptr || writer_p->function(node, true, node.getCode(), order);
}

bool LatexPrintVisitorC::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) {
    return writer_p == nullptr || writer_p->function(node, false, 0, order);
}

bool LatexPrintVisitorC::visitCoreSymbolNode(CoreSymbolNodeC& node) {
    return writer_p == nullptr || writer_p->symbol(node);
}

bool LatexPrintVisitorC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) {
    return writer_p == nullptr || writer_p->symbol(node);
}

bool LatexPrintVisitorC::visitFloatNode(FloatNodeC& node) { return writer_p == nullptr || writer_p->real(node); }

bool LatexPrintVisitorC::visitIntegerNode(IntegerNodeC& node) { return writer_p == nullptr || writer_p->integer(node); }

std::u16string LatexPrintVisitorC::getExpressionString(NodeABC* node, unsigned long digits,
                                                       qorv::math::NumberDisplayFormatE format) {
    return InfixWriterC::write(*this, writer_p, node, InfixWriterC::StyleE::Latex, digits, format, error_text,
                               error_message_p);
}

const char16_t* LatexPrintVisitorC::getErrorMessage() const noexcept { return error_message_p; }

}  // namespace qorv::math::algexpr
