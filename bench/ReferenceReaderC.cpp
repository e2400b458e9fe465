// SPDX-License-Identifier: MIT
#include "ReferenceReaderC.h"

#include <memory>
#include <utility>

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"

namespace qorv::math::algexpr::bench {

namespace {

bool isNumberCharacter(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'\u2013' || c == u'\u2212';
}

bool isExponentLetter(char16_t c) { return c == u'e' || c == u'E'; }

// Number characters, optionally split once by an exponent letter that is not first.
bool isNumberText(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isNumberCharacter(text[i])) {
        ++i;
    }
    if (i == text.size()) {
        return true;
    }
    if (i == 0 || !isExponentLetter(text[i])) {
        return false;
    }
    for (++i; i < text.size(); ++i) {
        if (!isNumberCharacter(text[i])) {
            return false;
        }
    }
    return true;
}

bool isDelimiter(char16_t c) { return c == u'(' || c == u')' || c == u','; }

bool isWhitespace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

}  // namespace

ReferenceReaderC::ReferenceReaderC(CASSessionBC& session, const char16_t* const* core_element_names)
    : session(session),
      integer_factory(session.getIntegerValueFactory()),
      float_factory(session.getFloatValueFactory()) {
    for (int code = 0;
         core_element_names != nullptr && core_element_names[code] != nullptr && core_element_names[code][0] != 0;
         ++code) {
        names.insert_or_assign(std::u16string(core_element_names[code]), Name{code, nullptr});
    }
}

ReferenceReaderC::~ReferenceReaderC() = default;

NodeABC* ReferenceReaderC::read(std::u16string_view text) {
    buffer.clear();
    for (char16_t c : text) {
        if (!isWhitespace(c)) {
            buffer += c;
        }
    }
    open.clear();
    std::unique_ptr<NodeABC> root;
    const std::size_t n = buffer.size();
    std::size_t i = 0;
    if (n == 0) {
        return nullptr;
    }
    for (;;) {
        const std::size_t start = i;
        while (i < n && !isDelimiter(buffer[i])) {
            ++i;
        }
        const std::u16string_view piece(buffer.data() + start, i - start);
        NodeABC* node = nullptr;
        ParentNodeABC* application = nullptr;
        if (i < n && buffer[i] == u'(') {
            const Name* name = intern(piece);
            if (name == nullptr) {
                return nullptr;
            }
            if (name->symbol) {
                application = new ExtendedFunctionNodeC(name->symbol);
            } else {
                application = new CoreFunctionNodeC(name->code);
            }
            node = application;
            ++i;
        } else {
            node = makeLeaf(piece);
            if (node == nullptr) {
                return nullptr;
            }
        }
        if (open.empty()) {
            if (root) {  // a second expression at the top
                delete node;
                return nullptr;
            }
            root.reset(node);
        } else {
            open.back()->addChild(node);
        }
        if (application != nullptr) {
            open.push_back(application);
            continue;
        }
        while (i < n && buffer[i] == u')') {
            if (open.empty()) {
                return nullptr;
            }
            open.pop_back();
            ++i;
        }
        if (i == n) {
            break;
        }
        if (buffer[i] != u',' || open.empty()) {
            return nullptr;
        }
        ++i;
    }
    return open.empty() ? root.release() : nullptr;
}

const ReferenceReaderC::Name* ReferenceReaderC::intern(std::u16string_view name) {
    auto place = names.lower_bound(name);
    if (place != names.end() && place->first == name) {
        return &place->second;
    }
    qorv::oss::PointerTC<SymbolC> symbol = session.lookupSymbol(std::u16string(name));
    if (!symbol) {
        return nullptr;
    }
    place = names.emplace_hint(place, std::u16string(name), Name{0, std::move(symbol)});
    return &place->second;
}

NodeABC* ReferenceReaderC::makeLeaf(std::u16string_view token) {
    if (isNumberText(token)) {
        return makeNumber(token);
    }
    const Name* name = intern(token);
    if (name == nullptr) {
        return nullptr;
    }
    if (name->symbol) {
        return new ExtendedSymbolNodeC(name->symbol);
    }
    return new CoreSymbolNodeC(name->code);
}

NodeABC* ReferenceReaderC::makeNumber(std::u16string_view text) {
    token.assign(text);
    bool is_float = false;
    for (char16_t c : text) {
        is_float = is_float || c == u'.' || isExponentLetter(c);
    }
    if (!is_float && integer_factory) {
        if (IntegerValueABC* value = integer_factory->fromString(token)) {
            return new IntegerNodeC(value);
        }
    }
    if (!float_factory) {
        return nullptr;
    }
    FloatValueABC* value = float_factory->fromString(token);
    return value != nullptr ? new FloatNodeC(value) : nullptr;
}

}  // namespace qorv::math::algexpr::bench
