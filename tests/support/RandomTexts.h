// SPDX-License-Identifier: MIT
// RandomTexts: random prefix texts over a small vocabulary, the same for the
// same seed on every machine, written canonically (no blanks) so that a text
// read and printed comes back unchanged. A subclass may make its own leaves.
#ifndef ALGEXPR_TESTS_SUPPORT_RANDOMTEXTS_H
#define ALGEXPR_TESTS_SUPPORT_RANDOMTEXTS_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testing_doubles {

class RandomTexts {
public:
    /// Texts of at most `depth` levels of functions of 1 to `arity`
    /// arguments, over `leaves` and `functions`.
    RandomTexts(std::uint64_t seed, std::vector<std::u16string> leaves, std::vector<std::u16string> functions,
                int depth, std::uint64_t arity)
        : state(seed), leaves(std::move(leaves)), functions(std::move(functions)), depth(depth), arity(arity) {}
    virtual ~RandomTexts() = default;

    std::u16string next() {
        std::u16string out;
        append(out, 0);
        return out;
    }

    /// Uniform in [0, n), n > 0 (a 64-bit linear congruential generator).
    std::uint64_t draw(std::uint64_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % n;
    }

protected:
    virtual void appendLeaf(std::u16string& out) { out += leaves[draw(leaves.size())]; }

private:
    void append(std::u16string& out, int level) {
        if (level >= depth || draw(3) == 0) {
            appendLeaf(out);
            return;
        }
        out += functions[draw(functions.size())];
        out += u'(';
        const std::uint64_t count = 1 + draw(arity);
        for (std::uint64_t i = 0; i < count; ++i) {
            out += i > 0 ? u"," : u"";
            append(out, level + 1);
        }
        out += u')';
    }

    std::uint64_t state;
    std::vector<std::u16string> leaves;
    std::vector<std::u16string> functions;
    int depth;
    std::uint64_t arity;
};

}  // namespace testing_doubles

#endif
