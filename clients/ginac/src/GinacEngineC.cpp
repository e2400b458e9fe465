// SPDX-License-Identifier: MIT
#include "algexpr/ginac/GinacEngineC.h"

#include <cln/version.h>
#include <ginac/ginac.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "AssumedFactsC.h"
#include "Driver.h"
#include "EngineVocabulary.h"
#include "Estimates.h"
#include "EvaluationForms.h"
#include "FloatEvaluation.h"
#include "FunctionTableC.h"
#include "GinacBuilderC.h"
#include "GinacConverterC.h"
#include "GinacFunctions.h"
#include "InputPlanC.h"
#include "NormalForms.h"
#include "NumberOperations.h"
#include "Numbers.h"
#include "OrderedSymbolC.h"
#include "PolyEngineC.h"
#include "ResultGraphC.h"
#include "ResultShaperC.h"
#include "SupportNames.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/SymbolC.h"
#include "algexpr/ginac/FloatValueC.h"
#include "algexpr/ginac/IntegerValueC.h"

namespace qorv::math::algexpr::ginac {

using detail::OperationE;
using qorv::oss::PointerTC;

namespace {

// One evaluation, handed to the worker.
struct Job {
    const std::vector<OperationE>& operations;
    const std::vector<int>& codes;
    NodeABC& root;
    CASSessionBC& session;
    const GinacLimitsS& limits;
    const support::AssumedFactsC& facts;
    bool numeric;
    unsigned long digits;
};

// The client's number classes for the shaper.
class NumberMakerC : public support::NumberMakerABC {
public:
    IntegerValueABC* integer(bool negative, const std::string& digits) override {
        return IntegerValueC::fromDigits(negative, digits);
    }
    FloatValueABC* decimal(const support::RealS& value) override {
        return FloatValueC::fromDigits(value.negative, value.digits, value.exponent);
    }
};

// A symbol of a rank, name and domain, made once and used again by the
// evaluations after it that have the same (GiNaC tells symbols apart by
// their number alone, so a symbol of one evaluation is that of the next).
struct MadeSymbolS {
    std::u16string name;
    unsigned domain = GiNaC::domain::complex;
    GiNaC::ex symbol;
};

const GiNaC::ex& symbolOf(const std::u16string& name, std::size_t rank, unsigned domain) {
    static thread_local std::vector<MadeSymbolS> made;
    constexpr std::size_t kKept = 256;  // ranks beyond are made each time
    static thread_local MadeSymbolS spare;
    if (rank < kKept && made.size() <= rank) {
        made.resize(rank + 1);
    }
    MadeSymbolS& slot = rank < kKept ? made[rank] : spare;
    if (slot.symbol.is_zero() || slot.domain != domain || slot.name != name) {
        slot.symbol = GiNaC::dynallocate<detail::OrderedSymbolC>(detail::utf8(name), static_cast<unsigned>(rank), domain);
        slot.name = name;
        slot.domain = domain;
    }
    return slot.symbol;
}

// The evaluation's symbols, numbered by name, so that GiNaC orders them by
// name; `ranked` gets the session's symbol of each rank.
std::vector<GiNaC::ex> makeSymbols(const std::vector<SymbolC*>& found, const support::AssumedFactsC& facts,
                                   std::vector<PointerTC<SymbolC>>& ranked) {
    std::vector<std::u16string> names(found.size());
    std::vector<std::size_t> by_name(found.size());
    for (std::size_t i = 0; i < by_name.size(); ++i) {
        names[i] = found[i]->getName();
        by_name[i] = i;
    }
    std::sort(by_name.begin(), by_name.end(), [&names](std::size_t a, std::size_t b) { return names[a] < names[b]; });
    std::vector<GiNaC::ex> symbols(found.size());
    ranked.reserve(found.size());
    for (std::size_t i = 0; i < by_name.size(); ++i) {
        const std::size_t k = by_name[i];
        if (i == 0 || names[k] != names[by_name[i - 1]]) {
            const support::AssumedFactsC::FactsS known = facts.of(names[k]);
            const unsigned domain = known.sign == support::AssumedFactsC::SignE::Positive ? GiNaC::domain::positive
                                    : known.real                                           ? GiNaC::domain::real
                                                                                           : GiNaC::domain::complex;
            ranked.emplace_back(found[k]);
            symbols[k] = symbolOf(names[k], ranked.size() - 1, domain);
        } else {
            symbols[k] = symbols[by_name[i - 1]];
        }
    }
    return symbols;
}

// The numeric flag's value: the number, each part an integer when it is an
// exact integer, else a float.
support::NumberS numericValue(const GiNaC::ex& exact, unsigned long digits, std::size_t max_digits,
                              std::u16string& reason) {
    GiNaC::ex value = exact;
    if (!detail::isExactly<GiNaC::numeric>(value)) {
        value = detail::evaluateFloats(value);
    }
    if (!detail::isExactly<GiNaC::numeric>(value)) {
        reason = u"not a number";
        return support::NumberS();
    }
    // Parts beyond the digits shown (and a few more) of the other are noise.
    const GiNaC::numeric n =
        detail::realIfReal(detail::withoutNoise(GiNaC::ex_to<GiNaC::numeric>(value), digits + GinacEngineC::kGuardDigits / 2));
    const bool exact_number = detail::isExactly<GiNaC::numeric>(exact);
    const auto part = [&](const GiNaC::numeric& x) {
        return detail::realOf(x, digits, max_digits, !(exact_number && x.is_integer()));
    };
    support::NumberS number;
    number.real = part(n.real());
    if (!n.is_real()) {
        number.complex = true;
        number.imag = part(n.imag());
    }
    return number;
}

// The polynomial route (clients/poly) for expand, factor, simplify, gcd,
// lcm, quo and rem at the root: their evaluated arguments into the graph,
// FLINT's result out of it; kNoId where the route declines.
support::IdT polynomialRoot(const Job& job, OperationE operation, const std::vector<GiNaC::ex>& arguments,
                            detail::GinacConverterC& converter, support::ResultGraphC& graph) {
    poly::PolyEngineC::OperationE routed{};
    if (!poly::PolyEngineC::named(detail::Words::nameOf(operation), routed) || arguments.empty() || arguments.size() > 3) {
        return support::kNoId;
    }
    support::IdT nodes[3];
    try {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            // binomial(n,2) written out first, as the engine's own path does.
            // Logs split over positive factors first, as the engine's own expand does.
            GiNaC::ex argument = detail::binomialProducts(arguments[i]);
            if (routed == poly::PolyEngineC::OperationE::Expand && !job.facts.all().empty()) {
                argument = detail::splitPositiveLogs(argument);  // only real or positive symbols make a positive factor
            }
            nodes[i] = i == 0 ? converter.convert(argument, graph) : converter.convertMore(argument);
        }
    } catch (const support::RefusalC&) {
        return support::kNoId;  // a part the graph cannot hold: the engine's path says why
    }
    const poly::PolyLimitsS limits{job.limits.polynomial_terms, job.limits.integer_digits, job.limits.expand_digits};
    return poly::PolyEngineC(graph, limits).run(routed, nodes, arguments.size());
}

NodeABC* evaluateOnWorker(Job& job, std::u16string& reason) {
    const unsigned long working = job.digits + GinacEngineC::kGuardDigits;
    GiNaC::Digits = static_cast<long>(working);
    detail::shortfallNote().clear();
    // The worker's containers serve one evaluation after the other.
    static thread_local detail::InputPlanC plan(job.operations, job.limits);
    plan.reset(job.operations, job.limits);
    plan.run(job.root);
    std::vector<PointerTC<SymbolC>> ranked;
    const std::vector<GiNaC::ex> symbols = makeSymbols(plan.symbols(), job.facts, ranked);
    detail::GinacBuilderC builder(plan, symbols, job.limits, working);

    // One graph for the worker's evaluations, emptied after each: its memory
    // serves the next one.
    static thread_local support::ResultGraphC graph;
    struct Emptied {
        support::ResultGraphC& graph;
        ~Emptied() { graph.clear(); }
    } emptied{graph};
    // The roots kept as symbols, as the converter writes them: their bases
    // in the written forms too. The builder only adds roots: each is formed once.
    std::vector<GiNaC::ex> kept_roots;
    const auto formRoots = [&builder, &kept_roots, &job] {
        const std::vector<GiNaC::ex>& powers = builder.roots().powers();
        for (std::size_t i = kept_roots.size(); i < powers.size(); ++i) {
            const GiNaC::ex base = detail::evaluationForms(powers[i].op(0), job.limits);
            kept_roots.push_back(GiNaC::power(base, powers[i].op(1)).hold());
        }
    };
    const detail::GinacConverterC::ContextS convert{job.codes, ranked, builder.functions(), job.digits,
                                                     job.limits.integer_digits, kept_roots};
    static thread_local detail::GinacConverterC converter(convert);
    converter.reset(convert);
    support::IdT root = support::kNoId;
    GiNaC::ex result;
    if (job.numeric) {
        result = builder.roots().valued(builder.build());
    } else {
        const std::vector<GiNaC::ex> arguments = builder.buildArguments();
        formRoots();
        root = polynomialRoot(job, plan.steps().back().operation, arguments, converter, graph);
        if (root == support::kNoId) {
            graph.clear();
            // The forms a person expects of an exact result.
            result = detail::evaluationForms(builder.finish(), job.limits);
            formRoots();
        }
    }
    const support::ResultShaperC::CodesT codes = support::ResultShaperC::codesOf<detail::Words>(job.codes);
    if (job.numeric) {
        if (!detail::shortfallNote().empty()) {  // a number's digits must all be right: refused
            reason = detail::shortfallNote().substr(11);
            return nullptr;
        }
        support::NumberS number = numericValue(result, job.digits, job.limits.integer_digits, reason);
        if (!reason.empty()) {
            const support::IdT exact = converter.convert(result, graph);
            NumberMakerC unused;
            const support::ResultShaperC::ContextS context{job.session, codes.data(), unused, 0, job.limits.depth * 2};
            const std::u16string why = support::ResultShaperC(graph, context).reason(exact, false);
            reason = why.empty() ? reason : why;
            return nullptr;
        }
        root = graph.number(number);
    } else if (root == support::kNoId) {
        root = converter.convert(result, graph);
    }
    NumberMakerC numbers;
    const support::ResultShaperC::ContextS context{job.session, codes.data(), numbers, job.limits.result_nodes,
                                                  job.limits.depth * 2};
    support::ResultShaperC shaper(graph, context);
    std::unique_ptr<NodeABC> tree(shaper.write(root));
    reason = job.numeric ? u"" : shaper.reason(root, true);
    if (!job.numeric && !detail::shortfallNote().empty()) {
        reason = detail::shortfallNote();
    }
    return tree.release();
}

}  // namespace

