// SPDX-License-Identifier: MIT
// Benchmarks of the prefix notation and of the tree services:
//  - flat/...: reading and printing ~10 MB of typical random expressions, one
//    per line, by the library and by the minimal reference reader and printer;
//  - deep/... and wide/...: reading, printing, cloning, substituting and
//    destroying "f(f(...(x)...))" and "f(a1,...,an)" for n from 1e5 to 2e6.
// After the table come the growth ratios t(2n)/t(n) and t(10n)/t(n) and the
// library / reference ratios (see RatioReporterC).
//
// Every text is checked once before it is timed: it must read, and the tree
// must print back to the very text, by the library and by the reference.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "BenchSessionC.h"
#include "ExpressionGeneratorC.h"
#include "FlatCorpusC.h"
#include "RatioReporterC.h"
#include "ReferencePrinterC.h"
#include "ReferenceReaderC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/PrefixPrintVisitorC.h"
#include "algexpr/SubstVisitorC.h"
#include "oss/PointerTC.h"

namespace {

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::NodeABC;
using qorv::math::algexpr::PrefixPrintVisitorC;
using qorv::math::algexpr::SubstVisitorC;
using qorv::math::algexpr::bench::BenchSessionC;
using qorv::math::algexpr::bench::ExpressionGeneratorC;
using qorv::math::algexpr::bench::FlatCorpusC;
using qorv::math::algexpr::bench::RatioReporterC;
using qorv::math::algexpr::bench::ReferencePrinterC;
using qorv::math::algexpr::bench::ReferenceReaderC;
using qorv::oss::PointerTC;
using Expression = PointerTC<AlgebraicExpressionC>;

constexpr std::size_t kFlatSize = 10'000'000;  // characters (= bytes of the ASCII file)
constexpr std::uint64_t kSeed = 0x5EED0F1A7F11E5ull;
constexpr qorv::math::NumberDisplayFormatE kFormat = qorv::math::Standard;

const std::int64_t kDeepSizes[] = {100'000, 200'000, 1'000'000, 2'000'000};
const std::int64_t kWideSizes[] = {100'000, 200'000, 500'000, 1'000'000, 2'000'000};

CASSessionBC& session() {
    static const bool installed = [] {
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new BenchSessionC));
        return true;
    }();
    (void)installed;
    return *CASSessionBC::getSession();
}

// One reader and one printer for the whole run, as the library has one
// session: names interned once stay interned.
ReferenceReaderC& referenceReader() {
    static ReferenceReaderC reader(session(), BenchSessionC::coreElementNames());
    return reader;
}

ReferencePrinterC& referencePrinter() {
    static ReferencePrinterC printer(BenchSessionC::coreElementNames());
    return printer;
}

// Reads `text` with both readers and prints each tree with both printers;
// empty when all four texts equal `text`, else what went wrong.
std::string check(std::u16string_view text, Expression& read) {
    read = AlgebraicExpressionC::fromPrefixString(std::u16string(text));
    std::unique_ptr<NodeABC> reference(referenceReader().read(text));
    if (!read || !reference) {
        return read ? "the reference reader fails" : "the library reader fails";
    }
    PrefixPrintVisitorC printer;
    if (read->toPrefixString(0, kFormat) != text || printer.getExpressionString(reference.get(), 0, kFormat) != text) {
        return "the library printer does not give the text back";
    }
    if (referencePrinter().print(read->getNode(), 0, kFormat) != text ||
        referencePrinter().print(reference.get(), 0, kFormat) != text) {
        return "the reference printer does not give the text back";
    }
    return std::string();
}

// The ~10 MB of random expressions, one per line, and their trees.
struct Flat {
    FlatCorpusC corpus{kSeed, kFlatSize};
    const std::vector<std::u16string_view>& lines = corpus.lines;
    const std::int64_t& characters = corpus.characters;
    std::vector<Expression> trees;
    std::string error;
};

