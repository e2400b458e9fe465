// SPDX-License-Identifier: MIT
// Substitution and the constraint predicates on fuzzed trees. The input holds
// three texts separated by line feeds (which reading ignores): the tree, the
// name to replace and the replacement. Bit 3 of the first byte adds, before
// the substitution by name, one by the code (first byte >> 4) - 2.
//
// Substitution must give null exactly when some leaf matches and there is no
// replacement, otherwise a tree of new nodes that prints as the source with
// every matching leaf printed as the replacement; neither input changes.
// Every predicate must agree with the node's class and printed text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "FuzzEnvironmentC.h"
#include "TreeCheckerC.h"
#include "algexpr/algexpr.h"

using algexpr_fuzz::FuzzEnvironmentC;
using algexpr_fuzz::TreeCheckerC;
using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

namespace {

const auto check = FuzzEnvironmentC::check;

struct Predicates : ConstraintsBC {
    using ConstraintsBC::isCoreFunction;
    using ConstraintsBC::isCoreSymbol;
    using ConstraintsBC::isEmpty;
    using ConstraintsBC::isExtendedFunction;
    using ConstraintsBC::isExtendedSymbol;
    using ConstraintsBC::isFloat;
    using ConstraintsBC::isInteger;
    using ConstraintsBC::isNumber;
    using ConstraintsBC::isNumberOrEmpty;
    using ConstraintsBC::isParentNode;
};

std::u16string print(NodeABC* node) {
    PrefixPrintVisitorC printer;
    return printer.getExpressionString(node, 0, qorv::math::Standard);
}

// The matching rules of one substitution, with the latest code by which the
// visitor substituted.
struct Match {
    bool by_code;
    int code;
    std::u16string name;
    bool code_set;
    int latest_code;