const char16_t* const* GinacEngineC::builtinCoreNames() { return detail::Words::builtinNames(detail::kColumn); }

GinacEngineC::GinacEngineC(const char16_t* const* core_names) {
    detail::Words::mapCodes(core_names, detail::kColumn, operations, &codes);
}

GinacEngineC::~GinacEngineC() = default;

std::u16string GinacEngineC::getName() const {
    return u"GiNaC " + detail::utf16(std::to_string(GINACLIB_MAJOR_VERSION) + "." +
                                     std::to_string(GINACLIB_MINOR_VERSION) + "." +
                                     std::to_string(GINACLIB_MICRO_VERSION) + " (CLN " +
                                     std::to_string(CL_VERSION_MAJOR) + "." + std::to_string(CL_VERSION_MINOR) + "." +
                                     std::to_string(CL_VERSION_PATCHLEVEL) + ")");
}

NodeABC* GinacEngineC::evaluate(NodeABC& root, CASSessionBC& session, bool numeric, unsigned long digits,
                                std::u16string& reason) const {
    static const GinacLimitsS defaults;
    static const std::vector<SymbolAssumptionS> none;
    return evaluate(root, session, defaults, none, numeric, digits, reason);
}

NodeABC* GinacEngineC::evaluate(NodeABC& root, CASSessionBC& session, const GinacLimitsS& limits,
                                const std::vector<std::u16string>& real_names, bool numeric, unsigned long digits,
                                std::u16string& reason) const {
    std::vector<SymbolAssumptionS> assumptions;
    try {
        for (const std::u16string& name : real_names) {
            assumptions.emplace_back(name, SymbolAssumptionS::KindE::Real);
        }
    } catch (const std::bad_alloc&) {
        reason = u"out of memory";
        return nullptr;
    }
    return evaluate(root, session, limits, assumptions, numeric, digits, reason);
}

