// SPDX-License-Identifier: MIT
// The polynomial route (clients/poly) against plain FLINT doing the same
// operation on the same polynomials, and against the GiNaC path it replaces
// where GiNaC finishes in reasonable time. For each case:
//   Flint/<case>   FLINT alone: the products and powers, or the operation
//                  on polynomials already in FLINT's form;
//   Route/<case>   PolyEngineC on the result graph: conversion in, FLINT,
//                  conversion out (read_s: the reading alone, conversion in
//                  with the FLINT work of what it reads);
//   Engine/<case>  the GiNaC client in process: the tree evaluated, the
//                  route taken at the root, the result shaped into a tree;
//   Ginac/<case>   GiNaC's own expand, factor, gcd or normal on GiNaC's
//                  expressions (only where it finishes within seconds);
//   Tool/<case>    the whole algexpr tool as a process, output to /dev/null.
// Result sizes (terms, factors) are printed beside the times.
//
//   algexpr_poly_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <flint/fmpq_mpoly.h>
#include <flint/fmpz_mpoly.h>
#include <flint/fmpz_mpoly_factor.h>
#include <ginac/ginac.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FlintPolyC.h"
#include "PolyEngineC.h"
#include "PolyReaderC.h"
#include "PolyRingC.h"
#include "PolyWriterC.h"
#include "ResultGraphC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/ginac.h"
#include "oss/PointerTC.h"

namespace {

using namespace qorv::math::algexpr;
using poly::PolyEngineC;
using support::IdT;
using support::ResultGraphC;
using Clock = std::chrono::steady_clock;
using qorv::oss::PointerTC;

CASSessionBC& session() {
    static CASSessionBC* installed = [] {
        auto* made = new ginac::GinacSessionC();
        CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(made));
        return made;
    }();
    return *installed;
}

// ---- inputs as prefix text --------------------------------------------

std::string powerText(const std::string& base, int k) { return "power(" + base + "," + std::to_string(k) + ")"; }

const std::string kS4 = "plus(x,y,z,w)";
std::string fatemanText(int n) {
    const std::string f = powerText("plus(1,x,y,z,t)", n);
    return "times(" + f + ",plus(" + f + ",1))";
}
const std::string kExpand2 = "times(plus(" + powerText(kS4, 15) + ",w)," + powerText(kS4, 15) + ")";
const std::string kProduct512 = "times(" + powerText("plus(x,y,z,1)", 8) + "," + powerText("plus(minus(x,y),2)", 5) + ")";
const std::string kGcdA = "times(" + powerText("plus(x,1)", 200) + "," + powerText("minus(x,1)", 100) + ")";
const std::string kGcdB = "times(" + powerText("plus(x,1)", 100) + "," + powerText("minus(x,2)", 50) + ")";
// (x+y+z)^6 (x-y+1)^3 / ((x+y+z)^4 (x+z+2)^2): cancels to a quotient of 28 and 6 terms.
const std::string kRationalN = "times(" + powerText("plus(x,y,z)", 6) + "," + powerText("plus(minus(x,y),1)", 3) + ")";
const std::string kRationalD = "times(" + powerText("plus(x,y,z)", 4) + "," + powerText("plus(x,z,2)", 2) + ")";

// ---- the engine in process ----------------------------------------------

// The expression's value as prefix text (empty with the reason on stderr).
std::string evaluate(const std::string& text) {
    session();
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(std::u16string(text.begin(), text.end()));
    std::u16string reason;
    PointerTC<AlgebraicExpressionC> result = e ? e->execute(false, &reason) : PointerTC<AlgebraicExpressionC>();
    if (!result) {
        std::fprintf(stderr, "%s: %s\n", text.substr(0, 60).c_str(), std::string(reason.begin(), reason.end()).c_str());
        return "";
    }
    const std::u16string out = result->toPrefixString(0, qorv::math::Standard);
    return std::string(out.begin(), out.end());
}

