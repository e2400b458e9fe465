// SPDX-License-Identifier: MIT
#include "algexpr/giac/GiacEngineC.h"

#include <mpfr.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "AssumedFactsC.h"
#include "BoundaryC.h"
#include "DigitsValueC.h"
#include "EngineVocabulary.h"
#include "GenBuilderC.h"
#include "GenConverterC.h"
#include "GiacHeaders.h"
#include "NumberMakerABC.h"
#include "NumberTextC.h"
#include "Operations.h"
#include "PolyEngineC.h"
#include "Refusal.h"
#include "ResultGraphC.h"
#include "ResultShaperC.h"
#include "TreeCheckC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/Utf8C.h"
#include "algexpr/giac/IntegerValueC.h"

namespace qorv::math::algexpr::giac {

using detail::OperationE;
using support::IdT;
using support::ResultGraphC;

// Giac's context for this engine, and where Giac's messages for it go.
struct GiacEngineC::StateS {
    ::giac::context* context = nullptr;
    std::ostringstream messages;
};

namespace {

struct JobS {
    const std::vector<OperationE>& operations;
    const std::vector<int>& codes;
    GiacEngineC::StateS& state;
    NodeABC& root;
    CASSessionBC& session;
    bool numeric;
    const GiacEngineC::LimitsS& limits;
    const support::AssumedFactsC& facts;
};

// The assumptions on the evaluation's symbols, told to Giac (in the
// engine's context, by the identifiers that stand for them) for the
// evaluation only: purged when it ends, however it ends. Every symbol is
// real to Giac already; the rest is its assume and additionally.
class AssumedC {
public:
    AssumedC(const support::AssumedFactsC& facts, const detail::GenBuilderC& builder, ::giac::context* context)
        : context(context) {
        if (facts.all().empty()) {
            return;
        }
        try {
            for (const auto& entry : builder.names()) {
                const std::string& id = entry.first;
                if (id.compare(0, 9, "algexpr_s") == 0) {  // not a function's name
                    assume(id, facts.of(entry.second));
                }
            }
        } catch (...) {
            purge();  // the destructor of a half-made object does not run
            throw;
        }
    }
    ~AssumedC() { purge(); }
    AssumedC(const AssumedC&) = delete;
    AssumedC& operator=(const AssumedC&) = delete;

private:
    void assume(const std::string& id, const support::AssumedFactsC::FactsS& known) {
        std::vector<std::string> conditions;
        if (known.integer) {
            conditions.push_back(id + ",integer");
        }
        switch (known.sign) {
            case support::AssumedFactsC::SignE::Positive: conditions.push_back(id + ">0"); break;
            case support::AssumedFactsC::SignE::NonNegative: conditions.push_back(id + ">=0"); break;
            case support::AssumedFactsC::SignE::Negative: conditions.push_back(id + "<0"); break;
            case support::AssumedFactsC::SignE::Any:
                if (known.nonzero) {
                    conditions.push_back(id + "<0 or " + id + ">0");
                }
                break;
        }
        if (conditions.empty()) {
            return;
        }
        ids.push_back(id);
        for (std::size_t i = 0; i < conditions.size(); ++i) {
            const std::string text = (i == 0 ? "assume(" : "additionally(") + conditions[i] + ")";
            ::giac::eval(::giac::gen(text, context), 1, context);
        }
    }

    void purge() noexcept {
        for (const std::string& id : ids) {
            try {
                ::giac::eval(::giac::gen("purge(" + id + ")", context), 1, context);
            } catch (...) {
            }
        }
        ids.clear();
    }

    ::giac::context* context;
    std::vector<std::string> ids;
};

// The client's number classes for the shaper: its own integers, and the
// session's floats (doubles) from the digits of a Giac double.
class NumberMakerC : public support::NumberMakerABC {
public:
    // `precision` 0: floats are doubles; else floats of that many correct digits.
    NumberMakerC(CASSessionBC& session, std::size_t precision) : session(session), precision(precision) {}

