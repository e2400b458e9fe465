// SPDX-License-Identifier: MIT
// Benchmarks of one session shared by threads and of the tree algebra, on the
// flat corpus of algexpr_bench (~10 MB of typical expressions, one per line):
//  - read/one-thread: one thread reads every line; read/two-threads: two
//    threads read one half each, under the one session; read/reference: the
//    minimal reference reader (a yardstick that does not change with the
//    library, for comparing builds);
//  - algebra/walk, algebra/equal, algebra/hash: every tree walked, compared
//    with a copy of itself, hashed; algebra/match-every-node: every node of
//    every tree compared with a small pattern, as a matcher does.
// Times are wall-clock (the reading runs on threads made for it, each
// freeing its own trees after its time is taken); the reading also counts
// the processor time of its busiest thread, which a machine busy with other
// work does not distort. After the table come the ratios: two
// threads against one, and each tree operation against reading the corpus.
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchSessionC.h"
#include "FlatCorpusC.h"
#include "RatioReporterC.h"
#include "ReferenceReaderC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/TreeCursorC.h"
#include "algexpr/TreeOrder.h"
#include "oss/PointerTC.h"

namespace {

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::NodeABC;
using qorv::math::algexpr::TreeCursorC;
using qorv::math::algexpr::bench::BenchSessionC;
using qorv::math::algexpr::bench::FlatCorpusC;
using qorv::math::algexpr::bench::RatioReporterC;
using qorv::math::algexpr::bench::ReferenceReaderC;
using qorv::oss::PointerTC;
using Expression = PointerTC<AlgebraicExpressionC>;

constexpr std::size_t kFlatSize = 10'000'000;
constexpr std::uint64_t kSeed = 0x5EED0F1A7F11E5ull;  // algexpr_bench's corpus

struct Data {
    FlatCorpusC corpus{kSeed, kFlatSize};
    std::vector<Expression> trees;   // of the lines
    std::vector<Expression> copies;  // of the trees
    Expression pattern;
    std::string error;
};

const Data& data() {
    static const std::unique_ptr<Data> made = [] {
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new BenchSessionC));
        auto built = std::make_unique<Data>();
        for (std::u16string_view line : built->corpus.lines) {
            built->trees.push_back(AlgebraicExpressionC::fromPrefixString(std::u16string(line)));
            built->copies.push_back(built->trees.back() ? built->trees.back()->clone() : Expression());
            if (!built->copies.back()) {
                built->error = "a line does not read";
                break;
            }
        }
        built->pattern = AlgebraicExpressionC::fromPrefixString(u"times(2,x)");
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

void readLines(std::size_t first, std::size_t last, std::vector<Expression>& into) {
    const std::vector<std::u16string_view>& lines = data().corpus.lines;
    for (std::size_t i = first; i < last; ++i) {
        into.push_back(AlgebraicExpressionC::fromPrefixString(std::u16string(lines[i])));
    }
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Reads the corpus on `threads` threads made for the iteration, each its
// share of the lines into trees of its own, which it frees once its time is
// taken, as a program whose threads each read and drop their own trees
// does. The iteration's time runs from the moment all threads are ready to
// the moment the last one has read its share. The counter
// busiest_thread_cpu is the processor time of the busiest thread: what the
// wall-clock time would be on idle processors, one per thread, and what a
// machine shared with other work still measures fairly.
void readOnThreads(benchmark::State& state, std::size_t threads) {
    if (!usable(state)) {
        return;
    }
    using Clock = std::chrono::steady_clock;
    const std::size_t lines = data().corpus.lines.size();
    {
        std::vector<Expression> warm;  // one untimed pass: the heap grown
        readLines(0, lines, warm);
    }
    double busiest = 0;
    for (auto _ : state) {
        std::atomic<std::size_t> ready{0};
        std::atomic<bool> go{false};
        std::vector<double> cpu(threads, 0.0);
        std::vector<Clock::time_point> done(threads);
        std::vector<std::thread> readers;
        for (std::size_t t = 0; t < threads; ++t) {
            readers.emplace_back([&, t] {
                std::vector<Expression> trees;
                trees.reserve(lines / threads + 1);
                ready.fetch_add(1);
                while (!go.load(std::memory_order_acquire)) {
                }
                const double start = threadSeconds();
                readLines(lines * t / threads, lines * (t + 1) / threads, trees);
                done[t] = Clock::now();
                cpu[t] = threadSeconds() - start;
            });
        }
        while (ready.load() != threads) {
        }
        const Clock::time_point start = Clock::now();
        go.store(true, std::memory_order_release);
        for (std::thread& reader : readers) {
            reader.join();
        }
        state.SetIterationTime(std::chrono::duration<double>(*std::max_element(done.begin(), done.end()) - start).count());
        busiest += *std::max_element(cpu.begin(), cpu.end());
    }
    state.SetBytesProcessed(state.iterations() * data().corpus.characters);
    state.counters["busiest_thread_cpu"] = benchmark::Counter(busiest, benchmark::Counter::kAvgIterations);
}

void readOneThread(benchmark::State& state) { readOnThreads(state, 1); }
void readTwoThreads(benchmark::State& state) { readOnThreads(state, 2); }

void readReference(benchmark::State& state) {
    if (!usable(state)) {
        return;
    }
    static ReferenceReaderC reader(*CASSessionBC::getSession(), BenchSessionC::coreElementNames());
    std::vector<std::unique_ptr<NodeABC>> trees;
    trees.reserve(data().corpus.lines.size());
    for (auto _ : state) {
        for (std::u16string_view line : data().corpus.lines) {
            trees.emplace_back(reader.read(line));
        }
        state.PauseTiming();
        trees.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * data().corpus.characters);
}

// Runs `each(tree, copy)` over the corpus in every iteration.
template <class Each>
void overTrees(benchmark::State& state, Each each) {
    if (!usable(state)) {
        return;
    }
    const Data& corpus = data();
    for (auto _ : state) {
        std::size_t sum = 0;
        for (std::size_t i = 0; i < corpus.trees.size(); ++i) {
            sum += each(corpus.trees[i]->getNode(), corpus.copies[i]->getNode());
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * corpus.corpus.characters);
}

void walk(benchmark::State& state) {
    overTrees(state, [](const NodeABC* tree, const NodeABC*) {
        std::size_t nodes = 0;
        for (TreeCursorC cursor(tree, qorv::math::algexpr::PreOrder); cursor.node() != nullptr; cursor.next()) {
            ++nodes;
        }
        return nodes;
    });
}

void equal(benchmark::State& state) {
    overTrees(state, [](const NodeABC* tree, const NodeABC* copy) {
        return static_cast<std::size_t>(qorv::math::algexpr::equalTrees(tree, copy));
    });
}

void hash(benchmark::State& state) {
    overTrees(state, [](const NodeABC* tree, const NodeABC*) { return qorv::math::algexpr::hashTree(tree); });
}

void matchEveryNode(benchmark::State& state) {
    const NodeABC* pattern = data().pattern ? data().pattern->getNode() : nullptr;
    overTrees(state, [pattern](const NodeABC* tree, const NodeABC*) {
        std::size_t matches = 0;
        for (TreeCursorC cursor(tree, qorv::math::algexpr::PreOrder); cursor.node() != nullptr; cursor.next()) {
            matches += qorv::math::algexpr::equalTrees(cursor.node(), pattern) ? 1 : 0;
        }
        return matches;
    });
}

void registerBenchmarks() {
    const std::pair<const char*, void (*)(benchmark::State&)> all[] = {
        {"read/one-thread", readOneThread}, {"read/two-threads", readTwoThreads}, {"read/reference", readReference},
        {"algebra/walk", walk},             {"algebra/equal", equal},             {"algebra/hash", hash},
        {"algebra/match-every-node", matchEveryNode}};
    for (const auto& [name, function] : all) {
        benchmark::internal::Benchmark* made = benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond);
        if (function == readOneThread || function == readTwoThreads) {
            made->UseManualTime();
        } else {
            made->UseRealTime();
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    registerBenchmarks();
    RatioReporterC reporter(isatty(STDOUT_FILENO) != 0 ? RatioReporterC::OO_Defaults : RatioReporterC::OO_Tabular,
                            RatioReporterC::ClockE::Wall,
                            {{"two threads / one thread, reading", "read/two-threads", "read/one-thread"},
                             {"the same by the busiest thread's processor time", "read/two-threads@busiest",
                              "read/one-thread@busiest"},
                             {"one thread / reference reader, reading", "read/one-thread", "read/reference"},
                             {"walk / reading", "algebra/walk", "read/one-thread"},
                             {"equality with a copy / reading", "algebra/equal", "read/one-thread"},
                             {"hash / reading", "algebra/hash", "read/one-thread"},
                             {"pattern at every node / reading", "algebra/match-every-node", "read/one-thread"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