// Expanded inputs (factor, gcd and simplify take them expanded, as a user
// gives them; their expansion is not timed).
const std::string& expanded(const std::string& text) {
    static std::vector<std::pair<std::string, std::string>> made;
    for (const auto& known : made) {
        if (known.first == text) {
            return known.second;
        }
    }
    made.emplace_back(text, evaluate("expand(" + text + ")"));
    return made.back().second;
}

std::size_t topLevelArguments(const std::string& text) {
    std::size_t count = 1;
    int depth = 0;
    for (char c : text) {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        count += depth == 1 && c == ',' ? 1 : 0;
    }
    return count;
}

void engine(benchmark::State& state, const std::string& text) {
    std::string result;
    for (auto _ : state) {
        result = evaluate(text);
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["result_parts"] = static_cast<double>(topLevelArguments(result));
}

// ---- the route on the graph --------------------------------------------

// The evaluated arguments as the GiNaC client hands them to the route: the
// engine evaluates `text`'s arguments; here the graph is built from them by
// a route of its own: each argument read back from its expanded FLINT form
// or built from the power structure, as in the engine.
struct RouteCaseS {
    PolyEngineC::OperationE operation;
    std::vector<std::function<IdT(ResultGraphC&, const std::vector<IdT>&)>> arguments;
};

IdT node(ResultGraphC& graph, ResultGraphC::KindE kind, std::vector<IdT> parts) {
    return kind == ResultGraphC::KindE::Sum ? graph.sum(parts.data(), parts.size())
                                            : graph.product(support::kNoId, parts.data(), parts.size());
}
IdT integer(ResultGraphC& graph, long n) { return graph.number(support::NumberS::integer(n < 0, std::to_string(n < 0 ? -n : n))); }
IdT powerOf(ResultGraphC& graph, IdT base, long k) { return graph.power(base, integer(graph, k)); }
IdT linear(ResultGraphC& graph, const std::vector<std::pair<IdT, long>>& terms, long constant) {
    std::vector<IdT> parts;
    for (const auto& [g, c] : terms) {
        const IdT coefficient = integer(graph, c);
        parts.push_back(c == 1 ? g : graph.product(coefficient, &g, 1));
    }
    if (constant != 0) {
        parts.push_back(integer(graph, constant));
    }
    return graph.sum(parts.data(), parts.size());
}

// Symbols x, y, z, w, t in a fresh graph.
std::vector<IdT> symbolsIn(ResultGraphC& graph) {
    std::vector<IdT> ids;
    for (const char16_t* name : {u"x", u"y", u"z", u"w", u"t"}) {
        ids.push_back(graph.symbol(graph.addSymbol(session().lookupSymbol(name))));
    }
    return ids;
}

// An argument given expanded: the route's own expansion, outside the timing.
IdT expandedArgument(ResultGraphC& graph, IdT unexpanded) {
    return PolyEngineC(graph, poly::PolyLimitsS()).run(PolyEngineC::OperationE::Expand, &unexpanded, 1);
}

void route(benchmark::State& state, PolyEngineC::OperationE operation,
           const std::function<std::vector<IdT>(ResultGraphC&, const std::vector<IdT>&)>& arguments) {
    ResultGraphC graph;
    std::size_t size = 0;
    double in = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        graph.clear();
        const std::vector<IdT> s = symbolsIn(graph);
        const std::vector<IdT> args = arguments(graph, s);
        // Conversion in (with the powers and products it computes) alone,
        // outside the timing.
        const Clock::time_point start = Clock::now();
        {
            poly::PolyReaderC reader(graph, poly::PolyLimitsS(), u"bench");
            const bool division = operation == PolyEngineC::OperationE::Quo;
            benchmark::DoNotOptimize(reader.read(args.data(), args.size(), division ? s[0] : support::kNoId));
        }
        in += std::chrono::duration<double>(Clock::now() - start).count();
        state.ResumeTiming();
        const IdT result = PolyEngineC(graph, poly::PolyLimitsS()).run(operation, args.data(), args.size());
        state.PauseTiming();
        size = result == support::kNoId ? 0 : graph.kind(result) == ResultGraphC::KindE::Number ? 1 : graph.node(result).count;
        state.ResumeTiming();
    }
    // The time is the route's run; read_s is its reading alone (conversion
    // in and the FLINT work of the powers and products it reads).
    state.counters["read_s"] = benchmark::Counter(in, benchmark::Counter::kAvgIterations);
    state.counters["result_parts"] = static_cast<double>(size);
}

