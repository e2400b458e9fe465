// SPDX-License-Identifier: MIT
// LiteralPrefixReaderC: the reading rules of the prefix notation carried out
// word for word, as a recursive descent over substrings in which every step
// gets a copy of its own text. Quadratic and recursive, so only for short
// texts: it is the reference that the library's one-pass reader is compared
// with, tree for tree and call for call.
#ifndef ALGEXPR_FUZZ_LITERALPREFIXREADERC_H
#define ALGEXPR_FUZZ_LITERALPREFIXREADERC_H

#include <cstddef>
#include <string>

#include "algexpr/CASSessionBC.h"
#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/ParentNodeABC.h"

namespace algexpr_fuzz {

using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::NodeABC;
using qorv::math::algexpr::ParentNodeABC;

class LiteralPrefixReaderC {
public:
    explicit LiteralPrefixReaderC(CASSessionBC& session);

    /// The tree of `text` (whitespace removed first), owned by the caller, or null.
    NodeABC* read(std::u16string text);

    /// Number characters only (the empty text too), or number characters,
    /// then "e" or "E" not first, then number characters.
    static bool isNumberText(const std::u16string& text);
    /// Holds ".", "e" or "E".
    static bool isFloatText(const std::u16string& text);

private:
    NodeABC* parseExpression(std::u16string text);
    NodeABC* parseFunction(std::u16string text);
    ParentNodeABC* makeFunctionNode(std::u16string name);
    bool parseArguments(std::u16string arguments, ParentNodeABC* parent);
    static std::size_t findTopLevelComma(const std::u16string& text);
    NodeABC* parseLeaf(std::u16string text);
    NodeABC* makeIntegerNode(std::u16string text);
    NodeABC* makeFloatNode(std::u16string text);
    NodeABC* makeSymbolNode(std::u16string name);

    CASSessionBC& session;
    // Each factory is asked for once per read, when the first number needs it.
    bool integers_asked = false;
    bool floats_asked = false;
    qorv::oss::PointerTC<qorv::math::algexpr::IntegerValueFactoryABC> integers;
    qorv::oss::PointerTC<qorv::math::algexpr::FloatValueFactoryABC> floats;
};

}  // namespace algexpr_fuzz

#endif
