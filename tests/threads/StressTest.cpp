// SPDX-License-Identifier: MIT
// Four threads share the one session for a few seconds (ALGEXPR_STRESS_SECONDS,
// 2 by default): each reads random texts over shared names and names of its
// own, prints them back, substitutes, compares and hashes, walks and builds
// trees, and now and then flushes the symbols. Every result is checked; under
// ThreadSanitizer (the tsan preset) every access is checked too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ThreadsFixture.h"
#include "support/RandomTexts.h"

namespace threads_tests {
namespace {

double stressSeconds() {
    const char* set = std::getenv("ALGEXPR_STRESS_SECONDS");
    const double seconds = set != nullptr ? std::atof(set) : 0;
    return seconds > 0 ? seconds : 2;
}

// Random texts over shared names, and now and then a name of the thread's
// own, often new.
class Texts : public testing_doubles::RandomTexts {
public:
    Texts(int thread, std::uint64_t seed)
        : RandomTexts(seed, {u"x", u"y", u"alpha", u"pi", u"e", u"3", u"-12", u"0.25"},
                      {u"plus", u"times", u"sin", u"f", u"g"}, 4, 3),
          thread(thread) {}

protected:
    void appendLeaf(std::u16string& out) override {
        if (draw(4) == 0) {
            out += u"t" + number(thread) + u"_" + number(static_cast<long>(draw(5000)));
        } else {
            RandomTexts::appendLeaf(out);
        }
    }

private:
    int thread;
};

// One round of every operation on one text; the number of wrong answers.
int round(const std::u16string& text, PointerTC<AlgebraicExpressionC>& previous) {
    int wrong = 0;
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(text);
    if (!e) {
        return 1;
    }
    wrong += e->toPrefixString(0, qorv::math::Standard) == text ? 0 : 1;
    PointerTC<AlgebraicExpressionC> copy = e->clone();
    wrong += copy->equals(*e) && copy->hash() == e->hash() && copy->compare(*e) == 0 ? 0 : 1;
    SubstVisitorC visitor;
    std::unique_ptr<NodeABC> replaced(visitor.subst(e->getNode(), u"y", copy->getNode()));
    wrong += replaced && hasSymbol(replaced.get(), u"y") == hasSymbol(e->getNode(), u"y") ? 0 : 1;
    if (previous) {
        const bool same = previous->toPrefixString(0, qorv::math::Standard) == text;
        wrong += previous->equals(*e) == same ? 0 : 1;
        SubstitutionC swap;
        swap.add(u"x", previous->getNode());
        PointerTC<AlgebraicExpressionC> swapped = e->substitute(swap);
        wrong += swapped && (hasSymbol(e->getNode(), u"x") || swapped->equals(*e)) ? 0 : 1;
    }
    std::size_t nodes = 0;
    for (const NodeABC* node : postOrder(static_cast<const NodeABC*>(e->getNode()))) {
        nodes += node != nullptr ? 1 : 0;
    }
    wrong += nodes == treeSize(e->getNode()) ? 0 : 1;
    ExprC built = pow(ExprC(*e), 2) + sym(u"x");
    wrong += built && hasSubtree(built.node(), e->getNode()) ? 0 : 1;
    previous = e;
    return wrong;
}

TEST(StressTest, FourThreadsShareTheSession) {
    session();
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(stressSeconds());
    std::atomic<int> wrong{0};
    std::atomic<long> rounds{0};
    runTogether(4, [&](int t) {
        Texts texts(t, 1000 + static_cast<std::uint64_t>(t));
        PointerTC<AlgebraicExpressionC> previous;
        for (long i = 0; std::chrono::steady_clock::now() < until; ++i) {
            wrong += round(texts.next(), previous);
            if (i % 64 == static_cast<long>(t) * 16) {
                session().flushUnusedSymbols();
            }
            ++rounds;
        }
    });
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_GT(rounds.load(), 100);
    std::printf("%ld rounds on 4 threads\n", rounds.load());
}

}  // namespace
}  // namespace threads_tests