// ---- plain FLINT ----------------------------------------------------------

struct FlintRing {
    explicit FlintRing(int n) { fmpz_mpoly_ctx_init(ctx, n, ORD_LEX); }
    ~FlintRing() { fmpz_mpoly_ctx_clear(ctx); }
    fmpz_mpoly_ctx_t ctx;
};
struct FlintPoly {
    explicit FlintPoly(const FlintRing& r) : ring(r) { fmpz_mpoly_init(p, r.ctx); }
    ~FlintPoly() { fmpz_mpoly_clear(p, ring.ctx); }
    const FlintRing& ring;
    fmpz_mpoly_t p;
};

// sum of c_i * gen_i + constant
void linearFlint(FlintPoly& out, const std::vector<std::pair<int, long>>& terms, long constant) {
    fmpz_mpoly_set_si(out.p, constant, out.ring.ctx);
    FlintPoly g(out.ring);
    for (const auto& [v, c] : terms) {
        fmpz_mpoly_gen(g.p, v, out.ring.ctx);
        fmpz_mpoly_scalar_mul_si(g.p, g.p, c, out.ring.ctx);
        fmpz_mpoly_add(out.p, out.p, g.p, out.ring.ctx);
    }
}

void flintExpand2(benchmark::State& state) {
    FlintRing ring(4);
    FlintPoly s(ring), w(ring), t(ring), u(ring), r(ring);
    linearFlint(s, {{0, 1}, {1, 1}, {2, 1}, {3, 1}}, 0);
    fmpz_mpoly_gen(w.p, 3, ring.ctx);
    for (auto _ : state) {
        fmpz_mpoly_pow_ui(t.p, s.p, 15, ring.ctx);
        fmpz_mpoly_add(u.p, t.p, w.p, ring.ctx);
        fmpz_mpoly_mul(r.p, u.p, t.p, ring.ctx);
    }
    state.counters["result_parts"] = static_cast<double>(fmpz_mpoly_length(r.p, ring.ctx));
}

void flintFateman(benchmark::State& state, int n) {
    FlintRing ring(4);
    FlintPoly s(ring), f(ring), g(ring), r(ring);
    linearFlint(s, {{0, 1}, {1, 1}, {2, 1}, {3, 1}}, 1);
    for (auto _ : state) {
        fmpz_mpoly_pow_ui(f.p, s.p, static_cast<ulong>(n), ring.ctx);
        fmpz_mpoly_add_si(g.p, f.p, 1, ring.ctx);
        fmpz_mpoly_mul(r.p, f.p, g.p, ring.ctx);
    }
    state.counters["result_parts"] = static_cast<double>(fmpz_mpoly_length(r.p, ring.ctx));
}

void flintFactor(benchmark::State& state, int variables, const std::function<void(FlintPoly&)>& make) {
    FlintRing ring(variables);
    FlintPoly a(ring);
    make(a);
    slong found = 0;
    for (auto _ : state) {
        fmpz_mpoly_factor_t f;
        fmpz_mpoly_factor_init(f, ring.ctx);
        fmpz_mpoly_factor(f, a.p, ring.ctx);
        found = f->num;
        fmpz_mpoly_factor_clear(f, ring.ctx);
    }
    state.counters["result_parts"] = static_cast<double>(found);
}

void xPowerMinusOne(FlintPoly& a, ulong n) {
    fmpz_mpoly_gen(a.p, 0, a.ring.ctx);
    fmpz_mpoly_pow_ui(a.p, a.p, n, a.ring.ctx);
    fmpz_mpoly_sub_si(a.p, a.p, 1, a.ring.ctx);
}

