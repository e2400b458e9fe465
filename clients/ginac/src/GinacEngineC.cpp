// SPDX-License-Identifier: MIT
#include "algexpr/ginac/GinacEngineC.h"

#include <cln/exception.h>
#include <cln/version.h>
#include <ginac/ginac.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <unordered_set>

#include "GinacBuilderC.h"
#include "GinacFunctions.h"
#include "Estimates.h"
#include "FunctionTableC.h"
#include "Numbers.h"
#include "OrderedSymbolC.h"
#include "RefusalC.h"
#include "ResultOrderC.h"
#include "ResultWriterC.h"
#include "Text.h"
#include "TreeCheckC.h"
#include "Vocabulary.h"
#include "WorkerC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/SymbolC.h"

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
    bool numeric;
    unsigned long digits;
    NodeABC* result = nullptr;
    std::u16string reason;
    bool out_of_memory = false;
};

// GiNaC's messages start with the C++ function that threw them
// ("power::eval(): division by zero"); the reason keeps what follows.
std::u16string messageOf(const char* what) {
    std::u16string text = detail::utf16(what);
    const std::size_t marker = text.find(u"(): ");
    if (marker != std::u16string::npos && marker < 60) {
        bool identifier = true;
        for (std::size_t i = 0; i < marker; ++i) {
            const char16_t c = text[i];
            identifier = identifier && ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                                        (c >= u'0' && c <= u'9') || c == u'_' || c == u':');
        }
        if (identifier) {
            text.erase(0, marker + 4);
        }
    }
    while (!text.empty() && (text.back() == u'\n' || text.back() == u' ' || text.back() == u'.')) {
        text.pop_back();
    }
    return text.empty() ? u"GiNaC failed" : text;
}

// Why a result is not a real number, or empty when it is one: the first free
// symbol by name, else the first unknown function, else an order term, else
// (when `numbers` is set) a number off the real line.
std::u16string reasonOf(const detail::ResultFactsS& facts, const std::vector<PointerTC<SymbolC>>& symbols,
                        bool numbers) {
    if (facts.symbol_rank != ~0u) {
        return symbols[facts.symbol_rank]->getName() + u": free symbol";
    }
    if (facts.function != nullptr) {
        return *facts.function + u": unknown function";
    }
    if (facts.order) {
        return u"an order term, not a number";
    }
    return facts.complex && numbers ? u"not a real number" : u"";
}

// The same facts gathered from a whole expression.
std::u16string whyNotReal(const GiNaC::ex& e, const std::vector<PointerTC<SymbolC>>& symbols, bool numbers) {
    std::unordered_set<const GiNaC::basic*> seen;
    std::vector<GiNaC::ex> alive;  // parts are told apart by address: keep every one met
    std::vector<GiNaC::ex> stack{e};
    detail::ResultFactsS facts;
    while (!stack.empty()) {
        const GiNaC::ex x = stack.back();
        stack.pop_back();
        if (!seen.insert(&GiNaC::ex_to<GiNaC::basic>(x)).second) {
            continue;
        }
        alive.push_back(x);
        if (const auto* symbol = dynamic_cast<const detail::OrderedSymbolC*>(&GiNaC::ex_to<GiNaC::basic>(x))) {
            facts.symbol_rank = std::min(facts.symbol_rank, symbol->rank());
        } else if (GiNaC::is_exactly_a<GiNaC::numeric>(x)) {
            facts.complex = facts.complex || !detail::isRealNumber(GiNaC::ex_to<GiNaC::numeric>(x));
        } else if (GiNaC::is_a<GiNaC::function>(x)) {
            const unsigned serial = GiNaC::ex_to<GiNaC::function>(x).get_serial();
            const std::u16string* name = detail::FunctionTableC::instance().registeredName(serial);
            if (name != nullptr && (facts.function == nullptr || *name < *facts.function)) {
                facts.function = name;
            }
            facts.order = facts.order || serial == GiNaC::Order_SERIAL::serial;
        }
        for (std::size_t i = 0; i < x.nops(); ++i) {
            stack.push_back(x.op(i));
        }
    }
    return reasonOf(facts, symbols, numbers);
}

// A single number node for the numeric flag: the integer, or a float.
NodeABC* numberNode(const GiNaC::ex& e, unsigned long digits, std::u16string& reason) {
    GiNaC::ex value = GiNaC::is_exactly_a<GiNaC::numeric>(e) ? GiNaC::ex(detail::realIfReal(GiNaC::ex_to<GiNaC::numeric>(e))) : e;
    if (!GiNaC::is_exactly_a<GiNaC::numeric>(value) || !GiNaC::ex_to<GiNaC::numeric>(value).is_integer()) {
        if (!GiNaC::is_exactly_a<GiNaC::numeric>(value)) {
            value = detail::evaluateFloats(value);
        }
        if (!GiNaC::is_exactly_a<GiNaC::numeric>(value)) {
            reason = u"not a number";
            return nullptr;
        }
        if (!detail::isRealNumber(GiNaC::ex_to<GiNaC::numeric>(value))) {
            reason = u"not a real number";
            return nullptr;
        }
        std::unique_ptr<FloatValueABC> number(
            detail::floatValue(detail::realIfReal(GiNaC::ex_to<GiNaC::numeric>(value)), digits));
        auto* node = new FloatNodeC(number.get());
        number.release();
        return node;
    }
    std::unique_ptr<IntegerValueABC> number(detail::integerValue(GiNaC::ex_to<GiNaC::numeric>(value)));
    auto* node = new IntegerNodeC(number.get());
    number.release();
    return node;
}

