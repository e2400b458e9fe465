// SPDX-License-Identifier: MIT
#include "algexpr/giac/GiacEngineC.h"

#include <memory>
#include <new>
#include <sstream>
#include <string>

#include "BoundaryC.h"
#include "FormWriterC.h"
#include "GenBuilderC.h"
#include "GenReaderC.h"
#include "GiacHeaders.h"
#include "Operations.h"
#include "RefusalC.h"
#include "ResultFormC.h"
#include "TreeCheckC.h"
#include "Vocabulary.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::giac {

using detail::OperationE;

// Giac's context for this engine, and where Giac's messages for it go.
struct GiacEngineC::StateS {
    ::giac::context* context = nullptr;
    std::ostringstream messages;
};

namespace {

struct JobS {
    const std::vector<GiacEngineC::OperationE>& operations;
    const std::vector<int>& codes;
    GiacEngineC::StateS& state;
    NodeABC& root;
    CASSessionBC& session;
    bool numeric;
    const GiacEngineC::LimitsS& limits;
    NodeABC* result = nullptr;
    std::u16string reason;
    bool out_of_memory = false;
};

int codeOf(const void* context, const std::u16string& name) {
    const auto& codes = *static_cast<const std::vector<int>*>(context);
    const OperationE operation = detail::operationNamed(name.c_str());
    return operation == OperationE::None ? -1 : codes[static_cast<std::size_t>(operation)];
}

// Giac's messages end with its category ("... Error: Bad Argument Value").
std::u16string messageOf(const char* what) {
    std::string text = what;
    const std::size_t category = text.find(" Error: ");
    if (category != std::string::npos && category > 0) {
        text.erase(category);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? u"Giac failed" : u"Giac: " + Utf8C::toUtf16(text);
}

template <class Value, class Node>
NodeABC* numberNode(Value* value) {
    std::unique_ptr<Value> owner(value);
    if (!owner) {
        throw std::bad_alloc();
    }
    auto* node = new Node(owner.get());
    owner.release();
    return node;
}

// The single number of the numeric flag: the integer, or a double.
NodeABC* numericResult(JobS& job, const ::giac::gen& exact, const detail::ResultFormC& form) {
    if (exact.type == ::giac::_INT_ || exact.type == ::giac::_ZINT) {
        const std::u16string& digits = form.item(form.root()).text;
        return numberNode<IntegerValueABC, IntegerNodeC>(job.session.getIntegerValueFactory()->fromString(digits));
    }
    job.reason = detail::FormWriterC::reasonOf(form);
    if (!job.reason.empty()) {
        return nullptr;
    }
    double value = 0.0;
    bool complex = false;
    if (!detail::approximate(exact, value, complex, job.state.context)) {
        job.reason = complex ? u"not a real number" : u"not a number";
        return nullptr;
    }
    return numberNode<FloatValueABC, FloatNodeC>(job.session.getFloatValueFactory()->fromDouble(value));
}

NodeABC* evaluateHere(JobS& job) {
    if (job.state.context == nullptr) {
        job.state.context = new ::giac::context();
        ::giac::logptr(&job.state.messages, job.state.context);
        ::giac::withsqrt(false, job.state.context);  // factor over the rationals
    }
    ::giac::context* context = job.state.context;
    detail::TreeCheckC check(job.operations, job.limits);
    check.run(job.root);
    detail::GenBuilderC builder(job.operations, check, job.limits.max_integer_digits, context);
    const ::giac::gen exact = detail::collected(builder.build(job.root), context);
    detail::ResultFormC form;
    detail::GenReaderC reader(builder.names(), job.limits.max_nodes, job.limits.max_integer_digits);
    reader.read(exact, form);
    if (job.numeric) {
        return numericResult(job, exact, form);
    }
    detail::FormWriterC writer(form, job.session, codeOf, &job.codes, job.limits.max_nodes);
    std::unique_ptr<NodeABC> tree(writer.write());
    job.reason = detail::FormWriterC::reasonOf(form);
    return tree.release();
}

void evaluateJob(void* argument) noexcept {
    JobS& job = *static_cast<JobS*>(argument);
    try {
        try {
            job.result = evaluateHere(job);
        } catch (const detail::RefusalC& refusal) {
            job.reason = refusal.reason();
        } catch (const std::bad_alloc&) {
            job.out_of_memory = true;
        } catch (const std::exception& exception) {
            job.reason = messageOf(exception.what());
        } catch (...) {
            job.reason = u"Giac failed";
        }
        job.state.messages.str(std::string());
        job.state.messages.clear();
    } catch (...) {  // no memory left even for the reason
        job.out_of_memory = true;
    }
    if (job.result != nullptr && job.out_of_memory) {
        delete job.result;
        job.result = nullptr;
    }
}

void releaseJob(void* argument) noexcept {
    auto* state = static_cast<GiacEngineC::StateS*>(argument);
    try {
        delete state->context;
    } catch (...) {
    }
    state->context = nullptr;
}

}  // namespace

const char16_t* const* GiacEngineC::builtinCoreNames() { return detail::builtinNames(); }

GiacEngineC::GiacEngineC(const char16_t* const* core_names)
    : codes(static_cast<std::size_t>(OperationE::Count), -1), state_p(new StateS) {
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

GiacEngineC::~GiacEngineC() {
    if (state_p->context != nullptr) {
        detail::BoundaryC::run(releaseJob, state_p.get());
    }
}

std::u16string GiacEngineC::getName() const { return u"Giac " + Utf8C::toUtf16(VERSION); }

NodeABC* GiacEngineC::evaluate(NodeABC& root, CASSessionBC& session, bool numeric, const LimitsS& limits,
                               std::u16string& reason) const {
    JobS job{operations, codes, *state_p, root, session, numeric, limits, nullptr, std::u16string(), false};
    try {
        if (!detail::BoundaryC::run(evaluateJob, &job)) {
            reason = u"no thread can be started for Giac";
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

}  // namespace qorv::math::algexpr::giac
