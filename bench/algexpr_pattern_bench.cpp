// SPDX-License-Identifier: MIT
// Benchmarks of pattern matching on the flat corpus of algexpr_bench (~10 MB
// of typical expressions, one per line):
//  - read: every line read into a tree (the yardstick);
//  - patterns/match-every-node: times(wild(a, number), x) matched at every
//    node of every tree, one MatcherC for the run (plus and times are
//    commutative: both orders of a product's two arguments are tried);
//  - patterns/match-all: the same through MatcherC::matchAll, which also
//    collects the places;
//  - patterns/rewrite: a small rule set applied to every tree.
// After the table come the ratios to reading.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchSessionC.h"
#include "FlatCorpusC.h"
#include "RatioReporterC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/MatcherC.h"
#include "algexpr/PatternC.h"
#include "algexpr/RewriterC.h"
#include "algexpr/TreeCursorC.h"
#include "oss/PointerTC.h"

namespace {

using namespace qorv::math::algexpr;
using qorv::math::algexpr::bench::BenchSessionC;
using qorv::math::algexpr::bench::FlatCorpusC;
using qorv::math::algexpr::bench::RatioReporterC;
using qorv::oss::PointerTC;
using Expression = PointerTC<AlgebraicExpressionC>;

constexpr std::size_t kFlatSize = 10'000'000;
constexpr std::uint64_t kSeed = 0x5EED0F1A7F11E5ull;  // algexpr_bench's corpus

struct Data {
    FlatCorpusC corpus{kSeed, kFlatSize};
    std::vector<Expression> trees;
    PatternC pattern;
    std::unique_ptr<RewriterC> rewriter;
    std::string error;
};

const NodeABC* node(const char16_t* text, std::vector<Expression>& keep) {
    keep.push_back(AlgebraicExpressionC::fromPrefixString(text));
    return keep.back() ? keep.back()->getNode() : nullptr;
}

const Data& data() {
    static const std::unique_ptr<Data> made = [] {
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new BenchSessionC));
        auto built = std::make_unique<Data>();
        for (std::u16string_view line : built->corpus.lines) {
            built->trees.push_back(AlgebraicExpressionC::fromPrefixString(std::u16string(line)));
            if (!built->trees.back()) {
                built->error = "a line does not read";
                return built;
            }
        }
        std::vector<Expression> keep;
        if (!built->pattern.compile(node(u"times(wild(a,number),x)", keep), PatternC::SettingsS())) {
            built->error = "the pattern does not compile";
        }
        built->rewriter = std::make_unique<RewriterC>();
        const bool rules = built->rewriter->addRule(node(u"times(1,wild(a))", keep), node(u"wild(a)", keep)) &&
                           built->rewriter->addRule(node(u"plus(0,wilds(r))", keep), node(u"plus(wilds(r))", keep)) &&
                           built->rewriter->addRule(node(u"neg(neg(wild(a)))", keep), node(u"wild(a)", keep));
        if (!rules) {
            built->error = "the rules do not compile";
        }
        return built;
    }();
    return *made;
}

bool usable(benchmark::State& state) {
    if (!data().error.empty()) {
        state.SkipWithError(data().error.c_str());
        return false;
    }
    return true;
}

// Every line read; the trees are freed untimed.
void read(benchmark::State& state) {
    if (!usable(state)) {
        return;
    }
    std::vector<Expression> trees;
    trees.reserve(data().corpus.lines.size());
    for (auto _ : state) {
        for (std::u16string_view line : data().corpus.lines) {
            trees.push_back(AlgebraicExpressionC::fromPrefixString(std::u16string(line)));
        }
        state.PauseTiming();
        trees.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * data().corpus.characters);
}

void matchEveryNode(benchmark::State& state) {
    if (!usable(state)) {
        return;
    }
    MatcherC matcher;
    std::size_t matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const Expression& tree : data().trees) {
            for (TreeCursorC cursor(tree->getNode(), PreOrder); cursor.node() != nullptr; cursor.next()) {
                matches += matcher.match(data().pattern, cursor.node()) == MatchResultE::Matched ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(matches);
    state.SetBytesProcessed(state.iterations() * data().corpus.characters);
}

void matchAll(benchmark::State& state) {
    if (!usable(state)) {
        return;
    }
    MatcherC matcher;
    std::vector<MatcherC::PlaceS> places;
    for (auto _ : state) {
        std::size_t matches = 0;
        for (const Expression& tree : data().trees) {
            matcher.matchAll(data().pattern, tree->getNode(), places);
            matches += places.size();
        }
        benchmark::DoNotOptimize(matches);
    }
    state.SetBytesProcessed(state.iterations() * data().corpus.characters);
}

void rewrite(benchmark::State& state) {
    if (!usable(state)) {
        return;
    }
    for (auto _ : state) {
        std::size_t steps = 0;
        for (const Expression& tree : data().trees) {
            steps += data().rewriter->rewrite(tree->getNode()).steps;
        }
        benchmark::DoNotOptimize(steps);
    }
    state.SetBytesProcessed(state.iterations() * data().corpus.characters);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const std::pair<const char*, void (*)(benchmark::State&)> all[] = {{"read", read},
                                                                        {"patterns/match-every-node", matchEveryNode},
                                                                        {"patterns/match-all", matchAll},
                                                                        {"patterns/rewrite", rewrite}};
    for (const auto& [name, function] : all) {
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    RatioReporterC reporter(isatty(STDOUT_FILENO) != 0 ? RatioReporterC::OO_Defaults : RatioReporterC::OO_Tabular,
                            RatioReporterC::ClockE::Wall,
                            {{"pattern at every node / reading", "patterns/match-every-node", "read"},
                             {"matchAll / reading", "patterns/match-all", "read"},
                             {"rewriting / reading", "patterns/rewrite", "read"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
