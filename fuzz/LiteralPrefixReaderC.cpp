// SPDX-License-Identifier: MIT
#include "LiteralPrefixReaderC.h"

#include <memory>

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"

namespace algexpr_fuzz {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

namespace {

const std::u16string kWhitespace = u" \t\n\r";
const std::u16string kNumberCharacters = u"0123456789.-+\u2013\u2212";
const std::u16string kExponentLetters = u"eE";
constexpr std::size_t kNone = std::u16string::npos;

}  // namespace

LiteralPrefixReaderC::LiteralPrefixReaderC(CASSessionBC& session) : session(session) {}

NodeABC* LiteralPrefixReaderC::read(std::u16string text) {
    std::u16string stripped;
    for (char16_t c : text) {
        if (kWhitespace.find(c) == kNone) {
            stripped += c;
        }
    }
    return stripped.empty() ? nullptr : parseExpression(stripped);
}

bool LiteralPrefixReaderC::isNumberText(const std::u16string& text) {
    const std::size_t first = text.find_first_not_of(kNumberCharacters);
    if (first == kNone) {
        return true;
    }
    if (first == 0 || kExponentLetters.find(text[first]) == kNone) {
        return false;
    }
    return text.find_first_not_of(kNumberCharacters, first + 1) == kNone;
}

bool LiteralPrefixReaderC::isFloatText(const std::u16string& text) { return text.find_first_of(u".eE") != kNone; }

NodeABC* LiteralPrefixReaderC::parseExpression(std::u16string text) {
    return text.find(u'(') != kNone ? parseFunction(text) : parseLeaf(text);
}

NodeABC* LiteralPrefixReaderC::parseFunction(std::u16string text) {
    const std::size_t open = text.find(u'(');
    const std::size_t close = text.rfind(u')');
    std::size_t length = close - open - 1;  // wraps when there is no ")" after the "("
    const std::size_t remaining = text.size() - open - 1;
    if (length > remaining) {
        length = remaining;
    }
    std::unique_ptr<ParentNodeABC> node(makeFunctionNode(text.substr(0, open)));
    if (!node || !parseArguments(text.substr(open + 1, length), node.get())) {
        return nullptr;
    }
    return node.release();
}

ParentNodeABC* LiteralPrefixReaderC::makeFunctionNode(std::u16string name) {
    if (PointerTC<CoreElementC> element = session.lookupCoreElement(name)) {
        return new CoreFunctionNodeC(element->getCode());
    }
    return new ExtendedFunctionNodeC(session.lookupSymbol(name));
}

bool LiteralPrefixReaderC::parseArguments(std::u16string arguments, ParentNodeABC* parent) {
    if (arguments.empty()) {
        return false;
    }
    std::u16string rest = arguments;
    for (;;) {
        const std::size_t comma = findTopLevelComma(rest);
        NodeABC* child = parseExpression(rest.substr(0, comma));
        if (child == nullptr) {
            return false;
        }
        parent->addChild(child);
        if (comma == kNone) {
            return true;
        }
        rest = rest.substr(comma + 1);
    }
}

std::size_t LiteralPrefixReaderC::findTopLevelComma(const std::u16string& text) {
    long long depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'(') {
            ++depth;
        } else if (text[i] == u')') {
            --depth;
        } else if (text[i] == u',' && depth == 0) {
            return i;
        }
    }
    return kNone;
}

NodeABC* LiteralPrefixReaderC::parseLeaf(std::u16string text) {
    if (!isNumberText(text)) {
        return makeSymbolNode(text);
    }
    return isFloatText(text) ? makeFloatNode(text) : makeIntegerNode(text);
}

NodeABC* LiteralPrefixReaderC::makeIntegerNode(std::u16string text) {
    if (!integers_asked) {
        integers = session.getIntegerValueFactory();
        integers_asked = true;
    }
    if (integers) {
        if (IntegerValueABC* value = integers->fromString(text)) {
            return new IntegerNodeC(value);
        }
    }
    return makeFloatNode(text);
}

NodeABC* LiteralPrefixReaderC::makeFloatNode(std::u16string text) {
    if (!floats_asked) {
        floats = session.getFloatValueFactory();
        floats_asked = true;
    }
    FloatValueABC* value = floats ? floats->fromString(text) : nullptr;
    return value != nullptr ? new FloatNodeC(value) : nullptr;
}

NodeABC* LiteralPrefixReaderC::makeSymbolNode(std::u16string name) {
    if (PointerTC<CoreElementC> element = session.lookupCoreElement(name)) {
        return new CoreSymbolNodeC(element->getCode());
    }
    return new ExtendedSymbolNodeC(session.lookupSymbol(name));
}

}  // namespace algexpr_fuzz
