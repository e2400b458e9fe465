// SPDX-License-Identifier: MIT
#include "TreeWriterC.h"

#include <cstdio>

#include "AppendUtf8.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr::cli {

namespace {

void appendNumber(std::size_t value, std::string& out) { out += std::to_string(value); }

}  // namespace

TreeWriterC::TreeWriterC(FormatE format, unsigned long digits, qorv::math::NumberDisplayFormatE number_format)
    : NodeVisitorABC(PreOrder | InOrder | PostOrder), format(format), digits(digits), number_format(number_format) {}

TreeWriterC::~TreeWriterC() = default;

void TreeWriterC::write(NodeABC& root, const std::string& name, std::string& out) {
    out_p = &out;
    depth = 0;
    next_id = 0;
    parents.clear();
    if (format == FormatE::Dot) {
        out += "digraph \"";
        out += name;
        out += "\" {\n  graph [ordering=out];\n  node [fontname=\"Helvetica\"];\n";
    }
    root.traverse(*this);
    if (format == FormatE::Dot) {
        out += "}\n";
    }
    out_p = nullptr;
}

bool TreeWriterC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) {
    const int code = node.getCode();
    function("core-function", order == PreOrder ? node.toString() : std::u16string(), &code, order);
    return true;
}

bool TreeWriterC::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) {
    function("function", order == PreOrder ? node.toString() : std::u16string(), nullptr, order);
    return true;
}

bool TreeWriterC::visitCoreSymbolNode(CoreSymbolNodeC& node) {
    const int code = node.getCode();
    leaf("core-symbol", node.toString(), &code, false);
    return true;
}

bool TreeWriterC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) {
    leaf("symbol", node.toString(), nullptr, false);
    return true;
}

bool TreeWriterC::visitFloatNode(FloatNodeC& node) {
    leaf("float", node.toString(digits, number_format), nullptr, true);
    return true;
}

bool TreeWriterC::visitIntegerNode(IntegerNodeC& node) {
    leaf("integer", node.toString(), nullptr, true);
    return true;
}

void TreeWriterC::function(const char* kind, const std::u16string& name, const int* code, VisitationOrderE order) {
    std::string& out = *out_p;
    switch (order) {
        case PreOrder:
            openNode(kind, name, code, false, true);
            ++depth;
            break;
        case InOrder:
            if (format == FormatE::Json) {
                out += ',';
            }
            break;
        default:  // PostOrder
            --depth;
            if (format == FormatE::Json) {
                out += "]}";
            } else if (format == FormatE::Dot) {
                parents.pop_back();
            }
            break;
    }
}

void TreeWriterC::leaf(const char* kind, const std::u16string& text, const int* code, bool is_number) {
    openNode(kind, text, code, is_number, false);
    if (format == FormatE::Json) {
        *out_p += '}';
    }
}

// The node's own line (text), object head (JSON), or statement and edge (dot).
void TreeWriterC::openNode(const char* kind, const std::u16string& text, const int* code, bool is_number,
                           bool is_function) {
    std::string& out = *out_p;
    switch (format) {
        case FormatE::Text:
            appendNumber(depth, out);
            out += ' ';
            out += kind;
            out += ' ';
            appendEscaped(text);
            if (code != nullptr) {
                out += " code=";
                out += std::to_string(*code);
            }
            out += '\n';
            break;
        case FormatE::Json:
            out += "{\"kind\":\"";
            out += kind;
            out += is_number ? "\",\"value\":\"" : "\",\"name\":\"";
            appendEscaped(text);
            out += '"';
            if (code != nullptr) {
                out += ",\"code\":";
                out += std::to_string(*code);
            }
            if (is_function) {
                out += ",\"children\":[";
            }
            break;
        case FormatE::Dot: {
            const std::size_t id = next_id++;
            out += "  n";
            appendNumber(id, out);
            out += " [label=\"";
            appendEscaped(text);
            out += is_function ? "\", shape=ellipse];\n" : is_number ? "\", shape=box];\n" : "\", shape=plaintext];\n";
            if (!parents.empty()) {
                out += "  n";
                appendNumber(parents.back(), out);
                out += " -> n";
                appendNumber(id, out);
                out += ";\n";
            }
            if (is_function) {
                parents.push_back(id);
            }
            break;
        }
    }
}

// UTF-8, with the quoting JSON and dot strings need; control characters are
// escaped in JSON and shown as "?" in dot labels.
void TreeWriterC::appendEscaped(const std::u16string& text) {
    std::string& out = *out_p;
    if (format == FormatE::Text) {
        appendUtf8(text, out);
        return;
    }
    scratch.clear();
    appendUtf8(text, scratch);
    for (const char c : scratch) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            if (format == FormatE::Json) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned int>(byte));
                out += escape;
            } else {
                out += '?';
            }
        } else {
            out += c;
        }
    }
}

}  // namespace qorv::math::algexpr::cli
