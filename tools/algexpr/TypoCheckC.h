// SPDX-License-Identifier: MIT
// TypoCheckC: points out names that look like typos of the session's core
// names, since reading takes any unknown name for a new function or symbol:
//
//   line 1, column 1: warning: unknown function 'sinn'; did you mean 'sin'?
//     sinn(x)
//     ^
//
// A function's name (of at least 3 characters) is suspect when it differs
// from a core name by case or by one edit (a character added, dropped or
// changed, or two neighbours swapped), a symbol's name (of at least 2) when
// it differs only by case (PI for pi). One-letter names (I, E) are never
// suspect, nor a core name itself (sign is no typo of sin), nor the common
// names that such an edit would take for a core name (tau, phi, coth, sech,
// beta, ...: see exempt()). Case is ASCII case.
// Reads the vocabulary of the session current at its first use; holds its
// own copy of the names, and a reference to each of the last symbols it
// judged no typo (128 at most), which it passes without reading their names.
#ifndef ALGEXPR_TOOL_TYPOCHECKC_H
#define ALGEXPR_TOOL_TYPOCHECKC_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "ExpressionReaderABC.h"
#include "InputPlaceC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/SymbolC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

class TypoCheckC {
public:
    /// The warnings about the names of `expression`, which `reader` read from
    /// `text` (an input from `place`): one per suspect name, where it first
    /// stands, as the tool's read errors show a place (without the caret
    /// when the reader cannot tell where).
    std::vector<std::string> warnings(AlgebraicExpressionC& expression, const std::u16string& text,
                                      const ExpressionReaderABC& reader, const InputPlaceC& place);

    /// The core name that an unknown `name` (a function's when `called`)
    /// looks like a typo of; the empty text when it looks like none.
    std::u16string suggestion(const std::u16string& name, bool called);

    /// Names never suspect, in any case: common names one edit away from a
    /// core name (tau, phi, cot, coth, xi, sech, csch, acoth, asech, acsch,
    /// erfi, beta, eta).
    static bool exempt(const std::u16string& name);

private:
    struct Suspect {
        std::u16string name;
        bool called;
        std::u16string suggestion;
        std::size_t index;  // among the expression's unknown names, in reading order
    };

    void findSuspects(AlgebraicExpressionC& expression, std::vector<Suspect>& suspects, std::size_t& unknown);
    bool placeSuspects(const std::u16string& text, const ExpressionReaderABC& reader, std::size_t unknown,
                       const std::vector<Suspect>& suspects, std::vector<std::size_t>& positions);

    std::u16string judged(const std::u16string& name, bool called);
    void load();
    static std::size_t clearedSlot(const SymbolC* symbol, bool called);
    bool isCleared(const qorv::oss::PointerTC<SymbolC>& symbol, bool called) const;
    void clear(const qorv::oss::PointerTC<SymbolC>& symbol, bool called);

    static constexpr std::size_t kLengths = 64;
    static constexpr std::size_t kKnownNames = 4096;
    static constexpr std::size_t kCleared = 128;  // even: a function's and a symbol's slot side by side

    bool loaded = false;
    std::vector<std::u16string> core_names;   // by code
    std::vector<std::u16string> core_folded;  // the same, in lower case
    bool lengths[kLengths] = {};              // the lengths of the core names (those below kLengths)
    std::unordered_map<std::u16string, std::u16string> known_functions;  // name -> suggestion, or ""
    std::unordered_map<std::u16string, std::u16string> known_symbols;
    qorv::oss::PointerTC<SymbolC> cleared[kCleared];  // symbols judged no typo, by clearedSlot(), held
};

}  // namespace qorv::math::algexpr::cli

#endif
