// SPDX-License-Identifier: MIT
#include "EngineEntryABC.h"

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"

namespace qorv::math::algexpr::cli {

namespace {

// The vocabulary's name of each operation command.
const char16_t* wordOf(CommandE command) {
    switch (command) {
        case CommandE::Simplify:
            return u"simplify";
        case CommandE::Expand:
            return u"expand";
        case CommandE::Factor:
            return u"factor";
        case CommandE::Diff:
            return u"diff";
        case CommandE::Series:
            return u"series";
        case CommandE::Integrate:
            return u"integrate";
        case CommandE::Limit:
            return u"limit";
        case CommandE::Solve:
            return u"solve";
        default:
            return nullptr;
    }
}

}  // namespace

bool EngineEntryABC::offers(CommandE command) const {
    const char16_t* name = wordOf(command);
    const support::WordS* word = name == nullptr ? nullptr : support::findWord(name);
    return word != nullptr && word->support[static_cast<std::size_t>(column())] == support::SupportE::Computes;
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

bool EngineEntryABC::makeCurrent(const qorv::oss::PointerTC<CASSessionBC>& session, std::string& problem) {
    CASSessionBC::setSession(session);
    if (CASSessionBC::getSession().get() != session.get()) {
        problem = "another session is current already";
        return false;
    }
    return true;
}

}  // namespace qorv::math::algexpr::cli