    IntegerValueABC* integer(bool negative, const std::string& digits) override {
        return IntegerValueC::fromDigits(negative, digits);
    }
    FloatValueABC* decimal(const support::RealS& value) override {
        if (precision != 0) {
            return new support::DigitsValueC(value.negative, value.digits, value.exponent, precision);
        }
        const double d = support::NumberTextC::toDouble(value.negative, value.digits, value.exponent);
        return session.getFloatValueFactory()->fromDouble(d);
    }

private:
    CASSessionBC& session;
    std::size_t precision;
};

// Why the result under `root` is no real number, or empty when it is one:
// a free symbol, an unknown function or an order term (as the shaper
// finds them), then a list or an equation, then an infinity, then a complex
// number.
std::u16string reasonOf(const ResultGraphC& graph, const support::ResultShaperC& shaper, IdT root) {
    std::u16string why = shaper.reason(root, false);
    if (!why.empty()) {
        return why;
    }
    bool structure = false;
    bool infinite = false;
    for (IdT id = 0; id <= root; ++id) {
        if (graph.kind(id) == ResultGraphC::KindE::Function) {
            const std::u16string& name = graph.functions()[graph.node(id).data].name;
            structure = structure || name == detail::Words::nameOf(OperationE::List) || name == detail::Words::nameOf(OperationE::Equal);
            infinite = infinite || name == detail::Words::nameOf(OperationE::Infinity);
        }
    }
    if (structure) {
        return u"a list or an equation, not a number";
    }
    return infinite ? u"infinite, not a number" : shaper.reason(root, true);
}

// The single number of the numeric flag: the integer, or a double; null
// with the reason when the result is no real number.
IdT numericRoot(JobS& job, std::u16string& reason, const ::giac::gen& exact, ResultGraphC& graph, IdT root,
                const support::ResultShaperC& shaper) {
    if (exact.type == ::giac::_INT_ || exact.type == ::giac::_ZINT) {
        return root;
    }
    reason = reasonOf(graph, shaper, root);
    if (!reason.empty()) {
        return support::kNoId;
    }
    support::NumberS number;
    number.real.form = support::RealS::FormE::Float;
    if (job.limits.numeric_digits != 0) {  // each digit from MPFR, none from a double
        if (!detail::decimalDigits(exact, job.limits.numeric_digits, number.real.negative, number.real.digits,
                                   number.real.exponent, reason, job.state.context)) {
            return support::kNoId;
        }
        return graph.number(number);
    }
    double value = 0.0;
    bool complex = false;
    if (!detail::approximate(exact, value, complex, job.state.context)) {
        reason = complex ? u"not a real number" : u"not a number";
        return support::kNoId;
    }
    number.real.negative = value < 0.0;
    support::NumberTextC::digitsOf(value < 0.0 ? -value : value, 0, false, number.real.digits, number.real.exponent);
    return graph.number(number);
}

// The polynomial route (clients/poly) for expand, factor, simplify, gcd,
// lcm, quo and rem at the root: their evaluated arguments into the graph (as
// one list, so that equal parts get equal nodes), FLINT's result out of it;
// kNoId where the route declines.
IdT polynomialRoot(const JobS& job, OperationE operation, const std::vector<::giac::gen>& arguments,
                   detail::GenConverterC& converter, ResultGraphC& graph) {
    poly::PolyEngineC::OperationE routed{};
    if (!poly::PolyEngineC::named(detail::Words::nameOf(operation), routed) || arguments.empty() || arguments.size() > 3) {
        return support::kNoId;
    }
    IdT list = support::kNoId;
    ::giac::vecteur all;
    for (const ::giac::gen& argument : arguments) {
        // binomial(n,2) written out first, as the engine's own path does.
        const ::giac::gen written = detail::binomialProducts(argument, job.state.context);
        // Logs split over positive factors first, as the engine's own expand does.
        all.push_back(routed == poly::PolyEngineC::OperationE::Expand
                          ? detail::splitPositiveLogs(written, job.state.context)
                          : written);
    }
    try {
        list = converter.convert(detail::collected(::giac::gen(all), job.state.context), graph);
    } catch (const support::RefusalC&) {
        return support::kNoId;  // a part the graph cannot hold: the engine's path says why
    }
    if (graph.kind(list) != ResultGraphC::KindE::Function || graph.node(list).count != arguments.size()) {
        return support::kNoId;
    }
    const IdT* nodes = graph.children(list);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (graph.kind(nodes[i]) == ResultGraphC::KindE::Function &&
            graph.functions()[graph.node(nodes[i]).data].name == detail::Words::nameOf(OperationE::List)) {
            return support::kNoId;  // Giac maps its operations over lists
        }
    }
    const std::vector<IdT> copied(nodes, nodes + arguments.size());  // the graph grows
    poly::PolyLimitsS limits;
    limits.terms = job.limits.polynomial_terms;
    limits.digits = job.limits.integer_digits;
    return poly::PolyEngineC(graph, limits).run(routed, copied.data(), copied.size());
}

NodeABC* evaluateHere(JobS& job, std::u16string& reason) {
    if (job.state.context == nullptr) {
        job.state.context = new ::giac::context();
        ::giac::logptr(&job.state.messages, job.state.context);
        ::giac::withsqrt(false, job.state.context);  // factor over the rationals
    }
    ::giac::context* context = job.state.context;
    detail::TreeCheckC check(job.operations, job.limits);
    check.run(job.root);
    detail::setComplexSolutions(job.limits.complex_solutions);
    detail::GenBuilderC builder(job.operations, check, job.limits.integer_digits, context);
    const AssumedC assumed(job.facts, builder, context);

    // One graph for the worker's evaluations, emptied after each: its memory
    // serves the next one.
    static thread_local ResultGraphC graph;
    struct Emptied {
        ResultGraphC& graph;
        ~Emptied() { graph.clear(); }
    } emptied{graph};
    const detail::GenConverterC::ContextS convert{builder.names(), job.codes, job.session, job.limits.result_nodes,
                                                  job.limits.integer_digits};
    detail::GenConverterC converter(convert);
    IdT root = support::kNoId;
    ::giac::gen exact;
    if (job.numeric) {
        exact = detail::collected(builder.build(job.root), context);
    } else {
        OperationE operation = OperationE::None;
        const std::vector<::giac::gen> arguments = builder.buildArguments(job.root, operation);
        root = polynomialRoot(job, operation, arguments, converter, graph);
        if (root == support::kNoId) {
            graph.clear();
            exact = detail::collected(builder.finish(), context);
        }
    }
    if (root == support::kNoId) {
        root = converter.convert(exact, graph);
    }
    NumberMakerC numbers(job.session, job.numeric ? job.limits.numeric_digits : 0);
    const support::ResultShaperC::CodesT codes = support::ResultShaperC::codesOf<detail::Words>(job.codes);
    const support::ResultShaperC::ContextS context_s{job.session, codes.data(), numbers, job.limits.result_nodes,
                                                     job.limits.depth * 2};
    support::ResultShaperC shaper(graph, context_s);
    if (job.numeric) {
        root = numericRoot(job, reason, exact, graph, root, shaper);
        if (root == support::kNoId) {
            return nullptr;
        }
    }
    std::unique_ptr<NodeABC> tree(shaper.write(root));
    reason = job.numeric ? u"" : reasonOf(graph, shaper, root);
    return tree.release();
}

// MPFR keeps caches of constants per thread: the worker frees its own when
// it ends (at exit).
struct MpfrCachesS {
    bool used = false;
    ~MpfrCachesS() { mpfr_free_cache(); }
};

void releaseJob(void* argument) noexcept {
    auto* state = static_cast<GiacEngineC::StateS*>(argument);
    try {
        delete state->context;
    } catch (...) {
    }
    state->context = nullptr;
}

}  // namespace

