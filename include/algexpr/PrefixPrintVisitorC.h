// SPDX-License-Identifier: MIT
// PrefixPrintVisitorC: writes a tree in prefix (function-call) notation.
//
// A function node is written as its name, "(", its arguments separated by
// ",", and ")" (a node without arguments as name "()"); a leaf as its text.
// Names come from the nodes (core names through the current session), numbers
// from their value objects; floats get the two display arguments. No
// whitespace is added.
//
//   PrefixPrintVisitorC printer;
//   std::u16string text = printer.getExpressionString(node, 0, qorv::math::Standard);
//
// One printer serves one call at a time and can be reused.
#ifndef ALGEXPR_PREFIXPRINTVISITORC_H
#define ALGEXPR_PREFIXPRINTVISITORC_H

#include <string>

#include "algexpr/NodeVisitorABC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr {

class NodeABC;

class ALGEXPR_API PrefixPrintVisitorC : public NodeVisitorABC {
public:
    PrefixPrintVisitorC();
    ~PrefixPrintVisitorC() override;

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;

    /// The prefix text of the subtree under `node`; the empty text for null
    /// or when memory runs out.
    std::u16string getExpressionString(NodeABC* node, unsigned long digits,
                                       qorv::math::NumberDisplayFormatE format);

private:
    bool visitFunctionNode(NodeABC& node, VisitationOrderE order);
    bool visitLeafNode(NodeABC& node);
    bool append(const std::u16string& text);
    bool append(char16_t c);

    unsigned long digits;
    qorv::math::NumberDisplayFormatE format;
    std::u16string expression_string;
    bool out_of_memory;
};

}  // namespace qorv::math::algexpr

#endif