bool GinacEngineC::honours(const std::vector<SymbolAssumptionS>& assumptions, std::u16string& why) {
    support::AssumedFactsC facts;
    try {
        if (!facts.merge(assumptions, why)) {
            return false;
        }
        for (const SymbolAssumptionS& assumption : assumptions) {
            const support::AssumedFactsC::FactsS known = facts.of(assumption.name);
            const bool kept = !known.integer && (known.sign == support::AssumedFactsC::SignE::Positive ||
                                                 (known.sign == support::AssumedFactsC::SignE::Any && !known.nonzero));
            if (!kept) {
                why = u"GiNaC cannot assume " + assumption.name + u" " +
                      support::AssumedFactsC::text(assumption.kind) +
                      u": its symbols are complex, real or positive (> 0)";
                return false;
            }
        }
    } catch (const std::bad_alloc&) {
        why = u"out of memory";
        return false;
    }
    return true;
}

NodeABC* GinacEngineC::evaluate(NodeABC& root, CASSessionBC& session, const GinacLimitsS& limits,
                                const std::vector<SymbolAssumptionS>& assumptions, bool numeric, unsigned long digits,
                                std::u16string& reason) const {
    support::OutcomeE kind{};
    return evaluate(root, session, limits, assumptions, numeric, digits, reason, kind);
}