const Flat& flat() {
    static const std::unique_ptr<Flat> data = [] {
        session();
        auto flat = std::make_unique<Flat>();
        flat->trees.resize(flat->lines.size());
        for (std::size_t i = 0; i < flat->lines.size() && flat->error.empty(); ++i) {
            flat->error = check(flat->lines[i], flat->trees[i]);
            if (!flat->error.empty()) {
                flat->error += " on line " + std::to_string(i + 1);
            }
        }
        return flat;
    }();
    return *data;
}

enum class ShapeKind { Deep, Wide };

// One deep or wide text and its tree; `replacement` is what x is replaced
// with in the substitution benchmarks.
struct Shape {
    std::u16string text;
    Expression tree;
    Expression replacement;
    std::int64_t nodes = 0;
    std::string error;
};

const Shape& shape(ShapeKind kind, std::int64_t n) {
    static std::map<std::pair<ShapeKind, std::int64_t>, std::unique_ptr<Shape>> shapes;
    std::unique_ptr<Shape>& entry = shapes[{kind, n}];
    if (!entry) {
        session();
        entry = std::make_unique<Shape>();
        const auto size = static_cast<std::size_t>(n);
        entry->text = kind == ShapeKind::Deep ? ExpressionGeneratorC::deep(size) : ExpressionGeneratorC::wide(size);
        entry->nodes = n + 1;
        entry->error = check(entry->text, entry->tree);
        entry->replacement = AlgebraicExpressionC::fromPrefixString(u"g(y,2)");
    }
    return *entry;
}

bool usable(benchmark::State& state, const std::string& error) {
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return false;
    }
    return true;
}

// flat/...

