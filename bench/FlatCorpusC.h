// SPDX-License-Identifier: MIT
// FlatCorpusC: the benchmarks' ~10 MB of random expressions of the usual kind
// (ExpressionGeneratorC), one per line, with the lines cut out of the text.
#ifndef ALGEXPR_BENCH_FLATCORPUSC_H
#define ALGEXPR_BENCH_FLATCORPUSC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::math::algexpr::bench {

class FlatCorpusC {
public:
    /// About `size` characters of lines made from `seed`.
    FlatCorpusC(std::uint64_t seed, std::size_t size);

    std::u16string text;
    std::vector<std::u16string_view> lines;  // into `text`, without their line ends
    std::int64_t characters = 0;            // of the lines
};

}  // namespace qorv::math::algexpr::bench

#endif
