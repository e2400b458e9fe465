// SPDX-License-Identifier: MIT
// VocabularyTC: the engines' core vocabulary (Vocabulary.def) as a table,
// read through an operation enum made from the same lines: None, one
// enumerator a line, Count. The engines share one such enum (OperationE.h)
// and read names, arities, constants and, by their own column, what they
// offer here; the tool reads the same table for its capabilities and help.
//
//   #include "OperationE.h"
//   using Words = support::VocabularyTC<support::OperationE>;
//   Words::named(u"sin");                                  // OperationE::Sin
//   Words::builtinNames(support::EngineColumnE::Ginac);     // u"plus", ..., u""
//
// Everything here is constant data or a look-up in it: no state, no
// allocation but arityText's string.
#ifndef ALGEXPR_CLIENTS_SUPPORT_VOCABULARYTC_H
#define ALGEXPR_CLIENTS_SUPPORT_VOCABULARYTC_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::math::algexpr::support {

constexpr std::size_t kAnyCount = ~std::size_t{0};

/// What an engine does with a core name.
enum class SupportE : unsigned char {
    Computes,  // evaluates it
    Refuses,   // has its code, refuses it with notOffered()
    Lacks      // not in its vocabulary: an unknown function or symbol there
};

/// The engines the table has a column for, in the table's order.
enum class EngineColumnE : unsigned char { Numeric, Ginac, Giac, Count };

struct WordS {
    const char16_t* name;
    std::size_t fewest;  // arguments; 0 and 0 for a constant
    std::size_t most;    // kAnyCount: no upper bound
    std::size_t step;    // the counts allowed: fewest, fewest + step, ... most
    SupportE support[static_cast<std::size_t>(EngineColumnE::Count)];
    const char* form;     // for the help: "diff(f,x[,n])"
    const char* summary;  // for the help: "derivative by x, n times"
};

// The table, in code order.
inline constexpr WordS kWords[] = {
#define ALGEXPR_WORD(id, name, fewest, most, step, numeric, ginac, giac, form, summary) \
    {name, fewest, most, step, {SupportE::numeric, SupportE::ginac, SupportE::giac}, form, summary},
#include "Vocabulary.def"
#undef ALGEXPR_WORD
};
inline constexpr std::size_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);

/// The reason an engine gives for a name it has but does not offer.
inline std::u16string notOffered(const char16_t* name) {
    return std::u16string(name) + u": not offered by this engine";
}

namespace detail {

// An engine lacks names only at the end of the table, so that the names it
// has keep the codes every other engine gives them.
constexpr bool lacksOnlyAtTheEnd() {
    for (std::size_t column = 0; column < static_cast<std::size_t>(EngineColumnE::Count); ++column) {
        bool lacking = false;
        for (const WordS& word : kWords) {
            if (lacking && word.support[column] != SupportE::Lacks) {
                return false;
            }
            lacking = word.support[column] == SupportE::Lacks;
        }
    }
    return true;
}
static_assert(lacksOnlyAtTheEnd(), "an engine may lack names only at the end of the vocabulary");

// The built-in names of each engine, ended by an empty name.
struct BuiltinNamesS {
    const char16_t* lists[static_cast<std::size_t>(EngineColumnE::Count)][kWordCount + 1];
    constexpr BuiltinNamesS() : lists() {
        for (std::size_t column = 0; column < static_cast<std::size_t>(EngineColumnE::Count); ++column) {
            std::size_t n = 0;
            for (const WordS& word : kWords) {
                if (word.support[column] != SupportE::Lacks) {
                    lists[column][n++] = word.name;
                }
            }
            for (; n <= kWordCount; ++n) {
                lists[column][n] = u"";
            }
        }
    }
};
inline constexpr BuiltinNamesS kBuiltinNames{};

}  // namespace detail

/// The line of a core name, null for a name not in the table.
inline const WordS* findWord(std::u16string_view name) {
    for (const WordS& word : kWords) {
        if (name == word.name) {
            return &word;
        }
    }
    return nullptr;
}