void product512(FlintPoly& a) {
    FlintPoly b(a.ring), c(a.ring);
    linearFlint(b, {{0, 1}, {1, 1}, {2, 1}}, 1);
    linearFlint(c, {{0, 1}, {1, -1}}, 2);
    fmpz_mpoly_pow_ui(b.p, b.p, 8, a.ring.ctx);
    fmpz_mpoly_pow_ui(c.p, c.p, 5, a.ring.ctx);
    fmpz_mpoly_mul(a.p, b.p, c.p, a.ring.ctx);
}

void gcdInputs(FlintPoly& a, FlintPoly& b) {
    FlintPoly p(a.ring), q(a.ring);
    linearFlint(p, {{0, 1}}, 1);
    linearFlint(q, {{0, 1}}, -1);
    fmpz_mpoly_pow_ui(p.p, p.p, 200, a.ring.ctx);
    fmpz_mpoly_pow_ui(q.p, q.p, 100, a.ring.ctx);
    fmpz_mpoly_mul(a.p, p.p, q.p, a.ring.ctx);
    linearFlint(p, {{0, 1}}, 1);
    linearFlint(q, {{0, 1}}, -2);
    fmpz_mpoly_pow_ui(p.p, p.p, 100, a.ring.ctx);
    fmpz_mpoly_pow_ui(q.p, q.p, 50, a.ring.ctx);
    fmpz_mpoly_mul(b.p, p.p, q.p, a.ring.ctx);
}

void flintGcd(benchmark::State& state) {
    FlintRing ring(1);
    FlintPoly a(ring), b(ring), g(ring);
    gcdInputs(a, b);
    for (auto _ : state) {
        fmpz_mpoly_gcd(g.p, a.p, b.p, ring.ctx);
    }
    state.counters["result_parts"] = static_cast<double>(fmpz_mpoly_length(g.p, ring.ctx));
}

void rationalInputs(FlintPoly& n, FlintPoly& d) {
    FlintPoly s(n.ring), u(n.ring), v(n.ring);
    linearFlint(s, {{0, 1}, {1, 1}, {2, 1}}, 0);
    linearFlint(u, {{0, 1}, {1, -1}}, 1);
    linearFlint(v, {{0, 1}, {2, 1}}, 2);
    fmpz_mpoly_pow_ui(n.p, s.p, 6, n.ring.ctx);
    fmpz_mpoly_pow_ui(u.p, u.p, 3, n.ring.ctx);
    fmpz_mpoly_mul(n.p, n.p, u.p, n.ring.ctx);
    fmpz_mpoly_pow_ui(d.p, s.p, 4, n.ring.ctx);
    fmpz_mpoly_pow_ui(v.p, v.p, 2, n.ring.ctx);
    fmpz_mpoly_mul(d.p, d.p, v.p, n.ring.ctx);
}

void flintCancel(benchmark::State& state) {
    FlintRing ring(3);
    FlintPoly n(ring), d(ring), g(ring), a(ring), b(ring);
    rationalInputs(n, d);
    for (auto _ : state) {
        fmpz_mpoly_gcd_cofactors(g.p, a.p, b.p, n.p, d.p, ring.ctx);
    }
    state.counters["result_parts"] = static_cast<double>(fmpz_mpoly_length(a.p, ring.ctx));
}

// ---- GiNaC's own ----------------------------------------------------------

void ginacOwn(benchmark::State& state, const std::function<GiNaC::ex()>& work) {
    GiNaC::ex result;
    for (auto _ : state) {
        result = work();
    }
    state.counters["result_parts"] = static_cast<double>(result.nops());
}

const GiNaC::symbol& gx() { static GiNaC::symbol s("x"); return s; }
const GiNaC::symbol& gy() { static GiNaC::symbol s("y"); return s; }
const GiNaC::symbol& gz() { static GiNaC::symbol s("z"); return s; }
const GiNaC::symbol& gw() { static GiNaC::symbol s("w"); return s; }

// ---- the whole tool ---------------------------------------------------------

std::string tool_path;

void tool(benchmark::State& state, const std::string& command, const std::string& text) {
    const std::string input = "/tmp/algexpr_poly_bench_input.txt";
    std::FILE* file = std::fopen(input.c_str(), "w");
    std::fputs((text + "\n").c_str(), file);
    std::fclose(file);
    const std::string line = tool_path + " " + command + " < " + input + " > /dev/null";
    for (auto _ : state) {
        if (std::system(line.c_str()) != 0) {
            state.SkipWithError("the tool failed");
            break;
        }
    }
}

