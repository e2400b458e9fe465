// SPDX-License-Identifier: MIT
#include "EngineEntryABC.h"

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

namespace {

// The operation commands, each with its name in the vocabulary.
const struct {
    CommandE command;
    const char16_t* word;
} kOperationWords[] = {{CommandE::Simplify, u"simplify"}, {CommandE::Expand, u"expand"},
                       {CommandE::Factor, u"factor"},     {CommandE::Diff, u"diff"},
                       {CommandE::Series, u"series"},     {CommandE::Integrate, u"integrate"},
                       {CommandE::Limit, u"limit"},       {CommandE::Solve, u"solve"},
                       {CommandE::Apart, u"apart"}};

}  // namespace

bool EngineEntryABC::offers(CommandE command) const {
    for (const auto& row : kOperationWords) {
        if (row.command == command) {
            const support::WordS* word = support::findWord(row.word);
            return word != nullptr && word->support[static_cast<std::size_t>(column())] == support::SupportE::Computes;
        }
    }
    return false;
}

const char16_t* const* EngineEntryABC::builtinCoreNames() const { return support::builtinNames(column()); }

// One small evaluation gives the engine its thread and memory pools before
// the memory is capped.
void EngineEntryABC::prepareWorker(const CommandLineC&) const {
    const qorv::oss::PointerTC<AlgebraicExpressionC> zero = AlgebraicExpressionC::fromPrefixString(u"0");
    if (zero) {
        zero->execute(false, nullptr);
    }
}

bool EngineEntryABC::runBatch(void (*)(void*), void*) const { return false; }

support::OutcomeS EngineEntryABC::evaluate(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression,
                                           bool numeric) const {
    return evaluateCurrent(expression, numeric);
}

support::OutcomeS EngineEntryABC::evaluateCurrent(const qorv::oss::PointerTC<AlgebraicExpressionC>& expression,
                                                  bool numeric) {
    support::OutcomeS outcome;
    outcome.tree = expression->execute(numeric, &outcome.reason);
    outcome.kind = !outcome.tree || outcome.tree->getNode() == nullptr ? support::OutcomeE::Refused
                   : outcome.reason.empty()                            ? support::OutcomeE::Number
                                                                       : support::OutcomeE::NotANumber;
    return outcome;
}

support::OutcomeS EngineEntryABC::evaluateAside(const CommandLineC&, const char16_t* const*, bool,
                                                const qorv::oss::PointerTC<AlgebraicExpressionC>&) const {
    support::OutcomeS outcome;
    outcome.reason = u"no second session";
    return outcome;
}

bool EngineEntryABC::makeCurrent(const qorv::oss::PointerTC<CASSessionBC>& session, std::string& problem) {
    CASSessionBC::setSession(session);
    if (CASSessionBC::getSession().get() != session.get()) {
        problem = "another session is current already";
        return false;
    }
    return true;
}

std::string EngineEntryABC::narrow(const std::u16string& text) {
    std::string out;
    appendUtf8(text, out);
    return out;
}

bool EngineEntryABC::assumptionsOf(const CommandLineC& options, std::vector<SymbolAssumptionS>& assumptions,
                                   std::string& problem) {
    const auto add = [&](const std::string& name, SymbolAssumptionS::KindE kind, const char* option) {
        std::u16string wide;
        std::size_t bad = 0;
        if (Utf8C::decode(name, wide, bad) != Utf8C::Converted) {
            problem = std::string(option) + ": '" + name + "' is not valid UTF-8";
            return false;
        }
        assumptions.emplace_back();
        assumptions.back().name.swap(wide);
        assumptions.back().kind = kind;
        return true;
    };
    for (const std::string& name : options.real_symbols) {
        if (!add(name, SymbolAssumptionS::KindE::Real, "--real")) {
            return false;
        }
    }
    for (const auto& assumption : options.assumptions) {
        if (!add(assumption.first, assumption.second, "--assume")) {
            return false;
        }
    }
    return true;
}

}  // namespace qorv::math::algexpr::cli