/// The built-in vocabulary of an engine, in a session's list format
/// (zero-terminated names, the last one empty). Static storage.
inline const char16_t* const* builtinNames(EngineColumnE column) {
    return detail::kBuiltinNames.lists[static_cast<std::size_t>(column)];
}

template <class OperationT>
class VocabularyTC {
public:
    static_assert(static_cast<std::size_t>(OperationT::Count) == kWordCount + 1,
                  "the enum has None, an enumerator a line of Vocabulary.def, and Count");
    using Operation = OperationT;

    /// The line of an operation (not None nor Count).
    static const WordS& word(OperationT operation) { return kWords[static_cast<std::size_t>(operation) - 1]; }

    /// The operation of a core name, None for a name not in the table.
    static OperationT named(std::u16string_view name) {
        const WordS* found = findWord(name);
        return found == nullptr ? OperationT::None : static_cast<OperationT>(found - kWords + 1);
    }

    /// The name of an operation, "" for None.
    static const char16_t* nameOf(OperationT operation) {
        return operation == OperationT::None || operation == OperationT::Count ? u"" : word(operation).name;
    }

    /// Constants (pi, e, i, infinity) stand alone; everything else is applied.
    static bool isConstant(OperationT operation) {
        return operation != OperationT::None && operation != OperationT::Count && word(operation).most == 0;
    }

    /// Whether `count` arguments suit the operation.
    static bool acceptsArity(OperationT operation, std::size_t count) {
        const WordS& w = word(operation);
        return count >= w.fewest && count <= w.most && (count - w.fewest) % w.step == 0;
    }

    /// "2 arguments", "2 or 4 arguments", "at least 1 argument", ... for messages.
    static std::u16string arityText(OperationT operation) {
        const WordS& w = word(operation);
        const auto number = [](std::size_t n) { return std::u16string(1, static_cast<char16_t>(u'0' + n)); };
        const std::u16string noun = w.most == 1 && w.fewest == 1 ? u" argument" : u" arguments";
        if (w.most == kAnyCount) {
            return (w.fewest == 0 ? std::u16string(u"any number of") : u"at least " + number(w.fewest)) +
                   (w.fewest == 1 ? u" argument" : u" arguments");
        }
        if (w.fewest == w.most) {
            return number(w.fewest) + noun;
        }
        return number(w.fewest) + (w.most - w.fewest == w.step ? u" or " : u" to ") + number(w.most) + noun;
    }

    /// What the engine of `column` does with the operation (Lacks for None).
    static SupportE support(OperationT operation, EngineColumnE column) {
        return operation == OperationT::None || operation == OperationT::Count
                   ? SupportE::Lacks
                   : word(operation).support[static_cast<std::size_t>(column)];
    }

    /// Reads a session's core name list (null: no names) for the engine of
    /// `column`: the operation of each code, None where the engine lacks the
    /// name; and in `codes` (when given), by operation, the first code with
    /// that operation, -1 where there is none.
    static void mapCodes(const char16_t* const* core_names, EngineColumnE column, std::vector<OperationT>& operations,
                         std::vector<int>* codes) {
        if (codes != nullptr) {
            codes->assign(static_cast<std::size_t>(OperationT::Count), -1);
        }
        for (std::size_t code = 0; core_names != nullptr && core_names[code] != nullptr && core_names[code][0] != 0;
             ++code) {
            OperationT operation = named(core_names[code]);
            if (support(operation, column) == SupportE::Lacks) {
                operation = OperationT::None;
            }
            operations.push_back(operation);
            if (codes != nullptr && operation != OperationT::None && (*codes)[static_cast<std::size_t>(operation)] < 0) {
                (*codes)[static_cast<std::size_t>(operation)] = static_cast<int>(code);
            }
        }
    }

    static const char16_t* const* builtinNames(EngineColumnE column) { return support::builtinNames(column); }
};

}  // namespace qorv::math::algexpr::support

#endif
