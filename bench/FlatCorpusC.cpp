// SPDX-License-Identifier: MIT
#include "FlatCorpusC.h"

#include "ExpressionGeneratorC.h"

namespace qorv::math::algexpr::bench {

FlatCorpusC::FlatCorpusC(std::uint64_t seed, std::size_t size) {
    ExpressionGeneratorC generator(seed);
    text = generator.lines(size);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(u'\n', start);
        lines.emplace_back(text.data() + start, end - start);
        characters += static_cast<std::int64_t>(end - start);
        start = end + 1;
    }
}

}  // namespace qorv::math::algexpr::bench