NodeABC* evaluateOnWorker(Job& job) {
    const unsigned long working = job.digits + GinacEngineC::kGuardDigits;
    GiNaC::Digits = static_cast<long>(working);
    detail::TreeCheckC check(job.operations);
    check.run(job.root);

    // Symbols numbered by name, so that GiNaC orders them by name.
    const std::vector<SymbolC*>& found = check.symbols();
    std::vector<std::size_t> by_name(found.size());
    for (std::size_t i = 0; i < by_name.size(); ++i) {
        by_name[i] = i;
    }
    std::sort(by_name.begin(), by_name.end(),
              [&found](std::size_t a, std::size_t b) { return found[a]->getName() < found[b]->getName(); });
    std::vector<GiNaC::ex> symbols(found.size());
    std::vector<PointerTC<SymbolC>> ranked;
    for (std::size_t i = 0; i < by_name.size(); ++i) {
        SymbolC* symbol = found[by_name[i]];
        if (ranked.empty() || ranked.back()->getName() != symbol->getName()) {
            ranked.emplace_back(symbol);
            symbols[by_name[i]] = GiNaC::dynallocate<detail::OrderedSymbolC>(
                detail::utf8(symbol->getName()), static_cast<unsigned>(ranked.size() - 1));
        } else {
            symbols[by_name[i]] = symbols[by_name[i - 1]];
        }
    }

    detail::GinacBuilderC builder(job.operations, check, symbols, working);
    const GiNaC::ex result = builder.build(job.root);
    if (job.numeric) {
        job.reason = whyNotReal(result, ranked, false);
        if (!job.reason.empty()) {
            return nullptr;
        }
        return numberNode(result, job.digits, job.reason);
    }
    detail::ResultOrderC order;
    order.prepare(result);
    const detail::ResultWriterC::ContextS context{job.session, job.codes, ranked, builder.functions(), job.digits};
    detail::ResultWriterC writer(order, context);
    std::unique_ptr<NodeABC> tree(writer.write(result));
    job.reason = reasonOf(order.resultFacts(), ranked, true);
    return tree.release();
}

void evaluateJob(void* context) noexcept {
    Job& job = *static_cast<Job*>(context);
    try {
        try {
            job.result = evaluateOnWorker(job);
        } catch (const detail::RefusalC& refusal) {
            job.reason = refusal.reason();
        } catch (const std::bad_alloc&) {
            job.out_of_memory = true;
        } catch (const cln::runtime_exception& exception) {
            job.reason = messageOf(exception.what());
        } catch (const std::exception& exception) {
            job.reason = messageOf(exception.what());
        } catch (...) {
            job.reason = u"the engine failed";
        }
    } catch (...) {  // no memory left even for the reason
        job.out_of_memory = true;
    }
    if (job.result != nullptr && job.out_of_memory) {
        delete job.result;
        job.result = nullptr;
    }
}

}  // namespace

const char16_t* const* GinacEngineC::builtinCoreNames() { return detail::kBuiltinNames; }

GinacEngineC::GinacEngineC(const char16_t* const* core_names)
    : codes(static_cast<std::size_t>(OperationE::Count), -1) {
    if (core_names == nullptr) {
        return;
    }
    for (std::size_t code = 0; core_names[code] != nullptr && core_names[code][0] != 0; ++code) {
        const OperationE operation = detail::operationNamed(core_names[code]);
        operations.push_back(operation);
        int& first = codes[static_cast<std::size_t>(operation)];
        if (operation != OperationE::None && first < 0) {
            first = static_cast<int>(code);
        }
    }
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
    digits = std::min(std::max(digits, 1ul), kMaxDigits);
    Job job{operations, codes, root, session, numeric, digits, nullptr, std::u16string(), false};
    try {
        if (!detail::WorkerC::run(evaluateJob, &job)) {
            reason = detail::WorkerC::whyNot();
            return nullptr;
        }
        if (job.out_of_memory) {
            reason = u"out of memory";
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        reason.clear();
        return nullptr;
    }
    reason.swap(job.reason);
    return job.result;
}

bool GinacEngineC::runOnWorker(void (*job)(void*), void* context) { return detail::WorkerC::run(job, context); }

}  // namespace qorv::math::algexpr::ginac
