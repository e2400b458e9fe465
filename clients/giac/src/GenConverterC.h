// SPDX-License-Identifier: MIT
// GenConverterC: a Giac result as a support::ResultGraphC, walked with an
// explicit stack: symbolic nodes by their function, identifiers, integers of
// any size, fractions, floats (rounded to the shortest digits that read back
// to the same double) and complex numbers, vectors as list(...), equations
// as equal(a,b), +infinity as infinity. What the vocabulary cannot say is
// refused (RefusalC) with the reason: rootof, bounded_function, undef, an
// unevaluated integrate, an infinity without a sign, and any other function
// or constant of Giac's. Giac's order_size becomes an order term, sign(u)
// abs(u)/u, derivatives of unknown functions pdiff. Runs where Giac's calls
// may run (on the engine's worker).
#ifndef ALGEXPR_GIAC_SRC_GENCONVERTERC_H
#define ALGEXPR_GIAC_SRC_GENCONVERTERC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "EngineVocabulary.h"
#include "GiacHeaders.h"
#include "ResultGraphC.h"

namespace qorv::math::algexpr {
class CASSessionBC;
}

namespace qorv::math::algexpr::giac::detail {

class GenConverterC {
public:
    struct ContextS {
        const std::unordered_map<std::string, std::u16string>& names;  // ours, by Giac identifier
        const std::vector<int>& codes;                                   // core code by operation
        CASSessionBC& session;                                           // symbols by name
        std::size_t result_nodes;
        std::size_t integer_digits;
    };

    explicit GenConverterC(const ContextS& context);
    ~GenConverterC();

    /// Converts `value` into `graph` (which must be empty) and returns the
    /// root's node.
    support::IdT convert(const ::giac::gen& value, support::ResultGraphC& graph);

private:
    struct FrameS;
    using IdT = support::IdT;

    void expand(FrameS& frame);
    static bool signedInfinity(const ::giac::gen& value);
    IdT infinity(bool negative);
    void classify(const ::giac::gen& value, FrameS& frame, ::giac::vecteur& arguments);
    void applied(FrameS& frame, ::giac::vecteur& arguments);
    void derivative(FrameS& frame, ::giac::vecteur& arguments);
    IdT finish(const FrameS& frame, const IdT* arguments, std::size_t count);
    IdT leaf(const ::giac::gen& value);
    support::NumberS number(const ::giac::gen& value);
    support::RealS real(const ::giac::gen& value);
    support::RealS integer(const ::giac::gen& value);
    IdT symbol(const ::giac::gen& identifier);
    IdT function(OperationE operation, const IdT* arguments, std::size_t count);
    IdT unknown(const ::giac::gen& identifier);
    std::u16string ourName(const ::giac::gen& identifier, bool function) const;
    IdT sum(const IdT* terms, std::size_t count);
    IdT product(const IdT* parts, std::size_t count);
    IdT negated(IdT id);
    IdT power(IdT base, IdT exponent);
    IdT checked(IdT id);

    const ContextS& context;
    support::ResultGraphC* graph = nullptr;
    std::vector<FrameS> frames;
    std::vector<IdT> values;  // finished nodes, waiting for their parent
    std::vector<IdT> parts;
    std::unordered_map<std::string, IdT> symbols;    // graph symbol by Giac identifier
    std::unordered_map<std::string, IdT> unknowns;   // graph function by Giac identifier
    std::vector<IdT> known;                          // graph function by operation
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