    bool operator()(NodeABC& node) const {
        if (auto* core = static_cast<CoreSymbolNodeC*>(node.lookUpBase(CoreSymbolNodeC::getCastableId()))) {
            return by_code ? core->getCode() == code : name.empty() && code_set && core->getCode() == latest_code;
        }
        if (auto* symbol = static_cast<ExtendedSymbolNodeC*>(node.lookUpBase(ExtendedSymbolNodeC::getCastableId()))) {
            const std::u16string own = symbol->getSymbol() ? symbol->getSymbol()->getName() : std::u16string();
            return own == (by_code ? std::u16string() : name);
        }
        return false;
    }
};

// The text the substitution's result must print as; `matched` tells whether
// some leaf matched.
std::u16string expectedText(NodeABC* root, const Match& match, const std::u16string& replacement, bool& matched) {
    std::u16string out;
    std::vector<std::pair<ParentNodeABC*, unsigned int>> open;
    auto enter = [&](NodeABC* node) {
        if (auto* parent = static_cast<ParentNodeABC*>(node->lookUpBase(ParentNodeABC::getCastableId()))) {
            out += node->toString() + u"(";
            open.emplace_back(parent, 0);
        } else if (match(*node)) {
            matched = true;
            out += replacement;
        } else {
            out += print(node);
        }
    };
    matched = false;
    enter(root);
    while (!open.empty()) {
        ParentNodeABC* parent = open.back().first;
        const unsigned int next = open.back().second++;
        if (next >= parent->numChildren()) {
            out += u")";
            open.pop_back();
        } else {
            out += next > 0 ? u"," : u"";
            enter(parent->child(next));
        }
    }
    return out;
}

void checkSubst(SubstVisitorC& visitor, const Match& match, NodeABC* tree, NodeABC* replacement) {
    bool matched = false;
    const std::u16string expected = expectedText(tree, match, print(replacement), matched);
    std::unique_ptr<NodeABC> result(match.by_code ? visitor.subst(tree, match.code, replacement)
                                                  : visitor.subst(tree, match.name, replacement));
    check(!result == (matched && replacement == nullptr), "substitution failed, or gave a tree without replacement");
    if (!result) {
        return;
    }
    check(print(result.get()) == expected, "the substituted tree is not the source with the matches replaced");
    std::unordered_set<NodeABC*> inputs;
    for (NodeABC* root : {tree, replacement}) {
        for (NodeABC* node : TreeCheckerC::nodes(root)) {
            inputs.insert(node);
        }
    }
    for (NodeABC* node : TreeCheckerC::nodes(result.get())) {
        check(inputs.count(node) == 0, "the substituted tree shares a node with its inputs");
    }
}

void checkPredicates(Predicates& is, NodeABC* node, const std::u16string& probe) {
    const std::u16string id = node != nullptr ? node->qCastableId() : u"";
    const std::u16string text = node != nullptr ? node->toString() : u"";
    const bool real = id == u"FloatNodeC";
    const bool integer = id == u"IntegerNodeC";
    const bool symbol = id == u"ExtendedSymbolNodeC";
    const bool core_symbol = id == u"CoreSymbolNodeC";
    const bool empty = symbol && text == u"_";
    check(is.isFloat(node) == real && is.isInteger(node) == integer, "isFloat or isInteger");
    check(is.isExtendedSymbol(node) == symbol, "isExtendedSymbol");
    check(is.isExtendedSymbol(node, text) == symbol && is.isExtendedSymbol(node, probe) == (symbol && text == probe),
          "isExtendedSymbol with a name");
    check(is.isCoreSymbol(node, text) == core_symbol && is.isCoreSymbol(node, probe) == (core_symbol && text == probe),
          "isCoreSymbol");
    check(is.isEmpty(node) == empty && is.isNumberOrEmpty(node) == (real || integer || empty), "isEmpty");
    double value = 0;
    if (real) {
        value = static_cast<FloatNodeC*>(node)->getValue()->getValue();
    } else if (integer) {
        value = static_cast<double>(static_cast<IntegerNodeC*>(node)->getValue()->getValue());
    }
    for (double x : {value, value + 1, -value}) {
        check(is.isNumber(node, x) == ((real || integer) && value == x), "isNumber");
    }
    NodeABC* function = id == u"CoreFunctionNodeC" || id == u"ExtendedFunctionNodeC" ? node : nullptr;
    check(is.isParentNode(node) == function, "isParentNode");
    for (const std::u16string& name : {text, probe}) {
        const bool named = function != nullptr && name == text;
        check(is.isCoreFunction(node, name) == (named && id == u"CoreFunctionNodeC" ? node : nullptr),
              "isCoreFunction");
        check(is.isExtendedFunction(node, name) == (named && id == u"ExtendedFunctionNodeC" ? node : nullptr),
              "isExtendedFunction");
    }
}

void checkInput(std::uint8_t flags, const std::u16string& text) {
    std::u16string parts[3];
    for (std::size_t i = 0, part = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && part < 2) {
            ++part;
        } else {
            parts[part] += text[i];
        }
    }
    PointerTC<AlgebraicExpressionC> tree = AlgebraicExpressionC::fromPrefixString(parts[0]);
    PointerTC<AlgebraicExpressionC> replacement = AlgebraicExpressionC::fromPrefixString(parts[2]);
    Predicates is;
    checkPredicates(is, nullptr, parts[1]);
    if (!tree) {
        return;
    }
    check(is.isAcceptable(*tree) && is.isAcceptableFinal(*tree), "the default questions answer true");
    for (NodeABC* node : TreeCheckerC::nodes(tree->getNode())) {
        checkPredicates(is, node, parts[1]);
    }

    NodeABC* with = replacement ? replacement->getNode() : nullptr;
    const std::u16string source_text = print(tree->getNode());
    const std::u16string replacement_text = print(with);
    SubstVisitorC visitor;
    Match match{false, 0, parts[1], false, 0};
    if ((flags & 8) != 0) {
        const int code = (flags >> 4) - 2;
        checkSubst(visitor, Match{true, code, u"", false, 0}, tree->getNode(), with);
        match.code_set = true;
        match.latest_code = code;
    }
    checkSubst(visitor, match, tree->getNode(), with);
    check(print(tree->getNode()) == source_text && print(with) == replacement_text, "substitution changed its inputs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    FuzzEnvironmentC::begin(data, size, text);
    checkInput(size > 0 ? data[0] : 0, text);
    FuzzEnvironmentC::end();
    return 0;
}
