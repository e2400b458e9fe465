// SPDX-License-Identifier: MIT
// ReferenceReaderC: the shortest road from canonical prefix text to a tree of
// the library's nodes, as a yardstick for the library's reader.
//
// One pass over the text with an explicit stack: each name followed by "("
// opens an application, "," moves to the next argument, ")" closes. Names
// are interned once in this reader's own ordered map (core names entered
// up front from the vocabulary, other names the first time they are seen,
// when their symbol is asked of the session); numbers are classified as the
// library does and made by the session's factories, integer first.
//
// It reads canonical texts (those ExpressionGeneratorC makes, and whatever
// the library prints) and returns null for anything it does not follow; it
// does not reproduce the notation's rules for odd texts (text after the last
// ")", unbalanced parentheses, empty arguments).
#ifndef ALGEXPR_BENCH_REFERENCEREADERC_H
#define ALGEXPR_BENCH_REFERENCEREADERC_H

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "algexpr/CASSessionBC.h"
#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/SymbolC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {
class NodeABC;
class ParentNodeABC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::bench {

class ReferenceReaderC {
public:
    /// `core_element_names` is the list the session was built from.
    ReferenceReaderC(CASSessionBC& session, const char16_t* const* core_element_names);
    ReferenceReaderC(const ReferenceReaderC&) = delete;
    ReferenceReaderC& operator=(const ReferenceReaderC&) = delete;
    ~ReferenceReaderC();

    /// The tree of the text (whitespace ignored), owned by the caller, or null.
    NodeABC* read(std::u16string_view text);

private:
    // A core element's code (symbol null), or a symbol.
    struct Name {
        int code;
        qorv::oss::PointerTC<SymbolC> symbol;
    };

    const Name* intern(std::u16string_view name);
    NodeABC* makeLeaf(std::u16string_view token);
    NodeABC* makeNumber(std::u16string_view token);

    CASSessionBC& session;
    qorv::oss::PointerTC<IntegerValueFactoryABC> integer_factory;
    qorv::oss::PointerTC<FloatValueFactoryABC> float_factory;
    std::map<std::u16string, Name, std::less<>> names;
    std::u16string buffer;  // the text without whitespace
    std::u16string token;   // a number's text for the factories
    std::vector<ParentNodeABC*> open;
};

}  // namespace qorv::math::algexpr::bench

#endif
