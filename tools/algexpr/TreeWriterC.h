// SPDX-License-Identifier: MIT
// TreeWriterC: writes an expression tree for people and tools, in UTF-8:
//
//   Text  one node a line, "DEPTH KIND TEXT" and " code=N" for core nodes:
//           0 core-function plus code=0
//           1 integer 2
//           1 symbol x
//         (the depth is written as a number rather than as indentation, so
//         that the output stays linear in the tree's size at any depth)
//   Json  one line: {"kind":"core-function","name":"plus","code":0,
//         "children":[{"kind":"integer","value":"2"},...]}; number values are
//         strings holding their printed text ("nan" and "1e999" included)
//   Dot   a Graphviz digraph, children left to right in argument order
//
// KIND is one of core-function, function, core-symbol, symbol, integer and
// float. Floats are written with the display arguments given. The walk goes
// through NodeABC::traverse, without recursion, so any depth is fine. One
// writer serves one call at a time and can be reused.
#ifndef ALGEXPR_TOOL_TREEWRITERC_H
#define ALGEXPR_TOOL_TREEWRITERC_H

#include <cstddef>
#include <string>
#include <vector>

#include "algexpr/NodeVisitorABC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr {
class NodeABC;
}

namespace qorv::math::algexpr::cli {

class TreeWriterC : public NodeVisitorABC {
public:
    enum class FormatE { Text, Json, Dot };

    TreeWriterC(FormatE format, unsigned long digits, qorv::math::NumberDisplayFormatE number_format);
    ~TreeWriterC() override;

    /// Appends the tree under `root` to `out`: text and dot end with a
    /// newline, JSON does not. `name` names the dot graph.
    void write(NodeABC& root, const std::string& name, std::string& out);

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;

private:
    void function(const char* kind, const std::u16string& name, const int* code, VisitationOrderE order);
    void leaf(const char* kind, const std::u16string& text, const int* code, bool is_number);
    void openNode(const char* kind, const std::u16string& text, const int* code, bool is_number, bool is_function);
    void appendEscaped(const std::u16string& text);

    FormatE format;
    unsigned long digits;
    qorv::math::NumberDisplayFormatE number_format;
    std::string* out_p = nullptr;
    std::size_t depth = 0;
    std::size_t next_id = 0;
    std::vector<std::size_t> parents;  // dot: the ids of the open function nodes
    std::string scratch;
};

}  // namespace qorv::math::algexpr::cli

#endif
