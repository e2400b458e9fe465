// SPDX-License-Identifier: MIT
#include "TreeCheckerC.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "LiteralPrefixReaderC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/ParentNodeABC.h"

namespace algexpr_fuzz {

using namespace qorv::math::algexpr;

namespace {

template <class Class>
const Class* as(const NodeABC* node) {
    return static_cast<const Class*>(node->lookUpBase(Class::getCastableId()));
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameNode(const NodeABC& a, const NodeABC& b) {
    if (std::u16string(a.qCastableId()) != b.qCastableId()) {
        return false;
    }
    if (auto* x = as<CoreSymbolNodeC>(&a)) {
        return x->getCode() == as<CoreSymbolNodeC>(&b)->getCode();
    }
    if (auto* x = as<CoreFunctionNodeC>(&a)) {
        return x->getCode() == as<CoreFunctionNodeC>(&b)->getCode();
    }
    if (auto* x = as<ExtendedSymbolNodeC>(&a)) {
        return x->getSymbol() == as<ExtendedSymbolNodeC>(&b)->getSymbol();
    }
    if (auto* x = as<ExtendedFunctionNodeC>(&a)) {
        return x->getSymbol() == as<ExtendedFunctionNodeC>(&b)->getSymbol();
    }
    if (auto* x = as<IntegerNodeC>(&a)) {
        const IntegerValueABC* u = x->getValue();
        const IntegerValueABC* v = as<IntegerNodeC>(&b)->getValue();
        return u == nullptr || v == nullptr ? u == v : u->getValue() == v->getValue();
    }
    if (auto* x = as<FloatNodeC>(&a)) {
        const FloatValueABC* u = x->getValue();
        const FloatValueABC* v = as<FloatNodeC>(&b)->getValue();
        return u == nullptr || v == nullptr ? u == v : sameBits(u->getValue(), v->getValue());
    }
    return false;  // a class the fuzz targets never make
}

bool isCanonicalName(const std::u16string& name) { return name.find_first_of(u"(), \t\n\r") == std::u16string::npos; }

// Whether reading `text` as a number gives a node like `node`: the factories
// asked as the reader asks them, the value finite and bit for bit the same.
bool readsBack(const NodeABC& node, const std::u16string& text, CASSessionBC& session) {
    if (!LiteralPrefixReaderC::isNumberText(text)) {
        return false;
    }
    if (!LiteralPrefixReaderC::isFloatText(text)) {
        if (auto factory = session.getIntegerValueFactory()) {
            std::unique_ptr<IntegerValueABC> value(factory->fromString(text));
            if (value) {
                auto* integer = as<IntegerNodeC>(&node);
                return integer != nullptr && integer->getValue()->getValue() == value->getValue();
            }
        }
    }
    auto factory = session.getFloatValueFactory();
    std::unique_ptr<FloatValueABC> value(factory ? factory->fromString(text) : nullptr);
    auto* real = as<FloatNodeC>(&node);
    return value && real != nullptr && value->isFinite() && sameBits(real->getValue()->getValue(), value->getValue());
}

}  // namespace

std::vector<NodeABC*> TreeCheckerC::nodes(NodeABC* root) {
    std::vector<NodeABC*> found;
    std::vector<NodeABC*> work;
    if (root != nullptr) {
        work.push_back(root);
    }
    while (!work.empty()) {
        NodeABC* node = work.back();
        work.pop_back();
        found.push_back(node);
        if (auto* parent = as<ParentNodeABC>(node)) {
            for (unsigned int i = parent->numChildren(); i-- > 0;) {
                if (parent->child(i) != nullptr) {
                    work.push_back(parent->child(i));
                }
            }
        }
    }
    return found;
}

bool TreeCheckerC::sameTree(const NodeABC* a, const NodeABC* b, bool distinct) {
    std::vector<std::pair<const NodeABC*, const NodeABC*>> work{{a, b}};
    while (!work.empty()) {
        auto [x, y] = work.back();
        work.pop_back();
        if (x == nullptr || y == nullptr) {
            if (x != y) {
                return false;
            }
            continue;
        }
        if ((distinct && x == y) || !sameNode(*x, *y)) {
            return false;
        }
        if (auto* p = as<ParentNodeABC>(x)) {
            auto* q = as<ParentNodeABC>(y);
            if (p->numChildren() != q->numChildren()) {
                return false;
            }
            for (unsigned int i = 0; i < p->numChildren(); ++i) {
                work.emplace_back(p->child(i), q->child(i));
            }
        }
    }
    return true;
}

bool TreeCheckerC::isCanonical(NodeABC* root, CASSessionBC& session) {
    for (NodeABC* node : nodes(root)) {
        if (auto* integer = as<IntegerNodeC>(node)) {
            if (integer->getValue() == nullptr || !readsBack(*node, integer->toString(), session)) {
                return false;
            }
        } else if (auto* real = as<FloatNodeC>(node)) {
            if (real->getValue() == nullptr || !readsBack(*node, real->toString(0, qorv::math::Standard), session)) {
                return false;
            }
        } else {
            const std::u16string name = node->toString();
            const bool leaf = as<ParentNodeABC>(node) == nullptr;
            if (!isCanonicalName(name) || (leaf && LiteralPrefixReaderC::isNumberText(name))) {
                return false;
            }
        }
    }
    return true;
}

std::string TreeCheckerC::describe(const NodeABC* root) {
    if (root == nullptr) {
        return "null";
    }
    std::string out;
    std::vector<std::pair<const ParentNodeABC*, unsigned int>> open;  // parents and their next child
    auto enter = [&](const NodeABC* node) {
        out += escape(node->qCastableId()) + " " + escape(node->toString());
        if (auto* parent = as<ParentNodeABC>(node)) {
            out += "[";
            open.emplace_back(parent, 0);
        }
    };
    enter(root);
    while (!open.empty()) {
        const ParentNodeABC* parent = open.back().first;
        const unsigned int next = open.back().second++;
        if (next >= parent->numChildren()) {
            out += "]";
            open.pop_back();
            continue;
        }
        if (next > 0) {
            out += "|";
        }
        if (parent->child(next) == nullptr) {
            out += "null";
        } else {
            enter(parent->child(next));
        }
    }
    return out;
}

std::string TreeCheckerC::escape(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != u'\\') {
            out += static_cast<char>(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

}  // namespace algexpr_fuzz
