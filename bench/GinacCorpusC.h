// SPDX-License-Identifier: MIT
// GinacCorpusC: deterministic random expressions that both the GiNaC client
// and GiNaC's own parser take, each in the prefix form and in GiNaC's infix
// syntax: sums, differences, products, quotients, small powers, negations,
// the elementary functions, unknown functions of fixed arity (f/1, g/2,
// h/3), symbols, integers (a few of them long), floats, pi and e. No
// operation names (diff, expand, ...). The same seed gives the same texts.
// The flat kind keeps to sums, differences, products, negations, squares and
// cubes and sin, cos, exp and log of symbols and integers below 10: no
// radicals or long numbers for the written forms to reduce, no floats.
#ifndef ALGEXPR_BENCH_GINACCORPUSC_H
#define ALGEXPR_BENCH_GINACCORPUSC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qorv::math::algexpr::bench {

class GinacCorpusC {
public:
    enum class KindE { Mixed, Flat };

    explicit GinacCorpusC(std::uint64_t seed, KindE kind = KindE::Mixed);

    /// Appends one expression to each text.
    void append(std::string& prefix, std::string& infix);
    /// Lines until the prefix lines hold at least `size` characters.
    void lines(std::size_t size, std::vector<std::string>& prefix, std::vector<std::string>& infix);

    /// Google Benchmark's start for the corpus benchmarks: takes `--size=N`
    /// (characters of prefix text) out of the arguments into `size`, then
    /// initialises; false when an argument is unknown.
    static bool startBenchmarks(int& argc, char** argv, std::size_t& size);

private:
    std::size_t below(std::size_t n);
    void node(std::string& prefix, std::string& infix, int depth);
    void leaf(std::string& prefix, std::string& infix);

    std::uint64_t state;
    KindE kind;
};

}  // namespace qorv::math::algexpr::bench

#endif