void flatReadLibrary(benchmark::State& state) {
    const Flat& data = flat();
    if (!usable(state, data.error)) {
        return;
    }
    std::vector<Expression> trees;
    trees.reserve(data.lines.size());
    // One untimed pass first, so that the timed ones find the heap grown
    // whichever benchmark ran before.
    for (std::u16string_view line : data.lines) {
        trees.push_back(AlgebraicExpressionC::fromPrefixString(std::u16string(line)));
    }
    trees.clear();
    for (auto _ : state) {
        for (std::u16string_view line : data.lines) {
            trees.push_back(AlgebraicExpressionC::fromPrefixString(std::u16string(line)));
        }
        state.PauseTiming();
        trees.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void flatReadReference(benchmark::State& state) {
    const Flat& data = flat();
    if (!usable(state, data.error)) {
        return;
    }
    ReferenceReaderC& reader = referenceReader();
    std::vector<std::unique_ptr<NodeABC>> trees;
    trees.reserve(data.lines.size());
    for (std::u16string_view line : data.lines) {  // untimed, as for the library
        trees.emplace_back(reader.read(line));
    }
    trees.clear();
    for (auto _ : state) {
        for (std::u16string_view line : data.lines) {
            trees.emplace_back(reader.read(line));
        }
        state.PauseTiming();
        trees.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void flatPrintLibrary(benchmark::State& state) {
    const Flat& data = flat();
    if (!usable(state, data.error)) {
        return;
    }
    for (auto _ : state) {
        std::size_t total = 0;
        for (const Expression& tree : data.trees) {
            total += tree->toPrefixString(0, kFormat).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void flatPrintReference(benchmark::State& state) {
    const Flat& data = flat();
    if (!usable(state, data.error)) {
        return;
    }
    ReferencePrinterC& printer = referencePrinter();
    for (auto _ : state) {
        std::size_t total = 0;
        for (const Expression& tree : data.trees) {
            total += printer.print(tree->getNode(), 0, kFormat).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

// deep/... and wide/...

void readLibrary(benchmark::State& state, ShapeKind kind) {
    const Shape& data = shape(kind, state.range(0));
    if (!usable(state, data.error)) {
        return;
    }
    for (auto _ : state) {
        Expression tree = AlgebraicExpressionC::fromPrefixString(data.text);
        state.PauseTiming();
        tree = Expression();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.text.size()));
}

void readReference(benchmark::State& state, ShapeKind kind) {
    const Shape& data = shape(kind, state.range(0));
    if (!usable(state, data.error)) {
        return;
    }
    ReferenceReaderC& reader = referenceReader();
    for (auto _ : state) {
        std::unique_ptr<NodeABC> tree(reader.read(data.text));
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.text.size()));
}

void printLibrary(benchmark::State& state, ShapeKind kind) {
    const Shape& data = shape(kind, state.range(0));
    if (!usable(state, data.error)) {
        return;
    }
    for (auto _ : state) {
        std::u16string text = data.tree->toPrefixString(0, kFormat);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.text.size()));
}

void printReference(benchmark::State& state, ShapeKind kind) {
    const Shape& data = shape(kind, state.range(0));
    if (!usable(state, data.error)) {
        return;
    }
    ReferencePrinterC& printer = referencePrinter();
    for (auto _ : state) {
        std::u16string text = printer.print(data.tree->getNode(), 0, kFormat);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.text.size()));
}

void cloneTree(benchmark::State& state, ShapeKind kind) {
    const Shape& data = shape(kind, state.range(0));
    if (!usable(state, data.error)) {
        return;
    }
    for (auto _ : state) {
        std::unique_ptr<NodeABC> copy(data.tree->getNode()->clone());
        state.PauseTiming();
        if (!copy) {
            state.SkipWithError("clone failed");
        }
        copy.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * data.nodes);
}

void substTree(benchmark::State& state, ShapeKind kind) {
    const Shape& data = shape(kind, state.range(0));
    if (!usable(state, data.error)) {
        return;
    }
    SubstVisitorC subst;
    for (auto _ : state) {
        std::unique_ptr<NodeABC> copy(subst.subst(data.tree->getNode(), u"x", data.replacement->getNode()));
        state.PauseTiming();
        if (!copy) {
            state.SkipWithError("substitution failed");
        }
        copy.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * data.nodes);
}

void destroyTree(benchmark::State& state, ShapeKind kind) {
    const Shape& data = shape(kind, state.range(0));
    if (!usable(state, data.error)) {
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<NodeABC> copy(data.tree->getNode()->clone());
        if (!copy) {
            state.SkipWithError("clone failed");
        }
        state.ResumeTiming();
        copy.reset();
    }
    state.SetItemsProcessed(state.iterations() * data.nodes);
}

template <class Sizes>
void registerShape(const char* name, void (*function)(benchmark::State&, ShapeKind), ShapeKind kind,
                   const Sizes& sizes) {
    benchmark::internal::Benchmark* benchmark = benchmark::RegisterBenchmark(name, function, kind);
    for (std::int64_t n : sizes) {
        benchmark->Arg(n);
    }
    benchmark->Unit(benchmark::kMillisecond);
}

void registerFlat(const char* name, void (*function)(benchmark::State&)) {
    benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond);
}

void registerBenchmarks() {
    registerFlat("flat/read/library", flatReadLibrary);
    registerFlat("flat/read/reference", flatReadReference);
    registerFlat("flat/print/library", flatPrintLibrary);
    registerFlat("flat/print/reference", flatPrintReference);
    struct Kind {
        const char* prefix;
        ShapeKind kind;
        const std::int64_t* first;
        const std::int64_t* last;
    };
    const Kind kinds[] = {{"deep", ShapeKind::Deep, std::begin(kDeepSizes), std::end(kDeepSizes)},
                          {"wide", ShapeKind::Wide, std::begin(kWideSizes), std::end(kWideSizes)}};
    for (const Kind& k : kinds) {
        const std::vector<std::int64_t> sizes(k.first, k.last);
        const std::string prefix = k.prefix;
        registerShape((prefix + "/read/library").c_str(), readLibrary, k.kind, sizes);
        registerShape((prefix + "/read/reference").c_str(), readReference, k.kind, sizes);
        registerShape((prefix + "/print/library").c_str(), printLibrary, k.kind, sizes);
        registerShape((prefix + "/print/reference").c_str(), printReference, k.kind, sizes);
        registerShape((prefix + "/clone").c_str(), cloneTree, k.kind, sizes);
        registerShape((prefix + "/subst").c_str(), substTree, k.kind, sizes);
        registerShape((prefix + "/destroy").c_str(), destroyTree, k.kind, sizes);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    registerBenchmarks();
    RatioReporterC reporter(isatty(STDOUT_FILENO) != 0 ? RatioReporterC::OO_Defaults : RatioReporterC::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
