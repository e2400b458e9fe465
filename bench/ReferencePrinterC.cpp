// SPDX-License-Identifier: MIT
#include "ReferencePrinterC.h"

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/FloatNodeC.h"

namespace qorv::math::algexpr::bench {

ReferencePrinterC::ReferencePrinterC(const char16_t* const* core_element_names)
    : digits(0), format(qorv::math::Standard) {
    for (int code = 0;
         core_element_names != nullptr && core_element_names[code] != nullptr && core_element_names[code][0] != 0;
         ++code) {
        core_names.emplace_back(core_element_names[code]);
    }
}

ReferencePrinterC::~ReferencePrinterC() = default;

std::u16string ReferencePrinterC::print(const NodeABC* root, unsigned long digits,
                                        qorv::math::NumberDisplayFormatE format) {
    std::u16string out;
    if (root == nullptr) {
        return out;
    }
    this->digits = digits;
    this->format = format;
    frames.clear();
    enter(*root, out);
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.next == frame.node->numChildren()) {
            out += u')';
            frames.pop_back();
            continue;
        }
        const NodeABC* child = frame.node->child(frame.next++);
        if (child == nullptr) {
            continue;
        }
        if (frame.written) {
            out += u',';
        }
        frame.written = true;
        enter(*child, out);  // may grow the stack: `frame` is not used after this
    }
    return out;
}

void ReferencePrinterC::enter(const NodeABC& node, std::u16string& out) {
    const char16_t* id = node.qCastableId();
    if (id == CoreFunctionNodeC::getCastableId()) {
        const auto& application = static_cast<const CoreFunctionNodeC&>(node);
        appendCoreName(application.getCode(), node, out);
        out += u'(';
        frames.push_back(Frame{&application, 0, false});
    } else if (id == ExtendedFunctionNodeC::getCastableId()) {
        out += node.toString();
        out += u'(';
        frames.push_back(Frame{&static_cast<const ExtendedFunctionNodeC&>(node), 0, false});
    } else if (id == CoreSymbolNodeC::getCastableId()) {
        appendCoreName(static_cast<const CoreSymbolNodeC&>(node).getCode(), node, out);
    } else if (id == FloatNodeC::getCastableId()) {
        out += static_cast<const FloatNodeC&>(node).toString(digits, format);
    } else {
        out += node.toString();
    }
}

void ReferencePrinterC::appendCoreName(int code, const NodeABC& node, std::u16string& out) {
    if (code >= 0 && static_cast<std::size_t>(code) < core_names.size()) {
        out += core_names[static_cast<std::size_t>(code)];
    } else {
        out += node.toString();
    }
}

}  // namespace qorv::math::algexpr::bench
