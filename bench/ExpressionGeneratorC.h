// SPDX-License-Identifier: MIT
// ExpressionGeneratorC: deterministic texts for the benchmarks.
//
// expression() makes one random expression of the kind a client writes:
// core and other functions of arity 1 to 4, nested a few levels, over core
// and other symbols, integers and floats. The texts are canonical: no
// whitespace, and every number is written the way the benchmark's values
// print it, so a text read and printed again comes back unchanged. The same
// seed gives the same texts on every machine.
//
// deep(n) and wide(n) are the two extreme shapes: n nested applications of
// "f" around "x", and one application of "f" to n arguments.
#ifndef ALGEXPR_BENCH_EXPRESSIONGENERATORC_H
#define ALGEXPR_BENCH_EXPRESSIONGENERATORC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qorv::math::algexpr::bench {

class ExpressionGeneratorC {
public:
    explicit ExpressionGeneratorC(std::uint64_t seed);

    /// Appends one random expression to `out`.
    void appendExpression(std::u16string& out);

    /// Random expressions, one per line ("\n" after each), until the text
    /// holds at least `size` characters.
    std::u16string lines(std::size_t size);

    /// "f(f(...f(x)...))" with n applications of f.
    static std::u16string deep(std::size_t n);
    /// "f(a1,...,an)": n arguments cycling through symbols, core symbols,
    /// integers and floats.
    static std::u16string wide(std::size_t n);

private:
    std::uint64_t next();
    /// Uniform in [0, n), n > 0.
    std::size_t below(std::size_t n);
    /// Appends a leaf, or a function name and "(" and returns its arity.
    std::size_t appendNode(std::u16string& out, std::size_t depth);
    void appendLeaf(std::u16string& out);
    void appendInteger(std::u16string& out);
    void appendFloat(std::u16string& out);

    std::uint64_t state;
    struct Frame {
        std::size_t arity;
        std::size_t written;
        std::size_t depth;
    };
    std::vector<Frame> frames;
};

}  // namespace qorv::math::algexpr::bench

#endif
