// SPDX-License-Identifier: MIT
// GenBuilderC: turns a checked tree (TreeCheckC) into a Giac value without
// text, bottom-up with an explicit value stack, and carries out the
// operations (diff, integrate, ...) as it meets them, inner ones first.
// Symbols and unknown functions become Giac identifiers of names of its own
// (numbered in the order of our names), so that no name of ours can meet one
// of Giac's constants or commands; names() maps them back. Runs where Giac's
// calls may run (see BoundaryC).
#ifndef ALGEXPR_GIAC_SRC_GENBUILDERC_H
#define ALGEXPR_GIAC_SRC_GENBUILDERC_H

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "EngineVocabulary.h"
#include "GiacHeaders.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/ParentNodeABC.h"

namespace qorv::math::algexpr::giac::detail {

class TreeCheckC;

class GenBuilderC {
public:
    GenBuilderC(const std::vector<OperationE>& operations, const TreeCheckC& check, std::size_t integer_digits,
                ::giac::context* context);
    ~GenBuilderC();

    /// The value of the tree that `check` walked.
    ::giac::gen build(NodeABC& root);
    /// Builds all but the root when the root is a core function: the values
    /// of its arguments, in order, and its operation; otherwise the whole
    /// tree, answering nothing. finish() then gives the tree's value.
    std::vector<::giac::gen> buildArguments(NodeABC& root, OperationE& operation);
    ::giac::gen finish();
    /// Our name of each identifier made, by the identifier's name.
    const std::unordered_map<std::string, std::u16string>& names() const { return our_names; }

private:
    void walk(NodeABC& root);
    OperationE operationOf(int code) const;
    std::vector<::giac::gen> arguments(const ParentNodeABC& node);
    void call(const std::u16string& name, std::vector<::giac::gen> arguments);
    // What each kind of node adds to the value stack.
    void applyCore(CoreFunctionNodeC& node);
    void applyFunction(ExtendedFunctionNodeC& node);
    void pushConstant(const CoreSymbolNodeC& node);
    void pushSymbol(const ExtendedSymbolNodeC& node);
    void pushFloat(const FloatNodeC& node);
    void pushInteger(const IntegerNodeC& node);

    const std::vector<OperationE>& operations;
    std::size_t integer_digits;
    ::giac::context* context;
    std::map<std::u16string, ::giac::gen> symbols;
    std::map<std::u16string, ::giac::gen> functions;
    std::unordered_map<std::string, std::u16string> our_names;
    std::vector<::giac::gen> values;
    NodeABC* held_root = nullptr;         // buildArguments' root, its arguments kept
    CoreFunctionNodeC* held = nullptr;    // that root once met
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