const char16_t* const* GiacEngineC::builtinCoreNames() { return detail::Words::builtinNames(detail::kColumn); }

GiacEngineC::GiacEngineC(const char16_t* const* core_names)
    : state_p(new StateS) {
    detail::Words::mapCodes(core_names, detail::kColumn, operations, &codes);
}

GiacEngineC::~GiacEngineC() {
    if (state_p->context != nullptr) {
        detail::BoundaryC::driver().run(releaseJob, state_p.get());
    }
}

std::u16string GiacEngineC::getName() const { return u"Giac " + Utf8C::toUtf16(VERSION); }

NodeABC* GiacEngineC::evaluate(NodeABC& root, CASSessionBC& session, bool numeric, const LimitsS& limits,
                               std::u16string& reason) const {
    static const std::vector<SymbolAssumptionS> none;
    return evaluate(root, session, numeric, limits, none, reason);
}

bool GiacEngineC::honours(const std::vector<SymbolAssumptionS>& assumptions, std::u16string& why) {
    support::AssumedFactsC facts;
    try {
        return facts.merge(assumptions, why);
    } catch (const std::bad_alloc&) {
        why = u"out of memory";
        return false;
    }
}

NodeABC* GiacEngineC::evaluate(NodeABC& root, CASSessionBC& session, bool numeric, const LimitsS& limits,
                               const std::vector<SymbolAssumptionS>& assumptions, std::u16string& reason) const {
    support::OutcomeE kind{};
    return evaluate(root, session, numeric, limits, assumptions, reason, kind);
}

NodeABC* GiacEngineC::evaluate(NodeABC& root, CASSessionBC& session, bool numeric, const LimitsS& limits,
                               const std::vector<SymbolAssumptionS>& assumptions, std::u16string& reason,
                               support::OutcomeE& kind) const {
    support::AssumedFactsC facts;
    try {
        if (!facts.merge(assumptions, reason)) {
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        reason = u"out of memory";
        return nullptr;
    }
    JobS job{operations, codes, *state_p, root, session, numeric, limits, facts};
    support::AnswerCheckC::ContextS check;
    check.words = operations.data();
    check.count = operations.size();
    check.symbols = support::AnswerCheckC::SymbolsE::Real;  // Giac's symbols are real
    check.facts = &facts;
    check.engine = u"Giac";
    check.on = limits.check_answers && !numeric;
    check.refuse_unchecked = limits.refuse_unchecked;
    return detail::BoundaryC::driver().evaluateChecked(
        root, check,
        [&job](NodeABC& input, std::u16string& why) {
            JobS on{job.operations, job.codes, job.state, input, job.session, job.numeric, job.limits, job.facts};
            static thread_local MpfrCachesS caches;
            caches.used = true;
            // What Giac logged for this evaluation goes with it.
            struct Cleared {
                std::ostringstream& messages;
                ~Cleared() {
                    messages.str(std::string());
                    messages.clear();
                }
            } cleared{job.state.messages};
            return evaluateHere(on, why);
        },
        reason, kind);
}

bool GiacEngineC::runOnWorker(void (*job)(void*), void* context) { return detail::BoundaryC::driver().run(job, context); }

}  // namespace qorv::math::algexpr::giac