NodeABC* GinacEngineC::evaluate(NodeABC& root, CASSessionBC& session, const GinacLimitsS& limits,
                                const std::vector<SymbolAssumptionS>& assumptions, bool numeric, unsigned long digits,
                                std::u16string& reason, support::OutcomeE& kind) const {
    digits = std::min(std::max(digits, 1ul), kMaxDigits);
    support::AssumedFactsC facts;
    try {
        if (!honours(assumptions, reason) || !facts.merge(assumptions, reason)) {
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        reason = u"out of memory";
        return nullptr;
    }
    Job job{operations, codes, root, session, limits, facts, numeric, digits};
    support::AnswerCheckC::ContextS check;
    check.words = operations.data();
    check.count = operations.size();
    check.facts = &facts;
    check.engine = u"GiNaC";
    check.digits = digits;
    check.on = limits.check_answers && !numeric;
    check.refuse_unchecked = limits.refuse_unchecked;
    return detail::driver().evaluateChecked(
        root, check,
        [&job, &kind](NodeABC& input, std::u16string& why) {
            Job on{job.operations, job.codes, input, job.session, job.limits, job.facts, job.numeric, job.digits};
            NodeABC* tree = evaluateOnWorker(on, why);
            if (tree != nullptr && !job.numeric && !detail::shortfallNote().empty()) {
                kind = support::OutcomeE::Unchecked;  // its digits fell short: the reason says so
            }
            return tree;
        },
        reason, kind);
}

bool GinacEngineC::runOnWorker(void (*job)(void*), void* context) { return detail::driver().run(job, context); }

}  // namespace qorv::math::algexpr::ginac
