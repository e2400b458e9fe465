// SPDX-License-Identifier: MIT
// AssumedFactsC: a session's assumptions on symbols (SymbolAssumptionS),
// merged by name into what each symbol is known to be: real, an integer,
// not zero, and its sign. Facts that follow from others are filled in (a
// positive symbol is real and not zero; non-negative and not zero is
// positive); facts that exclude each other (x > 0 and x < 0) are refused.
// Names are kept sorted, so that every use walks them in one order.
// Header-only: the tool reads assumptions with it too.
#ifndef ALGEXPR_CLIENTS_SUPPORT_ASSUMEDFACTSC_H
#define ALGEXPR_CLIENTS_SUPPORT_ASSUMEDFACTSC_H

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "algexpr/SymbolAssumptionS.h"

namespace qorv::math::algexpr::support {

class AssumedFactsC {
public:
    enum class SignE : unsigned char { Any, Positive, NonNegative, Negative };
    struct FactsS {
        bool real = false;
        bool integer = false;
        bool nonzero = false;
        SignE sign = SignE::Any;
    };
    using EntryT = std::pair<std::u16string, FactsS>;

    /// The facts of `assumptions`; false with `why` ("x > 0 and x < 0
    /// exclude each other") when two exclude each other, and then empty.
    bool merge(const std::vector<SymbolAssumptionS>& assumptions, std::u16string& why) {
        entries.clear();
        for (const SymbolAssumptionS& assumption : assumptions) {
            const auto at = std::lower_bound(entries.begin(), entries.end(), assumption.name,
                                             [](const EntryT& e, const std::u16string& n) { return e.first < n; });
            FactsS& facts = at != entries.end() && at->first == assumption.name
                                ? at->second
                                : entries.insert(at, EntryT(assumption.name, FactsS()))->second;
            if (!add(facts, assumption.kind)) {
                why = assumption.name + u" " + text(assumption.kind) + u" and " + assumption.name + u" " +
                      text(facts.sign == SignE::Negative   ? SymbolAssumptionS::KindE::Negative
                           : facts.sign == SignE::Positive ? SymbolAssumptionS::KindE::Positive
                                                           : SymbolAssumptionS::KindE::NonNegative) +
                      u" exclude each other";
                entries.clear();
                return false;
            }
        }
        for (EntryT& entry : entries) {
            FactsS& f = entry.second;
            if (f.sign == SignE::NonNegative && f.nonzero) {
                f.sign = SignE::Positive;
            }
            f.real = f.real || f.integer || f.sign != SignE::Any;
            f.nonzero = f.nonzero || f.sign == SignE::Positive || f.sign == SignE::Negative;
        }
        return true;
    }

    /// The facts of `name`: none known for a name without assumptions.
    FactsS of(const std::u16string& name) const {
        const auto at = std::lower_bound(entries.begin(), entries.end(), name,
                                         [](const EntryT& e, const std::u16string& n) { return e.first < n; });
        return at != entries.end() && at->first == name ? at->second : FactsS();
    }

    /// By name, sorted.
    const std::vector<EntryT>& all() const { return entries; }

    /// How the tool writes an assumption of the kind after the name: "> 0",
    /// "integer".
    static const char16_t* text(SymbolAssumptionS::KindE kind) {
        switch (kind) {
            case SymbolAssumptionS::KindE::Real: return u"real";
            case SymbolAssumptionS::KindE::Positive: return u"> 0";
            case SymbolAssumptionS::KindE::NonNegative: return u">= 0";
            case SymbolAssumptionS::KindE::Negative: return u"< 0";
            case SymbolAssumptionS::KindE::Integer: return u"integer";
            case SymbolAssumptionS::KindE::NonZero: return u"nonzero";
        }
        return u"";
    }

private:
    // False when `kind` excludes the sign known so far.
    static bool add(FactsS& facts, SymbolAssumptionS::KindE kind) {
        switch (kind) {
            case SymbolAssumptionS::KindE::Real: facts.real = true; return true;
            case SymbolAssumptionS::KindE::Integer: facts.integer = true; return true;
            case SymbolAssumptionS::KindE::NonZero: facts.nonzero = true; return true;
            case SymbolAssumptionS::KindE::Positive:
                if (facts.sign == SignE::Negative) {
                    return false;
                }
                facts.sign = SignE::Positive;
                return true;
            case SymbolAssumptionS::KindE::NonNegative:
                if (facts.sign == SignE::Negative) {
                    return false;
                }
                facts.sign = facts.sign == SignE::Any ? SignE::NonNegative : facts.sign;
                return true;
            case SymbolAssumptionS::KindE::Negative:
                if (facts.sign != SignE::Any) {
                    return false;
                }
                facts.sign = SignE::Negative;
                return true;
        }
        return true;
    }

    std::vector<EntryT> entries;
};

}  // namespace qorv::math::algexpr::support

#endif
