// SPDX-License-Identifier: MIT
// GenReaderC: reads a Giac result into a ResultFormC by walking it with an
// explicit stack: symbolic nodes by their function, identifiers, integers of
// any size, fractions, floats, complex numbers and vectors. What the
// vocabulary cannot say is refused (RefusalC) with the reason: rootof,
// bounded_function, undef, an unevaluated integrate, an infinity without a
// sign, and any other function or constant of Giac's. Giac's order_size
// becomes order(...), sign(u) becomes abs(u)/u, derivatives of unknown
// functions pdiff. Runs where Giac's calls may run (see BoundaryC).
#ifndef ALGEXPR_GIAC_SRC_GENREADERC_H
#define ALGEXPR_GIAC_SRC_GENREADERC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "GiacHeaders.h"
#include "ResultFormC.h"

namespace qorv::math::algexpr::giac::detail {

class GenReaderC {
public:
    /// `names`: our name of each Giac identifier that stands for one of the
    /// input's symbols or unknown functions, by the identifier's name.
    GenReaderC(const std::unordered_map<std::string, std::u16string>& names, std::size_t max_nodes,
               std::size_t max_integer_digits);
    ~GenReaderC();

    /// Reads `value` into `form` (which must be empty).
    void read(const ::giac::gen& value, ResultFormC& form);

private:
    struct FrameS;

    void expand(FrameS& frame);
    static bool signedInfinity(const ::giac::gen& value);
    std::uint32_t infinity(const ::giac::gen& value);
    void classify(const ::giac::gen& value, FrameS& frame, ::giac::vecteur& arguments);
    void applied(FrameS& frame, ::giac::vecteur& arguments);
    void derivative(FrameS& frame, ::giac::vecteur& arguments);
    void finish(const FrameS& frame);
    std::uint32_t leaf(const ::giac::gen& value);
    std::uint32_t integer(const ::giac::gen& value);
    std::u16string identifier(const ::giac::gen& value, bool function) const;
    std::uint32_t flattened(ResultFormC::KindE kind, const std::vector<std::uint32_t>& arguments);
    std::uint32_t negated(std::uint32_t index);
    std::uint32_t add(ResultFormC::KindE kind, std::u16string text, const std::vector<std::uint32_t>& arguments);

    const std::unordered_map<std::string, std::u16string>& names;
    std::size_t max_nodes;
    std::size_t max_integer_digits;
    ResultFormC* form_p = nullptr;
    std::vector<FrameS> frames;
    std::vector<std::uint32_t> values;  // finished items, waiting for their parent
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