void registerAll() {
    using OperationE = PolyEngineC::OperationE;
    using G = ResultGraphC;
    const auto s4 = [](G& g, const std::vector<IdT>& s) { return linear(g, {{s[0], 1}, {s[1], 1}, {s[2], 1}, {s[3], 1}}, 0); };
    const auto expand2 = [s4](G& g, const std::vector<IdT>& s) {
        const IdT t = powerOf(g, s4(g, s), 15);
        const IdT u = node(g, G::KindE::Sum, {t, s[3]});
        return std::vector<IdT>{node(g, G::KindE::Product, {u, t})};
    };
    const auto fateman = [](int n) {
        return [n](G& g, const std::vector<IdT>& s) {
            const IdT f = powerOf(g, linear(g, {{s[0], 1}, {s[1], 1}, {s[2], 1}, {s[4], 1}}, 1), n);
            const IdT f1 = node(g, G::KindE::Sum, {f, integer(g, 1)});
            return std::vector<IdT>{node(g, G::KindE::Product, {f, f1})};
        };
    };
    const auto xn1 = [](long n) {
        return [n](G& g, const std::vector<IdT>& s) {
            const IdT terms[] = {powerOf(g, s[0], n), integer(g, -1)};
            return std::vector<IdT>{g.sum(terms, 2)};
        };
    };
    const auto p512 = [](G& g, const std::vector<IdT>& s) {
        const IdT a = powerOf(g, linear(g, {{s[0], 1}, {s[1], 1}, {s[2], 1}}, 1), 8);
        const IdT b = powerOf(g, linear(g, {{s[0], 1}, {s[1], -1}}, 2), 5);
        return std::vector<IdT>{expandedArgument(g, node(g, G::KindE::Product, {a, b}))};
    };
    const auto gcd300 = [](G& g, const std::vector<IdT>& s) {
        const IdT a = node(g, G::KindE::Product, {powerOf(g, linear(g, {{s[0], 1}}, 1), 200), powerOf(g, linear(g, {{s[0], 1}}, -1), 100)});
        const IdT b = node(g, G::KindE::Product, {powerOf(g, linear(g, {{s[0], 1}}, 1), 100), powerOf(g, linear(g, {{s[0], 1}}, -2), 50)});
        return std::vector<IdT>{expandedArgument(g, a), expandedArgument(g, b)};
    };
    const auto rational = [](G& g, const std::vector<IdT>& s) {
        const IdT sxyz = linear(g, {{s[0], 1}, {s[1], 1}, {s[2], 1}}, 0);
        const IdT n = expandedArgument(g, node(g, G::KindE::Product, {powerOf(g, sxyz, 6), powerOf(g, linear(g, {{s[0], 1}, {s[1], -1}}, 1), 3)}));
        const IdT d = expandedArgument(g, node(g, G::KindE::Product, {powerOf(g, sxyz, 4), powerOf(g, linear(g, {{s[0], 1}, {s[2], 1}}, 2), 2)}));
        return std::vector<IdT>{node(g, G::KindE::Product, {n, powerOf(g, d, -1)})};
    };
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("Flint/expand2", flintExpand2)->Unit(ms);
    benchmark::RegisterBenchmark("Route/expand2", route, OperationE::Expand, expand2)->Unit(ms);
    benchmark::RegisterBenchmark("Engine/expand2", engine, "expand(" + kExpand2 + ")")->Unit(ms);
    benchmark::RegisterBenchmark("Tool/expand2", tool, "expand", kExpand2)->Unit(ms);
    benchmark::RegisterBenchmark("Ginac/expand2", ginacOwn, [] {
        const GiNaC::ex s = GiNaC::pow(gx() + gy() + gz() + gw(), 15);
        return ((s + gw()) * s).expand();
    })->Unit(ms)->Iterations(1);
    for (int n : {15, 20}) {
        const std::string name = "fateman" + std::to_string(n);
        benchmark::RegisterBenchmark(("Flint/" + name).c_str(), flintFateman, n)->Unit(ms);
        benchmark::RegisterBenchmark(("Route/" + name).c_str(), route, OperationE::Expand, fateman(n))->Unit(ms);
        benchmark::RegisterBenchmark(("Engine/" + name).c_str(), engine, "expand(" + fatemanText(n) + ")")->Unit(ms);
        benchmark::RegisterBenchmark(("Tool/" + name).c_str(), tool, "expand", fatemanText(n))->Unit(ms);
    }
    // GiNaC's expand of fateman15 takes about two minutes (fateman20 is past
    // its result limit): not run.
    for (long n : {100L, 200L}) {
        const std::string name = "factor_x" + std::to_string(n);
        benchmark::RegisterBenchmark(("Flint/" + name).c_str(), flintFactor, 1,
                                     [n](FlintPoly& a) { xPowerMinusOne(a, static_cast<ulong>(n)); })->Unit(ms);
        benchmark::RegisterBenchmark(("Route/" + name).c_str(), route, OperationE::Factor, xn1(n))->Unit(ms);
        benchmark::RegisterBenchmark(("Engine/" + name).c_str(), engine,
                                     "factor(minus(power(x," + std::to_string(n) + "),1))")->Unit(ms);
    }
    benchmark::RegisterBenchmark("Ginac/factor_x40", ginacOwn, [] { return GiNaC::factor(GiNaC::pow(gx(), 40) - 1); })
        ->Unit(ms)->Iterations(1);
    benchmark::RegisterBenchmark("Flint/factor_product512", flintFactor, 3, product512)->Unit(ms);
    benchmark::RegisterBenchmark("Route/factor_product512", route, OperationE::Factor, p512)->Unit(ms);
    benchmark::RegisterBenchmark("Engine/factor_product512", engine, "factor(" + expanded(kProduct512) + ")")->Unit(ms);
    benchmark::RegisterBenchmark("Flint/gcd300", flintGcd)->Unit(ms);
    benchmark::RegisterBenchmark("Route/gcd300", route, OperationE::Gcd, gcd300)->Unit(ms);
    benchmark::RegisterBenchmark("Engine/gcd300", engine, "gcd(" + expanded(kGcdA) + "," + expanded(kGcdB) + ")")->Unit(ms);
    benchmark::RegisterBenchmark("Ginac/gcd300", ginacOwn, [] {
        const GiNaC::ex a = (GiNaC::pow(gx() + 1, 200) * GiNaC::pow(gx() - 1, 100)).expand();
        const GiNaC::ex b = (GiNaC::pow(gx() + 1, 100) * GiNaC::pow(gx() - 2, 50)).expand();
        return GiNaC::gcd(a, b);
    })->Unit(ms)->Iterations(1);
    benchmark::RegisterBenchmark("Flint/cancel3", flintCancel)->Unit(ms);
    benchmark::RegisterBenchmark("Route/cancel3", route, OperationE::Simplify, rational)->Unit(ms);
    benchmark::RegisterBenchmark("Engine/cancel3", engine,
                                 "simplify(divide(" + expanded(kRationalN) + "," + expanded(kRationalD) + "))")->Unit(ms);
    benchmark::RegisterBenchmark("Ginac/cancel3", ginacOwn, [] {
        const GiNaC::ex s = gx() + gy() + gz();
        const GiNaC::ex n = (GiNaC::pow(s, 6) * GiNaC::pow(gx() - gy() + 1, 3)).expand();
        const GiNaC::ex d = (GiNaC::pow(s, 4) * GiNaC::pow(gx() + gz() + 2, 2)).expand();
        return GiNaC::normal(n / d);
    })->Unit(ms);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string program = argv[0];
    const char* given = std::getenv("ALGEXPR_TOOL");
    const std::size_t slash = program.rfind('/');
    tool_path = given != nullptr ? given : (slash == std::string::npos ? std::string(".") : program.substr(0, slash)) + "/algexpr";
    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
