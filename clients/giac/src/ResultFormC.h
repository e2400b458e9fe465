// SPDX-License-Identifier: MIT
// ResultFormC: a result in a form that belongs to no engine: sums, products,
// powers, exact integers of any size, rationals, complex numbers, floats,
// symbols, constants and functions by name, lists and equations. The engine
// reads its results into this form (GenReaderC) and FormWriterC writes it as
// an expression tree. Items are stored flat, each after its arguments
// (post-order), so that no walk over a form needs recursion.
//
//   ResultFormC form;
//   std::uint32_t x = form.add(KindE::Symbol, u"x");
//   std::uint32_t two = form.add(KindE::Integer, u"2");
//   form.add(KindE::Power, u"", {x, two});   // x^2, the root: the last item
#ifndef ALGEXPR_GIAC_SRC_RESULTFORMC_H
#define ALGEXPR_GIAC_SRC_RESULTFORMC_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace qorv::math::algexpr::giac::detail {

class ResultFormC {
public:
    enum class KindE : unsigned char {
        Integer,   // text: decimal digits with "-" when negative
        Rational,  // arguments: numerator and denominator, integers, denominator > 1
        Float,     // value
        Complex,   // arguments: real and imaginary parts, numbers; imaginary part not 0
        Constant,  // text: pi, e, i or infinity
        Symbol,    // text: the name 
        Function,  // text: a vocabulary name (sin, log, pdiff, order, ...); arguments
        Call,      // text: the name of an unknown function ; arguments
        Power,     // arguments: base and exponent
        Product,   // arguments: the factors
        Sum,       // arguments: the terms
        List,      // arguments: the elements
        Equal,     // arguments: the two sides
    };

    struct ItemS {
        KindE kind;
        std::u16string text;
        double value = 0.0;
        std::uint32_t first = 0;  // its arguments: arguments()[first .. first + count)
        std::uint32_t count = 0;
    };

    /// Appends an item whose arguments were added before it; its index.
    std::uint32_t add(KindE kind, std::u16string text, const std::vector<std::uint32_t>& arguments = {});
    std::uint32_t addFloat(double value);

    std::size_t size() const { return item_list.size(); }
    const ItemS& item(std::uint32_t index) const { return item_list[index]; }
    /// The index of the `k`-th argument of an item.
    std::uint32_t argument(const ItemS& item, std::uint32_t k) const { return links[item.first + k]; }
    /// The root: the last item added.
    std::uint32_t root() const { return static_cast<std::uint32_t>(item_list.size() - 1); }

    static bool isNumber(KindE kind) {
        return kind == KindE::Integer || kind == KindE::Rational || kind == KindE::Float || kind == KindE::Complex;
    }

private:
    std::vector<ItemS> item_list;
    std::vector<std::uint32_t> links;
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
