// SPDX-License-Identifier: MIT
#include "TypoCheckC.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "AppendUtf8.h"
#include "ReadErrorC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreElementC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/NodeVisitorABC.h"
#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::cli {

namespace {

// Common names one edit away from a core name, in any case (Phi too): tau
// and phi (tan, pi), cot and coth (cos, cosh), xi (i), the hyperbolic
// secant, cosecant and their inverses (sec, csc, acot, asec, acsc), erfi
// (erf), beta and eta (zeta).
const char16_t* const kNeverSuspect[] = {u"tau",   u"phi",   u"cot",   u"coth", u"xi",   u"sech", u"csch",
                                         u"acoth", u"asech", u"acsch", u"erfi", u"beta", u"eta"};

char16_t folded(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

std::u16string folded(const std::u16string& text) {
    std::u16string out = text;
    for (char16_t& c : out) {
        c = folded(c);
    }
    return out;
}

// Whether `text` folded is `lower` (which is in lower case already).
bool foldsTo(const std::u16string& text, std::u16string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (folded(text[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

// Whether two case-folded texts are at most one edit apart: a character
// added, dropped or changed, or two neighbours swapped.
bool oneEditApart(const std::u16string& a, const std::u16string& b) {
    const std::u16string& longer = a.size() >= b.size() ? a : b;
    const std::u16string& shorter = a.size() >= b.size() ? b : a;
    if (longer.size() - shorter.size() > 1) {
        return false;
    }
    std::size_t i = 0;
    while (i < shorter.size() && longer[i] == shorter[i]) {
        ++i;
    }
    if (longer.size() != shorter.size()) {
        return longer.compare(i + 1, std::u16string::npos, shorter, i, std::u16string::npos) == 0;
    }
    if (i == longer.size() || longer.compare(i + 1, std::u16string::npos, shorter, i + 1, std::u16string::npos) == 0) {
        return true;
    }
    return i + 1 < longer.size() && longer[i] == shorter[i + 1] && longer[i + 1] == shorter[i] &&
           longer.compare(i + 2, std::u16string::npos, shorter, i + 2, std::u16string::npos) == 0;
}

// The names of extended nodes in reading order (a function's before its
// arguments'), each handed to `found`.
template <class Found>
class UnknownNames : public NodeVisitorABC {
public:
    explicit UnknownNames(Found found) : NodeVisitorABC(PreOrder), found(std::move(found)) {}

    bool visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE) override { return true; }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override {
        if (order == PreOrder) {
            name(node.getSymbol(), true);
        }
        return true;
    }
    bool visitCoreSymbolNode(CoreSymbolNodeC&) override { return true; }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
        name(node.getSymbol(), false);
        return true;
    }
    bool visitFloatNode(FloatNodeC&) override { return true; }
    bool visitIntegerNode(IntegerNodeC&) override { return true; }

private:
    void name(const qorv::oss::PointerTC<SymbolC>& symbol, bool called) { found(symbol, called); }

    Found found;
};

}  // namespace

std::vector<std::string> TypoCheckC::warnings(AlgebraicExpressionC& expression, const std::u16string& text,
                                              const ExpressionReaderABC& reader, const InputPlaceC& place) {
    std::vector<Suspect> suspects;
    std::size_t unknown = 0;
    findSuspects(expression, suspects, unknown);
    std::vector<std::string> out;
    if (suspects.empty()) {
        return out;
    }
    std::vector<std::size_t> positions;
    const bool placed = placeSuspects(text, reader, unknown, suspects, positions);
    for (std::size_t i = 0; i < suspects.size(); ++i) {
        std::string message = suspects[i].called ? "warning: unknown function '" : "warning: unknown symbol '";
        appendUtf8(suspects[i].name, message);
        message += "'; did you mean '";
        appendUtf8(suspects[i].suggestion, message);
        message += "'?";
        ReadErrorC warning;
        warning.set(std::move(message), placed ? positions[i] : ReadErrorC::kNoPosition);
        out.push_back(warning.describe(place.describe(), text));
    }
    return out;
}

// Most names are rejected by their length alone; the others are compared
// with the core names folded once, when the vocabulary is read.
std::u16string TypoCheckC::suggestion(const std::u16string& name, bool called) {
    if (!loaded) {
        load();
    }
    const std::size_t size = name.size();
    const auto near = [&](std::size_t length) { return length < kLengths && lengths[length]; };
    if (size < (called ? 3u : 2u) || !(near(size) || (called && (near(size - 1) || near(size + 1)))) || exempt(name)) {
        return std::u16string();
    }
    for (const std::u16string& core : core_names) {
        if (core == name) {
            return std::u16string();  // a core name is no typo of another (sign of sin)
        }
    }
    for (std::size_t i = 0; i < core_names.size(); ++i) {
        if (foldsTo(name, core_folded[i])) {
            return core_names[i];
        }
    }
    if (!called) {
        return std::u16string();
    }
    const std::u16string name_folded = folded(name);
    for (std::size_t i = 0; i < core_names.size(); ++i) {
        const std::size_t length = core_folded[i].size();
        if (length + 1 >= size && length <= size + 1 && oneEditApart(name_folded, core_folded[i])) {
            return core_names[i];
        }
    }
    return std::u16string();
}

// A stream of inputs names the same few things again and again: each name
// is judged once (the memory is emptied now and then, so that new names
// without end do not grow it).
std::u16string TypoCheckC::judged(const std::u16string& name, bool called) {
    std::unordered_map<std::u16string, std::u16string>& known = called ? known_functions : known_symbols;
    const auto found = known.find(name);
    if (found != known.end()) {
        return found->second;
    }
    if (known.size() >= kKnownNames) {
        known.clear();
    }
    std::u16string better = suggestion(name, called);
    known.emplace(name, better);
    return better;
}

// The symbols last judged no typo, by address: most names of a stream come
// again and again, and are then passed without a look at their text. Each
// entry holds its symbol, so that its address cannot come back for another.
std::size_t TypoCheckC::clearedSlot(const SymbolC* symbol, bool called) {
    const auto bits = reinterpret_cast<std::uintptr_t>(symbol);
    return (static_cast<std::size_t>((bits >> 4) * 0x9e3779b97f4a7c15ull >> 40) * 2 + (called ? 1 : 0)) % kCleared;
}

bool TypoCheckC::isCleared(const qorv::oss::PointerTC<SymbolC>& symbol, bool called) const {
    return symbol && cleared[clearedSlot(symbol.get(), called)].get() == symbol.get();
}

void TypoCheckC::clear(const qorv::oss::PointerTC<SymbolC>& symbol, bool called) {
    cleared[clearedSlot(symbol.get(), called)] = symbol;
}

void TypoCheckC::load() {
    loaded = true;
    qorv::oss::PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    for (int code = 0; session; ++code) {
        qorv::oss::PointerTC<CoreElementC> element = session->lookupCoreElement(code);
        if (!element) {
            break;
        }
        core_names.push_back(element->getName());
        core_folded.push_back(folded(core_names.back()));
        if (core_names.back().size() < kLengths) {
            lengths[core_names.back().size()] = true;
        }
    }
}

bool TypoCheckC::exempt(const std::u16string& name) {
    for (const char16_t* never : kNeverSuspect) {
        if (foldsTo(name, never)) {
            return true;
        }
    }
    return false;
}

// Each suspect once, at its first place.
void TypoCheckC::findSuspects(AlgebraicExpressionC& expression, std::vector<Suspect>& suspects, std::size_t& unknown) {
    auto found = [&](const qorv::oss::PointerTC<SymbolC>& symbol, bool called) {
        const std::size_t index = unknown++;
        if (isCleared(symbol, called)) {
            return;
        }
        std::u16string name = symbol ? symbol->getName() : std::u16string();
        for (const Suspect& suspect : suspects) {
            if (suspect.name == name && suspect.called == called) {
                return;
            }
        }
        std::u16string better = judged(name, called);
        if (!better.empty()) {
            suspects.push_back(Suspect{std::move(name), called, std::move(better), index});
        } else if (symbol) {
            clear(symbol, called);
        }
    };
    UnknownNames<decltype(found)> visitor(found);
    expression.traverse(visitor);
}

// The reader's names that the session does not know are the tree's unknown
// names, in the same order; where they are not (a lax text), no place is
// given.
bool TypoCheckC::placeSuspects(const std::u16string& text, const ExpressionReaderABC& reader, std::size_t unknown,
                               const std::vector<Suspect>& suspects, std::vector<std::size_t>& positions) {
    std::vector<ExpressionReaderABC::NameS> names;
    if (!reader.listNames(text, names)) {
        return false;
    }
    qorv::oss::PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    std::vector<ExpressionReaderABC::NameS> unknown_names;
    for (ExpressionReaderABC::NameS& name : names) {
        if (session && !session->lookupCoreElement(name.name)) {
            unknown_names.push_back(std::move(name));
        }
    }
    if (unknown_names.size() != unknown) {
        return false;
    }
    for (const Suspect& suspect : suspects) {
        const ExpressionReaderABC::NameS& name = unknown_names[suspect.index];
        if (name.name != suspect.name || name.called != suspect.called) {
            return false;
        }
        positions.push_back(name.position);
    }
    return true;
}

}  // namespace qorv::math::algexpr::cli
